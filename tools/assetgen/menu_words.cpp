#include "menu_words.h"

#include <algorithm>
#include <cmath>

namespace pondaro::assetgen {

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out(1);
  for (char c : text) {
    if (c == '\n') out.emplace_back();
    else out.back() += c;
  }
  return out;
}

// Centre height of line i of n.
double LineCy(const Label& label, int i, int n) { return label.Cy + (i - (n - 1) / 2.0) * label.Size * 0.82; }

Box Grow(const Box& b, double left, double top, double right, double bottom) {
  return {b.x - left, b.y - top, b.w + left + right, b.h + top + bottom};
}

// Blur reaches about three times its radius.
constexpr double kReach = 3;

// The warm light behind a highlighted word.
Gradient HaloFill(const Box& ink) {
  return Gradient::Linear(0, ink.y, 0, ink.y + ink.h,
                          {{0, Hex(0xFFFDE4)}, {0.55, Hex(0xFFEFA0)}, {1, Hex(0xFFD860)}});
}

}  // namespace

Box Union(const Box& a, const Box& b) {
  const double x0 = std::min(a.x, b.x), y0 = std::min(a.y, b.y);
  const double x1 = std::max(a.x + a.w, b.x + b.w), y1 = std::max(a.y + a.h, b.y + b.h);
  return {x0, y0, x1 - x0, y1 - y0};
}

TextStyle MenuStyle(double size) {
  TextStyle s;
  s.Size = size;
  s.Top = Hex(0xFFEA5E);
  s.Bottom = Hex(0xFF8A16);
  s.Outline = Hex(0x4A1C06);
  s.OutlineWidth = std::max(1.6, size * 0.085);
  s.Shadow = Hex(0x022A30, 0.5);
  s.ShadowDx = size * 0.05;
  s.ShadowDy = size * 0.08;
  s.ShadowBlur = std::max(1.5, size * 0.055);
  return s;
}

TextStyle LitStyle(double size) {
  TextStyle s = MenuStyle(size);
  s.Top = Hex(0xFFFFF2);
  s.Bottom = Hex(0xFFC21C);
  s.Outline = Hex(0x7A3208);
  s.Shadow = Hex(0xB85C00, 0.35);
  s.ShadowDx = size * 0.03;
  s.ShadowDy = size * 0.05;
  return s;
}

Label Scaled(const Label& label, double scale) {
  Label l = label;
  l.Size *= scale;
  return l;
}

PathFn WordPath(const std::string& line, double x, double y, const Label& look) {
  return [=](cairo_t* c) {
    cairo_save(c);
    cairo_translate(c, x, y);
    cairo_scale(c, look.Stretch, 1);
    SetFont(c, "Leckerli One", look.Size);
    cairo_move_to(c, 0, 0);
    // Letter by letter, each UTF-8 sequence whole, the spacing added after each.
    for (size_t i = 0; i < line.size();) {
      size_t n = 1;
      while (i + n < line.size() && (static_cast<unsigned char>(line[i + n]) & 0xC0) == 0x80) ++n;
      cairo_text_path(c, line.substr(i, n).c_str());
      cairo_rel_move_to(c, look.Tracking * look.Size / look.Stretch, 0);
      i += n;
    }
    cairo_restore(c);
  };
}

Box PathInk(const PathFn& path) {
  Canvas probe(1, 1);
  path(probe.Cr());
  double x1, y1, x2, y2;
  cairo_path_extents(probe.Cr(), &x1, &y1, &x2, &y2);
  return {x1, y1, x2 - x1, y2 - y1};
}

namespace {

// Each line's baseline origin, so that its ink is centred on its place.
template <class F>
void ForEachLine(const Label& label, F&& f) {
  const auto lines = Lines(label.Text);
  const int n = static_cast<int>(lines.size());
  for (int i = 0; i < n; ++i) {
    const Box ink = PathInk(WordPath(lines[i], 0, 0, label));
    const double cy = LineCy(label, i, n);
    f(lines[i], label.Cx - ink.x - ink.w / 2, cy - ink.y - ink.h / 2,
      Box{label.Cx - ink.w / 2, cy - ink.h / 2, ink.w, ink.h});
  }
}

}  // namespace

