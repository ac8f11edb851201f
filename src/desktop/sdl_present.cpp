#include "desktop/sdl_present.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace pondaro {

namespace {

constexpr int kCanvasW = 800, kCanvasH = 600;

// The window's pixels hold the canvas's 32-bit words as they are (X11 at depth 24).
bool SameWords(const SDL_Surface* s) {
  return s->format->BytesPerPixel == 4 && s->format->Rmask == 0x00FF0000 && s->format->Gmask == 0x0000FF00 &&
         s->format->Bmask == 0x000000FF;
}

uint32_t* Row(SDL_Surface* s, int y) {
  return reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(s->pixels) + static_cast<ptrdiff_t>(y) * s->pitch);
}

}  // namespace

SdlPresenter::SdlPresenter(SDL_Window* window) : window_(window) {
  Layout(kCanvasW, kCanvasH);
  SDL_AddEventWatch(Watch, this);
}

SdlPresenter::~SdlPresenter() { SDL_DelEventWatch(Watch, this); }

// Runs as each event is queued, before the game sees it.
int SdlPresenter::Watch(void* self, SDL_Event* e) {
  auto* p = static_cast<SdlPresenter*>(self);
  const Uint32 id = SDL_GetWindowID(p->window_);
  if (e->type == SDL_MOUSEMOTION && e->motion.windowID == id) {
    p->ToCanvas(e->motion.x, e->motion.y);
  } else if ((e->type == SDL_MOUSEBUTTONDOWN || e->type == SDL_MOUSEBUTTONUP) && e->button.windowID == id) {
    p->ToCanvas(e->button.x, e->button.y);
  }
  return 1;
}

void SdlPresenter::ToCanvas(int& x, int& y) const {
  x = static_cast<int>(std::floor((x - left_) * static_cast<double>(kCanvasW) / pictureW_));
  y = static_cast<int>(std::floor((y - top_) * static_cast<double>(kCanvasH) / pictureH_));
}

// The canvas as large as the window allows without changing its shape, centred:
// black bars at the sides (or above and below) of a screen of another shape.
void SdlPresenter::Layout(int w, int h) {
  surfaceW_ = w;
  surfaceH_ = h;
  const double scale = std::min(static_cast<double>(w) / kCanvasW, static_cast<double>(h) / kCanvasH);
  pictureW_ = std::max(1, static_cast<int>(std::floor(kCanvasW * scale)));
  pictureH_ = std::max(1, static_cast<int>(std::floor(kCanvasH * scale)));
  left_ = (w - pictureW_) / 2;
  top_ = (h - pictureH_) / 2;
  auto maps = [](int canvas, int picture, std::vector<int>& src, std::vector<int>& first) {
    src.resize(static_cast<size_t>(picture));
    for (int d = 0; d < picture; ++d) src[static_cast<size_t>(d)] = static_cast<int>(int64_t{d} * canvas / picture);
    first.resize(static_cast<size_t>(canvas) + 1);
    for (int s = 0; s <= canvas; ++s)
      first[static_cast<size_t>(s)] = static_cast<int>((int64_t{s} * picture + canvas - 1) / canvas);
  };
  maps(kCanvasW, pictureW_, srcX_, firstX_);
  maps(kCanvasH, pictureH_, srcY_, firstY_);
}

SDL_Rect SdlPresenter::Copy(SDL_Surface* canvas, SDL_Surface* surface, const SDL_Rect& a) const {
  const int x0 = firstX_[static_cast<size_t>(a.x)], x1 = firstX_[static_cast<size_t>(a.x + a.w)];
  const int y0 = firstY_[static_cast<size_t>(a.y)], y1 = firstY_[static_cast<size_t>(a.y + a.h)];
  const bool plain = pictureW_ == kCanvasW;
  for (int y = y0; y < y1; ++y) {
    uint32_t* out = Row(surface, top_ + y) + left_;
    const int sy = srcY_[static_cast<size_t>(y)];
    if (y > y0 && srcY_[static_cast<size_t>(y - 1)] == sy) {  // a row drawn twice when scaling up
      std::memcpy(out + x0, Row(surface, top_ + y - 1) + left_ + x0, sizeof(uint32_t) * static_cast<size_t>(x1 - x0));
      continue;
    }
    const uint32_t* in = Row(canvas, sy);
    if (plain) {
      std::memcpy(out + x0, in + x0, sizeof(uint32_t) * static_cast<size_t>(x1 - x0));
    } else {
      for (int x = x0; x < x1; ++x) out[x] = in[srcX_[static_cast<size_t>(x)]];
    }
  }
  return SDL_Rect{left_ + x0, top_ + y0, x1 - x0, y1 - y0};
}

bool SdlPresenter::Show(SDL_Surface* canvas, const std::vector<SDL_Rect>& areas) {
  SDL_Surface* surface = SDL_GetWindowSurface(window_);
  if (!surface) return false;
  if (surface != surface_ || surface->w != surfaceW_ || surface->h != surfaceH_) {
    surface_ = surface;
    Layout(surface->w, surface->h);
    all_ = true;
  }
  if (!SameWords(surface)) {
    // Another pixel layout (a 16-bit screen): SDL converts, the whole picture at once.
    SDL_Rect picture{left_, top_, pictureW_, pictureH_};
    if (all_) SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
    all_ = false;
    const bool shown = SDL_BlitScaled(canvas, nullptr, surface, &picture) == 0 && SDL_UpdateWindowSurface(window_) == 0;
    pixelsSent_ += int64_t{surface->w} * surface->h;
    return shown;
  }
  if (SDL_MUSTLOCK(surface)) SDL_LockSurface(surface);
  sent_.clear();
  if (all_ || areas.empty()) {
    if (all_) SDL_FillRect(surface, nullptr, 0);  // the bars
    const SDL_Rect picture = Copy(canvas, surface, SDL_Rect{0, 0, kCanvasW, kCanvasH});
    sent_.push_back(all_ ? SDL_Rect{0, 0, surface->w, surface->h} : picture);
  } else {
    for (const SDL_Rect& a : areas) {
      SDL_Rect on;
      const SDL_Rect canvasRect{0, 0, kCanvasW, kCanvasH};
      if (!SDL_IntersectRect(&a, &canvasRect, &on)) continue;
      const SDL_Rect r = Copy(canvas, surface, on);
      if (r.w > 0 && r.h > 0) sent_.push_back(r);
    }
  }
  if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
  all_ = false;
  for (const SDL_Rect& r : sent_) pixelsSent_ += int64_t{r.w} * r.h;
  if (sent_.empty()) return true;
  return SDL_UpdateWindowSurfaceRects(window_, sent_.data(), static_cast<int>(sent_.size())) == 0;
}

}  // namespace pondaro
