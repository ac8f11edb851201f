#include "canvas.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace pondaro::assetgen {

Rgba Hex(uint32_t rgb, double a) {
  return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0, a};
}

Rgba Mix(const Rgba& x, const Rgba& y, double t) {
  return {x.r + (y.r - x.r) * t, x.g + (y.g - x.g) * t, x.b + (y.b - x.b) * t, x.a + (y.a - x.a) * t};
}

Rgba WithAlpha(Rgba c, double a) {
  c.a = a;
  return c;
}

Rgba Lighten(const Rgba& c, double t) { return Mix(c, Rgba{1, 1, 1, c.a}, t); }
Rgba Darken(const Rgba& c, double t) { return Mix(c, Rgba{0, 0, 0, c.a}, t); }

void SetColor(cairo_t* cr, const Rgba& c) { cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a); }

Canvas::Canvas(int width, int height, bool opaque)
    : width_(width),
      height_(height),
      surface_(cairo_image_surface_create(opaque ? CAIRO_FORMAT_RGB24 : CAIRO_FORMAT_ARGB32, width, height)),
      cr_(cairo_create(surface_)) {
  if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS)
    throw std::runtime_error("cannot create a " + std::to_string(width) + "x" + std::to_string(height) + " surface");
  cairo_set_antialias(cr_, CAIRO_ANTIALIAS_BEST);
}

Canvas::~Canvas() {
  cairo_destroy(cr_);
  cairo_surface_destroy(surface_);
}

std::vector<uint8_t> Canvas::Png() const { return EncodePng(surface_); }

namespace {
cairo_status_t AppendBytes(void* closure, const unsigned char* data, unsigned int length) {
  auto* out = static_cast<std::vector<uint8_t>*>(closure);
  out->insert(out->end(), data, data + length);
  return CAIRO_STATUS_SUCCESS;
}
}  // namespace

std::vector<uint8_t> EncodePng(cairo_surface_t* surface) {
  cairo_surface_flush(surface);
  std::vector<uint8_t> out;
  if (cairo_surface_write_to_png_stream(surface, AppendBytes, &out) != CAIRO_STATUS_SUCCESS)
    throw std::runtime_error("PNG encoding failed");
  return out;
}

void RoundedRectPath(cairo_t* cr, double x, double y, double w, double h, double r) {
  r = std::min({r, w / 2, h / 2});
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

void EllipsePath(cairo_t* cr, double cx, double cy, double rx, double ry) {
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, rx, ry);
  cairo_new_sub_path(cr);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_close_path(cr);
  cairo_restore(cr);
}

namespace {
void AddStops(cairo_pattern_t* p, std::initializer_list<Stop> stops) {
  for (const Stop& s : stops) cairo_pattern_add_color_stop_rgba(p, s.at, s.color.r, s.color.g, s.color.b, s.color.a);
}
}  // namespace

Gradient Gradient::Linear(double x0, double y0, double x1, double y1, std::initializer_list<Stop> stops) {
  cairo_pattern_t* p = cairo_pattern_create_linear(x0, y0, x1, y1);
  AddStops(p, stops);
  return Gradient(p);
}

Gradient Gradient::Radial(double cx0, double cy0, double r0, double cx1, double cy1, double r1,
                          std::initializer_list<Stop> stops) {
  cairo_pattern_t* p = cairo_pattern_create_radial(cx0, cy0, r0, cx1, cy1, r1);
  AddStops(p, stops);
  return Gradient(p);
}

Gradient::~Gradient() {
  if (p_) cairo_pattern_destroy(p_);
}

namespace {
// One box pass over `n` values spaced `step` apart, half-width `half`.
void BoxPass(float* v, int n, int step, int half, bool wrap, std::vector<float>& tmp) {
  tmp.resize(n);
  for (int i = 0; i < n; ++i) tmp[i] = v[i * step];
  auto at = [&](int i) -> float {
    if (wrap) return tmp[((i % n) + n) % n];
    return (i < 0 || i >= n) ? 0.0f : tmp[i];
  };
  double sum = 0;
  for (int i = -half; i <= half; ++i) sum += at(i);
  const double scale = 1.0 / (2 * half + 1);
  for (int i = 0; i < n; ++i) {
    v[i * step] = static_cast<float>(sum * scale);
    sum += at(i + half + 1) - at(i - half);
  }
}
}  // namespace