Box LabelInk(const Label& label) {
  Box all{};
  bool first = true;
  ForEachLine(label, [&](const std::string&, double, double, const Box& ink) {
    all = first ? ink : Union(all, ink);
    first = false;
  });
  return all;
}

Box LabelExtent(const Label& label, const TextStyle& s) {
  const Box ink = LabelInk(label);
  const double o = s.OutlineWidth;
  Box e = Grow(ink, o, o, o, o);
  if (s.Shadow.a > 0) {
    const double r = o + kReach * s.ShadowBlur;
    e = Union(e, Grow(ink, r - s.ShadowDx, r - s.ShadowDy, r + s.ShadowDx, r + s.ShadowDy));
  }
  if (s.Glow.a > 0) {
    const double r = o + kReach * s.GlowRadius;
    e = Union(e, Grow(ink, r, r, r, r));
  }
  return e;
}

void DrawLabel(cairo_t* cr, const Label& label, const TextStyle& style) {
  ForEachLine(label, [&](const std::string& line, double x, double y, const Box& ink) {
    DrawStyledPath(cr, WordPath(line, x, y, label), ink.y, ink.y + ink.h, style);
  });
}

PathFn LabelPath(const Label& label) {
  return [label](cairo_t* c) {
    ForEachLine(label, [&](const std::string& line, double x, double y, const Box&) { WordPath(line, x, y, label)(c); });
  };
}

void Halo(cairo_t* cr, const PathFn& path, double grow, double blur, const Gradient& fill) {
  cairo_surface_t* target = cairo_get_target(cr);
  Canvas mask(cairo_image_surface_get_width(target), cairo_image_surface_get_height(target));
  cairo_matrix_t m;
  cairo_get_matrix(cr, &m);
  cairo_set_matrix(mask.Cr(), &m);
  path(mask.Cr());
  cairo_set_source_rgba(mask.Cr(), 1, 1, 1, 1);
  cairo_set_line_width(mask.Cr(), 2 * grow);
  cairo_set_line_join(mask.Cr(), CAIRO_LINE_JOIN_ROUND);
  cairo_stroke_preserve(mask.Cr());
  cairo_fill(mask.Cr());
  BlurSurface(mask.Surface(), blur);
  cairo_save(cr);
  fill.Use(cr);
  cairo_identity_matrix(cr);
  cairo_mask_surface(cr, mask.Surface(), 0, 0);
  cairo_restore(cr);
}

namespace {

// How far the highlight's glow reaches beyond the outline of its words.
struct Glow {
  double grow, blur, outer;
};
Glow GlowFor(const TextStyle& s) { return {s.OutlineWidth + 5, 1.6, std::max(3.0, s.Size * 0.16)}; }

}  // namespace

Box LitExtent(const Label& normal, double scale) {
  const Label lit = Scaled(normal, scale);
  const TextStyle ls = LitStyle(lit.Size);
  const Glow g = GlowFor(ls);
  const double r = g.grow + 2 + kReach * g.outer * 0.5;
  Box e = Grow(LabelInk(lit), r, r, r, r);
  e = Union(e, LabelExtent(lit, ls));
  const TextStyle ns = MenuStyle(normal.Size);
  const double h = ns.OutlineWidth + 4 + kReach * g.blur;
  return Union(e, Grow(LabelInk(normal), h, h, h + ns.ShadowDx, h + ns.ShadowDy));
}

