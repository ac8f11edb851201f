// The sticky lily's goo: glossy strands from the leaf to the frog it holds,
// one picture per direction the frog strains in.
//
// The game anchors them to the lily's 140 x 120 box (LilyX, LilyY its top
// left): "liapuchka_l" ends at LilyX + 80 with its top at LilyY, "liapuchka_p"
// starts at LilyX with its top at LilyY, "liapuchka_c" starts at LilyX with its
// bottom at LilyY + 62. The frog, pulled back, sits beyond the leaf on that side;
// each strand runs from the leaf to a little under the frog's hind legs.
#include <algorithm>
#include <cmath>
#include <vector>

#include "canvas.h"
#include "registry.h"

namespace pondaro::assetgen {

namespace {

const Rgba kGoo = Hex(0xDDEE4C);

struct Pt {
  double x, y;
};

struct Strand {
  Pt from, to;     // on the leaf; on the frog
  double sag;      // how far the middle hangs to the side, px
  double thick;    // half-width where it leaves the leaf
};

Pt At(const Strand& s, double t) {
  const double dx = s.to.x - s.from.x, dy = s.to.y - s.from.y, len = std::hypot(dx, dy);
  const double bend = s.sag * 4 * t * (1 - t);
  return {s.from.x + dx * t - dy / len * bend, s.from.y + dy * t + dx / len * bend};
}

// A stretched strand: a lump where it leaves the leaf, thinning to a thread in
// the middle, a smaller lump where it clings to the frog.
void StrandPath(cairo_t* cr, const Strand& s) {
  constexpr int kSteps = 40;
  auto half = [&](double t) {
    const double w = s.thick * (1 - 0.45 * t);
    return w * (1 - 0.62 * std::sin(M_PI * t));
  };
  Pt left[kSteps + 1], right[kSteps + 1];
  for (int i = 0; i <= kSteps; ++i) {
    const double t = static_cast<double>(i) / kSteps;
    const Pt p = At(s, t), q = At(s, std::min(1.0, t + 0.01)), o = At(s, std::max(0.0, t - 0.01));
    const double tx = q.x - o.x, ty = q.y - o.y, tl = std::hypot(tx, ty), h = half(t);
    left[i] = {p.x - ty / tl * h, p.y + tx / tl * h};
    right[i] = {p.x + ty / tl * h, p.y - tx / tl * h};
  }
  // The outline runs clockwise, like the lumps' ellipses, so that where they
  // overlap the non-zero fill joins them instead of cutting holes.
  std::vector<Pt> ring(left, left + kSteps + 1);
  for (int i = kSteps; i >= 0; --i) ring.push_back(right[i]);
  double area = 0;
  for (size_t i = 0; i < ring.size(); ++i) {
    const Pt& a = ring[i];
    const Pt& b = ring[(i + 1) % ring.size()];
    area += a.x * b.y - b.x * a.y;
  }
  if (area < 0) std::reverse(ring.begin(), ring.end());
  cairo_move_to(cr, ring[0].x, ring[0].y);
  for (const Pt& q : ring) cairo_line_to(cr, q.x, q.y);
  cairo_close_path(cr);
  EllipsePath(cr, s.from.x, s.from.y, 1.6 * s.thick, 1.4 * s.thick);
  EllipsePath(cr, s.to.x, s.to.y, 0.9 * s.thick, 0.9 * s.thick);
}

std::vector<uint8_t> Goo(int w, int h, const std::vector<Strand>& strands) {
  Canvas layer(w, h);
  cairo_t* lc = layer.Cr();
  auto all = [&](cairo_t* k) {
    for (const Strand& s : strands) StrandPath(k, s);
  };
  ShadedFill(lc, all, kGoo, 1.3, 0);
  // A glint along each strand, on the side towards the light.
  cairo_set_line_cap(lc, CAIRO_LINE_CAP_ROUND);
  for (const Strand& s : strands) {
    for (int i = 0; i <= 20; ++i) {
      const double t = 0.06 + 0.88 * i / 20.0;
      const Pt p = At(s, t);
      if (i == 0)
        cairo_move_to(lc, p.x - 1.2, p.y - 1.2);
      else
        cairo_line_to(lc, p.x - 1.2, p.y - 1.2);
    }
    SetColor(lc, Hex(0xFFFFF0, 0.75));
    cairo_set_line_width(lc, 1.2);
    cairo_stroke(lc);
    const double gx = s.from.x - 0.5 * s.thick, gy = s.from.y - 0.5 * s.thick;
    EllipsePath(lc, gx, gy, 0.55 * s.thick, 0.4 * s.thick);
    SetColor(lc, Hex(0xFFFFFF, 0.85));
    cairo_fill(lc);
  }
  Canvas c(w, h);
  cairo_set_source_surface(c.Cr(), layer.Surface(), 0, 0);
  cairo_paint_with_alpha(c.Cr(), 0.9);
  // Goo is see-through, so its shadow on the leaf and water is faint.
  Canvas out(w, h);
  PaintWithShadow(out.Cr(), c.Surface(), Hex(0x2A3A04, 0.25), 2, 3, 2);
  return out.Png();
}

}  // namespace

void AddGooArt(Assets& assets) {
  // Leaf centre in each picture: (110, 61) for _l, (70, 61) for _p, (70, 89) for _c.
  assets.Picture("liapuchka_l", Goo(120, 110, {{{96, 40}, {8, 64}, -4, 5},
                                               {{88, 58}, {6, 74}, 3, 6},
                                               {{90, 80}, {8, 86}, 4, 6},
                                               {{100, 92}, {12, 96}, 6, 4.5}}));
  assets.Picture("liapuchka_p", Goo(165, 110, {{{84, 40}, {156, 64}, 4, 5},
                                               {{92, 58}, {158, 74}, -3, 6},
                                               {{90, 80}, {156, 86}, -4, 6},
                                               {{80, 92}, {152, 96}, -6, 4.5}}));
  assets.Picture("liapuchka_c", Goo(140, 90, {{{44, 76}, {52, 20}, 4, 5},
                                              {{62, 70}, {62, 18}, -3, 6},
                                              {{82, 70}, {78, 18}, 3, 6},
                                              {{98, 78}, {88, 22}, -5, 4.5}}));
}

ASSETGEN_MODULE(AddGooArt);

}  // namespace pondaro::assetgen
