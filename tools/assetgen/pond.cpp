#include "pond.h"

#include <algorithm>
#include <cmath>

#include "synth.h"  // Rng

namespace pondaro::assetgen {

namespace {

constexpr double kTau = 2 * M_PI;

// A sum of waves whose wave numbers are whole numbers of periods per tile.
struct Wave2 {
  int i, j;
  double amp, phase;
};

double Field(const std::vector<Wave2>& waves, double u, double v) {
  double sum = 0, norm = 0;
  for (const Wave2& w : waves) {
    sum += w.amp * std::sin(kTau * (w.i * u + w.j * v) + w.phase);
    norm += w.amp;
  }
  return sum / norm;  // -1..1
}

std::vector<Wave2> RandomWaves(Rng& rng, std::initializer_list<std::pair<int, int>> numbers) {
  std::vector<Wave2> out;
  for (auto [i, j] : numbers) {
    const double k = std::sqrt(double(i * i + j * j));
    out.push_back({i, j, 1.0 / k, rng.Uniform() * kTau});
  }
  return out;
}

// Jittered points, one per cell, for cellular (Worley) patterns that wrap.
struct Cells {
  int nx, ny;
  double cw, ch;
  std::vector<double> jx, jy;

  Cells(int nx_, int ny_, double w, double h, Rng& rng) : nx(nx_), ny(ny_), cw(w / nx_), ch(h / ny_) {
    for (int k = 0; k < nx * ny; ++k) {
      jx.push_back(0.15 + 0.7 * rng.Uniform());
      jy.push_back(0.15 + 0.7 * rng.Uniform());
    }
  }

  // Distance from (px, py) to the nearest border between two cells.
  double EdgeDistance(double px, double py) const {
    const int cx = static_cast<int>(std::floor(px / cw)), cy = static_cast<int>(std::floor(py / ch));
    double d1 = 1e18, d2 = 1e18, x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx) {
        const int gx = cx + dx, gy = cy + dy;
        const int k = ((gy % ny + ny) % ny) * nx + ((gx % nx + nx) % nx);
        const double qx = (gx + jx[k]) * cw, qy = (gy + jy[k]) * ch;
        const double d = (qx - px) * (qx - px) + (qy - py) * (qy - py);
        if (d < d1) {
          d2 = d1, x2 = x1, y2 = y1;
          d1 = d, x1 = qx, y1 = qy;
        } else if (d < d2) {
          d2 = d, x2 = qx, y2 = qy;
        }
      }
    const double sep = std::hypot(x2 - x1, y2 - y1);
    return sep > 0 ? (d2 - d1) / (2 * sep) : 0;
  }
};

uint8_t Channel(double v) { return static_cast<uint8_t>(std::clamp(std::lround(v * 255.0), 0L, 255L)); }

}  // namespace

