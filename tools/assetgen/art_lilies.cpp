// The simple water lilies: three looks that sink and come back (frame 0
// afloat, 1 still afloat, 2.. going under, the last two under water), and
// "kuvshinka_simple", the still one of the help page.
#include <cmath>
#include <functional>
#include <memory>

#include "canvas.h"
#include "pond.h"
#include "lilies.h"
#include "registry.h"

namespace pondaro::assetgen {

void lily::Shadow(cairo_t* cr, double x, double y, double r, double alpha) {
  SoftShape(cr, [&](cairo_t* c) { EllipsePath(c, x, y, r, r); }, Hex(0x06343F, alpha), 0, 0, 4);
}

namespace {

using lily::kCx;
using lily::kCy;
using lily::kH;
using lily::kW;
using lily::kWater;
using DrawFn = std::function<void(cairo_t*)>;

// ---------------------------------------------------------------- simple lilies

struct SimpleLook {
  Rgba Pad;
  double Notch, R;
  int Decor;  // 0: open flower, 1: a bud, 2: a small flower and duckweed
};

const SimpleLook kSimple[] = {
    {Hex(0x5CBF3E), -1.2, 56, 0},
    {Hex(0x79C94A), 2.1, 54, 1},
    {Hex(0x3FA55A), 0.3, 55, 2},
};

void DrawSimpleRest(cairo_t* cr, const SimpleLook& look) {
  LilyPad pad{kCx, kCy, look.R, look.Notch, 1, look.Pad};
  DrawLilyPad(cr, pad);
  switch (look.Decor) {
    case 0:
      DrawWaterLily(cr, kCx + 30, kCy - 26, 19, 0.3);
      break;
    case 1:
      DrawLilyBud(cr, kCx - 26, kCy - 24, 28, -2.3);
      break;
    default:
      DrawWaterLily(cr, kCx - 28, kCy + 26, 15, 1.1);
      DrawDuckweed(cr, kCx + 36, kCy - 30, 8, 31);
      break;
  }
}

// A sinking leaf tilts: its lower right edge dips under and the whole leaf
// leans away from the light, so it darkens and looks shorter across. `under`
// is the share of it below the surface (0 afloat, 1 all under), seen through
// the water, blurred and tinted, fading with `clarity`; a wobbling waterline
// with a bright lip crosses it. `film` > 0 is a leaf coming back up: just below
// the surface, water still sheeting over it and sliding off its rim.
struct Sink {
  double under, clarity, tilt, film;
};

constexpr double kDirX = M_SQRT1_2, kDirY = M_SQRT1_2;  // the way the leaf tips

// The wavy waterline, `line` leaf radii from the centre along the tip: the
// line alone, or (`side` -1 above, +1 under) closed round one side of it.
void WaterlinePath(cairo_t* cr, double r, double line, int side = 0) {
  const double px = kCx + kDirX * r * line, py = kCy + kDirY * r * line, reach = 2.5 * r;
  const int n = 50;
  for (int i = 0; i <= n; ++i) {
    const double s = (2.0 * i / n - 1) * reach;  // across the leaf
    const double wob = 2.6 * std::sin(s / 7.0 + 1.3) + 1.2 * std::sin(s / 3.1);
    const double x = px - kDirY * s + kDirX * wob, y = py + kDirX * s + kDirY * wob;
    if (i == 0)
      cairo_move_to(cr, x, y);
    else
      cairo_line_to(cr, x, y);
  }
  if (side == 0) return;
  const double far = 3 * r * side;
  cairo_line_to(cr, px - kDirY * reach + kDirX * far, py + kDirX * reach + kDirY * far);
  cairo_line_to(cr, px + kDirY * reach + kDirX * far, py - kDirX * reach + kDirY * far);
  cairo_close_path(cr);
}

// A soft-edged mask of one side of the waterline.
std::unique_ptr<Canvas> SideMask(double r, double line, bool above) {
  auto mask = std::make_unique<Canvas>(kW, kH);
  WaterlinePath(mask->Cr(), r, line, above ? -1 : 1);
  SetColor(mask->Cr(), Hex(0, 1));
  cairo_fill(mask->Cr());
  BlurSurface(mask->Surface(), 0.8);
  return mask;
}

void DrawSunk(cairo_t* cr, const DrawFn& rest, double r, Sink sink) {
  const double line = 1 - 2 * sink.under;  // waterline, in leaf radii from the centre along the tip
  // The leaf, tilted: shortened along the tip about its upper left rim, and darker.
  Canvas layer(kW, kH);
  {
    cairo_t* l = layer.Cr();
    const double ax = kCx - kDirX * r, ay = kCy - kDirY * r, k = 1 - 0.22 * sink.tilt;
    cairo_matrix_t m{kDirX * kDirX * k + kDirY * kDirY, kDirX * kDirY * (k - 1), kDirX * kDirY * (k - 1),
                     kDirY * kDirY * k + kDirX * kDirX, 0, 0};
    cairo_translate(l, ax, ay);
    cairo_transform(l, &m);
    cairo_translate(l, -ax, -ay);
    rest(l);
    cairo_identity_matrix(l);
    if (sink.tilt > 0) {
      cairo_set_operator(l, CAIRO_OPERATOR_ATOP);
      SetColor(l, Hex(0x06343F, 0.3 * sink.tilt));
      cairo_paint(l);
    }
  }
  const auto aboveMask = SideMask(r, line, true);
  if (sink.under < 1) {
    // Only the part above the water casts a shadow.
    Canvas dry(kW, kH);
    cairo_set_source_surface(dry.Cr(), layer.Surface(), 0, 0);
    cairo_mask_surface(dry.Cr(), aboveMask->Surface(), 0, 0);
    PaintWithShadow(cr, dry.Surface(), Hex(0x06343F, 0.4), 3, 4, 3);
  }
  if (sink.under > 0 || sink.film > 0) {
    Canvas wet(kW, kH);
    cairo_set_source_surface(wet.Cr(), layer.Surface(), 0, 0);
    cairo_paint(wet.Cr());
    BlurSurface(wet.Surface(), sink.film > 0 ? 0.8 : 1 + sink.under);
    cairo_set_operator(wet.Cr(), CAIRO_OPERATOR_ATOP);
    SetColor(wet.Cr(), WithAlpha(Darken(kWater, 0.1), sink.film > 0 ? 0.55 : 0.5));
    cairo_paint(wet.Cr());
    cairo_set_source_surface(cr, wet.Surface(), 0, 0);
    if (sink.film > 0) {
      cairo_paint_with_alpha(cr, sink.clarity);
    } else {
      cairo_push_group(cr);
      cairo_paint_with_alpha(cr, sink.clarity);
      cairo_pop_group_to_source(cr);
      cairo_mask_surface(cr, SideMask(r, line, false)->Surface(), 0, 0);
    }
  }
  if (sink.film > 0) {
    // Back up: a sheet of water still over the leaf, glinting where it bulges
    // towards the light, and running off its rim in rings.
    cairo_save(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int k = 0; k < 3; ++k) {
      cairo_new_sub_path(cr);
      cairo_arc(cr, kCx, kCy, r * (0.8 - 0.22 * k), M_PI * (1.05 + 0.08 * k), M_PI * (1.45 - 0.04 * k));
    }
    SetColor(cr, Hex(0xF0FFFC, 0.6 * sink.film));
    cairo_set_line_width(cr, 2.2);
    cairo_stroke(cr);
    for (int ring = 0; ring < 2; ++ring) {
      cairo_new_sub_path(cr);
      cairo_arc(cr, kCx, kCy, r + 2 + 6 * ring, M_PI * (0.9 + 0.1 * ring), M_PI * (1.9 - 0.1 * ring));
      SetColor(cr, Hex(0xE8FFFA, (0.6 - 0.3 * ring) * sink.film));
      cairo_set_line_width(cr, 1.8 - 0.5 * ring);
      cairo_stroke(cr);
    }
    for (int d = 0; d < 6; ++d) {  // drops running off the rim
      const double a = M_PI * (0.15 + 0.14 * d);
      EllipsePath(cr, kCx + (r + 3) * std::cos(a), kCy + (r + 3) * std::sin(a), 1.8, 1.8);
    }
    SetColor(cr, Hex(0xE8FFFA, 0.7 * sink.film));
    cairo_fill(cr);
    cairo_restore(cr);
  }
  if (sink.under < 1) {
    cairo_set_source_surface(cr, layer.Surface(), 0, 0);
    cairo_mask_surface(cr, aboveMask->Surface(), 0, 0);
  }
  if (sink.under > 0 && sink.under < 1) {
    // The waterline: a bright lip where the water laps over the leaf, a dark trough below.
    cairo_save(cr);
    EllipsePath(cr, kCx, kCy, r + 3, r + 3);
    cairo_clip(cr);
    cairo_save(cr);
    cairo_translate(cr, 2.5 * kDirX, 2.5 * kDirY);
    WaterlinePath(cr, r, line);
    cairo_restore(cr);
    SetColor(cr, Hex(0x06343F, 0.25));
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    WaterlinePath(cr, r, line);
    SetColor(cr, Hex(0xE8FFFA, 0.8));
    cairo_set_line_width(cr, 2.2);
    cairo_stroke(cr);
    cairo_restore(cr);
  }
  if (sink.under >= 1 && sink.film <= 0) {
    const double bubbles[][3] = {{-16, -12, 3.4}, {10, 6, 2.4}, {22, -24, 2}, {-4, 24, 2.8}, {30, 14, 1.8}};
    for (const auto& b : bubbles) {
      EllipsePath(cr, kCx + b[0], kCy + b[1], b[2], b[2]);
      SetColor(cr, Hex(0xE8FFFA, 0.18));
      cairo_fill_preserve(cr);
      SetColor(cr, Hex(0xE8FFFA, 0.7));
      cairo_set_line_width(cr, 1.1);
      cairo_stroke(cr);
      EllipsePath(cr, kCx + b[0] - 0.35 * b[2], kCy + b[1] - 0.35 * b[2], 0.35 * b[2], 0.35 * b[2]);
      SetColor(cr, Hex(0xFFFFFF, 0.8));
      cairo_fill(cr);
    }
  }
}

void AddSimple(Assets& assets, const std::string& name, const SimpleLook& look) {
  // Afloat, the rim awash, tipping half under, nearly gone, under water (the
  // long dwell), and coming back up still awash (the rules count it as under).
  const Sink sink[] = {{0, 1, 0, 0},      {0.1, 0.8, 0, 0},   {0.45, 0.75, 0.5, 0},
                       {0.8, 0.7, 0.9, 0}, {1, 0.55, 1, 0}, {1, 0.95, 0.2, 1}};
  const int n = static_cast<int>(std::size(sink));
  FrameSheet sheet(n, kW, kH);
  for (int k = 0; k < n; ++k)
    sheet.Draw(k, [&](cairo_t* cr) {
      DrawSunk(cr, [&](cairo_t* c) { DrawSimpleRest(c, look); }, look.R, sink[k]);
    });
  assets.Frames(name, sheet.Png(), kW, kH);
}

}  // namespace

void AddLilyArt(Assets& assets) {
  AddSimple(assets, "kuvshinka_simple_1", kSimple[0]);
  AddSimple(assets, "kuvshinka_simple_2", kSimple[1]);
  AddSimple(assets, "kuvshinka_simple_3", kSimple[2]);

  // The help page stands its lilies in one column 90 px apart with captions
  // 100 px to the right: the still one is drawn smaller to keep clear of both.
  constexpr double kStillScale = 0.68;
  Canvas still(96, 82);
  cairo_translate(still.Cr(), (96 - kW * kStillScale) / 2, 82 - kH * kStillScale);
  cairo_scale(still.Cr(), kStillScale, kStillScale);
  DrawSunk(still.Cr(), [&](cairo_t* c) { DrawSimpleRest(c, kSimple[0]); }, kSimple[0].R, {0, 1, 0, 0});
  assets.Picture("kuvshinka_simple", still.Png());
}

ASSETGEN_MODULE(AddLilyArt);

}  // namespace pondaro::assetgen