void BlurSurface(cairo_surface_t* surface, double radius, bool wrap) {
  if (radius <= 0) return;
  cairo_surface_flush(surface);
  const int w = cairo_image_surface_get_width(surface), h = cairo_image_surface_get_height(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  const bool hasAlpha = cairo_image_surface_get_format(surface) == CAIRO_FORMAT_ARGB32;
  // Three box passes of this width have the variance of a Gaussian of sigma = radius.
  const int half = std::max(1, static_cast<int>(std::lround((std::sqrt(4 * radius * radius + 1) - 1) / 2)));
  std::vector<float> plane(static_cast<size_t>(w) * h), tmp;
  for (int c = 0; c < (hasAlpha ? 4 : 3); ++c) {
    for (int y = 0; y < h; ++y) {
      const uint32_t* row = reinterpret_cast<const uint32_t*>(data + y * stride);
      for (int x = 0; x < w; ++x) plane[y * w + x] = static_cast<float>((row[x] >> (8 * c)) & 0xFF);
    }
    for (int pass = 0; pass < 3; ++pass) {
      for (int y = 0; y < h; ++y) BoxPass(&plane[y * w], w, 1, half, wrap, tmp);
      for (int x = 0; x < w; ++x) BoxPass(&plane[x], h, w, half, wrap, tmp);
    }
    for (int y = 0; y < h; ++y) {
      uint32_t* row = reinterpret_cast<uint32_t*>(data + y * stride);
      for (int x = 0; x < w; ++x) {
        const uint32_t v = static_cast<uint32_t>(std::clamp(std::lround(plane[y * w + x]), 0L, 255L));
        row[x] = (row[x] & ~(0xFFu << (8 * c))) | (v << (8 * c));
      }
    }
  }
  // Rounding may leave a colour channel above its alpha; premultiplied data forbids it.
  if (hasAlpha) {
    for (int y = 0; y < h; ++y) {
      uint32_t* row = reinterpret_cast<uint32_t*>(data + y * stride);
      for (int x = 0; x < w; ++x) {
        const uint32_t a = row[x] >> 24;
        uint32_t p = a << 24;
        for (int c = 0; c < 3; ++c) p |= std::min((row[x] >> (8 * c)) & 0xFF, a) << (8 * c);
        row[x] = p;
      }
    }
  }
  cairo_surface_mark_dirty(surface);
}

void SoftShape(cairo_t* cr, const PathFn& path, const Rgba& color, double dx, double dy, double radius, bool wrap) {
  cairo_surface_t* target = cairo_get_target(cr);
  const int tw = cairo_image_surface_get_width(target), th = cairo_image_surface_get_height(target);
  cairo_matrix_t m;
  cairo_get_matrix(cr, &m);
  // Blur only the shape's neighbourhood, not the whole target (frame sheets are wide).
  int bx = 0, by = 0, bw = tw, bh = th;
  if (!wrap) {
    Canvas probe(1, 1);
    cairo_set_matrix(probe.Cr(), &m);
    path(probe.Cr());
    double x1, y1, x2, y2;
    cairo_path_extents(probe.Cr(), &x1, &y1, &x2, &y2);
    cairo_identity_matrix(probe.Cr());
    double lo[2] = {1e18, 1e18}, hi[2] = {-1e18, -1e18};
    for (double ux : {x1, x2})
      for (double uy : {y1, y2}) {
        double px = ux, py = uy;
        cairo_matrix_transform_point(&m, &px, &py);
        lo[0] = std::min(lo[0], px), lo[1] = std::min(lo[1], py);
        hi[0] = std::max(hi[0], px), hi[1] = std::max(hi[1], py);
      }
    const double margin = 3 * radius + 2;
    bx = std::max(0, static_cast<int>(std::floor(lo[0] - margin + std::min(0.0, -dx))));
    by = std::max(0, static_cast<int>(std::floor(lo[1] - margin + std::min(0.0, -dy))));
    const int ex = std::min(tw, static_cast<int>(std::ceil(hi[0] + margin + std::max(0.0, -dx))));
    const int ey = std::min(th, static_cast<int>(std::ceil(hi[1] + margin + std::max(0.0, -dy))));
    bw = ex - bx, bh = ey - by;
    if (bw <= 0 || bh <= 0) return;
  }
  Canvas tmp(bw, bh);
  m.x0 -= bx;
  m.y0 -= by;
  cairo_set_matrix(tmp.Cr(), &m);
  path(tmp.Cr());
  SetColor(tmp.Cr(), color);
  cairo_fill(tmp.Cr());
  BlurSurface(tmp.Surface(), radius, wrap);
  cairo_save(cr);
  cairo_identity_matrix(cr);
  const int copies = wrap ? 1 : 0;
  for (int oy = -copies; oy <= copies; ++oy)
    for (int ox = -copies; ox <= copies; ++ox) {
      cairo_set_source_surface(cr, tmp.Surface(), bx + dx + ox * tw, by + dy + oy * th);
      cairo_paint(cr);
    }
  cairo_restore(cr);
}

void ShadedFill(cairo_t* cr, const PathFn& path, const Rgba& base, double outline, double gloss) {
  cairo_save(cr);
  cairo_new_path(cr);
  path(cr);
  double x0, y0, x1, y1;
  cairo_path_extents(cr, &x0, &y0, &x1, &y1);
  const double w = x1 - x0, h = y1 - y0, m = std::max(w, h);
  // The outline goes first at twice its width and the fill covers its inner
  // half: a shape built of several overlapping pieces shows no seams inside.
  if (outline > 0) {
    SetColor(cr, Darken(base, 0.5));
    cairo_set_line_width(cr, 2 * outline);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke_preserve(cr);
  }
  Gradient::Radial(x0 + 0.32 * w, y0 + 0.28 * h, 0, x0 + 0.45 * w, y0 + 0.45 * h, 0.8 * m,
                   {{0, Lighten(base, 0.3)}, {0.45, base}, {1, Darken(base, 0.28)}})
      .Use(cr);
  cairo_fill_preserve(cr);
  if (gloss > 0) {
    cairo_save(cr);
    cairo_clip(cr);
    const double hx = x0 + 0.33 * w, hy = y0 + 0.27 * h;
    cairo_translate(cr, hx, hy);
    cairo_scale(cr, 0.3 * w, 0.18 * h);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    Gradient::Radial(0, 0, 0, 0, 0, 1, {{0, Hex(0xFFFFFF, gloss)}, {1, Hex(0xFFFFFF, 0)}}).Use(cr);
    cairo_fill(cr);
    cairo_restore(cr);
  }
  cairo_new_path(cr);
  cairo_restore(cr);
}

void PaintWithShadow(cairo_t* cr, cairo_surface_t* layer, const Rgba& shadow, double dx, double dy, double radius) {
  const int w = cairo_image_surface_get_width(layer), h = cairo_image_surface_get_height(layer);
  const int pad = static_cast<int>(std::ceil(3 * radius)) + 2;
  Canvas blur(w + 2 * pad, h + 2 * pad);
  SetColor(blur.Cr(), shadow);
  cairo_mask_surface(blur.Cr(), layer, pad, pad);
  BlurSurface(blur.Surface(), radius);
  cairo_save(cr);
  cairo_set_source_surface(cr, blur.Surface(), dx - pad, dy - pad);
  cairo_paint(cr);
  cairo_set_source_surface(cr, layer, 0, 0);
  cairo_paint(cr);
  cairo_restore(cr);
}

void DrawWrapped(cairo_t* cr, double w, double h, const std::function<void(cairo_t*)>& draw) {
  for (int oy = -1; oy <= 1; ++oy)
    for (int ox = -1; ox <= 1; ++ox) {
      cairo_save(cr);
      cairo_translate(cr, ox * w, oy * h);
      draw(cr);
      cairo_restore(cr);
    }
}

void SetFont(cairo_t* cr, const std::string& face, double size, bool bold) {
  cairo_select_font_face(cr, face.c_str(), CAIRO_FONT_SLANT_NORMAL,
                         bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, size);
  // Unhinted outlines: the same shapes at every size, no snapping to the pixel grid.
  cairo_font_options_t* fo = cairo_font_options_create();
  cairo_font_options_set_hint_style(fo, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(fo, CAIRO_HINT_METRICS_OFF);
  cairo_set_font_options(cr, fo);
  cairo_font_options_destroy(fo);
}

namespace {
PathFn TextPath(const std::string& text, double x, double y, const TextStyle& s) {
  return [=](cairo_t* c) {
    SetFont(c, s.Face, s.Size, s.Bold);
    cairo_move_to(c, x, y);
    cairo_text_path(c, text.c_str());
  };
}
}  // namespace

Box TextInk(const std::string& text, const std::string& face, double size, bool bold) {
  Canvas c(1, 1);
  SetFont(c.Cr(), face, size, bold);
  cairo_move_to(c.Cr(), 0, 0);
  cairo_text_path(c.Cr(), text.c_str());
  double x1, y1, x2, y2;
  cairo_path_extents(c.Cr(), &x1, &y1, &x2, &y2);
  return {x1, y1, x2 - x1, y2 - y1};
}

double FitTextSize(const std::string& text, const std::string& face, double w, double h, bool bold) {
  const Box b = TextInk(text, face, 100, bold);
  return 100 * std::min(w / b.w, h / b.h);
}

void DrawText(cairo_t* cr, const std::string& text, double x, double y, const TextStyle& s) {
  const Box ink = TextInk(text, s.Face, s.Size, s.Bold);
  DrawStyledPath(cr, TextPath(text, x, y, s), y + ink.y, y + ink.y + ink.h, s);
}

void DrawStyledPath(cairo_t* cr, const PathFn& path, double top, double bottom, const TextStyle& s) {
  auto outlined = [&](cairo_t* c) {  // the letters grown by the outline, for shadow and glow
    path(c);
    cairo_set_line_width(c, 2 * s.OutlineWidth);
    cairo_set_line_join(c, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke_preserve(c);
  };
  if (s.Glow.a > 0) {
    SoftShape(cr, outlined, s.Glow, 0, 0, s.GlowRadius);
    SoftShape(cr, outlined, WithAlpha(s.Glow, s.Glow.a * 0.6), 0, 0, s.GlowRadius * 0.45);
  }
  if (s.Shadow.a > 0) SoftShape(cr, outlined, s.Shadow, s.ShadowDx, s.ShadowDy, s.ShadowBlur);

  cairo_save(cr);
  path(cr);
  SetColor(cr, s.Outline);
  cairo_set_line_width(cr, 2 * s.OutlineWidth);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke_preserve(cr);
  Gradient::Linear(0, top, 0, bottom, {{0, s.Top}, {1, s.Bottom}}).Use(cr);
  cairo_fill_preserve(cr);
  if (s.Gloss) {
    // Light from the top left: a soft band on the upper part, a faint shade below.
    cairo_clip(cr);
    Gradient::Linear(0, top, 0, bottom,
                     {{0, Hex(0xFFFFFF, 0.42)}, {0.4, Hex(0xFFFFFF, 0.1)}, {0.5, Hex(0xFFFFFF, 0)},
                      {0.85, Hex(0x000000, 0)}, {1, Hex(0x000000, 0.12)}})
        .Use(cr);
    cairo_paint(cr);
  }
  cairo_new_path(cr);
  cairo_restore(cr);
}

void DrawTextCentered(cairo_t* cr, const std::string& text, double cx, double cy, const TextStyle& s) {
  const Box ink = TextInk(text, s.Face, s.Size, s.Bold);
  DrawText(cr, text, cx - ink.x - ink.w / 2, cy - ink.y - ink.h / 2, s);
}

FrameSheet::FrameSheet(int frames, int frameW, int frameH, int columns)
    : frames_(frames),
      frameW_(frameW),
      frameH_(frameH),
      columns_(columns > 0 ? columns : frames),
      canvas_(frameW * columns_, frameH * ((frames + columns_ - 1) / columns_)) {}

void FrameSheet::Draw(int index, const std::function<void(cairo_t*)>& draw) {
  cairo_t* cr = cairo_create(canvas_.Surface());
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_BEST);
  cairo_translate(cr, (index % columns_) * frameW_, (index / columns_) * frameH_);
  cairo_rectangle(cr, 0, 0, frameW_, frameH_);
  cairo_clip(cr);
  draw(cr);
  cairo_destroy(cr);
}

}  // namespace pondaro::assetgen
