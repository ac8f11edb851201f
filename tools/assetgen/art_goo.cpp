// The sticky lily's goo: glossy strands from the leaf to the frog it holds,
// one picture per direction the frog strains in.
//
// The game anchors them to the lily's 140 x 120 box (LilyX, LilyY its top
// left): "liapuchka_l" ends at LilyX + 80 with its top at LilyY, "liapuchka_p"
// starts at LilyX with its top at LilyY, "liapuchka_c" starts at LilyX with its
// bottom at LilyY + 62. The frog, pulled back, sits beyond the leaf on that side;
// each strand runs from the leaf to a little under the frog's hind legs.
#include <cmath>

#include "canvas.h"
#include "registry.h"

namespace pondaro::assetgen {

namespace {

const Rgba kGoo = Hex(0xD6EA48);

struct Pt {
  double x, y;
};

// A strand thick at both ends and thin in the middle, where it is stretched.
void StrandPath(cairo_t* cr, Pt a, Pt b, double thick) {
  const double dx = b.x - a.x, dy = b.y - a.y, len = std::hypot(dx, dy);
  const double nx = -dy / len, ny = dx / len, thin = 0.3 * thick;
  const Pt m1{a.x + 0.33 * dx, a.y + 0.33 * dy + 0.08 * len}, m2{a.x + 0.66 * dx, a.y + 0.66 * dy + 0.08 * len};
  cairo_move_to(cr, a.x + thick * nx, a.y + thick * ny);
  cairo_curve_to(cr, m1.x + thin * nx, m1.y + thin * ny, m2.x + thin * nx, m2.y + thin * ny, b.x + thick * nx,
                 b.y + thick * ny);
  cairo_line_to(cr, b.x - thick * nx, b.y - thick * ny);
  cairo_curve_to(cr, m2.x - thin * nx, m2.y - thin * ny, m1.x - thin * nx, m1.y - thin * ny, a.x - thick * nx,
                 a.y - thick * ny);
  cairo_close_path(cr);
  EllipsePath(cr, a.x, a.y, 1.3 * thick, 1.3 * thick);
  EllipsePath(cr, b.x, b.y, 1.2 * thick, 1.2 * thick);
}

std::vector<uint8_t> Goo(int w, int h, const std::vector<std::pair<Pt, Pt>>& strands) {
  Canvas c(w, h);
  cairo_t* cr = c.Cr();
  auto all = [&](cairo_t* k) {
    for (const auto& [a, b] : strands) StrandPath(k, a, b, 4.5);
  };
  SoftShape(cr, all, Hex(0x3A4A06, 0.3), 2, 3, 2);
  ShadedFill(cr, all, WithAlpha(kGoo, 0.92), 1.5, 0.65);
  return c.Png();
}

}  // namespace

void AddGooArt(Assets& assets) {
  // Leaf centre in each picture: (110, 61) for _l, (70, 61) for _p, (70, 89) for _c.
  assets.Picture("liapuchka_l", Goo(120, 110, {{{98, 42}, {10, 62}},
                                               {{92, 62}, {6, 80}},
                                               {{100, 84}, {12, 98}},
                                               {{108, 56}, {18, 72}}}));
  assets.Picture("liapuchka_p", Goo(165, 110, {{{82, 42}, {154, 62}},
                                               {{88, 62}, {158, 80}},
                                               {{80, 84}, {152, 98}},
                                               {{72, 56}, {146, 72}}}));
  assets.Picture("liapuchka_c", Goo(140, 90, {{{50, 80}, {48, 8}},
                                              {{70, 76}, {66, 6}},
                                              {{90, 80}, {90, 8}},
                                              {{62, 84}, {80, 12}}}));
}

ASSETGEN_MODULE(AddGooArt);

}  // namespace pondaro::assetgen
