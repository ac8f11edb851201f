// The game's icon: the frog's friendly face. Data/icon.png is the window icon
// (64 x 64); the desktop's icon theme gets 48, 64, 128 and 256 px
// (icons/hicolor/NxN/apps/org.pondaro.Pondaro.png, installed to share/icons).
//
// The face is laid out on a 64-unit square and drawn afresh at every size, with
// line widths in whole pixels of that size and detail to match: a scaled copy of
// one picture would blur the outline at 48 px and turn it into a heavy band at
// 256 px.
#include <algorithm>
#include <cmath>
#include <string>

#include "canvas.h"
#include "registry.h"

namespace pondaro::assetgen {

namespace {

const Rgba kSkin = Hex(0x7DD13A), kSkinLight = Hex(0xC4F26E), kSkinDark = Hex(0x4C9A22);
const Rgba kLine = Hex(0x2C5E12);

// What changes with the size, in pixels of the finished icon.
struct Pens {
  double outline;  // stroked under the fill, so half of it shows
  double eyeRim;
  double smile;
  bool spots;      // skin spots, eyelids and mouth corners: only where they read
};

Pens PensFor(int size) {
  if (size <= 48) return {2.0, 1.2, 1.8, false};
  if (size <= 64) return {3.2, 1.6, 2.2, false};
  if (size <= 128) return {4.5, 2.2, 3.6, true};
  return {7.0, 3.2, 6.0, true};
}

// Head and both eye bulges as one shape.
void HeadPath(cairo_t* cr) {
  EllipsePath(cr, 32, 40, 28, 20.5);
  EllipsePath(cr, 19, 21, 12.5, 12);
  EllipsePath(cr, 45, 21, 12.5, 12);
}

// A design-space point moved onto the nearest pixel centre, so that small round
// highlights come out as clean dots instead of smeared 2 x 2 blocks.
double OnPixel(double v, double scale) { return (std::floor(v * scale) + 0.5) / scale; }

void Eye(cairo_t* cr, double x, double y, double look, double scale, const Pens& pens) {
  EllipsePath(cr, x, y, 8.6, 8.8);
  Gradient::Radial(x - 3, y - 3, 0, x, y, 9, {{0, Hex(0xFFFFFF)}, {0.7, Hex(0xF7F9F0)}, {1, Hex(0xD9E2CC)}}).Use(cr);
  cairo_fill_preserve(cr);
  SetColor(cr, kLine);
  cairo_set_line_width(cr, pens.eyeRim / scale);
  cairo_stroke(cr);
  // Big pupils looking slightly in and down read as friendly.
  EllipsePath(cr, x + look, y + 1.2, 5.4, 5.9);
  SetColor(cr, Hex(0x1A2410));
  cairo_fill(cr);
  SetColor(cr, Hex(0xFFFFFF));
  // At least a pixel and a half across, or the glint vanishes into the pupil.
  const double glint = std::max(2.1, 0.75 / scale);
  EllipsePath(cr, OnPixel(x + look - 1.9, scale), OnPixel(y - 1.3, scale), glint, glint);
  cairo_fill(cr);
  if (scale >= 1) {  // the second glint is under a pixel at 48 px
    EllipsePath(cr, x + look + 1.8, y + 2.8, 0.9, 0.9);
    cairo_fill(cr);
  }
  if (pens.spots) {
    // A heavy upper lid over the top of the eye ball.
    cairo_arc(cr, x, y, 8.6, M_PI * 1.15, M_PI * 1.85);
    SetColor(cr, WithAlpha(kLine, 0.55));
    cairo_set_line_width(cr, pens.eyeRim * 1.6 / scale);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
  }
}

std::vector<uint8_t> FrogFace(int size) {
  const double scale = size / 64.0;
  const Pens pens = PensFor(size);
  Canvas c(size, size);
  cairo_t* cr = c.Cr();
  cairo_scale(cr, scale, scale);
  // Outline first, twice the width, then the fill on top: a clean outer edge
  // with no seams where the bulges join the head.
  HeadPath(cr);
  SetColor(cr, kLine);
  cairo_set_line_width(cr, pens.outline / scale);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke_preserve(cr);
  Gradient::Radial(22, 24, 2, 32, 36, 34, {{0, kSkinLight}, {0.45, kSkin}, {1, kSkinDark}}).Use(cr);
  cairo_fill_preserve(cr);
  cairo_save(cr);
  cairo_clip(cr);
  // Pale yellow chin.
  EllipsePath(cr, 32, 61, 21, 11);
  Gradient::Linear(0, 50, 0, 62, {{0, Hex(0xF6F3A6)}, {1, Hex(0xE3DB78)}}).Use(cr);
  cairo_fill(cr);
  if (pens.spots) {
    // A few darker spots on the crown and the sides of the head.
    struct Spot {
      double x, y, rx, ry;
    };
    for (const Spot& s : {Spot{8.5, 37, 2.4, 1.9}, Spot{12.5, 31.5, 1.5, 1.2}, Spot{55.5, 37.5, 2.2, 1.8},
                          Spot{51.5, 31, 1.3, 1.1}, Spot{32, 27.5, 1.7, 1.3}}) {
      EllipsePath(cr, s.x, s.y, s.rx, s.ry);
      Gradient::Radial(s.x - s.rx * 0.3, s.y - s.ry * 0.3, 0, s.x, s.y, s.rx,
                       {{0, WithAlpha(kSkinDark, 0.75)}, {1, WithAlpha(kSkinDark, 0.35)}})
          .Use(cr);
      cairo_fill(cr);
    }
  }
  // Soft highlight on the brow, top left.
  EllipsePath(cr, 24, 31, 12, 5);
  Gradient::Radial(24, 31, 0, 24, 31, 12, {{0, Hex(0xFFFFFF, 0.4)}, {1, Hex(0xFFFFFF, 0)}}).Use(cr);
  cairo_fill(cr);
  cairo_restore(cr);

  Eye(cr, 19, 20, 0.8, scale, pens);
  Eye(cr, 45, 20, -0.8, scale, pens);
  // Nostrils: never under a pixel across.
  SetColor(cr, Hex(0x2C5E12, 0.8));
  const double nostril = std::max(1.3, 0.6 / scale);
  EllipsePath(cr, 28.5, 36, nostril, nostril * 0.77);
  EllipsePath(cr, 35.5, 36, nostril, nostril * 0.77);
  cairo_fill(cr);
  // Rosy cheeks.
  for (double x : {13.0, 51.0}) {
    EllipsePath(cr, x, 44, 5, 3.2);
    Gradient::Radial(x, 44, 0, x, 44, 5, {{0, Hex(0xFF8A9A, 0.6)}, {1, Hex(0xFF8A9A, 0)}}).Use(cr);
    cairo_fill(cr);
  }
  // A wide smile.
  cairo_move_to(cr, 17, 43.5);
  cairo_curve_to(cr, 24, 52, 40, 52, 47, 43.5);
  SetColor(cr, kLine);
  cairo_set_line_width(cr, pens.smile / scale);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_stroke(cr);
  if (pens.spots) {
    // Little tucks at the corners of the mouth.
    for (double side : {-1.0, 1.0}) {
      const double x = 32 + side * 15;
      cairo_move_to(cr, x - side * 1.2, 42.2);
      cairo_curve_to(cr, x + side * 0.6, 42.6, x + side * 1.4, 43.8, x + side * 1.2, 45.4);
    }
    cairo_set_line_width(cr, pens.smile * 0.5 / scale);
    cairo_stroke(cr);
  }
  return c.Png();
}

}  // namespace

void AddIcon(Assets& assets) {
  assets.File("Data/icon.png", FrogFace(64));
  for (int size : {48, 64, 128, 256}) {
    const std::string box = std::to_string(size) + "x" + std::to_string(size);
    assets.File("icons/hicolor/" + box + "/apps/org.pondaro.Pondaro.png", FrogFace(size));
  }
}

ASSETGEN_MODULE(AddIcon);

}  // namespace pondaro::assetgen
