// The crossing's frog, seen from above and facing up, in five poses: two
// breaths at rest, the crouch and the push of a take-off (the push doubles as
// the strained pose on a sticky lily), and the leap.
//
// The game tests collisions on the whole 78 x 121 frame, so the head must fill
// x 20..58, y 10..45 in every pose (that is what touches the goal stone) and a
// front hand must reach into x 0..22, y 6..50 (that is what takes a coin).
#include <cmath>
#include <vector>

#include "canvas.h"
#include "registry.h"

namespace pondaro::assetgen {

namespace {

constexpr int kW = 78, kH = 121;

// A deeper green than the lily pads under the frog, its back darker still, and
// a near-black outline: a small frog on a bright leaf must stand out.
const Rgba kSkin = Hex(0x6FC238), kBack = Hex(0x4E9A28), kLimb = Hex(0x62B02F), kFoot = Hex(0x82CC44);
const Rgba kLine = Hex(0x143505), kBelly = Hex(0xF4EFA0);

struct Pt {
  double x, y;
};

// One pose, described for the left side; the right side is its mirror image.
struct Pose {
  double bodyW, tailY;  // half the width at the hips; the rump's end
  Pt shoulder, elbow, hand;
  double handAngle;  // direction the fingers point, radians (-pi/2: up)
  Pt hip, knee, ankle;
  double footAngle, footLen;
};

const Pose kPoses[] = {
    // At rest, breathing in and out: the flanks swell.
    {23, 100, {20, 50}, {8, 58}, {10, 43}, -1.95, {25, 90}, {11, 75}, {17, 102}, 2.0, 17},
    {25, 100, {20, 50}, {8, 58}, {10, 43}, -1.95, {25, 90}, {10.5, 75}, {17, 102}, 2.0, 17},
    // Crouch: the body sinks back onto the folded legs, the knees come forward.
    {24, 98, {20, 51}, {8, 60}, {10, 45}, -1.9, {25, 88}, {10, 70}, {15, 100}, 2.1, 17},
    // Push: the hind legs straighten, the hands reach forward.
    {22, 101, {21, 48}, {9, 46}, {11, 30}, -1.75, {26, 92}, {13, 100}, {18, 108}, 1.9, 13},
    // In the air: stretched out, the arms laid forward along the head, the legs
    // straight back.
    {20, 103, {22, 47}, {13, 44}, {14, 26}, -1.6, {27, 92}, {18, 103}, {20, 113}, 1.95, 9},
};

Pt Mirror(Pt p) { return {kW - p.x, p.y}; }

// A thick near-black outline round a shape, drawn before its fill covers the inner half.
void Outlined(cairo_t* cr, const PathFn& path) {
  cairo_save(cr);
  path(cr);
  SetColor(cr, kLine);
  cairo_set_line_width(cr, 6);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke(cr);
  cairo_restore(cr);
}

// A limb of two segments, tapering from `w1` to `w2`: outline, fill, a pale
// underside (the frog's belly colour) and a lit edge.
void DrawLimb(cairo_t* cr, Pt a, Pt b, Pt c, double w1, double w2, const Rgba& color) {
  cairo_save(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  auto segments = [&](double extra, const Rgba& col) {
    SetColor(cr, col);
    cairo_move_to(cr, a.x, a.y);
    cairo_line_to(cr, b.x, b.y);
    cairo_set_line_width(cr, w1 + extra);
    cairo_stroke(cr);
    cairo_move_to(cr, b.x, b.y);
    cairo_line_to(cr, c.x, c.y);
    cairo_set_line_width(cr, w2 + extra);
    cairo_stroke(cr);
  };
  segments(4.5, kLine);
  segments(0, color);
  // Light from the top left: a bright edge on that side of each segment, a
  // darker one on the other.
  for (double side : {-1.0, 1.0}) {
    cairo_move_to(cr, a.x + side * 0.22 * w1, a.y + side * 0.22 * w1);
    cairo_line_to(cr, b.x + side * 0.2 * w2, b.y + side * 0.2 * w2);
    cairo_line_to(cr, c.x + side * 0.15 * w2, c.y + side * 0.15 * w2);
    SetColor(cr, side < 0 ? Hex(0xFFFFFF, 0.22) : WithAlpha(Darken(color, 0.3), 0.3));
    cairo_set_line_width(cr, 0.3 * w2);
    cairo_stroke(cr);
  }
  cairo_restore(cr);
}

// Fingers or toes fanning out from `base` along `angle`, with round pads;
// webbed when `web` is set.
void DrawDigits(cairo_t* cr, Pt base, double angle, double len, int count, double spread, bool web,
                const Rgba& color) {
  std::vector<Pt> tips;
  for (int k = 0; k < count; ++k) {
    const double a = angle + spread * (k - (count - 1) / 2.0);
    const double l = len * (1 - 0.12 * std::abs(k - (count - 1) / 2.0));
    tips.push_back({base.x + l * std::cos(a), base.y + l * std::sin(a)});
  }
  cairo_save(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  if (web) {
    cairo_move_to(cr, base.x, base.y);
    for (size_t k = 0; k < tips.size(); ++k) {
      const Pt& t = tips[k];
      cairo_line_to(cr, base.x + 0.85 * (t.x - base.x), base.y + 0.85 * (t.y - base.y));
      if (k + 1 < tips.size()) {
        const Pt& u = tips[k + 1];
        cairo_line_to(cr, base.x + 0.5 * (t.x + u.x - 2 * base.x) * 0.75, base.y + 0.5 * (t.y + u.y - 2 * base.y) * 0.75);
      }
    }
    cairo_close_path(cr);
    SetColor(cr, kLine);
    cairo_set_line_width(cr, 2.4);
    cairo_stroke_preserve(cr);
    SetColor(cr, Mix(color, Hex(0xF2F0A0), 0.3));
    cairo_fill(cr);
  }
  for (int pass = 0; pass < 2; ++pass) {
    const Rgba col = pass == 0 ? kLine : color;
    for (const Pt& t : tips) {
      cairo_move_to(cr, base.x, base.y);
      cairo_line_to(cr, t.x, t.y);
      SetColor(cr, col);
      cairo_set_line_width(cr, pass == 0 ? 5.4 : 2.8);
      cairo_stroke(cr);
      EllipsePath(cr, t.x, t.y, pass == 0 ? 3.4 : 2.3, pass == 0 ? 3.4 : 2.3);
      cairo_fill(cr);
    }
  }
  // A pale pad at each tip.
  for (const Pt& t : tips) {
    EllipsePath(cr, t.x - 0.5, t.y - 0.5, 1.1, 1.1);
    SetColor(cr, Hex(0xF6F3B0, 0.9));
    cairo_fill(cr);
  }
  cairo_restore(cr);
}

void HeadPath(cairo_t* cr) {
  EllipsePath(cr, 39, 30, 27, 24);  // snout at the top
  EllipsePath(cr, 24, 19, 11.5, 11.5);
  EllipsePath(cr, 54, 19, 11.5, 11.5);
}

// The back: narrow at the neck, widest at the hips, round at the rump.
void BodyPath(cairo_t* cr, const Pose& p) {
  const double w = p.bodyW, t = p.tailY;
  cairo_move_to(cr, 39 - 19, 38);
  cairo_curve_to(cr, 39 - 1.05 * w, 52, 39 - 1.12 * w, t - 24, 39 - 0.6 * w, t - 5);
  cairo_curve_to(cr, 39 - 0.3 * w, t + 1, 39 + 0.3 * w, t + 1, 39 + 0.6 * w, t - 5);
  cairo_curve_to(cr, 39 + 1.12 * w, t - 24, 39 + 1.05 * w, 52, 39 + 19, 38);
  cairo_close_path(cr);
}

void Eye(cairo_t* cr, double x, double y, double look) {
  EllipsePath(cr, x, y, 9, 9.2);
  Gradient::Radial(x - 3, y - 3, 0, x, y, 9, {{0, Hex(0xFFFFFF)}, {0.7, Hex(0xF4F7EA)}, {1, Hex(0xD3DDC4)}}).Use(cr);
  cairo_fill_preserve(cr);
  SetColor(cr, kLine);
  cairo_set_line_width(cr, 2.4);
  cairo_stroke(cr);
  // Big pupils looking ahead, the way it will jump, and a little inward.
  EllipsePath(cr, x + look, y - 3, 4.8, 5.2);
  SetColor(cr, Hex(0x1A2410));
  cairo_fill(cr);
  EllipsePath(cr, x + look - 1.6, y - 4.6, 1.8, 1.8);
  SetColor(cr, Hex(0xFFFFFF));
  cairo_fill(cr);
  EllipsePath(cr, x + look + 1.6, y - 1.4, 0.8, 0.8);
  cairo_fill(cr);
}

void DrawFrog(cairo_t* cr, const Pose& p) {
  for (bool right : {false, true}) {
    auto m = [&](Pt q) { return right ? Mirror(q) : q; };
    auto ang = [&](double a) { return right ? M_PI - a : a; };
    // Hind leg: thigh out to the knee, shin back to the ankle, webbed foot.
    DrawDigits(cr, m(p.ankle), ang(p.footAngle), p.footLen, 4, 0.34, true, kFoot);
    DrawLimb(cr, m(p.hip), m(p.knee), m(p.ankle), 14, 9, kLimb);
    // Front leg: upper arm out to the elbow, forearm forward to the hand.
    DrawLimb(cr, m(p.shoulder), m(p.elbow), m(p.hand), 8.5, 7, kLimb);
    DrawDigits(cr, m(p.hand), ang(p.handAngle), 7, 4, 0.45, false, kFoot);
  }

  Outlined(cr, [&](cairo_t* c) { BodyPath(c, p); });
  ShadedFill(cr, [&](cairo_t* c) { BodyPath(c, p); }, kBack, 0, 0.25);
  cairo_save(cr);
  BodyPath(cr, p);
  cairo_clip(cr);
  // A paler stripe down the spine.
  cairo_move_to(cr, 39, 44);
  cairo_line_to(cr, 39, p.tailY - 6);
  SetColor(cr, Hex(0xB6E070, 0.55));
  cairo_set_line_width(cr, 3);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_stroke(cr);
  // Darker spots on the back.
  const Pt spots[] = {{30, 60}, {49, 66}, {36, 80}, {48, 88}, {28, 92}};
  const double sr[] = {5, 4.4, 4.8, 3.6, 3.2};
  for (int k = 0; k < 5; ++k) {
    EllipsePath(cr, spots[k].x, spots[k].y, sr[k], 0.85 * sr[k]);
    Gradient::Radial(spots[k].x - 1, spots[k].y - 1, 0, spots[k].x, spots[k].y, sr[k],
                     {{0, Hex(0x24560E, 0.75)}, {0.7, Hex(0x24560E, 0.6)}, {1, Hex(0x24560E, 0)}})
        .Use(cr);
    cairo_fill(cr);
  }
  cairo_restore(cr);

  Outlined(cr, HeadPath);
  ShadedFill(cr, HeadPath, kSkin, 0, 0.38);
  cairo_save(cr);
  HeadPath(cr);
  cairo_clip(cr);
  // The pale lip round the snout marks the front.
  cairo_save(cr);
  cairo_translate(cr, 39, 30);
  cairo_scale(cr, 27, 24);
  cairo_arc(cr, 0, 0, 0.93, -M_PI * 0.78, -M_PI * 0.22);
  cairo_restore(cr);
  SetColor(cr, kBelly);
  cairo_set_line_width(cr, 3.4);
  cairo_stroke(cr);
  // The head's soft shade where it meets the back, and rosy cheeks.
  EllipsePath(cr, 39, 56, 24, 8);
  Gradient::Radial(39, 56, 0, 39, 56, 24, {{0, Hex(0x2C6E12, 0.3)}, {1, Hex(0x2C6E12, 0)}}).Use(cr);
  cairo_fill(cr);
  for (double x : {18.0, 60.0}) {
    EllipsePath(cr, x, 38, 5, 3.4);
    Gradient::Radial(x, 38, 0, x, 38, 5, {{0, Hex(0xFF8A9A, 0.55)}, {1, Hex(0xFF8A9A, 0)}}).Use(cr);
    cairo_fill(cr);
  }
  cairo_restore(cr);

  // A wide smile across the snout, and the nostrils ahead of it.
  cairo_move_to(cr, 26, 36);
  cairo_curve_to(cr, 31, 41, 47, 41, 52, 36);
  SetColor(cr, Hex(0x2C5E12, 0.75));
  cairo_set_line_width(cr, 1.6);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_stroke(cr);
  EllipsePath(cr, 35, 10, 1.3, 1.0);
  EllipsePath(cr, 43, 10, 1.3, 1.0);
  cairo_fill(cr);
  Eye(cr, 24, 19, 0.8);
  Eye(cr, 54, 19, -0.8);
}

}  // namespace

void AddFrogArt(Assets& assets) {
  const int n = static_cast<int>(std::size(kPoses));
  FrameSheet sheet(n, kW, kH);
  for (int k = 0; k < n; ++k)
    sheet.Draw(k, [&](cairo_t* cr) {
      Canvas frog(kW, kH);
      DrawFrog(frog.Cr(), kPoses[k]);
      // The shadow falls on the leaf below, away from the light; in the air it
      // falls further off and softer.
      const bool air = k == n - 1;
      PaintWithShadow(cr, frog.Surface(), Hex(0x0B3A18, air ? 0.3 : 0.45), air ? 5 : 2.5, air ? 7 : 3.5,
                      air ? 3.5 : 2.2);
    });
  assets.Frames("frog", sheet.Png(), kW, kH);
}

ASSETGEN_MODULE(AddFrogArt);

}  // namespace pondaro::assetgen