void PaintWater(cairo_surface_t* surface, const WaterLook& look) {
  cairo_surface_flush(surface);
  const int w = cairo_image_surface_get_width(surface), h = cairo_image_surface_get_height(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  Rng rng(look.Seed);
  const auto depth = RandomWaves(rng, {{1, 0}, {0, 1}, {1, 1}, {2, -1}, {-1, 2}, {3, 1}, {1, -3}});
  const auto patches = RandomWaves(rng, {{1, 1}, {2, 0}, {0, 2}, {-2, 1}, {2, 3}});
  double warp[6];
  for (double& p : warp) p = rng.Uniform() * kTau;
  const Cells big(12, 9, w, h, rng), second(9, 7, w, h, rng);

  for (int y = 0; y < h; ++y) {
    uint32_t* row = reinterpret_cast<uint32_t*>(data + y * stride);
    for (int x = 0; x < w; ++x) {
      const double u = static_cast<double>(x) / w, v = static_cast<double>(y) / h;
      const double d = Field(depth, u, v);
      Rgba c = Mix(look.Deep, look.Shallow, std::clamp(0.55 + 0.6 * d, 0.0, 1.0));
      // Wavy caustic lines: the cell borders of a warped cellular pattern. The
      // warp bends the straight borders into the rounded, curvy net of real caustics.
      double wx = x, wy = y;
      for (int k = 0; k < 3; ++k) {
        const double a = 10.0 / (k + 1), f = 2.0 + 2 * k;
        const double nu = wx / w, nv = wy / h;
        const double ox = a * std::sin(kTau * (f * nv + (k + 1) * nu) + warp[2 * k]);
        const double oy = a * std::sin(kTau * (f * nu - (k + 1) * nv) + warp[2 * k + 1]);
        wx += ox;
        wy += oy;
      }
      // Two loose nets laid over each other; their lines swell and thin along the way.
      const double e1 = big.EdgeDistance(wx, wy), e2 = second.EdgeDistance(wx + 0.37 * w, wy + 0.21 * h);
      const double s1 = 1.1 + 0.9 * (0.5 + 0.5 * Field(patches, 2 * u, v));
      const double s2 = 0.9 + 0.6 * (0.5 + 0.5 * Field(patches, u, 2 * v));
      const double line = std::max(std::exp(-e1 * e1 / (2 * s1 * s1)), 0.45 * std::exp(-e2 * e2 / (2 * s2 * s2)));
      const double halo = 0.3 * std::exp(-e1 * e1 / (2 * 5.0 * 5.0));
      // The light comes and goes in broad patches, so the pattern never looks like a grid.
      const double mask = std::clamp(0.55 + 0.6 * Field(patches, u, v), 0.1, 1.0);
      c = Mix(c, look.Light, std::min(1.0, look.CausticStrength * (line + halo) * mask * (0.8 + 0.4 * (0.5 + 0.5 * d))));
      row[x] = 0xFF000000u | (Channel(c.r) << 16) | (Channel(c.g) << 8) | Channel(c.b);
    }
  }
  cairo_surface_mark_dirty(surface);
}

void PadPath(cairo_t* cr, const LilyPad& pad) {
  const double half = pad.NotchHalf;
  cairo_save(cr);
  cairo_translate(cr, pad.X, pad.Y);
  cairo_scale(cr, 1, pad.Squash);
  cairo_new_sub_path(cr);
  cairo_move_to(cr, 0.06 * pad.R * std::cos(pad.Notch), 0.06 * pad.R * std::sin(pad.Notch));
  cairo_arc(cr, 0, 0, pad.R, pad.Notch + half, pad.Notch - half + kTau);
  cairo_close_path(cr);
  cairo_restore(cr);
}

void DrawPadShadows(cairo_t* cr, const std::vector<LilyPad>& pads, bool wrap, double tileW, double tileH) {
  auto path = [&](cairo_t* c) {
    auto all = [&](cairo_t* c2) {
      for (const LilyPad& p : pads) {
        LilyPad s = p;
        s.X += 0.07 * p.R + 2;
        s.Y += 0.1 * p.R + 3;
        PadPath(c2, s);
      }
    };
    if (wrap)
      DrawWrapped(c, tileW, tileH, all);
    else
      all(c);
  };
  SoftShape(cr, path, Hex(0x06343F, 0.42), 0, 0, 5, wrap);
}

void DrawLilyPad(cairo_t* cr, const LilyPad& pad) {
  const double r = pad.R;
  const Rgba base = pad.Color;
  cairo_save(cr);
  // A thin bright meniscus where the water meets the leaf.
  EllipsePath(cr, pad.X, pad.Y, r + 2.5, (r + 2.5) * pad.Squash);
  SetColor(cr, Hex(0xFFFFFF, 0.18));
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);

  PadPath(cr, pad);
  Gradient::Radial(pad.X - 0.35 * r, pad.Y - 0.4 * r, 0, pad.X, pad.Y, 1.2 * r,
                   {{0, Lighten(base, 0.45)}, {0.55, base}, {1, Darken(base, 0.22)}})
      .Use(cr);
  cairo_fill_preserve(cr);
  cairo_save(cr);
  cairo_clip_preserve(cr);
  cairo_new_path(cr);

  // Veins fan out from the notch's point.
  const Rgba vein = WithAlpha(Darken(base, 0.25), 0.45);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  const int veins = std::max(7, static_cast<int>(r / 6));
  for (int k = 0; k < veins; ++k) {
    const double a = pad.Notch + 0.45 + (kTau - 0.9) * k / (veins - 1);
    const double ca = std::cos(a), sa = std::sin(a), bend = 0.06 * r;
    cairo_move_to(cr, pad.X + 0.1 * r * ca, pad.Y + 0.1 * r * sa * pad.Squash);
    cairo_curve_to(cr, pad.X + 0.45 * r * ca - bend * sa, pad.Y + (0.45 * r * sa + bend * ca) * pad.Squash,
                   pad.X + 0.75 * r * ca - bend * sa, pad.Y + (0.75 * r * sa + bend * ca) * pad.Squash,
                   pad.X + 0.9 * r * ca, pad.Y + 0.9 * r * sa * pad.Squash);
  }
  SetColor(cr, vein);
  cairo_set_line_width(cr, std::max(1.0, r / 45));
  cairo_stroke(cr);

  // One soft shade away from the light, one soft highlight towards it.
  cairo_rectangle(cr, pad.X - 2 * r, pad.Y - 2 * r, 4 * r, 4 * r);
  Gradient::Radial(pad.X - 0.25 * r, pad.Y - 0.3 * r, 0.7 * r, pad.X - 0.25 * r, pad.Y - 0.3 * r, 1.35 * r,
                   {{0, Hex(0x000000, 0)}, {1, WithAlpha(Darken(base, 0.6), 0.35)}})
      .Use(cr);
  cairo_fill(cr);
  cairo_save(cr);
  cairo_translate(cr, pad.X - 0.38 * r, pad.Y - 0.42 * r * pad.Squash);
  cairo_rotate(cr, -0.7);
  cairo_scale(cr, 0.5 * r, 0.26 * r);
  cairo_arc(cr, 0, 0, 1, 0, kTau);
  cairo_restore(cr);
  Gradient::Radial(pad.X - 0.38 * r, pad.Y - 0.42 * r, 0, pad.X - 0.38 * r, pad.Y - 0.42 * r, 0.5 * r,
                   {{0, Hex(0xFFFFFF, 0.32)}, {1, Hex(0xFFFFFF, 0)}})
      .Use(cr);
  cairo_fill(cr);

  // The lighter rim, just inside the edge.
  PadPath(cr, pad);
  SetColor(cr, WithAlpha(Lighten(base, 0.5), 0.7));
  cairo_set_line_width(cr, std::max(2.0, 0.1 * r));
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke(cr);
  cairo_restore(cr);

  PadPath(cr, pad);
  SetColor(cr, Darken(base, 0.45));
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  cairo_restore(cr);
}

