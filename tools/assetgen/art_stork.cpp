// The stork that visits the feeding stage: "aist_leng", one bare orange leg that
// stands at either edge of the screen, and "aist", the bird's breast, long neck
// and head reaching down from above, its beak at the bottom, clacking.
//
// "aist" is 570 px tall, a multiple of the 30 px the stork moves per tick, so it
// turns exactly at the top of the screen and 30 px above its lowest point.
#include <cmath>

#include "canvas.h"
#include "registry.h"

namespace pondaro::assetgen {

namespace {

constexpr int kStorkW = 240, kStorkH = 570, kStorkFrames = 4;
constexpr int kLegW = 48, kLegH = 630;

const Rgba kWhite = Hex(0xF4F7F8), kShade = Hex(0xB9C6CF), kWhiteLine = Hex(0x6F808C);
const Rgba kBlack = Hex(0x23272C), kBlackLight = Hex(0x59606A);
const Rgba kBeak = Hex(0xF2701E), kBeakDark = Hex(0xC7401A), kBeakLine = Hex(0x7F2A0C);

void Outline(cairo_t* cr, const Rgba& c, double width) {
  SetColor(cr, c);
  cairo_set_line_width(cr, width);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke(cr);
}

// The black flight feathers of a folded wing, fanned from (x, y) along `dir`.
void WingFeathers(cairo_t* cr, double x, double y, double dir) {
  for (int i = 0; i < 5; ++i) {
    const double a = dir + (i - 2) * 0.11, len = 112 - std::abs(i - 2) * 12;
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, a);
    EllipsePath(cr, len / 2, 0, len / 2, 13);
    Gradient::Linear(0, -13, 0, 13, {{0, kBlackLight}, {0.5, kBlack}, {1, Darken(kBlack, 0.3)}}).Use(cr);
    cairo_fill_preserve(cr);
    Outline(cr, Hex(0x0E1012), 1.6);
    cairo_move_to(cr, 8, 0);  // the shaft
    cairo_line_to(cr, len - 10, 0);
    Outline(cr, WithAlpha(kBlackLight, 0.8), 1.2);
    cairo_restore(cr);
  }
}

// The neck's centre line sways a little with the frame.
double NeckSway(int frame) { return std::sin(2 * M_PI * frame / kStorkFrames) * 3; }

void NeckPath(cairo_t* cr, double sway) {
  const double cx = 120;
  cairo_move_to(cr, cx - 34, 90);
  cairo_curve_to(cr, cx - 30 + sway, 200, cx - 8 - sway, 290, cx - 17 + sway, 420);
  cairo_line_to(cr, cx + 17 + sway, 420);
  cairo_curve_to(cr, cx + 24 - sway, 290, cx + 32 + sway, 200, cx + 34, 90);
  cairo_close_path(cr);
}

// One half of the beak, hinged at (hx, hy), opened by `open` radians to its side.
void Mandible(cairo_t* cr, double hx, double hy, double side, double open) {
  cairo_save(cr);
  cairo_translate(cr, hx, hy);
  cairo_rotate(cr, -side * open);
  cairo_move_to(cr, 0, -6);
  cairo_line_to(cr, side * 13, -4);
  cairo_curve_to(cr, side * 11, 50, side * 4, 110, side * 0.5, 136);
  cairo_line_to(cr, 0, 136);
  cairo_close_path(cr);
  Gradient::Linear(side * 13, 0, 0, 0, {{0, kBeakDark}, {0.55, kBeak}, {1, Lighten(kBeak, 0.25)}}).Use(cr);
  cairo_fill_preserve(cr);
  Outline(cr, kBeakLine, 1.8);
  cairo_move_to(cr, side * 5, 4);  // a glint along the ridge
  cairo_curve_to(cr, side * 5, 40, side * 3, 80, side * 1.5, 110);
  Outline(cr, WithAlpha(Hex(0xFFE0B0), 0.55), 1.6);
  cairo_restore(cr);
}

void Stork(cairo_t* cr, int frame) {
  const double sway = NeckSway(frame);
  const double open[kStorkFrames] = {0, 0.05, 0.12, 0.05};

  // A soft shadow on the water below the bird, too faint to count in the catch.
  SoftShape(
      cr,
      [&](cairo_t* c) {
        NeckPath(c, sway);
        EllipsePath(c, 120 + sway, 420, 30, 36);
        cairo_move_to(c, 107 + sway, 446);
        cairo_line_to(c, 120 + sway, 566);
        cairo_line_to(c, 133 + sway, 446);
        cairo_close_path(c);
      },
      Hex(0x06302E, 0.4), 12, 14, 7);

  // The neck first: the breast and the head cover its ends. A shade runs along
  // its right side and faint feather lines down it.
  NeckPath(cr, sway);
  Gradient::Linear(86, 0, 154, 0, {{0, Hex(0xFFFFFF)}, {0.5, kWhite}, {1, kShade}}).Use(cr);
  cairo_fill_preserve(cr);
  Outline(cr, kWhiteLine, 2.4);
  for (int i = 0; i < 6; ++i) {
    const double y = 170 + i * 38, x = 120 + std::sin(y / 70.0) * 2 + sway * (i % 2 ? -0.5 : 0.5);
    cairo_move_to(cr, x - 8, y);
    cairo_curve_to(cr, x - 3, y + 7, x + 3, y + 7, x + 8, y);
  }
  Outline(cr, WithAlpha(kShade, 0.75), 1.3);

  // The breast, seen from below, with the folded wings' black feathers at its sides.
  // The whole body is in the frame, its back rounded at the top: the bird
  // dives in from above the screen and is seen whole on its way down.
  WingFeathers(cr, 64, 40, 1.95);
  WingFeathers(cr, 176, 40, 1.19);
  cairo_move_to(cr, 24, 52);
  cairo_curve_to(cr, 26, 14, 70, 3, 120, 3);
  cairo_curve_to(cr, 170, 3, 214, 14, 216, 52);
  cairo_curve_to(cr, 218, 100, 170, 150, 120, 152);
  cairo_curve_to(cr, 70, 150, 22, 100, 24, 52);
  cairo_close_path(cr);
  Gradient::Radial(96, 30, 8, 120, 30, 130, {{0, Hex(0xFFFFFF)}, {0.55, kWhite}, {1, kShade}}).Use(cr);
  cairo_fill_preserve(cr);
  Outline(cr, kWhiteLine, 2.4);
  // Soft feather scallops, smaller towards the neck.
  for (int row = 0; row < 4; ++row) {
    const int n = 4 - row / 2;
    for (int i = 0; i < n; ++i) {
      const double r = 13 - row * 1.5, x = 120 + (i - (n - 1) / 2.0) * r * 2.1, y = 50 + row * 22;
      cairo_new_sub_path(cr);
      cairo_arc(cr, x, y, r, 0.35, M_PI - 0.35);
    }
  }
  Outline(cr, WithAlpha(kShade, 0.7), 1.4);

  // The head, turned sideways, the beak pointing down.
  const double hx = 120 + sway, hy = 420, hinge = hy + 28;
  Mandible(cr, hx, hinge, 1, open[frame]);
  Mandible(cr, hx, hinge, -1, open[frame]);
  // Filled as a closed shape, outlined without its top, where the neck goes in.
  auto head = [&](cairo_t* c) {
    cairo_move_to(c, hx - 22, hy - 30);
    cairo_curve_to(c, hx - 34, hy - 4, hx - 26, hy + 26, hx - 11, hy + 34);
    cairo_line_to(c, hx + 11, hy + 34);
    cairo_curve_to(c, hx + 26, hy + 26, hx + 34, hy - 4, hx + 22, hy - 30);
  };
  head(cr);
  cairo_close_path(cr);
  Gradient::Radial(hx - 8, hy - 8, 2, hx, hy, 36, {{0, Hex(0xFFFFFF)}, {0.6, kWhite}, {1, kShade}}).Use(cr);
  cairo_fill(cr);
  head(cr);
  Outline(cr, kWhiteLine, 2.4);
  // The eye, with the dark red skin around it, and a stern brow.
  EllipsePath(cr, hx - 9, hy + 4, 9, 8);
  SetColor(cr, Hex(0x6A1E1A));
  cairo_fill(cr);
  EllipsePath(cr, hx - 9, hy + 4, 5.4, 5.4);
  SetColor(cr, Hex(0x111111));
  cairo_fill(cr);
  EllipsePath(cr, hx - 10.8, hy + 2.2, 1.9, 1.9);
  SetColor(cr, Hex(0xFFFFFF));
  cairo_fill(cr);
  cairo_move_to(cr, hx - 21, hy - 7);
  cairo_line_to(cr, hx + 1, hy - 3);
  Outline(cr, kWhiteLine, 2.6);
}

// One leg, the same from either side: feathered thigh, bare shank, a joint
// halfway down and three toes spread on the ground.
void StorkLeg(cairo_t* cr) {
  const double cx = kLegW / 2.0;
  auto shank = [&](cairo_t* c) {
    cairo_move_to(c, cx - 6, 60);
    cairo_line_to(c, cx - 5.5, 300);
    cairo_curve_to(c, cx - 11, 312, cx - 11, 336, cx - 5.5, 346);
    cairo_line_to(c, cx - 5, 604);
    cairo_line_to(c, cx + 5, 604);
    cairo_line_to(c, cx + 5.5, 346);
    cairo_curve_to(c, cx + 11, 336, cx + 11, 312, cx + 5.5, 300);
    cairo_line_to(c, cx + 6, 60);
    cairo_close_path(c);
  };
  shank(cr);
  Gradient::Linear(cx - 11, 0, cx + 11, 0,
                   {{0, kBeakDark}, {0.35, kBeak}, {0.5, Lighten(kBeak, 0.3)}, {0.65, kBeak}, {1, kBeakDark}})
      .Use(cr);
  cairo_fill_preserve(cr);
  Outline(cr, kBeakLine, 2);
  // Scales on the shank.
  for (double y = 80; y < 600; y += 14) {
    if (y > 292 && y < 352) continue;
    cairo_move_to(cr, cx - 4, y);
    cairo_curve_to(cr, cx - 2, y + 3, cx + 2, y + 3, cx + 4, y);
  }
  Outline(cr, WithAlpha(kBeakLine, 0.45), 1);
  // Toes.
  for (double side : {-1.0, 1.0}) {
    cairo_move_to(cr, cx, 602);
    cairo_curve_to(cr, cx + side * 8, 608, cx + side * 16, 616, cx + side * 21, 624);
  }
  cairo_move_to(cr, cx, 602);
  cairo_line_to(cr, cx, 627);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  SetColor(cr, kBeakLine);
  cairo_set_line_width(cr, 8);
  cairo_stroke_preserve(cr);
  SetColor(cr, kBeak);
  cairo_set_line_width(cr, 5);
  cairo_stroke(cr);
  // The white feathers of the thigh.
  EllipsePath(cr, cx, 20, 20, 56);
  Gradient::Linear(cx - 20, 0, cx + 20, 0, {{0, kShade}, {0.5, Hex(0xFFFFFF)}, {1, kShade}}).Use(cr);
  cairo_fill_preserve(cr);
  Outline(cr, kWhiteLine, 2);
  for (double side : {-1.0, 1.0}) {
    cairo_move_to(cr, cx + side * 10, 40);
    cairo_curve_to(cr, cx + side * 12, 56, cx + side * 8, 68, cx + side * 3, 74);
  }
  Outline(cr, WithAlpha(kShade, 0.9), 1.4);
}

}  // namespace

void AddStorkArt(Assets& assets) {
  FrameSheet stork(kStorkFrames, kStorkW, kStorkH);
  for (int i = 0; i < kStorkFrames; ++i) stork.Draw(i, [i](cairo_t* cr) { Stork(cr, i); });
  assets.Frames("aist", stork.Png(), kStorkW, kStorkH);
  Canvas leg(kLegW, kLegH);
  StorkLeg(leg.Cr());
  assets.Picture("aist_leng", leg.Png());
}

ASSETGEN_MODULE(AddStorkArt);

}  // namespace pondaro::assetgen
