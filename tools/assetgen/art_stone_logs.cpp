// The goal stone and the two floating logs.
//
// The stone stands at the pond's left edge (x = 0) with its bottom on its row's
// line. The frog in the first column must touch it, so the slab is solid over
// x 150..250 down to its bottom row; a frog springing past must not, so nothing
// of it reaches into rows 0..67.
#include <cmath>
#include <functional>
#include <tuple>

#include "canvas.h"
#include "registry.h"

namespace pondaro::assetgen {

namespace {

constexpr int kStoneW = 270, kStoneH = 140;
const Rgba kMoss = Hex(0x7DAE3A);

// One rock of the bank: its silhouette, lit from the top left, with a darker
// front face below `face` (seen a little from the front), cracks and speckles.
struct Rock {
  std::function<void(cairo_t*)> path;
  Rgba color;
  double face;  // y where the front face begins
};

void DrawRock(cairo_t* cr, const Rock& rock, uint64_t seed) {
  ShadedFill(cr, rock.path, rock.color, 2, 0.4);
  cairo_save(cr);
  rock.path(cr);
  cairo_clip(cr);
  cairo_rectangle(cr, -40, rock.face, kStoneW + 80, kStoneH);
  Gradient::Linear(0, rock.face, 0, kStoneH, {{0, WithAlpha(Darken(rock.color, 0.35), 0.0)}, {0.25, WithAlpha(Darken(rock.color, 0.35), 0.75)}, {1, WithAlpha(Darken(rock.color, 0.5), 0.9)}})
      .Use(cr);
  cairo_fill(cr);
  // Speckles and a few cracks in the stone.
  uint64_t s = seed;
  auto rnd = [&s] {
    s = s * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<double>(s >> 11) / 9007199254740992.0;
  };
  for (int k = 0; k < 40; ++k) {
    EllipsePath(cr, -10 + rnd() * (kStoneW + 10), 68 + rnd() * 72, 0.9 + rnd(), 0.7 + 0.6 * rnd());
    SetColor(cr, rnd() < 0.5 ? WithAlpha(Darken(rock.color, 0.4), 0.5) : WithAlpha(Lighten(rock.color, 0.5), 0.5));
    cairo_fill(cr);
  }
  cairo_restore(cr);
}

std::vector<uint8_t> Stone() {
  Canvas c(kStoneW, kStoneH);
  cairo_t* cr = c.Cr();
  const Rock back{[](cairo_t* k) {
                    cairo_move_to(k, -20, 139.5);
                    cairo_line_to(k, -20, 86);
                    cairo_curve_to(k, 20, 80, 70, 78, 104, 86);
                    cairo_curve_to(k, 132, 92, 140, 112, 134, 139.5);
                    cairo_close_path(k);
                  },
                  Hex(0xA39A8A), 112};
  const Rock big{[](cairo_t* k) {
                   cairo_move_to(k, 118, 139.5);
                   cairo_curve_to(k, 112, 118, 118, 92, 142, 80);
                   cairo_curve_to(k, 170, 68, 226, 68, 252, 82);
                   cairo_curve_to(k, 270, 94, 268, 120, 262, 139.5);
                   cairo_close_path(k);
                 },
                 Hex(0xB2A894), 114};
  const Rock front{[](cairo_t* k) {
                     cairo_move_to(k, 44, 139.5);
                     cairo_curve_to(k, 40, 120, 62, 106, 86, 110);
                     cairo_curve_to(k, 108, 114, 118, 128, 114, 139.5);
                     cairo_close_path(k);
                   },
                   Hex(0x958C7E), 126};
  DrawRock(cr, back, 3);
  DrawRock(cr, big, 5);
  DrawRock(cr, front, 7);
  // Cracks across the big rock's top.
  cairo_move_to(cr, 168, 84);
  cairo_curve_to(cr, 176, 92, 172, 100, 182, 108);
  cairo_move_to(cr, 222, 80);
  cairo_curve_to(cr, 216, 88, 224, 94, 218, 102);
  SetColor(cr, Hex(0x5E564A, 0.6));
  cairo_set_line_width(cr, 1.3);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_stroke(cr);
  // Moss on the tops, soft at its edges.
  for (auto [x, y, rx, ry] : {std::tuple{22.0, 92.0, 24.0, 7.0}, {74.0, 88.0, 18.0, 5.0}, {196.0, 78.0, 30.0, 8.0},
                              {150.0, 88.0, 12.0, 5.0}}) {
    EllipsePath(cr, x, y, rx, ry);
    Gradient::Radial(x - 0.3 * rx, y - 0.3 * ry, 0, x, y, rx,
                     {{0, Lighten(kMoss, 0.25)}, {0.6, kMoss}, {1, WithAlpha(kMoss, 0)}})
        .Use(cr);
    cairo_fill(cr);
  }
  // Tufts of grass in the cracks, their tips kept below row 68.
  for (auto [x, y, lean] : {std::tuple{238.0, 88.0, 1.0}, {106.0, 92.0, -1.0}, {30.0, 94.0, 0.5}}) {
    for (int b = -2; b <= 2; ++b) {
      cairo_move_to(cr, x + 1.5 * b, y);
      cairo_curve_to(cr, x + 2.5 * b, y - 8, x + 3.5 * b + 2 * lean, y - 14, x + 5 * b + 4 * lean, y - 18 + std::abs(b) * 3);
    }
    SetColor(cr, Hex(0x3C7A1E));
    cairo_set_line_width(cr, 2.4);
    cairo_stroke_preserve(cr);
    SetColor(cr, Hex(0x86C84A));
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
  }
  // Wet stone and lapping water along the foot.
  cairo_rectangle(cr, 0, 132, kStoneW, 8);
  Gradient::Linear(0, 132, 0, 140, {{0, Hex(0x0B4F5E, 0)}, {1, Hex(0x0B4F5E, 0.35)}}).Use(cr);
  cairo_save(cr);
  back.path(cr);
  big.path(cr);
  front.path(cr);
  cairo_clip(cr);
  cairo_rectangle(cr, 0, 132, kStoneW, 8);
  cairo_fill(cr);
  cairo_restore(cr);
  cairo_new_path(cr);
  for (auto [x, w] : {std::pair{4.0, 14.0}, {30.0, 20.0}, {70.0, 12.0}, {124.0, 18.0}, {160.0, 24.0}, {204.0, 14.0},
                      {232.0, 20.0}}) {
    cairo_move_to(cr, x, 139);
    cairo_curve_to(cr, x + 0.3 * w, 135.5, x + 0.7 * w, 135.5, x + w, 139);
  }
  SetColor(cr, Hex(0xE8FFFA, 0.65));
  cairo_set_line_width(cr, 1.6);
  cairo_stroke(cr);
  return c.Png();
}

const Rgba kBark = Hex(0x8A5A32), kWood = Hex(0xE2B77A);

// A log lying across the water, its cut end towards the right.
std::vector<uint8_t> Log(int w, int h, double tilt, bool branch) {
  Canvas c(w, h);
  cairo_t* cr = c.Cr();
  const double len = w - 26, thick = h * 0.42;
  cairo_translate(cr, w / 2.0, h / 2.0);
  cairo_rotate(cr, tilt);
  auto body = [&](cairo_t* k) { RoundedRectPath(k, -len / 2, -thick / 2, len, thick, thick / 2); };
  SoftShape(cr, body, Hex(0x06343F, 0.4), 3, 4, 4);
  if (branch) {
    cairo_move_to(cr, -len * 0.1, -thick * 0.3);
    cairo_line_to(cr, -len * 0.1 - 16, -thick * 0.5 - 14);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    SetColor(cr, Darken(kBark, 0.5));
    cairo_set_line_width(cr, 11);
    cairo_stroke_preserve(cr);
    SetColor(cr, kBark);
    cairo_set_line_width(cr, 7);
    cairo_stroke(cr);
    // A leaf still on the twig.
    cairo_save(cr);
    cairo_translate(cr, -len * 0.1 - 16, -thick * 0.5 - 14);
    cairo_rotate(cr, -0.5);
    auto leaf = [](cairo_t* k) {
      cairo_move_to(k, 0, 0);
      cairo_curve_to(k, 4, -7, 14, -7, 18, 0);
      cairo_curve_to(k, 14, 7, 4, 7, 0, 0);
      cairo_close_path(k);
    };
    ShadedFill(cr, leaf, Hex(0x7DBB3E), 1.2, 0.35);
    cairo_restore(cr);
  }
  ShadedFill(cr, body, kBark, 2, 0.3);
  // Bark grain along the log.
  cairo_save(cr);
  body(cr);
  cairo_clip(cr);
  for (int k = 0; k < 5; ++k) {
    const double y = -thick / 2 + thick * (k + 0.7) / 5.4;
    cairo_move_to(cr, -len / 2 + 6 + 5 * k, y);
    cairo_curve_to(cr, -len / 6, y + 2, len / 6, y - 2, len / 2 - 14, y + 1);
  }
  SetColor(cr, Hex(0x4A2C14, 0.45));
  cairo_set_line_width(cr, 1.4);
  cairo_stroke(cr);
  cairo_restore(cr);
  // Knots in the bark, and moss on the shaded underside.
  for (auto [fx, fy, r] : {std::tuple{-0.22, -0.1, 3.2}, {0.18, 0.16, 2.6}}) {
    const double x = fx * len, y = fy * thick;
    EllipsePath(cr, x, y, 1.6 * r, r);
    SetColor(cr, Darken(kBark, 0.45));
    cairo_fill(cr);
    EllipsePath(cr, x - 0.4, y - 0.4, 0.9 * r, 0.5 * r);
    SetColor(cr, Lighten(kBark, 0.15));
    cairo_fill(cr);
  }
  cairo_save(cr);
  body(cr);
  cairo_clip(cr);
  EllipsePath(cr, -0.05 * len, thick * 0.42, 0.28 * len, thick * 0.22);
  Gradient::Radial(-0.05 * len, thick * 0.42, 0, -0.05 * len, thick * 0.42, 0.28 * len,
                   {{0, Hex(0x6E9E34, 0.8)}, {0.7, Hex(0x6E9E34, 0.5)}, {1, Hex(0x6E9E34, 0)}})
      .Use(cr);
  cairo_fill(cr);
  cairo_restore(cr);
  // The cut end with its rings.
  const double ex = len / 2 - thick * 0.28;
  auto end = [&](cairo_t* k) { EllipsePath(k, ex, 0, thick * 0.28, thick / 2 - 1); };
  ShadedFill(cr, end, kWood, 1.5, 0.3);
  for (double f : {0.65, 0.35}) {
    EllipsePath(cr, ex, 0, thick * 0.28 * f, (thick / 2 - 1) * f);
    SetColor(cr, Hex(0xA8743E, 0.7));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  }
  return c.Png();
}

}  // namespace

void AddStoneAndLogs(Assets& assets) {
  assets.Picture("stone", Stone());
  assets.Picture("brevno1", Log(170, 60, 0.05, false));
  assets.Picture("brevno2", Log(150, 76, -0.22, true));
}

ASSETGEN_MODULE(AddStoneAndLogs);

}  // namespace pondaro::assetgen
