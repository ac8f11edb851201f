// The logos every menu screen shows: the game's name at the top left, the maker's
// at the bottom left, and the round badge of the help screen's about page.
//
// "Pondaro_Word" stands at (0, 0) beside the screens' titles (x 343 and on) and
// above their first rows (y 180 and on): at most 335 x 170. "Zentaplex_Word"
// stands on the bottom edge below the high-score buttons (y 480 and on). "logo"
// stands at (280, 270), left of the about page's lines (x 375).
#include <cmath>

#include "menu_words.h"
#include "pond.h"

namespace pondaro::assetgen {

namespace {

const Rgba kSkin = Hex(0x86D63E), kSkinLight = Hex(0xCFF57A), kSkinDark = Hex(0x4A9B24);
const Rgba kFrogLine = Hex(0x275812);

// Big friendly eye, looking a little towards `look`.
void FrogEye(cairo_t* cr, double x, double y, double r, double look) {
  EllipsePath(cr, x, y, r, r * 1.02);
  Gradient::Radial(x - r * 0.35, y - r * 0.35, 0, x, y, r, {{0, Hex(0xFFFFFF)}, {0.7, Hex(0xF6F8EE)}, {1, Hex(0xD2DCC4)}})
      .Use(cr);
  cairo_fill_preserve(cr);
  SetColor(cr, kFrogLine);
  cairo_set_line_width(cr, std::max(1.2, r * 0.16));
  cairo_stroke(cr);
  EllipsePath(cr, x + look * r * 0.18, y + r * 0.14, r * 0.6, r * 0.66);
  SetColor(cr, Hex(0x1A2410));
  cairo_fill(cr);
  EllipsePath(cr, x + look * r * 0.18 - r * 0.22, y - r * 0.12, r * 0.22, r * 0.22);
  SetColor(cr, Hex(0xFFFFFF));
  cairo_fill(cr);
}

// A frog's head of width 2r centred on (cx, cy), its eyes bulging above; with a
// smile when the whole face shows.
void FrogHead(cairo_t* cr, double cx, double cy, double r, bool smile) {
  auto head = [&](cairo_t* c) {
    EllipsePath(c, cx, cy, r, r * 0.72);
    EllipsePath(c, cx - r * 0.52, cy - r * 0.62, r * 0.42, r * 0.4);
    EllipsePath(c, cx + r * 0.52, cy - r * 0.62, r * 0.42, r * 0.4);
  };
  SoftShape(cr, head, Hex(0x03262B, 0.35), r * 0.06, r * 0.1, r * 0.08);
  head(cr);
  SetColor(cr, kFrogLine);
  cairo_set_line_width(cr, std::max(2.0, r * 0.1));
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke_preserve(cr);
  Gradient::Radial(cx - r * 0.4, cy - r * 0.5, r * 0.05, cx, cy, r * 1.1, {{0, kSkinLight}, {0.45, kSkin}, {1, kSkinDark}})
      .Use(cr);
  cairo_fill(cr);
  // Pale chin and a soft highlight on the brow.
  cairo_save(cr);
  head(cr);
  cairo_clip(cr);
  EllipsePath(cr, cx, cy + r * 0.7, r * 0.8, r * 0.38);
  Gradient::Linear(0, cy + r * 0.35, 0, cy + r * 0.8, {{0, Hex(0xF6F3A6)}, {1, Hex(0xE0D670)}}).Use(cr);
  cairo_fill(cr);
  EllipsePath(cr, cx - r * 0.3, cy - r * 0.12, r * 0.42, r * 0.15);
  Gradient::Radial(cx - r * 0.3, cy - r * 0.12, 0, cx - r * 0.3, cy - r * 0.12, r * 0.42,
                   {{0, Hex(0xFFFFFF, 0.45)}, {1, Hex(0xFFFFFF, 0)}})
      .Use(cr);
  cairo_fill(cr);
  cairo_restore(cr);
  FrogEye(cr, cx - r * 0.52, cy - r * 0.64, r * 0.3, 0.8);
  FrogEye(cr, cx + r * 0.52, cy - r * 0.64, r * 0.3, -0.8);
  SetColor(cr, Hex(0x275812, 0.8));
  EllipsePath(cr, cx - r * 0.12, cy - r * 0.06, r * 0.05, r * 0.035);
  EllipsePath(cr, cx + r * 0.12, cy - r * 0.06, r * 0.05, r * 0.035);
  cairo_fill(cr);
  for (double side : {-1.0, 1.0}) {
    const double x = cx + side * r * 0.66;
    EllipsePath(cr, x, cy + r * 0.16, r * 0.16, r * 0.1);
    Gradient::Radial(x, cy + r * 0.16, 0, x, cy + r * 0.16, r * 0.16, {{0, Hex(0xFF8A9A, 0.6)}, {1, Hex(0xFF8A9A, 0)}})
        .Use(cr);
    cairo_fill(cr);
  }
  if (!smile) return;
  cairo_move_to(cr, cx - r * 0.5, cy + r * 0.12);
  cairo_curve_to(cr, cx - r * 0.25, cy + r * 0.42, cx + r * 0.25, cy + r * 0.42, cx + r * 0.5, cy + r * 0.12);
  SetColor(cr, kFrogLine);
  cairo_set_line_width(cr, std::max(1.5, r * 0.07));
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_stroke(cr);
}

// The game's name in frog green, a frog peeking over it and a water lily beside.
std::vector<uint8_t> PondaroWord() {
  Canvas c(335, 168);
  cairo_t* cr = c.Cr();
  DrawWaterLily(cr, 34, 60, 26, 0.4);
  FrogHead(cr, 226, 62, 38, false);
  Label name{"Pondaro", 166, 118, 0, 1.1, 0.02};
  name.Size = CommonSize({{name, {318, 92}}});
  TextStyle s = MenuStyle(name.Size);
  s.Top = Hex(0xF6FFA8);
  s.Bottom = Hex(0x8ED63A);
  s.Outline = Hex(0x183C0C);
  s.OutlineWidth = 6;
  s.Shadow = Hex(0x021E22, 0.6);
  DrawLabel(cr, name, s);
  // Two front toes over the letters, as if the frog held on to them.
  for (double x : {204.0, 250.0}) {
    EllipsePath(cr, x, 88, 9, 6);
    SetColor(cr, kFrogLine);
    cairo_set_line_width(cr, 3);
    cairo_stroke_preserve(cr);
    Gradient::Linear(0, 82, 0, 94, {{0, kSkinLight}, {1, kSkin}}).Use(cr);
    cairo_fill(cr);
  }
  return c.Png();
}

// The maker: a small leaf emblem and the name in the menus' face, quiet in the corner.
std::vector<uint8_t> ZentaplexWord() {
  Canvas c(228, 66);
  cairo_t* cr = c.Cr();
  const LilyPad pad{30, 29, 19, -0.7, 0.95, Hex(0x5CBF3E)};
  DrawPadShadows(cr, {pad}, false, 0, 0);
  DrawLilyPad(cr, pad);
  DrawLilyBud(cr, 32, 27, 15, -0.9);
  TextStyle s;
  s.Size = 27;
  s.Top = Hex(0xF4FFF8);
  s.Bottom = Hex(0xB5E8DA);
  s.Outline = Hex(0x0B3A40);
  s.OutlineWidth = 2.2;
  s.Shadow = Hex(0x022A30, 0.5);
  s.ShadowDx = 1.5;
  s.ShadowDy = 2.5;
  s.ShadowBlur = 2;
  s.Gloss = false;
  DrawText(cr, "zentaplex", 58, 33, s);
  s.Size = 13;
  s.OutlineWidth = 1.5;
  DrawText(cr, "GAMES", 62, 53, s);
  return c.Png();
}

// A round lily-pad badge with the frog's smiling face.
std::vector<uint8_t> Badge() {
  Canvas c(90, 90);
  cairo_t* cr = c.Cr();
  const LilyPad pad{43, 44, 38, -0.6, 1.0, Hex(0x5CBF3E)};
  DrawPadShadows(cr, {pad}, false, 0, 0);
  DrawLilyPad(cr, pad);
  FrogHead(cr, 43, 52, 27, true);
  DrawWaterLily(cr, 73, 18, 13, 0.3);
  return c.Png();
}

}  // namespace

void AddLogoArt(Assets& assets) {
  assets.Picture("Pondaro_Word", PondaroWord());
  assets.Picture("Zentaplex_Word", ZentaplexWord());
  assets.Picture("logo", Badge());
}

ASSETGEN_MODULE(AddLogoArt);

}  // namespace pondaro::assetgen