namespace {
// One pointed petal from the centre out along +y, `len` long and `wid` wide.
void PetalPath(cairo_t* cr, double len, double wid) {
  cairo_move_to(cr, 0, 0.1 * len);
  cairo_curve_to(cr, wid * 0.9, 0.3 * len, wid * 0.75, 0.78 * len, 0, len);
  cairo_curve_to(cr, -wid * 0.75, 0.78 * len, -wid * 0.9, 0.3 * len, 0, 0.1 * len);
  cairo_close_path(cr);
}

void PetalRing(cairo_t* cr, int count, double len, double wid, double rotation, const Rgba& base,
               const Rgba& tip, const Rgba& line) {
  for (int k = 0; k < count; ++k) {
    const double a = rotation + kTau * k / count;
    // Petals that face the light (top left) are brighter.
    const double lit = 0.5 + 0.5 * std::cos(a + 3 * M_PI / 4);
    cairo_save(cr);
    cairo_rotate(cr, a - M_PI / 2);
    PetalPath(cr, len, wid);
    Gradient::Linear(0, 0, 0, len, {{0, base}, {0.55, Mix(base, tip, 0.5)}, {1, Darken(tip, 0.12 * (1 - lit))}})
        .Use(cr);
    cairo_fill_preserve(cr);
    SetColor(cr, line);
    cairo_set_line_width(cr, 1.3);
    cairo_stroke(cr);
    cairo_move_to(cr, 0, 0.35 * len);
    cairo_line_to(cr, 0, 0.8 * len);
    SetColor(cr, Hex(0xFFFFFF, 0.35 + 0.3 * lit));
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    cairo_restore(cr);
  }
}
}  // namespace

void DrawWaterLily(cairo_t* cr, double x, double y, double size, double rotation) {
  SoftShape(
      cr, [&](cairo_t* c) { EllipsePath(c, x + 0.1 * size, y + 0.14 * size, 0.85 * size, 0.85 * size); },
      Hex(0x06343F, 0.35), 0, 0, 0.12 * size);
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  PetalRing(cr, 8, size, 0.36 * size, rotation, Hex(0xFFF4F8), Hex(0xF27BAA), Hex(0xB9467A));
  PetalRing(cr, 8, 0.78 * size, 0.3 * size, rotation + M_PI / 8, Hex(0xFFFBFD), Hex(0xF79CC0), Hex(0xC25584));
  PetalRing(cr, 6, 0.5 * size, 0.24 * size, rotation + 0.3, Hex(0xFFFFFF), Hex(0xFFD0E2), Hex(0xCF6A95));
  // The golden heart with a ring of stamens.
  const double c = 0.2 * size;
  EllipsePath(cr, 0, 0, c, c);
  Gradient::Radial(-0.35 * c, -0.4 * c, 0, 0, 0, c, {{0, Hex(0xFFF6A0)}, {0.6, Hex(0xFFD23A)}, {1, Hex(0xF0A21A)}})
      .Use(cr);
  cairo_fill_preserve(cr);
  SetColor(cr, Hex(0xB66A0C));
  cairo_set_line_width(cr, 1.2);
  cairo_stroke(cr);
  for (int k = 0; k < 10; ++k) {
    const double a = kTau * k / 10 + rotation;
    EllipsePath(cr, 0.62 * c * std::cos(a), 0.62 * c * std::sin(a), 0.13 * c + 0.6, 0.13 * c + 0.6);
  }
  SetColor(cr, Hex(0xE08A10));
  cairo_fill(cr);
  cairo_restore(cr);
}

