// The simple water lilies: three looks that sink and come back (frame 0
// afloat, 1 still afloat, 2.. going under, the last two under water), and
// "kuvshinka_simple", the still one of the help page.
#include <cmath>
#include <functional>

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

// The leaf tips towards the bottom right as it goes under: `under` is the
// share of it below the surface (0 afloat, 1 all under). The part below is seen
// through the water, blurred and tinted, fading with `clarity`; a bright line
// marks the waterline across the leaf, and bubbles rise from a sunk leaf.
struct Sink {
  double under, clarity;
};

void DrawSunk(cairo_t* cr, const DrawFn& rest, double r, Sink sink) {
  const double dx = M_SQRT1_2, dy = M_SQRT1_2;  // the way the leaf tips
  const double line = 1 - 2 * sink.under;      // waterline, in leaf radii from the centre along (dx, dy)
  if (sink.under < 1) {
    // Only the part above the water casts a shadow.
    cairo_save(cr);
    cairo_rectangle(cr, 0, 0, kW, kH);
    cairo_clip(cr);
    Canvas shade(kW, kH);
    lily::Shadow(shade.Cr(), kCx + 3, kCy + 4, r, 0.4);
    cairo_set_source_surface(cr, shade.Surface(), 0, 0);
    cairo_mask(cr, Gradient::Linear(kCx + dx * r * (line - 0.1), kCy + dy * r * (line - 0.1), kCx + dx * r * (line + 0.1),
                                    kCy + dy * r * (line + 0.1), {{0, Hex(0, 1)}, {1, Hex(0, 0)}})
                       .Get());
    cairo_restore(cr);
  }
  Canvas layer(kW, kH);
  rest(layer.Cr());
  if (sink.under > 0) {
    Canvas wet(kW, kH);
    cairo_set_source_surface(wet.Cr(), layer.Surface(), 0, 0);
    cairo_paint(wet.Cr());
    BlurSurface(wet.Surface(), 1 + sink.under);
    cairo_set_operator(wet.Cr(), CAIRO_OPERATOR_ATOP);
    SetColor(wet.Cr(), WithAlpha(Darken(kWater, 0.1), 0.5));
    cairo_paint(wet.Cr());
    cairo_set_source_surface(cr, wet.Surface(), 0, 0);
    const double a = sink.clarity;
    cairo_mask(cr, Gradient::Linear(kCx + dx * r * (line - 0.06), kCy + dy * r * (line - 0.06), kCx + dx * r * (line + 0.06),
                                    kCy + dy * r * (line + 0.06), {{0, Hex(0, 0)}, {1, Hex(0, a)}})
                       .Get());
  }
  if (sink.under < 1) {
    cairo_set_source_surface(cr, layer.Surface(), 0, 0);
    cairo_mask(cr, Gradient::Linear(kCx + dx * r * (line - 0.06), kCy + dy * r * (line - 0.06), kCx + dx * r * (line + 0.06),
                                    kCy + dy * r * (line + 0.06), {{0, Hex(0, 1)}, {1, Hex(0, 0)}})
                       .Get());
  }
  if (sink.under > 0 && sink.under < 1) {
    // The waterline: a bright edge where the water laps over the leaf.
    cairo_save(cr);
    EllipsePath(cr, kCx, kCy, r + 2, r + 2);
    cairo_clip(cr);
    const double px = kCx + dx * r * line, py = kCy + dy * r * line;
    cairo_move_to(cr, px - dy * 2 * r, py + dx * 2 * r);
    cairo_line_to(cr, px + dy * 2 * r, py - dx * 2 * r);
    SetColor(cr, Hex(0xE8FFFA, 0.75));
    cairo_set_line_width(cr, 2.4);
    cairo_stroke(cr);
    cairo_move_to(cr, px + dx * 3 - dy * 2 * r, py + dy * 3 + dx * 2 * r);
    cairo_line_to(cr, px + dx * 3 + dy * 2 * r, py + dy * 3 - dx * 2 * r);
    SetColor(cr, Hex(0x06343F, 0.25));
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    cairo_restore(cr);
  }
  if (sink.under >= 1) {
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
  // Afloat, the rim awash, half under, nearly gone, under water (the long
  // dwell), and still under as it comes back up.
  const Sink sink[] = {{0, 1}, {0.1, 0.8}, {0.5, 0.75}, {0.8, 0.7}, {1, 0.6}, {1, 0.7}};
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

  Canvas still(kW, kH);
  DrawSunk(still.Cr(), [&](cairo_t* c) { DrawSimpleRest(c, kSimple[0]); }, kSimple[0].R, {0, 1});
  assets.Picture("kuvshinka_simple", still.Png());
}

ASSETGEN_MODULE(AddLilyArt);

}  // namespace pondaro::assetgen
