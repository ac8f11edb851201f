// Cairo helpers shared by every picture module: surfaces and PNG bytes, colours,
// rounded shapes, gradients, blurred shadows and glows, styled display text, and
// frame sheets for animations.
#pragma once
#include <cairo.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace pondaro::assetgen {

struct Rgba {
  double r = 0, g = 0, b = 0, a = 1;
};
// 0xRRGGBB with an alpha of a.
Rgba Hex(uint32_t rgb, double a = 1.0);
Rgba Mix(const Rgba& x, const Rgba& y, double t);
Rgba WithAlpha(Rgba c, double a);
// Towards white / black by t (0..1), keeping alpha.
Rgba Lighten(const Rgba& c, double t);
Rgba Darken(const Rgba& c, double t);
void SetColor(cairo_t* cr, const Rgba& c);

// A surface with its drawing context. Transparent ARGB32, or opaque RGB24.
class Canvas {
 public:
  Canvas(int width, int height, bool opaque = false);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  cairo_t* Cr() const { return cr_; }
  cairo_surface_t* Surface() const { return surface_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  std::vector<uint8_t> Png() const;

 private:
  int width_, height_;
  cairo_surface_t* surface_;
  cairo_t* cr_;
};

// PNG file bytes. Cairo stores premultiplied pixels; its PNG writer divides the
// alpha back out, so the file holds straight alpha as every decoder expects.
std::vector<uint8_t> EncodePng(cairo_surface_t* surface);

// Paths (they only build the path; fill or stroke afterwards).
void RoundedRectPath(cairo_t* cr, double x, double y, double w, double h, double r);
void EllipsePath(cairo_t* cr, double cx, double cy, double rx, double ry);

// Gradients. Each stop is (offset, colour).
struct Stop {
  double at;
  Rgba color;
};
// A pattern owned by the caller through this small handle.
class Gradient {
 public:
  static Gradient Linear(double x0, double y0, double x1, double y1, std::initializer_list<Stop> stops);
  static Gradient Radial(double cx0, double cy0, double r0, double cx1, double cy1, double r1,
                         std::initializer_list<Stop> stops);
  Gradient(Gradient&& o) noexcept : p_(o.p_) { o.p_ = nullptr; }
  ~Gradient();
  Gradient(const Gradient&) = delete;
  Gradient& operator=(const Gradient&) = delete;
  void Use(cairo_t* cr) const { cairo_set_source(cr, p_); }
  cairo_pattern_t* Get() const { return p_; }

 private:
  explicit Gradient(cairo_pattern_t* p) : p_(p) {}
  cairo_pattern_t* p_;
};

// Blurs an ARGB32 or RGB24 surface in place (three box passes approximate a
// Gaussian of about this radius). With wrap, pixels leaving one edge come in at
// the other, which keeps tiled backdrops seamless.
void BlurSurface(cairo_surface_t* surface, double radius, bool wrap = false);

// Paints a blurred copy of the shape that `path` builds, in `color`, offset by
// (dx, dy) device pixels. Used for drop shadows (offset) and glows (no offset).
// The shape is drawn with cr's current transformation; cr's clip is respected.
using PathFn = std::function<void(cairo_t*)>;
void SoftShape(cairo_t* cr, const PathFn& path, const Rgba& color, double dx, double dy, double radius,
               bool wrap = false);

// A shape in the house style: a gradient lit from the top left and shaded
// towards the bottom right, one soft highlight near the lit edge, and an outline
// in a darker tone of its own colour (`outline` px wide; 0 for none).
void ShadedFill(cairo_t* cr, const PathFn& path, const Rgba& base, double outline = 2, double gloss = 0.35);

// Paints `layer` (a picture drawn on its own surface, placed at the user-space
// origin) over a soft drop shadow of its silhouette, offset by (dx, dy).
void PaintWithShadow(cairo_t* cr, cairo_surface_t* layer, const Rgba& shadow, double dx, double dy, double radius);

// Runs draw() nine times, shifted by 0 and +-w, +-h, so a picture that is tiled
// joins on every edge.
void DrawWrapped(cairo_t* cr, double w, double h, const std::function<void(cairo_t*)>& draw);

// Display text: gradient fill, dark outline, drop shadow, optional glow and gloss.
struct TextStyle {
  std::string Face = "Leckerli One";
  bool Bold = false;
  double Size = 40;
  Rgba Top = Hex(0xFFE95C), Bottom = Hex(0xFF7A12);
  Rgba Outline = Hex(0x4A1E05);
  double OutlineWidth = 4;
  Rgba Shadow = Hex(0x000000, 0.45);
  double ShadowDx = 3, ShadowDy = 5, ShadowBlur = 5;
  Rgba Glow = Hex(0xFFE680, 0.0);  // alpha 0: no glow
  double GlowRadius = 10;
  bool Gloss = true;  // a soft light band over the upper half of the letters
};

// Selects the face at `size`, unhinted: the same shapes at every size.
void SetFont(cairo_t* cr, const std::string& face, double size, bool bold = false);
// Ink bounds of text set at `size` with its baseline origin at (0, 0).
struct Box {
  double x = 0, y = 0, w = 0, h = 0;
};
Box TextInk(const std::string& text, const std::string& face, double size, bool bold = false);
// The largest size at which the text's ink fits w x h.
double FitTextSize(const std::string& text, const std::string& face, double w, double h, bool bold = false);
// Draws with the baseline origin at (x, y).
void DrawText(cairo_t* cr, const std::string& text, double x, double y, const TextStyle& style);
// Draws the shape `path` builds the way text is drawn, the fill's gradient running
// from `top` to `bottom`.
void DrawStyledPath(cairo_t* cr, const PathFn& path, double top, double bottom, const TextStyle& style);
// Draws with the ink centred on (cx, cy).
void DrawTextCentered(cairo_t* cr, const std::string& text, double cx, double cy, const TextStyle& style);

// N frames of w x h in one row (or `columns` per row), each drawn through its own
// context, translated so the frame's top-left is (0, 0) and clipped to the frame.
class FrameSheet {
 public:
  FrameSheet(int frames, int frameW, int frameH, int columns = 0);
  void Draw(int index, const std::function<void(cairo_t*)>& draw);
  int FrameWidth() const { return frameW_; }
  int FrameHeight() const { return frameH_; }
  int Frames() const { return frames_; }
  std::vector<uint8_t> Png() const { return canvas_.Png(); }
  cairo_surface_t* Surface() const { return canvas_.Surface(); }

 private:
  int frames_, frameW_, frameH_, columns_;
  Canvas canvas_;
};

}  // namespace pondaro::assetgen
