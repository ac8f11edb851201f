// The high-score screen: title, column heads, place numbers (medals for the first
// three), the dark row bands the names and scores are written on, and the
// Clear, View and Back buttons down the left side.
//
// The game lays eleven bands at x 205, y 180 + 37 k, writes names at x 370 and
// scores at x 620 (yellow, size 16) from y 217 + 37 (i - 1), centres the place
// numbers on x 275 from y 221, 257, 294 ..., and puts the heads at (215, 183),
// (420, 184) and (630, 183).
#include <cmath>
#include <string>

#include "menu_words.h"

namespace pondaro::assetgen {

namespace {

constexpr int kBandW = 588, kBandH = 35;

std::vector<uint8_t> Band() {
  Canvas c(kBandW, kBandH);
  cairo_t* cr = c.Cr();
  RoundedRectPath(cr, 1, 1, kBandW - 2, kBandH - 2, 10);
  // Opaque inside: half-transparent pixels cost the software renderer a blend each,
  // and eleven bands are most of this screen's pixels.
  Gradient::Linear(0, 1, 0, kBandH - 1, {{0, Hex(0x0C3F49)}, {1, Hex(0x062A32)}}).Use(cr);
  cairo_fill_preserve(cr);
  SetColor(cr, Hex(0x3E8C86));
  cairo_set_line_width(cr, 1.2);
  cairo_stroke(cr);
  // Light catching the upper edge.
  cairo_move_to(cr, 12, 2.5);
  cairo_line_to(cr, kBandW - 12, 2.5);
  SetColor(cr, Hex(0x3D7E80));
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  return c.Png();
}

// The band of the place just entered: warm and glowing, laid over its dark band.
std::vector<uint8_t> LitBand() {
  Canvas c(kBandW, kBandH);
  cairo_t* cr = c.Cr();
  RoundedRectPath(cr, 1, 1, kBandW - 2, kBandH - 2, 10);
  Gradient::Linear(0, 1, 0, kBandH - 1, {{0, Hex(0x7A4A0C)}, {0.5, Hex(0x5A3008)}, {1, Hex(0x3E1E04)}}).Use(cr);
  cairo_fill_preserve(cr);
  SetColor(cr, Hex(0xFFC850));
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  cairo_move_to(cr, 12, 3);
  cairo_line_to(cr, kBandW - 12, 3);
  SetColor(cr, Hex(0xFFE7A0, 0.7));
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  return c.Png();
}

TextStyle SmallWords(double size) {
  TextStyle s = MenuStyle(size);
  s.Top = Hex(0xDFFFF4);
  s.Bottom = Hex(0x8FD8C4);
  s.Outline = Hex(0x05262C);
  return s;
}

// A head word with its ink from the picture's top-left corner (plus the outline).
std::vector<uint8_t> Head(const std::string& text, double size) {
  Label l{text, 0, 0, size, 1.1, 0.03};
  const TextStyle s = SmallWords(size);
  const Box ink = LabelInk(l);
  l.Cx = s.OutlineWidth + 1 + ink.w / 2;
  l.Cy = s.OutlineWidth + ink.h / 2;
  const Box e = LabelExtent(l, s);
  Canvas c(static_cast<int>(std::ceil(e.x + e.w)), static_cast<int>(std::ceil(e.y + e.h)));
  DrawLabel(c.Cr(), l, s);
  return c.Png();
}

// Places 1 to 3 on a gold, silver and bronze coin; the rest in the menu's words.
std::vector<uint8_t> Place(int n) {
  constexpr int kSize = 34;
  Canvas c(kSize + 4, kSize + 2);
  cairo_t* cr = c.Cr();
  const double cx = kSize / 2.0, cy = kSize / 2.0 - 1, r = 14;
  if (n <= 3) {
    const Rgba metals[3][3] = {{Hex(0xFFF3A0), Hex(0xF2B92A), Hex(0x8A5A0C)},
                               {Hex(0xFFFFFF), Hex(0xBCC6CC), Hex(0x56626A)},
                               {Hex(0xFFD2A0), Hex(0xD0843C), Hex(0x6A3812)}};
    const Rgba* m = metals[n - 1];
    auto coin = [&](cairo_t* k) { EllipsePath(k, cx, cy, r, r); };
    SoftShape(cr, coin, Hex(0x021E22, 0.55), 1.5, 2.5, 1.8);
    coin(cr);
    Gradient::Radial(cx - 5, cy - 6, 1, cx, cy, r, {{0, m[0]}, {0.6, m[1]}, {1, Darken(m[1], 0.15)}}).Use(cr);
    cairo_fill_preserve(cr);
    SetColor(cr, m[2]);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    EllipsePath(cr, cx, cy, r - 3.5, r - 3.5);
    SetColor(cr, WithAlpha(m[2], 0.45));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    TextStyle s;
    s.Size = 19;
    s.Top = Hex(0xFFFFFF);
    s.Bottom = Lighten(m[1], 0.3);
    s.Outline = m[2];
    s.OutlineWidth = 1.8;
    s.Shadow = Hex(0x000000, 0);
    s.Gloss = false;
    DrawTextCentered(cr, std::to_string(n), cx, cy, s);
  } else {
    DrawLabel(cr, {std::to_string(n), cx, cy, 27, 1.0, 0.02}, MenuStyle(27));
  }
  return c.Png();
}

}  // namespace

void AddHighScoreArt(Assets& assets) {
  // As large as the other screens' titles (about 69 px): two words need the
  // whole width right of the game's name, and a narrower face.
  assets.Picture("HighScore_Word", TitlePicture("High Scores", 343, 26, 566, 0, 440, 87, 1.0));
  assets.Picture("HighScore_Place", Head("Place", 24));
  assets.Picture("HighScore_Name", Head("Name", 24));
  assets.Picture("HighScore_Score", Head("Score", 24));
  for (int n = 1; n <= 10; ++n) assets.Picture("HighScore_" + std::to_string(n), Place(n));
  assets.Picture("HighScore_Table_row", Band());
  assets.Picture("HighScore_Table_row_lit", LitBand());

  struct Item {
    const char* name;
    const char* text;
    HotRect hot;
    double ny, ly;
  };
  const Item items[] = {
      {"HighScore_Clear", "Clear", {10, 215, 185, 260}, 197, 190},
      {"HighScore_View", "View\nonline", {15, 314, 190, 382}, 304, 283},
      {"HighScore_Back", "Back", {42, 446, 158, 472}, 437, 411},
  };
  // Back's small rectangle sets the size; the words may overhang it a little.
  std::vector<std::pair<Label, std::pair<double, double>>> boxes;
  for (const Item& i : items) boxes.push_back({Label{i.text}, {i.hot.W(), i.hot.H() * 1.4}});
  const double size = CommonSize(boxes);
  for (const Item& i : items) {
    const std::string name = i.name;
    AddButton(assets, {name + "_n", name + "_d", {i.text, i.hot.Cx(), i.hot.Cy(), size}, i.hot, 0, i.ny, 0, i.ly});
  }
}

ASSETGEN_MODULE(AddHighScoreArt);

}  // namespace pondaro::assetgen