void DrawLilyBud(cairo_t* cr, double x, double y, double size, double angle) {
  SoftShape(
      cr, [&](cairo_t* c) { EllipsePath(c, x + 3, y + 4, 0.45 * size, 0.45 * size); }, Hex(0x06343F, 0.35), 0, 0,
      3);
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_rotate(cr, angle - M_PI / 2);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_translate(cr, 0, -0.45 * size);
  for (double side : {-1.0, 1.0, 0.0}) {
    cairo_save(cr);
    cairo_rotate(cr, side * 0.28);
    PetalPath(cr, size, (side == 0 ? 0.42 : 0.34) * size);
    Gradient::Linear(-0.3 * size, 0, 0.3 * size, size,
                     {{0, Hex(0xFFF6FA)}, {0.6, Hex(0xF9A9C8)}, {1, Hex(0xE2679A)}})
        .Use(cr);
    cairo_fill_preserve(cr);
    SetColor(cr, Hex(0xB9467A));
    cairo_set_line_width(cr, 1.3);
    cairo_stroke(cr);
    cairo_restore(cr);
  }
  // Two green sepals cup the bud's base.
  for (double side : {-1.0, 1.0}) {
    cairo_save(cr);
    cairo_rotate(cr, side * 0.33);
    PetalPath(cr, 0.62 * size, 0.26 * size);
    Gradient::Linear(0, 0, 0, 0.55 * size, {{0, Hex(0x3A8A2A)}, {1, Hex(0x79C24A)}}).Use(cr);
    cairo_fill_preserve(cr);
    SetColor(cr, Hex(0x2F6E22));
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    cairo_restore(cr);
  }
  cairo_restore(cr);
}

void DrawRipple(cairo_t* cr, double x, double y, double r, double alpha) {
  for (int ring = 0; ring < 2; ++ring) {
    const double rr = r * (1.0 - 0.35 * ring), a = alpha * (1.0 - 0.4 * ring);
    EllipsePath(cr, x, y, rr, rr * 0.8);
    Gradient::Linear(x - rr, y - rr, x + rr, y + rr, {{0, Hex(0xFFFFFF, a)}, {1, Hex(0xFFFFFF, a * 0.15)}}).Use(cr);
    cairo_set_line_width(cr, 2.2 - 0.6 * ring);
    cairo_stroke(cr);
  }
}

void DrawDuckweed(cairo_t* cr, double x, double y, double spread, uint64_t seed) {
  Rng rng(seed);
  const int n = 3 + static_cast<int>(rng.Uniform() * 4);
  for (int k = 0; k < n; ++k) {
    const double a = rng.Uniform() * kTau, d = spread * std::sqrt(rng.Uniform());
    const double px = x + d * std::cos(a), py = y + d * std::sin(a);
    const double rx = 3.2 + 2.5 * rng.Uniform(), ry = rx * (0.7 + 0.2 * rng.Uniform());
    const double rot = rng.Uniform() * M_PI;
    auto leaf = [&](cairo_t* c, double dx, double dy) {
      cairo_save(c);
      cairo_translate(c, px + dx, py + dy);
      cairo_rotate(c, rot);
      EllipsePath(c, 0, 0, rx, ry);
      cairo_restore(c);
    };
    leaf(cr, 1.2, 1.6);
    SetColor(cr, Hex(0x06343F, 0.3));
    cairo_fill(cr);
    leaf(cr, 0, 0);
    Gradient::Radial(px - 0.4 * rx, py - 0.4 * ry, 0, px, py, rx,
                     {{0, Hex(0xC8F27A)}, {0.6, Hex(0x86CF45)}, {1, Hex(0x5FA832)}})
        .Use(cr);
    cairo_fill_preserve(cr);
    SetColor(cr, Hex(0x3F7A22));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  }
}

}  // namespace pondaro::assetgen
