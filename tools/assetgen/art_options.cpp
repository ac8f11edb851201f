// The options screen: its title, the four rows (each picture at x 0 holds the
// row's name and its choices, each choice centred on the hot rectangle the game
// gives it) and the six marks that show the chosen choices.
//
// A mark is the choice again on a glossy leaf-green pill, bright, covering the
// plain choice beneath it; the game puts it at the mark's place with the pill's
// top-left corner a few pixels inside.
#include <cmath>

#include "menu_words.h"
#include "plates.h"

namespace pondaro::assetgen {

namespace {

struct Choice {
  const char* text;
  HotRect hot;
  const char* mark;
  double markX, markY;
};

struct Row {
  const char* name;  // the picture
  const char* label;
  double y;          // where the game puts the picture
  std::vector<Choice> choices;
};

const Row kRows[] = {
    {"Options_Display", "Display", 215,
     {{"Window", {260, 218, 440, 250}, "Options_window_mode", 253, 207},
      {"Full screen", {468, 218, 765, 250}, "Options_full_screen", 458, 207}}},
    {"Options_Music", "Music", 276,
     {{"On", {260, 280, 320, 310}, "Options_Music_On", 256, 271},
      {"Off", {348, 280, 435, 310}, "Options_Music_Of", 338, 270}}},
    {"Options_Sound", "Sound", 333,
     {{"On", {260, 338, 320, 370}, "Options_sound_on", 254, 327},
      {"Off", {348, 338, 435, 370}, "Options_sound_off", 341, 327}}},
};

// The country field, where the game writes the typed text at (400, 403).
constexpr HotRect kCountry{400, 400, 775, 445};
constexpr Field kCountryField{388, 396, 398, 54, 14};
constexpr double kLabelCx = 128;

// The choices not chosen: the menu's words, quieter.
TextStyle ChoiceStyle(double size) {
  TextStyle s = MenuStyle(size);
  s.Top = Hex(0xFFF4C8);
  s.Bottom = Hex(0xE0B870);
  return s;
}

// Every choice at one size, and every row name at another.
double ChoiceSize() {
  std::vector<std::pair<Label, std::pair<double, double>>> boxes;
  for (const Row& row : kRows)
    // The marks' pills reach 8 pixels past a choice's rectangle: room for the words.
    for (const Choice& c : row.choices) boxes.push_back({Label{c.text}, {c.hot.W() - 6, c.hot.H() + 6}});
  return CommonSize(boxes);
}
double LabelSize() {
  std::vector<std::pair<Label, std::pair<double, double>>> boxes;
  for (const Row& row : kRows) boxes.push_back({Label{row.label}, {220, 44}});
  boxes.push_back({Label{"Country"}, {220, 44}});
  return CommonSize(boxes);
}

std::vector<uint8_t> RowPicture(const Row& row, double labelSize, double choiceSize) {
  const double cy = row.choices[0].hot.Cy();
  const Label name{row.label, kLabelCx, cy, labelSize};
  Box all = LabelExtent(name, MenuStyle(labelSize));
  std::vector<Label> words;
  for (const Choice& c : row.choices) {
    words.push_back({c.text, c.hot.Cx(), c.hot.Cy(), choiceSize});
    all = Union(all, LabelExtent(words.back(), ChoiceStyle(choiceSize)));
    all = Union(all, {c.hot.l, c.hot.t, c.hot.W(), c.hot.H()});
  }
  ScreenCanvas canvas(0, row.y, static_cast<int>(std::ceil(all.x + all.w)), static_cast<int>(std::ceil(all.y + all.h - row.y)));
  DrawLabel(canvas.Cr(), name, MenuStyle(labelSize));
  for (const Label& w : words) DrawLabel(canvas.Cr(), w, ChoiceStyle(choiceSize));
  return canvas.Png();
}

std::vector<uint8_t> CountryPicture(double labelSize) {
  const double y = 386;
  const Label name{"Country", kLabelCx, kCountry.Cy(), labelSize};
  const Box e = LabelExtent(name, MenuStyle(labelSize));
  ScreenCanvas canvas(0, y, static_cast<int>(kCountryField.x + kCountryField.w + 4),
                      static_cast<int>(std::ceil(std::max(e.y + e.h, kCountryField.y + kCountryField.h + 4) - y)));
  DrawLabel(canvas.Cr(), name, MenuStyle(labelSize));
  DrawInset(canvas.Cr(), kCountryField, true);
  return canvas.Png();
}

// The pill reaches from a few pixels inside the mark's corner to as far beyond the
// choice's centre on the other side.
std::vector<uint8_t> MarkPicture(const Choice& c, double choiceSize) {
  const double l = c.markX + 3, t = c.markY + 3;
  const double r = 2 * c.hot.Cx() - l, b = 2 * c.hot.Cy() - t;
  const double w = r - l, h = b - t, radius = h / 2;
  ScreenCanvas canvas(c.markX, c.markY, static_cast<int>(std::ceil(r + 6 - c.markX)), static_cast<int>(std::ceil(b + 8 - c.markY)));
  cairo_t* cr = canvas.Cr();
  DrawPill(cr, l, t, w, h, radius, false);
  TextStyle s = LitStyle(choiceSize);
  s.Shadow = Hex(0x143A0C, 0.45);
  DrawLabel(cr, {c.text, c.hot.Cx(), c.hot.Cy(), choiceSize}, s);
  return canvas.Png();
}

// A row's name lit, as the keyboard's highlight shows it: the game puts the picture
// at (0, the name's centre - 45), room enough to draw the words a tenth larger.
std::vector<uint8_t> LitRowName(const char* label, double cy, double labelSize) {
  const Label name{label, kLabelCx, cy, labelSize};
  const Box ink = LabelInk(name);
  const HotRect hot{std::floor(ink.x), std::floor(ink.y), std::ceil(ink.x + ink.w), std::ceil(ink.y + ink.h)};
  const ButtonArt b{"", "", name, hot, 0, 0, 0, std::round(cy) - 45};
  return LitPicture(b, LabelExtent(name, MenuStyle(labelSize)));
}

}  // namespace

void AddOptionsArt(Assets& assets) {
  assets.Picture("Options_Word", TitlePicture("Options", 355, 0, 515, 28, 300, 110));
  const double labelSize = LabelSize(), choiceSize = ChoiceSize();
  for (const Row& row : kRows) {
    assets.Picture(row.name, RowPicture(row, labelSize, choiceSize));
    for (const Choice& c : row.choices) assets.Picture(c.mark, MarkPicture(c, choiceSize));
  }
  assets.Picture("Options_Country", CountryPicture(labelSize));
  for (const Row& row : kRows)
    assets.Picture(std::string(row.name) + "_d", LitRowName(row.label, row.choices[0].hot.Cy(), labelSize));
  assets.Picture("Options_Country_d", LitRowName("Country", kCountry.Cy(), labelSize));
}

ASSETGEN_MODULE(AddOptionsArt);

}  // namespace pondaro::assetgen
