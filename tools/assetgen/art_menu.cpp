// The menu backdrop, the game-over words and the text caret.
#include <cmath>

#include "canvas.h"
#include "pond.h"
#include "registry.h"

namespace pondaro::assetgen {

namespace {

constexpr int kScreenW = 800, kScreenH = 600;

// The menu's words sit mostly in the middle and on the right, so the leaves and
// flowers keep to the corners and edges, and the water in between stays calm.
std::vector<uint8_t> MenuBackdrop() {
  Canvas canvas(kScreenW, kScreenH, true);
  cairo_t* cr = canvas.Cr();
  WaterLook water;
  water.Seed = 7;
  PaintWater(canvas.Surface(), water);
  // Deeper water where the help pages write their small yellow lines (x 250..780,
  // y 170..500): it keeps them readable, and the menu's words stand out on it too.
  cairo_save(cr);
  cairo_translate(cr, 515, 335);
  cairo_scale(cr, 1.0, 0.66);
  cairo_arc(cr, 0, 0, 390, 0, 2 * M_PI);
  Gradient::Radial(0, 0, 0, 0, 0, 390,
                   {{0, Hex(0x042E38, 0.62)}, {0.55, Hex(0x042E38, 0.5)}, {0.85, Hex(0x042E38, 0.18)}, {1, Hex(0x042E38, 0)}})
      .Use(cr);
  cairo_fill(cr);
  cairo_restore(cr);

  const std::vector<LilyPad> pads = {
      {62, 548, 78, -0.9, 0.92, Hex(0x5CBF3E)},   // bottom left, runs over both edges
      {196, 612, 44, -2.2, 0.9, Hex(0x6AC944)},  // along the bottom edge
      {748, 66, 62, 2.3, 0.9, Hex(0x58B93C)},    // top right
      {640, 560, 40, -2.6, 0.9, Hex(0x63C440)},  // bottom right
      {30, 170, 42, 0.5, 0.9, Hex(0x66C742)},    // left edge
      {305, 22, 34, 1.3, 0.9, Hex(0x5FBF3F)},    // top
  };
  auto ripples = [&](cairo_t* c) {
    DrawRipple(c, 150, 300, 40, 0.2);
    DrawRipple(c, 520, 470, 30, 0.16);
    DrawRipple(c, 470, 110, 26, 0.15);
  };
  DrawWrapped(cr, kScreenW, kScreenH, ripples);
  DrawPadShadows(cr, pads, true, kScreenW, kScreenH);
  DrawWrapped(cr, kScreenW, kScreenH, [&](cairo_t* c) {
    for (const LilyPad& p : pads) DrawLilyPad(c, p);
    DrawDuckweed(c, 250, 520, 16, 11);
    DrawDuckweed(c, 700, 160, 14, 12);
    DrawDuckweed(c, 380, 75, 12, 13);
    DrawDuckweed(c, 760, 440, 13, 14);
  });
  // Flowers are drawn once per copy that can show; each carries its own shadow.
  DrawWrapped(cr, kScreenW, kScreenH, [&](cairo_t* c) {
    double x0, y0, x1, y1;
    cairo_clip_extents(c, &x0, &y0, &x1, &y1);
    auto shows = [&](double x, double y, double size) {  // shadow included
      const double m = 1.5 * size;
      return x + m > x0 && x - m < x1 && y + m > y0 && y - m < y1;
    };
    if (shows(92, 520, 36)) DrawWaterLily(c, 92, 520, 36, 0.2);
    if (shows(728, 84, 30)) DrawWaterLily(c, 728, 84, 30, 0.5);
    if (shows(640, 548, 26)) DrawLilyBud(c, 640, 548, 26, -0.5);
    if (shows(44, 160, 22)) DrawLilyBud(c, 44, 160, 22, -1.2);
  });
  return canvas.Png();
}

TextStyle WordStyle(double size) {
  TextStyle s;
  s.Size = size;
  s.Outline = Hex(0x4A1C06);
  s.OutlineWidth = 5;
  s.Shadow = Hex(0x022A30, 0.55);
  s.ShadowDx = 4;
  s.ShadowDy = 6;
  s.ShadowBlur = 4;
  return s;
}

// "GAME" at (149, 118) and "OVER" at (164, 284) on the screen: both pictures are
// centred on x = 399, so the words share one size and one centre line.
void GameOverWords(Assets& assets) {
  struct Word {
    const char* name;
    const char* text;
    int w, h;
  };
  const Word words[] = {{"Game_Word", "GAME", 500, 150}, {"Over_Word", "OVER", 470, 150}};
  // Room for the outline and, on the right and below, the shadow.
  const double padL = 10, padR = 18, padT = 10, padB = 20;
  double size = 1e9;
  for (const Word& w : words)
    size = std::min(size, FitTextSize(w.text, "Leckerli One", w.w - padL - padR, w.h - padT - padB));
  for (const Word& w : words) {
    Canvas c(w.w, w.h);
    DrawTextCentered(c.Cr(), w.text, padL + (w.w - padL - padR) / 2, padT + (w.h - padT - padB) / 2,
                     WordStyle(size));
    assets.Picture(w.name, c.Png());
  }
}

// The caret stands with its top-left just after the typed text, a little below
// its baseline: an underline bar, 16 x 5, with a one-pixel margin for the outline.
std::vector<uint8_t> Caret() {
  Canvas c(18, 7);
  cairo_t* cr = c.Cr();
  RoundedRectPath(cr, 1, 1, 16, 5, 2.5);
  Gradient::Linear(0, 1, 0, 6, {{0, Hex(0xFFF7A0)}, {0.5, Hex(0xFFE03A)}, {1, Hex(0xFFB21E)}}).Use(cr);
  cairo_fill_preserve(cr);
  SetColor(cr, Hex(0x4A1C06));
  cairo_set_line_width(cr, 1.2);
  cairo_stroke(cr);
  return c.Png();
}

}  // namespace

void AddMenuArt(Assets& assets) {
  assets.Picture("menu", MenuBackdrop(), false);
  GameOverWords(assets);
  assets.Picture("palka", Caret());
}

ASSETGEN_MODULE(AddMenuArt);

}  // namespace pondaro::assetgen
