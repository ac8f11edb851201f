// The five food insects of the feeding stage, seen from the side, flying left.
// Each "name" faces left (it flies right to left) and "name_" is its mirror image.
// The frames are the wing beat; the wings are translucent with an opaque rim, so
// the pixel-exact catch feels the wings a little as well as the body.
#include <cmath>
#include <functional>

#include "canvas.h"
#include "registry.h"

namespace pondaro::assetgen {

namespace {

using DrawFrame = std::function<void(cairo_t*, int frame)>;

// (dx, dy) moves the drawing into its frame, leaving room for raised wings and legs.
std::vector<uint8_t> Sheet(int frames, int w, int h, double dx, double dy, bool mirror, const DrawFrame& draw) {
  FrameSheet sheet(frames, w, h);
  for (int i = 0; i < frames; ++i)
    sheet.Draw(i, [&](cairo_t* cr) {
      if (mirror) {
        cairo_translate(cr, w, 0);
        cairo_scale(cr, -1, 1);
      }
      cairo_translate(cr, dx, dy);
      cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
      cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
      draw(cr, i);
    });
  return sheet.Png();
}

// Each insect flying both ways, and a still of it larger for the help page ("Help_" + name).
void AddPair(Assets& assets, const std::string& name, int frames, int w, int h, double dx, double dy,
             const DrawFrame& draw) {
  assets.Frames(name, Sheet(frames, w, h, dx, dy, false, draw), w, h);
  assets.Frames(name + "_", Sheet(frames, w, h, dx, dy, true, draw), w, h);
  constexpr double kHelpScale = 1.7;
  Canvas still(static_cast<int>(std::ceil(w * kHelpScale)), static_cast<int>(std::ceil(h * kHelpScale)));
  cairo_scale(still.Cr(), kHelpScale, kHelpScale);
  cairo_translate(still.Cr(), dx, dy);
  cairo_set_line_cap(still.Cr(), CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(still.Cr(), CAIRO_LINE_JOIN_ROUND);
  draw(still.Cr(), 0);
  assets.Picture("Help_" + name, still.Png());
}

// An ellipse lit from the top left, outlined in a darker tone of its own colour.
void Blob(cairo_t* cr, double cx, double cy, double rx, double ry, double turn, const Rgba& base,
          double outline = 1.1) {
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_rotate(cr, turn);
  EllipsePath(cr, 0, 0, rx, ry);
  const double r = std::max(rx, ry);
  Gradient::Radial(-rx * 0.35, -ry * 0.5, r * 0.05, 0, 0, r * 1.15,
                   {{0, Lighten(base, 0.55)}, {0.45, base}, {1, Darken(base, 0.35)}})
      .Use(cr);
  cairo_fill_preserve(cr);
  SetColor(cr, Darken(base, 0.6));
  cairo_set_line_width(cr, outline);
  cairo_stroke(cr);
  cairo_restore(cr);
}

// A translucent wing hinged at (x, y), `len` long, turned by `turn` radians from
// pointing straight back (0; negative lifts it).
void Wing(cairo_t* cr, double x, double y, double len, double breadth, double turn, const Rgba& tint) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_rotate(cr, turn);
  cairo_move_to(cr, 0, 0);
  cairo_curve_to(cr, len * 0.25, -breadth, len * 0.8, -breadth * 1.05, len, -breadth * 0.3);
  cairo_curve_to(cr, len * 1.05, breadth * 0.3, len * 0.45, breadth * 0.45, 0, 0);
  cairo_close_path(cr);
  Gradient::Linear(0, 0, len, 0, {{0, WithAlpha(Lighten(tint, 0.7), 0.72)}, {1, WithAlpha(Lighten(tint, 0.3), 0.5)}}).Use(cr);
  cairo_fill_preserve(cr);
  SetColor(cr, WithAlpha(Darken(tint, 0.5), 0.9));
  cairo_set_line_width(cr, 1.1);
  cairo_stroke(cr);
  // Two veins and a glint of light.
  SetColor(cr, WithAlpha(Darken(tint, 0.45), 0.55));
  cairo_set_line_width(cr, 0.6);
  cairo_move_to(cr, 1, -0.5);
  cairo_curve_to(cr, len * 0.35, -breadth * 0.55, len * 0.7, -breadth * 0.6, len * 0.92, -breadth * 0.35);
  cairo_move_to(cr, len * 0.3, -breadth * 0.35);
  cairo_line_to(cr, len * 0.75, breadth * 0.05);
  cairo_stroke(cr);
  EllipsePath(cr, len * 0.45, -breadth * 0.45, len * 0.16, breadth * 0.14);
  SetColor(cr, Hex(0xFFFFFF, 0.55));
  cairo_fill(cr);
  cairo_restore(cr);
}

// A thin jointed leg through the given points.
void Leg(cairo_t* cr, std::initializer_list<std::pair<double, double>> points, const Rgba& color, double width) {
  bool first = true;
  for (auto [x, y] : points) {
    if (first) cairo_move_to(cr, x, y);
    else cairo_line_to(cr, x, y);
    first = false;
  }
  SetColor(cr, color);
  cairo_set_line_width(cr, width);
  cairo_stroke(cr);
}

// A big round eye with its highlight.
void Eye(cairo_t* cr, double x, double y, double r, const Rgba& iris) {
  EllipsePath(cr, x, y, r, r);
  Gradient::Radial(x - r * 0.3, y - r * 0.4, 0, x, y, r, {{0, Lighten(iris, 0.5)}, {0.6, iris}, {1, Darken(iris, 0.5)}})
      .Use(cr);
  cairo_fill(cr);
  EllipsePath(cr, x - r * 0.35, y - r * 0.35, r * 0.3, r * 0.3);
  SetColor(cr, Hex(0xFFFFFF, 0.9));
  cairo_fill(cr);
}

// Wing angle in frame `frame` of a beat: three frames sweep from up to down, four
// go up, level, down, level.
double Beat(int frame, int frames, double up, double down) {
  const double t = frames == 4 ? 0.5 - 0.5 * std::cos(M_PI * frame / 2.0) : frame / (frames - 1.0);
  return up + (down - up) * t;
}

const Rgba kWingTint = Hex(0xBFE4FF);

// The midge: a tiny dark gnat with feathery antennae and long, narrow wings.
void Midge(cairo_t* cr, int f) {
  const Rgba body = Hex(0x3A3A48);
  Leg(cr, {{12, 16}, {10, 21}, {8, 24}}, Darken(body, 0.2), 0.8);
  Leg(cr, {{14, 16}, {15, 21}, {13, 25}}, Darken(body, 0.2), 0.8);
  Leg(cr, {{16, 16}, {20, 21}, {21, 25}}, Darken(body, 0.2), 0.8);
  Wing(cr, 14, 11, 14.5, 3.6, Beat(f, 3, -0.95, 0.25), kWingTint);
  Blob(cr, 20.5, 14.5, 6.8, 3.1, 0.25, Hex(0x4E4A5C));
  Blob(cr, 13, 12.5, 4.3, 3.8, 0, body);
  Blob(cr, 7.6, 13.4, 3.1, 3.0, 0, body);
  Eye(cr, 6.6, 13, 1.5, Hex(0x9A2A2A));
  Leg(cr, {{6, 11}, {3.5, 7.5}, {1.5, 6.5}}, body, 0.9);
  for (double t : {0.3, 0.55, 0.8})  // feathery antenna
    Leg(cr, {{6 - 3.5 * t, 11 - 3.5 * t}, {5.5 - 3.5 * t, 8.5 - 3.5 * t}}, WithAlpha(body, 0.8), 0.5);
  Wing(cr, 14, 11, 13.5, 3.4, Beat(f, 3, -0.75, 0.45), kWingTint);
}

// The fly: a stout blue-black housefly with red eyes and broad wings.
void Fly(cairo_t* cr, int f) {
  const Rgba dark = Hex(0x2C3440), shine = Hex(0x2F6E78);
  for (double x : {13.0, 17.0, 21.0}) Leg(cr, {{x, 19}, {x - 3, 24}, {x - 2, 29}}, Darken(dark, 0.3), 1.3);
  Wing(cr, 18, 11, 18.5, 6.2, Beat(f, 3, -1.0, 0.25), kWingTint);
  Blob(cr, 26.5, 17, 8.6, 6.4, 0.2, shine);
  // Bands across the abdomen.
  SetColor(cr, WithAlpha(Darken(shine, 0.5), 0.7));
  cairo_set_line_width(cr, 1.1);
  for (double x : {24.0, 28.5}) {
    cairo_move_to(cr, x, 11.5);
    cairo_curve_to(cr, x + 1.5, 15, x + 1.5, 19, x, 22.5);
  }
  cairo_stroke(cr);
  Blob(cr, 17, 15, 7, 6.3, 0, dark);
  Blob(cr, 8.8, 15.5, 5.6, 5.5, 0, dark);
  Eye(cr, 7.4, 14, 4.2, Hex(0xC2321E));
  Leg(cr, {{5, 19}, {3.5, 22.5}}, dark, 1.4);  // the sucking mouth
  Wing(cr, 18, 11, 17.5, 5.8, Beat(f, 3, -0.8, 0.45), kWingTint);
}

// The mosquito: slender and striped, a long proboscis, dangling legs, fast wings.
void Mosquito(cairo_t* cr, int f) {
  const Rgba body = Hex(0x6B5A48), band = Hex(0xE8DCC0);
  for (int i = 0; i < 3; ++i) {
    const double x = 12 + i * 2.6, sway = (f % 2) * 1.2 - 0.6;
    Leg(cr, {{x, 16}, {x - 6 + i * 5, 22}, {x - 9 + i * 8 + sway, 31}}, Darken(body, 0.3), 0.8);
  }
  Wing(cr, 14, 12, 15.5, 3.2, Beat(f, 4, -1.0, 0.3), kWingTint);
  Blob(cr, 25, 16.5, 11, 2.9, 0.22, body, 0.9);
  SetColor(cr, WithAlpha(band, 0.85));
  cairo_set_line_width(cr, 0.9);
  for (int i = 0; i < 5; ++i) {
    const double x = 18.5 + i * 3.6, y = 14.9 + i * 0.8;
    cairo_move_to(cr, x, y - 2.1);
    cairo_line_to(cr, x + 0.4, y + 2.1);
  }
  cairo_stroke(cr);
  Blob(cr, 13, 13.8, 4.4, 3.9, 0, body, 0.9);
  Blob(cr, 7.5, 14.8, 2.8, 2.7, 0, Darken(body, 0.2), 0.9);
  Eye(cr, 6.8, 14.4, 1.6, Hex(0x2B1E16));
  Leg(cr, {{5.2, 15.8}, {0.8, 18.5}}, Darken(body, 0.4), 1.0);   // proboscis
  Leg(cr, {{6, 12.5}, {3, 9.5}, {1.5, 9}}, Darken(body, 0.2), 0.7);  // antenna
  Wing(cr, 14, 12, 14.5, 3.0, Beat(f, 4, -0.8, 0.45), kWingTint);
}

// The pond skater: a long, thin brown body and very long legs that row as it flies.
void Skater(cairo_t* cr, int f) {
  const Rgba body = Hex(0x5A4632), leg = Hex(0x3E3024);
  const double row = std::sin(2 * M_PI * f / 4.0);
  Leg(cr, {{14, 16}, {22 + row * 3, 22}, {33 + row * 3, 26.5}, {41 + row, 28 + row}}, leg, 1.2);  // hind
  Leg(cr, {{13, 16}, {10 - row * 3, 22}, {3 - row * 2, 27}, {1, 28}}, leg, 1.2);          // middle
  Wing(cr, 17, 12, 16.5, 3.6, Beat(f, 4, -0.75, 0.1), kWingTint);
  Blob(cr, 23, 14.5, 15, 3.6, 0.05, body);
  SetColor(cr, WithAlpha(Lighten(body, 0.5), 0.7));  // a pale stripe along the back
  cairo_set_line_width(cr, 0.8);
  cairo_move_to(cr, 12, 12.6);
  cairo_line_to(cr, 34, 13.4);
  cairo_stroke(cr);
  Blob(cr, 7.4, 13.5, 3.6, 3.0, 0, body);
  Eye(cr, 6.2, 13, 1.6, Hex(0x1E1812));
  Leg(cr, {{9, 16}, {5, 20}, {3, 19}}, leg, 1.1);                 // front, grasping
  Leg(cr, {{5, 11.5}, {1.5, 8}}, leg, 0.8);                       // antenna
  Wing(cr, 17, 12, 15.5, 3.4, Beat(f, 4, -0.55, 0.25), kWingTint);
}

// The bee: round and fuzzy, golden with dark bands, a sting and pollen on its legs.
void Bee(cairo_t* cr, int f) {
  const Rgba gold = Hex(0xF2B522), dark = Hex(0x2E2418);
  for (double x : {14.0, 19.0}) Leg(cr, {{x, 26}, {x - 3, 32}, {x - 2, 36}}, dark, 1.4);
  Leg(cr, {{23, 27}, {25, 32}, {24, 37}}, dark, 1.6);
  EllipsePath(cr, 24.6, 33, 2.6, 2.2);  // pollen basket
  SetColor(cr, Hex(0xF59A1B));
  cairo_fill(cr);
  Wing(cr, 20, 13, 22, 7.2, Beat(f, 3, -1.0, 0.2), kWingTint);
  // Abdomen with its bands, clipped to its own shape.
  Blob(cr, 31.5, 23.5, 11.5, 9.2, 0.15, gold);
  cairo_save(cr);
  cairo_translate(cr, 31.5, 23.5);
  cairo_rotate(cr, 0.15);
  EllipsePath(cr, 0, 0, 10.8, 8.5);
  cairo_clip(cr);
  SetColor(cr, WithAlpha(dark, 0.92));
  for (double x : {-2.5, 4.5}) {
    cairo_rectangle(cr, x, -10, 3.2, 20);
  }
  cairo_rectangle(cr, 9.5, -10, 4, 20);
  cairo_fill(cr);
  cairo_restore(cr);
  Leg(cr, {{42.5, 25.5}, {45.5, 27}}, dark, 1.3);  // the sting
  Blob(cr, 18.5, 21, 7.8, 7.4, 0, Hex(0x5A4020));
  // Fuzz on the thorax.
  SetColor(cr, WithAlpha(Hex(0xE8B34A), 0.55));
  cairo_set_line_width(cr, 0.8);
  for (int i = 0; i < 12; ++i) {
    const double a = -M_PI * 0.9 + i * 0.16;
    cairo_move_to(cr, 18.5 + std::cos(a) * 6.4, 21 + std::sin(a) * 6.0);
    cairo_line_to(cr, 18.5 + std::cos(a) * 8.6, 21 + std::sin(a) * 8.2);
  }
  cairo_stroke(cr);
  Blob(cr, 9.5, 23, 5.8, 6.2, 0, dark);
  Eye(cr, 8.5, 21.8, 3.3, Hex(0x3A2C22));
  Leg(cr, {{7, 17.5}, {4, 12}, {2, 11}}, dark, 1.0);  // antenna
  Wing(cr, 20, 13, 20, 6.6, Beat(f, 3, -0.8, 0.4), kWingTint);
}

}  // namespace

void AddInsectArt(Assets& assets) {
  AddPair(assets, "mushka", 3, 31, 31, 1, 3, Midge);
  AddPair(assets, "muha", 3, 39, 41, 1, 8.5, Fly);
  AddPair(assets, "komar", 4, 44, 38, 2.5, 4.5, Mosquito);
  AddPair(assets, "vodomerka", 4, 50, 34, 2.5, 2, Skater);
  AddPair(assets, "pchel", 3, 50, 50, 1, 8.5, Bee);
}

ASSETGEN_MODULE(AddInsectArt);

}  // namespace pondaro::assetgen
