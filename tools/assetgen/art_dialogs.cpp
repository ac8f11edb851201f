// The confirmation dialogs: one panel with Yes and No in it, the two captions
// laid over it, and the highlighted Yes and No.
//
// The game centres "Exit_Main" 5 pixels above the screen's middle, so a 380 x 200
// panel lies at (210, 195). Both dialogs take Yes at x 300..370 / 310..385 and No
// at x 441..490 / 430..490: the buttons are drawn where both agree (Yes x 310..370,
// y 310..335; No x 441..490, y 312..338). "Exit_Main_Word" lies at (275, 241) and
// asks without saying what is left, as it shows over the menu and over a game;
// "HighScore_Clear_Word" lies at (239, 241). "Exit_Main_Yes_d" goes to (287, 297)
// and "Exit_Main_No_d" to (427, 296).
#include <cmath>

#include "menu_words.h"
#include "plates.h"
#include "pond.h"

namespace pondaro::assetgen {

namespace {

constexpr double kPanelX = 210, kPanelY = 195;
constexpr int kPanelW = 380, kPanelH = 200;
constexpr HotRect kYes{310, 310, 370, 335}, kNo{441, 312, 490, 338};

// A small glossy button; lit, it is brighter and set in a warm glow.
void Button(cairo_t* cr, const HotRect& box, const char* text, bool lit) {
  const double grow = lit ? 4 : 0;
  const double l = box.l - grow, t = box.t - grow, w = box.W() + 2 * grow, h = box.H() + 2 * grow, r = h * 0.42;
  auto shape = [&](cairo_t* c) { RoundedRectPath(c, l, t, w, h, r); };
  if (lit) {
    SoftShape(cr, shape, Hex(0xFFB020, 0.9), 0, 0, 5);
    SoftShape(cr, shape, Hex(0xFFE070, 0.9), 0, 0, 2.5);
  }
  DrawPill(cr, l, t, w, h, r, lit);
  Label word{text, box.Cx(), box.Cy(), 0, 1.05, 0.03};
  word.Size = CommonSize({{word, {box.W() - 16, box.H() - 6}}}) * (lit ? 1.12 : 1);
  TextStyle s = lit ? LitStyle(word.Size) : MenuStyle(word.Size);
  s.Shadow = Hex(0x143A0C, 0.4);
  DrawLabel(cr, word, s);
}

std::vector<uint8_t> Panel() {
  ScreenCanvas c(kPanelX, kPanelY, kPanelW, kPanelH);
  cairo_t* cr = c.Cr();
  DrawPlate(cr, {215, 199, 366, 186, 26, 236});
  DrawWaterLily(cr, 232, 216, 19, 0.3);
  DrawLilyBud(cr, 565, 220, 24, 2.5);
  Button(cr, kYes, "Yes", false);
  Button(cr, kNo, "No", false);
  return c.Png();
}

std::vector<uint8_t> LitButton(double x, double y, const HotRect& box, const char* text) {
  // Room for the glow around a button grown by 4 pixels, and both dialogs' hot rectangles.
  const double right = std::max(box.r + 1 + 4 + 14, 2 * box.Cx() - x), bottom = 352;
  ScreenCanvas c(x, y, static_cast<int>(std::ceil(right - x)), static_cast<int>(std::ceil(bottom - y)));
  Button(c.Cr(), box, text, true);
  return c.Png();
}

// The size at which a caption's words fit w x h with their outline.
double CaptionSize(const char* text, double w, double h) {
  Label l{text, 0, 0, 0, 1.08, 0.03};
  const double o = MenuStyle(40).OutlineWidth;
  return CommonSize({{l, {w - 2 * o - 6, h - 2 * o - 8}}});
}

// A caption on the panel's card at `size`, its picture's top-left at (x, y), w x h.
std::vector<uint8_t> Caption(const char* text, double x, double y, double w, double h, double size) {
  Label l{text, x + w / 2, 0, size, 1.08, 0.03};
  TextStyle s = MenuStyle(l.Size);
  s.Shadow = Hex(0x5A3A10, 0.35);
  l.Cy = y + s.OutlineWidth + 1 + LabelInk(l).h / 2;
  ScreenCanvas c(x, y, static_cast<int>(w), static_cast<int>(h));
  DrawLabel(c.Cr(), l, s);
  return c.Png();
}

// The game's own message panel, "Message_panel" at (175, 160), 450 x 280: the
// message is written on its card (x 205..595, y 210..360) and "OK" closes it
// (hot x 355..445, y 372..402; lit by "Message_OK_d" at (335, 352)).
constexpr HotRect kOk{355, 372, 445, 402};

std::vector<uint8_t> MessagePanel() {
  ScreenCanvas c(175, 160, 450, 280);
  cairo_t* cr = c.Cr();
  DrawPlate(cr, {180, 164, 436, 262, 26, 200});
  DrawWaterLily(cr, 198, 182, 17, 0.3);
  DrawLilyBud(cr, 598, 184, 22, 2.5);
  Button(cr, kOk, "OK", false);
  return c.Png();
}

std::vector<uint8_t> LitOk() {
  ScreenCanvas c(335, 352, 130, 70);
  Button(c.Cr(), kOk, "OK", true);
  return c.Png();
}

}  // namespace

void AddDialogArt(Assets& assets) {
  assets.Picture("Message_panel", MessagePanel());
  assets.Picture("Message_OK_d", LitOk());
  assets.Picture("Exit_Main", Panel());
  assets.Picture("Exit_Main_Yes_d", LitButton(287, 297, kYes, "Yes"));
  assets.Picture("Exit_Main_No_d", LitButton(427, 296, kNo, "No"));
  // Both questions in letters of one size, each centred on the panel.
  const double size = CaptionSize("Clear all scores?", 322, 55);
  assets.Picture("Exit_Main_Word", Caption("Really quit?", 275, 241, 250, 55, size));
  assets.Picture("HighScore_Clear_Word", Caption("Clear all scores?", 239, 241, 322, 55, size));
}

ASSETGEN_MODULE(AddDialogArt);

}  // namespace pondaro::assetgen
