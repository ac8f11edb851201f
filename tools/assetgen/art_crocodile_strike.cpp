// The crocodile's strike ("kroko"): the head bursts out of the water where its
// eyes were waiting (right of the frog), jaws wide round the frog, and snaps
// shut in a spray of water before it sinks back.
//
// Seen from above and a little in front, as the whole pond is: the top of the
// head with both eyes and the nostrils, the near side of each jaw below it, and
// between them, when they part, the inside of the lower jaw with the frog in it.
// The frame is centred on the frog's cell with its bottom on the lily's line;
// a frog's middle is at (150, H - 30) on the first levels, (150, H - 50) from
// level 5 on. Only the head is above the water: the neck
// and body behind it are a shadow under the surface. The jaws are shut again by
// frame n - 3 (the game ends the strike when the frame index rounds to n - 1).
#include <algorithm>
#include <cmath>
#include <vector>

#include "crocodile.h"
#include "registry.h"
#include "synth.h"  // Rng

namespace pondaro::assetgen {

namespace {

using crocodile::kBelly;
using crocodile::kHide;
using crocodile::kMouth;
using crocodile::kWater;

constexpr int kW = 300, kH = 176, kFrames = 8;
constexpr double kHingeX = 262, kHingeY = 136;  // where the jaws meet at the back of the mouth
constexpr double kLen = 234;                     // hinge to snout tip
constexpr double kTilt = 0.8;                   // how much of the head's width the view shows
constexpr double kFrogX = 150, kFrogY = kH - 38;  // a small frog's middle
constexpr double kLean = -0.09;  // the head's back is raised: it all fits above the frame's foot
const Rgba kSpray = Hex(0xD6F4FF), kSprayLine = Hex(0x5FA9C4);

struct Pt {
  double x, y;
};

// Half the head's width, u px from the hinge towards the tip: broad at the
// back, a long tapering snout with a bulb round the nostrils, a round tip.
double HalfWidth(double u) {
  const double t = std::clamp(u / kLen, 0.0, 1.0);
  double w = 40 - 26 * std::pow(t, 0.7) + 4.5 * std::exp(-std::pow((u - (kLen - 16)) / 11, 2));
  constexpr double kTip = 16;
  if (u > kLen - kTip) w *= std::sqrt(std::max(0.0, 1 - std::pow((u - (kLen - kTip)) / kTip, 2)));
  return w;
}
// How thick each jaw stands, seen from the side.
double UpperThickness(double u) { return 19 - 11 * std::clamp(u / kLen, 0.0, 1.0); }
double LowerThickness(double u) { return 13 - 6 * std::clamp(u / kLen, 0.0, 1.0); }

// A point of the head: u along it from the hinge, v across (+ towards the
// viewer), z up from the mouth's line; the upper jaw turned up by `open` rad.
Pt At(double u, double v, double z, double open = 0) {
  const double x = -u, y = kTilt * v - z;
  if (u < 0) open = 0;  // the neck behind the hinge stays put
  const double c = std::cos(open), s = std::sin(open);
  return {kHingeX + x * c - y * s, kHingeY + x * s + y * c};
}

constexpr int kSteps = 60;

template <class F>
void Trace(cairo_t* cr, double u0, double u1, F point, bool start) {
  for (int i = 0; i <= kSteps; ++i) {
    const double u = u0 + (u1 - u0) * i / kSteps;
    const Pt p = point(u);
    if (start && i == 0)
      cairo_move_to(cr, p.x, p.y);
    else
      cairo_line_to(cr, p.x, p.y);
  }
}

// The top of the head: its far edge out to the tip and its near edge back.
void HeadTop(cairo_t* cr, double open) {
  Trace(cr, -50, kLen, [&](double u) { return At(u, -HalfWidth(u), UpperThickness(u), open); }, true);
  Trace(cr, kLen, -50, [&](double u) { return At(u, HalfWidth(u), UpperThickness(u), open); }, false);
  cairo_close_path(cr);
}

// The near side of the upper jaw, from the head's edge down to the lip.
void UpperSide(cairo_t* cr, double open) {
  Trace(cr, -50, kLen, [&](double u) { return At(u, HalfWidth(u), UpperThickness(u), open); }, true);
  Trace(cr, kLen, -50, [&](double u) { return At(u, 0.96 * HalfWidth(u), 0, open); }, false);
  cairo_close_path(cr);
}

// The lower jaw's rim seen from above (its mouth), and its near side below the rim.
void LowerMouth(cairo_t* cr) {
  Trace(cr, 0, kLen - 2, [](double u) { return At(u, -0.9 * HalfWidth(u), 0); }, true);
  Trace(cr, kLen - 2, 0, [](double u) { return At(u, 0.94 * HalfWidth(u), 0); }, false);
  cairo_close_path(cr);
}
void LowerSide(cairo_t* cr) {
  Trace(cr, -8, kLen - 2, [](double u) { return At(u, 0.94 * HalfWidth(u), 0); }, true);
  Trace(cr, kLen - 2, -8, [](double u) { return At(u, 0.8 * HalfWidth(u), -LowerThickness(u)); }, false);
  cairo_close_path(cr);
}

// Cone teeth along a jaw's near lip, pointing down (dir +1) or up (-1).
void Teeth(cairo_t* cr, double open, double z, double dir, double from, double to, int count, double size) {
  for (int k = 0; k < count; ++k) {
    const double u = from + (to - from) * k / (count - 1);
    const Pt p = At(u, 0.93 * HalfWidth(u), z, open);
    const double len = size * (k % 3 == 1 ? 1.3 : 1.0), half = 0.42 * size;
    cairo_move_to(cr, p.x - half, p.y);
    cairo_curve_to(cr, p.x - 0.6 * half, p.y + dir * 0.6 * len, p.x - 0.1 * half, p.y + dir * len, p.x, p.y + dir * len);
    cairo_curve_to(cr, p.x + 0.1 * half, p.y + dir * len, p.x + 0.6 * half, p.y + dir * 0.6 * len, p.x + half, p.y);
    cairo_close_path(cr);
  }
  Gradient::Linear(0, kHingeY - 40, 0, kHingeY + 40, {{0, Hex(0xFFFFF4)}, {1, Hex(0xE9E1BE)}}).Use(cr);
  cairo_fill_preserve(cr);
  SetColor(cr, Hex(0x6B5E36));
  cairo_set_line_width(cr, 0.9);
  cairo_stroke(cr);
}

void Outline(cairo_t* cr, const Rgba& c, double width) {
  SetColor(cr, c);
  cairo_set_line_width(cr, width);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke(cr);
}

// Fills a part of the head lit across its width: light on the far side (towards
// the light), shaded on the near one, outlined in a darker tone of its colour.
void FillAcross(cairo_t* cr, const PathFn& path, const Rgba& base, Pt lit, Pt shaded) {
  cairo_save(cr);
  path(cr);
  SetColor(cr, Darken(base, 0.5));
  cairo_set_line_width(cr, 4);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke_preserve(cr);
  Gradient::Linear(lit.x, lit.y, shaded.x, shaded.y,
                   {{0, Lighten(base, 0.32)}, {0.45, base}, {1, Darken(base, 0.3)}})
      .Use(cr);
  cairo_fill(cr);
  cairo_restore(cr);
}

// The neck and body under the water, behind the head: a dark shape seen through it.
void Body(cairo_t* cr) {
  SoftShape(
      cr,
      [](cairo_t* c) {
        cairo_move_to(c, kHingeX - 10, kHingeY - 44);
        cairo_curve_to(c, kHingeX + 30, kHingeY - 52, 330, kHingeY - 50, 340, kHingeY - 30);
        cairo_line_to(c, 340, kHingeY + 22);
        cairo_curve_to(c, 320, kHingeY + 30, kHingeY + 20, kHingeY + 30, kHingeY - 10, kHingeY + 18);
        cairo_close_path(c);
      },
      WithAlpha(Darken(kHide, 0.55), 0.3), 0, 0, 4);
}

// The lower jaw: its pale near side and, when the jaws part, the mouth inside
// it, pink and dark at the throat and open water further out where the frog is.
void LowerJaw(cairo_t* cr, double open) {
  FillAcross(cr, LowerSide, kBelly, At(100, 20, 0), At(100, 20, -16));
  if (open <= 0) return;
  cairo_save(cr);
  LowerMouth(cr);
  Gradient::Linear(kHingeX, 0, kHingeX - kLen, 0,
                   {{0, Darken(kMouth, 0.6)}, {0.18, Darken(kMouth, 0.2)}, {0.34, WithAlpha(kMouth, 0.9)},
                    {0.48, WithAlpha(kMouth, 0.0)}, {0.82, WithAlpha(kMouth, 0.0)}, {1, WithAlpha(kMouth, 0.7)}})
      .Use(cr);
  cairo_fill_preserve(cr);
  Outline(cr, Darken(kHide, 0.45), 2);
  // The tongue, a soft pad in the floor of the mouth.
  const Pt t = At(46, 0, 0);
  ShadedFill(cr, [&](cairo_t* c) { EllipsePath(c, t.x, t.y, 26, 9); }, Lighten(kMouth, 0.15), 1.2, 0.4);
  cairo_restore(cr);
  // Its rim: a ridge of hide with the lower teeth standing up from it.
  cairo_save(cr);
  Trace(cr, 4, kLen - 4, [](double u) { return At(u, 0.94 * HalfWidth(u), 0); }, true);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  Outline(cr, Darken(kHide, 0.4), 5);
  Trace(cr, 4, kLen - 4, [](double u) { return At(u, 0.94 * HalfWidth(u), 0); }, true);
  Outline(cr, Mix(kHide, kBelly, 0.5), 2.6);
  cairo_restore(cr);
  Teeth(cr, 0, 0, -1, 34, kLen - 18, 11, 7 * std::min(1.0, 2 * open));
}

// Bumps of armour on the head's top, each with a lit side.
void Bumps(cairo_t* cr, double open) {
  for (double u : {60.0, 84.0, 108.0, 134.0, 160.0})
    for (double side : {-1.0, 1.0}) {
      const double v = side * 0.35 * HalfWidth(u);
      const Pt p = At(u, v, UpperThickness(u) + 1, open);
      const double r = 3.6 - u / 90;
      EllipsePath(cr, p.x, p.y, 1.4 * r, r);
      Gradient::Radial(p.x - 1, p.y - 1, 0, p.x, p.y, 1.4 * r,
                       {{0, Lighten(kHide, 0.35)}, {0.6, kHide}, {1, Darken(kHide, 0.3)}})
          .Use(cr);
      cairo_fill_preserve(cr);
      Outline(cr, WithAlpha(Darken(kHide, 0.5), 0.7), 0.8);
    }
}

// Rows of small scales down a jaw's side, from z0 to z1.
void SideScales(cairo_t* cr, double open, double z0, double z1, double from, double to) {
  for (double u = from; u < to; u += 9) {
    const Pt a = At(u, HalfWidth(u), z0, open), b = At(u + 2, HalfWidth(u + 2), z1, open);
    cairo_move_to(cr, a.x, a.y);
    cairo_line_to(cr, b.x, b.y);
  }
  Outline(cr, WithAlpha(Darken(kHide, 0.45), 0.35), 1);
}

void UpperJaw(cairo_t* cr, double open) {
  auto side = [&](cairo_t* c) { UpperSide(c, open); };
  FillAcross(cr, side, Darken(kHide, 0.1), At(100, 0, 25, open), At(100, 30, 0, open));
  cairo_save(cr);
  side(cr);
  cairo_clip(cr);
  SideScales(cr, open, 2, 20, 20, kLen - 20);
  cairo_restore(cr);
  Teeth(cr, open, 0, 1, 30, kLen - 14, 12, 7);
  // The top: lit from the far side, with a long soft highlight along the snout.
  FillAcross(cr, [&](cairo_t* c) { HeadTop(c, open); }, kHide, At(100, -34, 20, open), At(100, 30, 20, open));
  cairo_save(cr);
  HeadTop(cr, open);
  cairo_clip(cr);
  Trace(cr, 40, kLen - 20, [&](double u) { return At(u, -0.3 * HalfWidth(u), UpperThickness(u), open); }, true);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  Outline(cr, Hex(0xFFFFFF, 0.22), 6);
  cairo_restore(cr);
  Bumps(cr, open);
  // The nostrils on their bulb at the tip.
  const Pt n = At(kLen - 14, 0, UpperThickness(kLen - 14) + 1, open);
  ShadedFill(cr, [&](cairo_t* c) { EllipsePath(c, n.x, n.y, 10, 7); }, Lighten(kHide, 0.05), 1.5, 0.45);
  for (double side : {-1.0, 1.0}) {
    const Pt h = At(kLen - 14, side * 4.5, UpperThickness(kLen - 14) + 1.5, open);
    EllipsePath(cr, h.x, h.y, 1.8, 1.3);
  }
  SetColor(cr, Hex(0x22300C));
  cairo_fill(cr);
  // The eyes on their bumps at the back of the head, the far one higher.
  for (double side : {-1.0, 1.0}) {
    const Pt e = At(30, side * 21, UpperThickness(30) + 7, open);
    crocodile::Eye(cr, e.x, e.y, 8.5, 1, -3);
  }
}

// A water drop in flight, translucent, pointing the way it flies.
void Drop(cairo_t* cr, double x, double y, double r, double angle, double alpha) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_rotate(cr, angle);
  cairo_move_to(cr, -2.4 * r, 0);
  cairo_curve_to(cr, -0.9 * r, -0.9 * r, 0, -r, 0.3 * r, -r);
  cairo_arc(cr, 0.3 * r, 0, r, -M_PI / 2, M_PI / 2);
  cairo_curve_to(cr, 0, r, -0.9 * r, 0.9 * r, -2.4 * r, 0);
  cairo_close_path(cr);
  // See-through, as water is: no pixel of it counts as solid.
  Gradient::Radial(0, -0.3 * r, 0, 0, 0, 2 * r, {{0, WithAlpha(kSpray, 0.45 * alpha)}, {1, WithAlpha(kSpray, 0.2 * alpha)}})
      .Use(cr);
  cairo_fill_preserve(cr);
  Outline(cr, WithAlpha(kSprayLine, 0.45 * alpha), 1);
  EllipsePath(cr, 0.5 * r, -0.35 * r, 0.35 * r, 0.3 * r);
  SetColor(cr, Hex(0xFFFFFF, 0.45 * alpha));
  cairo_fill(cr);
  cairo_restore(cr);
}

// The bow wave: water heaped up along the lower jaw and round the snout, with
// a foamy crest, and rings spreading where the head broke the surface.
void BowWave(cairo_t* cr, double strength) {
  if (strength <= 0) return;
  auto crest = [](cairo_t* c, double push) {
    Trace(c, -10, kLen + 4, [&](double u) {
      const Pt p = At(std::min(u, kLen), 0.8 * HalfWidth(std::min(u, kLen)), -LowerThickness(u) - 1);
      return Pt{p.x - std::max(0.0, u - kLen) * 2, p.y + push};
    }, true);
  };
  cairo_save(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  crest(cr, 4);
  Outline(cr, Hex(0x0A4450, 0.3 * strength), 7);
  crest(cr, 1);
  Outline(cr, WithAlpha(kSpray, 0.8 * strength), 3.2);
  crest(cr, 6);
  cairo_set_dash(cr, std::vector<double>{9, 6}.data(), 2, 3);
  Outline(cr, Hex(0xFFFFFF, 0.55 * strength), 1.6);
  cairo_restore(cr);
  // Rings round the tip, where the snout broke through.
  const Pt tip = At(kLen, 0, -4);
  for (int k = 0; k < 2; ++k) {
    cairo_save(cr);
    cairo_translate(cr, tip.x + 4, tip.y + 2);
    cairo_scale(cr, 1, 0.55);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 16 + 9 * k, M_PI * 0.45, M_PI * 1.55);
    cairo_restore(cr);
    Outline(cr, Hex(0xE8FFFA, (0.55 - 0.2 * k) * strength), 1.6);
  }
}

// A band of churned water along the jaws' waterline after the bite.
void Churn(cairo_t* cr, double alpha) {
  cairo_save(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  Trace(cr, 8, kLen - 6, [](double u) { return At(u, 0.8 * HalfWidth(u), -LowerThickness(u) + 2); }, true);
  Outline(cr, WithAlpha(kSpray, 0.45 * alpha), 6);
  Trace(cr, 8, kLen - 6, [](double u) { return At(u, 0.8 * HalfWidth(u), -LowerThickness(u) + 1); }, true);
  Outline(cr, Hex(0xFFFFFF, 0.5 * alpha), 2.4);
  cairo_restore(cr);
}

// Turns the head about the frog's place so that its back rises.
void Lean(cairo_t* cr) {
  cairo_translate(cr, kFrogX, kHingeY);
  cairo_rotate(cr, kLean);
  cairo_translate(cr, -kFrogX, -kHingeY);
}

struct Pose {
  double open;    // the upper jaw's turn, 0 shut
  double rise;    // px the whole head stands up out of the water
  double under;   // share of the head still seen through water
  double wave;    // the bow wave's strength
  double spray;   // 0 none; then the spray of the bite, flying (1..2) and falling (2..3)
};

void DrawStrike(cairo_t* cr, const Pose& p) {
  Body(cr);
  Canvas layer(kW, kH);
  cairo_t* h = layer.Cr();
  Lean(h);
  cairo_translate(h, 0, -p.rise);
  LowerJaw(h, p.open);
  UpperJaw(h, p.open);
  cairo_identity_matrix(h);
  // Behind the head the neck goes under: the picture fades there into the body's shadow.
  cairo_set_operator(h, CAIRO_OPERATOR_DEST_IN);
  Gradient::Linear(266, 0, 292, 0, {{0, Hex(0, 1)}, {1, Hex(0, 0.15)}}).Use(h);
  cairo_paint(h);
  if (p.under > 0) {
    cairo_set_operator(h, CAIRO_OPERATOR_ATOP);
    SetColor(h, WithAlpha(kWater, p.under));
    cairo_paint(h);
  }
  PaintWithShadow(cr, layer.Surface(), Hex(0x06343F, 0.38 * (1 - p.under)), 4, 7, 5);
  Lean(cr);
  BowWave(cr, p.wave);
  if (p.spray <= 0) return;
  // The bite throws water up all along the jaws; it flies and falls back.
  const double t = p.spray - 1, fall = std::max(0.0, t - 1), a = 1 - 0.4 * fall;
  Churn(cr, a);
  Rng rng(5);
  for (int d = 0; d < 26; ++d) {
    const double u = std::clamp(kHingeX - kFrogX + 70 * rng.Bipolar(), 10.0, kLen - 20);
    const Pt from = At(u, 0.8 * HalfWidth(u), -LowerThickness(u));
    const double up = 40 + 50 * rng.Uniform(), out = 26 * rng.Bipolar();
    const double fly = std::min(t, 1.0), back = std::min(fall, 1.0);
    const double x = from.x + out * (fly + 0.5 * back);
    const double y = from.y - up * fly + 0.8 * up * back * back;
    const double r = (2.2 + 2.4 * rng.Uniform()) * (1 - 0.25 * back);
    if (x < r + 3 || x > kW - r - 3 || y < r + 3 || y > kH - r - 3) continue;
    const double heading = back > 0.3 ? M_PI / 2 : std::atan2(-up, out);
    Drop(cr, x, y, r, heading, a);
  }
}

std::vector<uint8_t> Strike() {
  // Breaking the surface shut, opening wide round the frog, the snap (shut on
  // frame 5) in a spray of water, the spray flying and falling, sinking back.
  const Pose poses[kFrames] = {
      {0, 0, 0.3, 0.6, 0},  {0.17, 3, 0.08, 1, 0}, {0.27, 5, 0, 1, 0},  {0.31, 6, 0, 0.9, 0},
      {0.12, 5, 0, 0.9, 0}, {0, 4, 0, 1, 1.6},     {0, 3, 0, 0.8, 2.2}, {0, 0, 0.32, 0.5, 2.9},
  };
  FrameSheet sheet(kFrames, kW, kH);
  for (int k = 0; k < kFrames; ++k) sheet.Draw(k, [&](cairo_t* cr) { DrawStrike(cr, poses[k]); });
  return sheet.Png();
}

}  // namespace

void AddCrocodileStrikeArt(Assets& assets) { assets.Frames("kroko", Strike(), kW, kH); }

ASSETGEN_MODULE(AddCrocodileStrikeArt);

}  // namespace pondaro::assetgen
