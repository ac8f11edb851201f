// The crossing's frog, seen from above and facing up, in five poses: two
// breaths at rest, the crouch and the push of a take-off (the push doubles as
// the strained pose on a sticky lily), and the leap.
//
// The game tests collisions on the whole 78 x 121 frame, so the head must fill
// x 20..58, y 10..45 in every pose (that is what touches the goal stone) and a
// front hand must reach into x 0..22, y 6..50 (that is what takes a coin).
#include <cmath>

#include "canvas.h"
#include "registry.h"

namespace pondaro::assetgen {

namespace {

constexpr int kW = 78, kH = 121;

const Rgba kSkin = Hex(0x7DD13A), kLimb = Hex(0x72C634), kFoot = Hex(0x8ED84E);
const Rgba kLine = Hex(0x2C5E12);

struct Pt {
  double x, y;
};

// One pose, described for the left side; the right side is its mirror image.
struct Pose {
  double bodyRx, bodyRy, bodyCy;
  Pt shoulder, elbow, hand;
  double handAngle;  // direction the fingers point, radians (0: right, -pi/2: up)
  Pt hip, knee, ankle;
  double footAngle, footLen;
};

const Pose kPoses[] = {
    // At rest, breathing in and out: only the flanks swell.
    {22, 30, 72, {22, 50}, {8, 58}, {9, 42}, -1.9, {26, 92}, {5, 88}, {15, 109}, 2.2, 13},
    {24, 30.5, 72, {22, 50}, {7, 58}, {8, 42}, -1.9, {26, 92}, {4, 88}, {15, 109}, 2.2, 13},
    // Crouch: the body drops back onto the folded legs.
    {23, 29, 74, {22, 52}, {7, 60}, {9, 45}, -1.85, {26, 94}, {4, 94}, {16, 112}, 2.0, 12},
    // Push: the hind legs straighten, the hands reach forward.
    {21, 32, 71, {22, 48}, {10, 48}, {11, 30}, -1.75, {27, 92}, {14, 104}, {20, 113}, 1.85, 11},
    // In the air: stretched out from fingertips to toes.
    {19, 34, 70, {23, 46}, {12, 34}, {11, 16}, -1.65, {28, 94}, {22, 106}, {24, 114}, 1.72, 9},
};

Pt Mirror(Pt p) { return {kW - p.x, p.y}; }

// A limb of two segments, tapering from `w1` to `w2`, with its outline.
void DrawLimb(cairo_t* cr, Pt a, Pt b, Pt c, double w1, double w2, const Rgba& color) {
  cairo_save(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  // Outline pass, then fill pass: the thick upper segment, then the thinner lower one.
  for (int pass = 0; pass < 2; ++pass) {
    const double extra = pass == 0 ? 4 : 0;
    const Rgba col = pass == 0 ? Darken(color, 0.5) : color;
    cairo_move_to(cr, a.x, a.y);
    cairo_line_to(cr, b.x, b.y);
    SetColor(cr, col);
    cairo_set_line_width(cr, w1 + extra);
    cairo_stroke(cr);
    cairo_move_to(cr, b.x, b.y);
    cairo_line_to(cr, c.x, c.y);
    cairo_set_line_width(cr, w2 + extra);
    cairo_stroke(cr);
  }
  // A lit edge along the upper left of each segment.
  cairo_move_to(cr, a.x - 0.22 * w1, a.y - 0.22 * w1);
  cairo_line_to(cr, b.x - 0.2 * w2, b.y - 0.22 * w2);
  cairo_line_to(cr, c.x - 0.15 * w2, c.y - 0.15 * w2);
  SetColor(cr, Hex(0xFFFFFF, 0.28));
  cairo_set_line_width(cr, 0.3 * w2);
  cairo_stroke(cr);
  cairo_restore(cr);
}

// Fingers or toes fanning out from `base` along `angle`, with round pads; webbed
// when `web` is set.
void DrawDigits(cairo_t* cr, Pt base, double angle, double len, int count, double spread, bool web,
                const Rgba& color) {
  std::vector<Pt> tips;
  for (int k = 0; k < count; ++k) {
    const double a = angle + spread * (k - (count - 1) / 2.0);
    tips.push_back({base.x + len * std::cos(a), base.y + len * std::sin(a)});
  }
  cairo_save(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  if (web) {
    cairo_move_to(cr, base.x, base.y);
    for (const Pt& t : tips) cairo_line_to(cr, base.x + 0.8 * (t.x - base.x), base.y + 0.8 * (t.y - base.y));
    cairo_close_path(cr);
    SetColor(cr, Darken(color, 0.45));
    cairo_set_line_width(cr, 2);
    cairo_stroke_preserve(cr);
    SetColor(cr, Lighten(color, 0.15));
    cairo_fill(cr);
  }
  for (int pass = 0; pass < 2; ++pass) {
    const Rgba col = pass == 0 ? Darken(color, 0.5) : color;
    for (const Pt& t : tips) {
      cairo_move_to(cr, base.x, base.y);
      cairo_line_to(cr, t.x, t.y);
      SetColor(cr, col);
      cairo_set_line_width(cr, pass == 0 ? 5.2 : 2.6);
      cairo_stroke(cr);
      EllipsePath(cr, t.x, t.y, pass == 0 ? 3.2 : 2.1, pass == 0 ? 3.2 : 2.1);
      cairo_fill(cr);
    }
  }
  cairo_restore(cr);
}

void HeadAndBodyPath(cairo_t* cr, const Pose& p) {
  EllipsePath(cr, 39, 32, 26, 27);                 // head, snout at the top
  EllipsePath(cr, 23, 19, 11, 11);                 // eye bulges
  EllipsePath(cr, 55, 19, 11, 11);
  EllipsePath(cr, 39, p.bodyCy, p.bodyRx, p.bodyRy);  // back
}

void Eye(cairo_t* cr, double x, double y, double look) {
  EllipsePath(cr, x, y, 8.2, 8.4);
  Gradient::Radial(x - 3, y - 3, 0, x, y, 9, {{0, Hex(0xFFFFFF)}, {0.7, Hex(0xF4F7EA)}, {1, Hex(0xD3DDC4)}}).Use(cr);
  cairo_fill_preserve(cr);
  SetColor(cr, kLine);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  // Big pupils looking ahead and a little inward read as friendly.
  EllipsePath(cr, x + look, y - 2.2, 4.6, 5.0);
  SetColor(cr, Hex(0x1A2410));
  cairo_fill(cr);
  EllipsePath(cr, x + look - 1.6, y - 3.8, 1.8, 1.8);
  SetColor(cr, Hex(0xFFFFFF));
  cairo_fill(cr);
  EllipsePath(cr, x + look + 1.6, y - 0.6, 0.8, 0.8);
  cairo_fill(cr);
}

void DrawFrog(cairo_t* cr, const Pose& p) {
  // A soft shadow on the leaf below, offset away from the light.
  SoftShape(cr, [&](cairo_t* c) { HeadAndBodyPath(c, p); }, Hex(0x0B3A18, 0.35), 2.5, 3.5, 2.5);

  for (bool right : {false, true}) {
    auto m = [&](Pt q) { return right ? Mirror(q) : q; };
    auto ang = [&](double a) { return right ? M_PI - a : a; };
    // Hind leg: thigh out to the knee, shin back to the ankle, webbed foot.
    DrawLimb(cr, m(p.hip), m(p.knee), m(p.ankle), 13, 9, kLimb);
    DrawDigits(cr, m(p.ankle), ang(p.footAngle), p.footLen, 4, 0.32, true, kFoot);
    // Front leg: upper arm out to the elbow, forearm forward to the hand.
    DrawLimb(cr, m(p.shoulder), m(p.elbow), m(p.hand), 8, 7, kLimb);
    DrawDigits(cr, m(p.hand), ang(p.handAngle), 6.5, 4, 0.42, false, kFoot);
  }

  ShadedFill(cr, [&](cairo_t* c) { HeadAndBodyPath(c, p); }, kSkin, 2, 0.38);

  cairo_save(cr);
  HeadAndBodyPath(cr, p);
  cairo_clip(cr);
  // Darker spots on the back, a pale ridge along each side of it.
  const Pt spots[] = {{30, p.bodyCy - 8}, {48, p.bodyCy - 2}, {36, p.bodyCy + 12}, {47, p.bodyCy + 20}};
  const double sr[] = {5, 4.2, 4.6, 3.4};
  for (int k = 0; k < 4; ++k) {
    EllipsePath(cr, spots[k].x, spots[k].y, sr[k], 0.85 * sr[k]);
    Gradient::Radial(spots[k].x, spots[k].y, 0, spots[k].x, spots[k].y, sr[k],
                     {{0, Hex(0x3F8A1E, 0.75)}, {0.75, Hex(0x3F8A1E, 0.6)}, {1, Hex(0x3F8A1E, 0)}})
        .Use(cr);
    cairo_fill(cr);
  }
  for (double side : {-1.0, 1.0}) {
    cairo_move_to(cr, 39 + side * 13, 44);
    cairo_curve_to(cr, 39 + side * 16, p.bodyCy - 10, 39 + side * 15, p.bodyCy + 12, 39 + side * 9,
                   p.bodyCy + p.bodyRy - 6);
  }
  SetColor(cr, Hex(0xE8F8A0, 0.45));
  cairo_set_line_width(cr, 2.2);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_stroke(cr);
  // Rosy cheeks behind the eyes.
  for (double x : {17.0, 61.0}) {
    EllipsePath(cr, x, 37, 5, 3.4);
    Gradient::Radial(x, 37, 0, x, 37, 5, {{0, Hex(0xFF8A9A, 0.55)}, {1, Hex(0xFF8A9A, 0)}}).Use(cr);
    cairo_fill(cr);
  }
  cairo_restore(cr);

  // Nostrils at the tip of the snout.
  SetColor(cr, Hex(0x2C5E12, 0.85));
  EllipsePath(cr, 35, 10, 1.3, 1.0);
  EllipsePath(cr, 43, 10, 1.3, 1.0);
  cairo_fill(cr);
  Eye(cr, 23, 19, 0.8);
  Eye(cr, 55, 19, -0.8);
}

}  // namespace

void AddFrogArt(Assets& assets) {
  const int n = static_cast<int>(std::size(kPoses));
  FrameSheet sheet(n, kW, kH);
  for (int k = 0; k < n; ++k) sheet.Draw(k, [&](cairo_t* cr) { DrawFrog(cr, kPoses[k]); });
  assets.Frames("frog", sheet.Png(), kW, kH);
}

ASSETGEN_MODULE(AddFrogArt);

}  // namespace pondaro::assetgen
