// The feeding stage's frog, seen from behind as it sits at the bottom of the
// screen looking up at the insects, and its tongue: the body and the tip.
//
// "frogeat": 4 frames of 140 x 200. Its mouth is at (70, 100 - lift) with lift 0,
// 25, 65, 65: frame 0 sits, 1 pushes off, 2 is stretched out in the take-off, 3 is
// in the air with the legs drawn in. The game draws the tongue beneath the frog,
// from the mouth, so the tongue comes out over the top of the head.
#include <cmath>

#include "canvas.h"
#include "registry.h"

namespace pondaro::assetgen {

namespace {

constexpr int kFrogW = 140, kFrogH = 200;
constexpr double kLift[4] = {0, 25, 65, 65};

const Rgba kSkin = Hex(0x86D13C), kSkinLight = Hex(0xCBF27A), kSkinDark = Hex(0x4E9A22);
const Rgba kLine = Hex(0x2F5E14), kSpot = Hex(0x5E9E2A), kStripe = Hex(0xE4F39A);

// A limb as a thick rounded stroke through `points`, outlined, with a light edge.
void Limb(cairo_t* cr, std::initializer_list<std::pair<double, double>> points, double width) {
  auto path = [&] {
    bool first = true;
    for (auto [x, y] : points) {
      if (first) cairo_move_to(cr, x, y);
      else cairo_line_to(cr, x, y);
      first = false;
    }
  };
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  path();
  SetColor(cr, kLine);
  cairo_set_line_width(cr, width + 3.2);
  cairo_stroke(cr);
  path();
  SetColor(cr, kSkin);
  cairo_set_line_width(cr, width);
  cairo_stroke(cr);
  cairo_save(cr);
  cairo_translate(cr, -width * 0.18, -width * 0.2);
  path();
  SetColor(cr, WithAlpha(kSkinLight, 0.55));
  cairo_set_line_width(cr, width * 0.35);
  cairo_stroke(cr);
  cairo_restore(cr);
}

// Webbed toes fanning out from (x, y) around the direction `dir` (radians).
void Foot(cairo_t* cr, double x, double y, double dir, double spread) {
  const double fan[3] = {-0.6, 0, 0.6};
  cairo_move_to(cr, x, y);
  for (double a : fan) cairo_line_to(cr, x + std::cos(dir + a) * spread, y + std::sin(dir + a) * spread);
  cairo_close_path(cr);
  SetColor(cr, WithAlpha(kSkinDark, 0.9));
  cairo_fill(cr);
  for (double a : fan) {
    const double tx = x + std::cos(dir + a) * spread, ty = y + std::sin(dir + a) * spread;
    Limb(cr, {{x, y}, {tx, ty}}, 3.4);
    EllipsePath(cr, tx, ty, 3.1, 3.1);
    SetColor(cr, kLine);
    cairo_fill(cr);
    EllipsePath(cr, tx, ty, 2.1, 2.1);
    SetColor(cr, kSkinLight);
    cairo_fill(cr);
  }
}

// Body and head as one silhouette, lifted by `lift`.
void SilhouettePath(cairo_t* cr, double lift) {
  EllipsePath(cr, 70, 152 - lift, 47, 39);
  EllipsePath(cr, 70, 114 - lift, 37, 26);
  EllipsePath(cr, 47, 97 - lift, 15, 14);
  EllipsePath(cr, 93, 97 - lift, 15, 14);
}

// An eye on top of the head, looking up and a little towards the middle.
void Eye(cairo_t* cr, double x, double y, double look) {
  EllipsePath(cr, x, y, 10.5, 10);
  Gradient::Radial(x - 3, y - 4, 0, x, y, 11, {{0, Hex(0xFFFFFF)}, {0.7, Hex(0xF4F7EA)}, {1, Hex(0xCCD6BC)}}).Use(cr);
  cairo_fill_preserve(cr);
  SetColor(cr, kLine);
  cairo_set_line_width(cr, 1.8);
  cairo_stroke(cr);
  EllipsePath(cr, x + look, y - 3.5, 6.2, 5.6);
  SetColor(cr, Hex(0x1C2412));
  cairo_fill(cr);
  EllipsePath(cr, x + look - 2.2, y - 5.4, 2.3, 2.1);
  SetColor(cr, Hex(0xFFFFFF));
  cairo_fill(cr);
  EllipsePath(cr, x + look + 2.2, y - 1.8, 1, 1);
  cairo_fill(cr);
}

// The left hind leg in each frame (the right one mirrors it): hip, knee, heel and
// where the long foot ends and the toes fan out.
struct Point {
  double x, y;
};
struct LegPose {
  Point hip, knee, heel, toes;
};
const LegPose kLegs[4] = {
    {{50, 160}, {16, 168}, {42, 183}, {17, 186}},   // sitting, folded
    {{50, 138}, {18, 154}, {38, 174}, {21, 184}},   // pushing off
    {{50, 106}, {32, 136}, {38, 164}, {33, 180}},   // stretched out
    {{50, 106}, {16, 118}, {40, 134}, {17, 143}},   // drawn in, in the air
};

void Frog(cairo_t* cr, int frame) {
  const double lift = kLift[frame];
  const LegPose& leg = kLegs[frame];

  // The shadow on the water, smaller and fainter the higher the frog is.
  const double shrink = 1 - lift / 160;
  SoftShape(cr, [&](cairo_t* c) { EllipsePath(c, 72, 192, 52 * shrink, 8 * shrink); }, Hex(0x00141A, 0.32 * shrink),
            0, 0, 4);

  for (double side : {-1.0, 1.0}) {
    auto at = [&](Point p) { return std::pair{side < 0 ? p.x : kFrogW - p.x, p.y}; };
    const auto [tx, ty] = at(leg.toes);
    const auto [hx, hy] = at(leg.heel);
    Limb(cr, {at(leg.knee), at(leg.heel), at(leg.toes)}, 9);
    Foot(cr, tx, ty, std::atan2(ty - hy, tx - hx), 12.5);
    Limb(cr, {at(leg.hip), at(leg.knee)}, 24);  // the big thigh, over the shin
    // The front feet peep out beside the belly.
    const auto [fx, fy] = at(Point{44, 186 - lift});
    Foot(cr, fx, fy, side < 0 ? 1.9 : 1.25, 9);
  }

  // Outline first at twice the width, then the fill: a clean edge where the
  // head, the eye bulges and the body join.
  SilhouettePath(cr, lift);
  SetColor(cr, kLine);
  cairo_set_line_width(cr, 4);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke_preserve(cr);
  Gradient::Radial(52, 100 - lift, 4, 70, 140 - lift, 70, {{0, kSkinLight}, {0.45, kSkin}, {1, kSkinDark}}).Use(cr);
  cairo_fill(cr);

  cairo_save(cr);
  SilhouettePath(cr, lift);
  cairo_clip(cr);
  // Spots on the back, a pale stripe down the spine, a shade along the right.
  const double spots[][3] = {{48, 140, 7}, {92, 136, 6}, {62, 168, 6.5}, {86, 170, 5}, {70, 128, 4}, {40, 160, 4}};
  for (const auto& s : spots) {
    EllipsePath(cr, s[0], s[1] - lift, s[2] * 1.15, s[2]);
    SetColor(cr, WithAlpha(kSpot, 0.8));
    cairo_fill(cr);
  }
  cairo_move_to(cr, 70, 96 - lift);
  cairo_curve_to(cr, 69, 130 - lift, 71, 160 - lift, 70, 192 - lift);
  SetColor(cr, WithAlpha(kStripe, 0.55));
  cairo_set_line_width(cr, 4);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_stroke(cr);
  EllipsePath(cr, 108, 160 - lift, 24, 40);
  Gradient::Radial(108, 160 - lift, 0, 108, 160 - lift, 40, {{0, Hex(0x1E4A0A, 0.28)}, {1, Hex(0x1E4A0A, 0)}}).Use(cr);
  cairo_fill(cr);
  // One soft highlight, top left.
  EllipsePath(cr, 50, 124 - lift, 16, 9);
  Gradient::Radial(50, 124 - lift, 0, 50, 124 - lift, 16, {{0, Hex(0xFFFFFF, 0.45)}, {1, Hex(0xFFFFFF, 0)}}).Use(cr);
  cairo_fill(cr);
  cairo_restore(cr);

  Eye(cr, 47, 94 - lift, 1.2);
  Eye(cr, 93, 94 - lift, -1.2);
}

// The tongue's body: a 4 x 30 strip hanging down, the same all along its length
// so that stretching it keeps it clean; darker at the edges, glossy in the middle.
std::vector<uint8_t> TongueBody() {
  Canvas c(4, 30);
  cairo_t* cr = c.Cr();
  Gradient::Linear(0, 0, 4, 0,
                   {{0, Hex(0xA8213F, 0.8)}, {0.25, Hex(0xF0647E)}, {0.5, Hex(0xFF9CB0)}, {0.75, Hex(0xE8506E)}, {1, Hex(0xB42A48, 0.9)}})
      .Use(cr);
  cairo_paint(cr);
  return c.Png();
}

// The tip: a round sticky pad pointing up, joined to the tongue below.
std::vector<uint8_t> TongueTip() {
  Canvas c(16, 16);
  cairo_t* cr = c.Cr();
  auto shape = [](cairo_t* k) {
    cairo_move_to(k, 6, 15.5);
    cairo_curve_to(k, 5.5, 13, 1.2, 11.5, 1.2, 7.2);
    cairo_curve_to(k, 1.2, 3.2, 4.2, 0.8, 8, 0.8);
    cairo_curve_to(k, 11.8, 0.8, 14.8, 3.2, 14.8, 7.2);
    cairo_curve_to(k, 14.8, 11.5, 10.5, 13, 10, 15.5);
    cairo_close_path(k);
  };
  shape(cr);
  Gradient::Radial(6, 5, 0.5, 8, 8, 9, {{0, Hex(0xFFC4D0)}, {0.45, Hex(0xF2607C)}, {1, Hex(0xB0233F)}}).Use(cr);
  cairo_fill_preserve(cr);
  SetColor(cr, Hex(0x7E1730));
  cairo_set_line_width(cr, 1.2);
  cairo_stroke(cr);
  EllipsePath(cr, 6, 4.6, 2.4, 1.6);
  SetColor(cr, Hex(0xFFFFFF, 0.75));
  cairo_fill(cr);
  return c.Png();
}

}  // namespace

void AddFeedingFrogArt(Assets& assets) {
  FrameSheet frog(4, kFrogW, kFrogH);
  for (int i = 0; i < 4; ++i) frog.Draw(i, [i](cairo_t* cr) { Frog(cr, i); });
  assets.Frames("frogeat", frog.Png(), kFrogW, kFrogH);
  assets.Picture("iazik", TongueBody());
  assets.Picture("konec_iazika", TongueTip());
}

ASSETGEN_MODULE(AddFeedingFrogArt);

}  // namespace pondaro::assetgen