void DrawLitLabel(cairo_t* cr, const Label& normal, double scale) {
  const Label lit = Scaled(normal, scale);
  const TextStyle ls = LitStyle(lit.Size), ns = MenuStyle(normal.Size);
  const Glow g = GlowFor(ls);
  const PathFn litPath = LabelPath(lit);
  // A wide, faint glow first; then the warm light that covers the normal words, so
  // that nothing of them shows between the larger letters (their shadow, at most
  // half opaque, may: it reads as the lit words' own).
  SoftShape(
      cr,
      [&](cairo_t* c) {
        litPath(c);
        cairo_set_line_width(c, 2 * (g.grow + 2));
        cairo_set_line_join(c, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke_preserve(c);
      },
      Hex(0xFFD24A, 0.55), 0, 0, g.outer * 0.5);
  const PathFn normalPath = LabelPath(normal);
  Halo(
      cr,
      [&](cairo_t* c) {
        normalPath(c);
        litPath(c);
      },
      g.grow, g.blur, HaloFill(LabelInk(lit)));
  DrawLabel(cr, lit, ls);
}

double CommonSize(const std::vector<std::pair<Label, std::pair<double, double>>>& labelsAndBoxes) {
  double size = 1e9;
  for (const auto& [label, box] : labelsAndBoxes) {
    // Ink grows with the size; the outline around it too, a little less.
    Label l = label;
    l.Size = 100;
    const Box ink = LabelInk(l);
    double s = 100 * std::min(box.first / ink.w, box.second / ink.h);
    for (int i = 0; i < 4; ++i) {
      const double o = MenuStyle(s).OutlineWidth;
      s = 100 * std::min((box.first - 2 * o) / ink.w, (box.second - 2 * o) / ink.h);
    }
    size = std::min(size, s);
  }
  return size;
}

namespace {

// The words centred on the hot rectangle, pushed right or down where they would
// begin before the picture does.
Label Placed(const ButtonArt& b) {
  Label l = b.Words;
  const double o = MenuStyle(l.Size).OutlineWidth;
  const Box ink = LabelInk(l);
  l.Cx += std::max(0.0, b.NormalX + o + 1 - ink.x);
  l.Cy += std::max(0.0, b.NormalY + o + 1 - ink.y);
  return l;
}

}  // namespace

std::vector<uint8_t> NormalPicture(const ButtonArt& b, Box* box) {
  const Label words = Placed(b);
  const TextStyle s = MenuStyle(words.Size);
  const Box e = LabelExtent(words, s);
  const double right = std::max(e.x + e.w, b.Hot.r + 1), bottom = std::max(e.y + e.h, b.Hot.b + 1);
  ScreenCanvas c(b.NormalX, b.NormalY, static_cast<int>(std::ceil(right - b.NormalX)),
                 static_cast<int>(std::ceil(bottom - b.NormalY)));
  DrawLabel(c.Cr(), words, s);
  if (box) *box = {c.X(), c.Y(), static_cast<double>(c.Width()), static_cast<double>(c.Height())};
  return c.Png();
}

std::vector<uint8_t> LitPicture(const ButtonArt& b, const Box& normalBox) {
  // As large as the room above and left of the words allows, up to a tenth larger.
  const Label words = Placed(b);
  const Box ink = LabelInk(words);
  const double o = MenuStyle(words.Size).OutlineWidth;
  const double margin = 6 + words.Size * 0.22;
  double scale = (words.Cx - b.LitX - margin) / (ink.w / 2 + o);
  if (b.LitY >= 0) scale = std::min(scale, (words.Cy - b.LitY - margin) / (ink.h / 2 + o));
  scale = std::clamp(scale, 1.0, 1.1);
  const Box e = LitExtent(words, scale);
  const double top = b.LitY >= 0 ? b.LitY : std::floor(std::min(normalBox.y, e.y));
  const double right = std::max({e.x + e.w, normalBox.x + normalBox.w, b.Hot.r + 1});
  const double bottom = b.LitY >= 0 ? std::max({e.y + e.h, normalBox.y + normalBox.h, b.Hot.b + 1}) : kScreenHeight;
  ScreenCanvas c(b.LitX, top, static_cast<int>(std::ceil(right - b.LitX)), static_cast<int>(std::ceil(bottom - top)));
  DrawLitLabel(c.Cr(), words, scale);
  return c.Png();
}

void AddButton(Assets& assets, const ButtonArt& b) {
  Box box;
  assets.Picture(b.NormalName, NormalPicture(b, &box));
  assets.Picture(b.LitName, LitPicture(b, box));
}

std::vector<uint8_t> TitlePicture(const std::string& text, double x, double y, double cx, double top, double w,
                                  double h, double stretch) {
  Label title{text, cx, 0, 0, stretch, 0.04};
  title.Size = CommonSize({{title, {w, h}}});
  const TextStyle s = MenuStyle(title.Size);
  title.Cy = y + top + s.OutlineWidth + LabelInk(title).h / 2;
  const Box e = LabelExtent(title, s);
  ScreenCanvas c(x, y, static_cast<int>(std::ceil(e.x + e.w - x)), static_cast<int>(std::ceil(e.y + e.h - y)));
  DrawLabel(c.Cr(), title, s);
  return c.Png();
}

}  // namespace pondaro::assetgen
