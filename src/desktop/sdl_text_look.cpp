#include "desktop/sdl_text_look.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace pondaro {

namespace {

// Straight (not premultiplied) ARGB8888, as SDL_ttf's blended renderings are.
struct Argb {
  float a, r, g, b;
};

Argb Get(const SDL_Surface* s, int x, int y) {
  const uint32_t p = static_cast<const uint32_t*>(s->pixels)[y * (s->pitch / 4) + x];
  return {((p >> 24) & 0xFF) / 255.0f, ((p >> 16) & 0xFF) / 255.0f, ((p >> 8) & 0xFF) / 255.0f,
          (p & 0xFF) / 255.0f};
}

uint32_t Pack(const Argb& c) {
  auto byte = [](float v) { return static_cast<uint32_t>(std::clamp(std::lround(v * 255.0f), 0L, 255L)); };
  return byte(c.a) << 24 | byte(c.r) << 16 | byte(c.g) << 8 | byte(c.b);
}

// A canvas of straight-alpha pixels that pictures are laid over one by one.
class Layers {
 public:
  Layers(int w, int h) : w_(w), h_(h), px_(static_cast<size_t>(w) * h, Argb{0, 0, 0, 0}) {}
  // `s` over the canvas with its top-left at (x, y): each pixel's alpha scaled by
  // `alpha` and, unless `keepColour`, its colour replaced by `tint`.
  void Over(const SDL_Surface* s, int x, int y, float alpha, bool keepColour, Color tint = {}) {
    for (int sy = 0; sy < s->h; ++sy)
      for (int sx = 0; sx < s->w; ++sx) {
        Argb c = Get(s, sx, sy);
        if (!keepColour) c = {c.a, tint.r / 255.0f, tint.g / 255.0f, tint.b / 255.0f};
        Blend(x + sx, y + sy, c, alpha);
      }
  }
  void Blend(int x, int y, Argb c, float alpha) {
    if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
    const float sa = c.a * alpha;
    if (sa <= 0) return;
    Argb& d = px_[static_cast<size_t>(y) * w_ + x];
    const float oa = sa + d.a * (1 - sa);
    auto mix = [&](float s, float dc) { return (s * sa + dc * d.a * (1 - sa)) / oa; };
    d = {oa, mix(c.r, d.r), mix(c.g, d.g), mix(c.b, d.b)};
  }
  SDL_Surface* Surface() const {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w_, h_, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!s) return nullptr;
    for (int y = 0; y < h_; ++y)
      for (int x = 0; x < w_; ++x)
        static_cast<uint32_t*>(s->pixels)[y * (s->pitch / 4) + x] = Pack(px_[static_cast<size_t>(y) * w_ + x]);
    return s;
  }

 private:
  int w_, h_;
  std::vector<Argb> px_;
};

// The alpha of `s` blurred by three box passes of half-width `radius`, in a
// plane grown by `pad` on every side.
std::vector<float> BlurredAlpha(const SDL_Surface* s, int pad, int radius) {
  const int w = s->w + 2 * pad, h = s->h + 2 * pad;
  std::vector<float> a(static_cast<size_t>(w) * h, 0), tmp;
  for (int y = 0; y < s->h; ++y)
    for (int x = 0; x < s->w; ++x) a[static_cast<size_t>(y + pad) * w + x + pad] = Get(s, x, y).a;
  if (radius <= 0) return a;
  auto pass = [&](int n, int step, size_t start) {
    tmp.assign(n, 0);
    for (int i = 0; i < n; ++i) tmp[i] = a[start + static_cast<size_t>(i) * step];
    float sum = 0;
    for (int i = -radius; i <= radius; ++i) sum += (i >= 0 && i < n) ? tmp[i] : 0;
    for (int i = 0; i < n; ++i) {
      a[start + static_cast<size_t>(i) * step] = sum / (2 * radius + 1);
      const int in = i + radius + 1, out = i - radius;
      sum += (in < n ? tmp[in] : 0) - (out >= 0 ? tmp[out] : 0);
    }
  };
  for (int k = 0; k < 3; ++k) {
    for (int y = 0; y < h; ++y) pass(w, 1, static_cast<size_t>(y) * w);
    for (int x = 0; x < w; ++x) pass(h, w, x);
  }
  return a;
}

}  // namespace

void PaintGradient(SDL_Surface* letters, Color top, Color bottom) {
  int first = letters->h, last = -1;
  for (int y = 0; y < letters->h; ++y)
    for (int x = 0; x < letters->w; ++x)
      if (Get(letters, x, y).a > 0) {
        first = std::min(first, y), last = std::max(last, y);
        break;
      }
  for (int y = 0; y < letters->h; ++y) {
    const float t = last > first ? std::clamp(static_cast<float>(y - first) / (last - first), 0.0f, 1.0f) : 0;
    const Argb c{(top.a + (bottom.a - top.a) * t) / 255.0f, (top.r + (bottom.r - top.r) * t) / 255.0f,
                 (top.g + (bottom.g - top.g) * t) / 255.0f, (top.b + (bottom.b - top.b) * t) / 255.0f};
    for (int x = 0; x < letters->w; ++x) {
      uint32_t& p = static_cast<uint32_t*>(letters->pixels)[y * (letters->pitch / 4) + x];
      p = Pack({Get(letters, x, y).a * c.a, c.r, c.g, c.b});
    }
  }
}

SDL_Surface* ComposeStyled(const SDL_Surface* letters, const SDL_Surface* ring, const TextLook& look, int& originX,
                           int& originY) {
  // The ring is rendered `OutlinePx` larger on every side than the letters.
  const int o = ring ? look.OutlinePx : 0;
  const SDL_Surface* silhouette = ring ? ring : letters;
  const bool shadow = look.Shadow.a > 0;
  const int blur = shadow ? look.ShadowBlur : 0, pad = 3 * blur;
  const int dx = shadow ? look.ShadowDx : 0, dy = shadow ? look.ShadowDy : 0;
  const int left = std::max(0, pad - dx), top = std::max(0, pad - dy);
  const int w = left + silhouette->w + std::max(0, pad + dx), h = top + silhouette->h + std::max(0, pad + dy);
  Layers canvas(w, h);
  if (shadow) {
    const std::vector<float> a = BlurredAlpha(silhouette, pad, blur);
    const int sw = silhouette->w + 2 * pad, sh = silhouette->h + 2 * pad;
    const Argb c{1, look.Shadow.r / 255.0f, look.Shadow.g / 255.0f, look.Shadow.b / 255.0f};
    for (int y = 0; y < sh; ++y)
      for (int x = 0; x < sw; ++x)
        canvas.Blend(left - pad + dx + x, top - pad + dy + y, {a[static_cast<size_t>(y) * sw + x], c.r, c.g, c.b},
                     look.Shadow.a / 255.0f);
  }
  if (ring) canvas.Over(ring, left, top, look.Outline.a / 255.0f, false, look.Outline);
  canvas.Over(letters, left + o, top + o, 1, true);
  originX = left + o;
  originY = top + o;
  return canvas.Surface();
}

}  // namespace pondaro
