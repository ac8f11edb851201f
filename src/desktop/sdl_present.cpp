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

SDL_Rect SdlPresenter::OnScreen(const SDL_Rect& a) const {
  const int x0 = firstX_[static_cast<size_t>(a.x)], x1 = firstX_[static_cast<size_t>(a.x + a.w)];
  const int y0 = firstY_[static_cast<size_t>(a.y)], y1 = firstY_[static_cast<size_t>(a.y + a.h)];
  return SDL_Rect{left_ + x0, top_ + y0, x1 - x0, y1 - y0};
}

void SdlPresenter::ScaledRow(const SDL_Surface* canvas, int y, int x0, int x1, uint32_t* out) const {
  const uint32_t* in = Row(const_cast<SDL_Surface*>(canvas), srcY_[static_cast<size_t>(y)]);
  if (pictureW_ == kCanvasW) {
    std::memcpy(out, in + x0, sizeof(uint32_t) * static_cast<size_t>(x1 - x0));
    return;
  }
  for (int x = x0; x < x1; ++x) *out++ = in[srcX_[static_cast<size_t>(x)]];
}

std::vector<SDL_Rect> SdlPresenter::Parts(const std::vector<SDL_Rect>& areas) const {
  const SDL_Rect whole{0, 0, kCanvasW, kCanvasH};
  if (all_ || areas.empty()) return {whole};
  std::vector<SDL_Rect> parts;
  for (const SDL_Rect& a : areas) {
    SDL_Rect on;
    if (SDL_IntersectRect(&a, &whole, &on)) parts.push_back(on);
  }
  return parts;
}

bool SdlPresenter::Show(SDL_Surface* canvas, const std::vector<SDL_Rect>& areas) {
  int w = 0, h = 0;
  SDL_GetWindowSize(window_, &w, &h);
  if (w <= 0 || h <= 0) return false;
  if (w != surfaceW_ || h != surfaceH_) {
    Layout(w, h);
    all_ = true;
  }
  if (!triedStrips_ || (strips_ && strips_->Width() < pictureW_)) {
    triedStrips_ = true;
    strips_.reset();  // its segment goes before a wider one is made
    strips_ = X11Strips::Open(window_, pictureW_);
  }
  return strips_ ? ShowInStrips(canvas, areas, w, h) : ShowOnSurface(canvas, areas);
}

bool SdlPresenter::ShowInStrips(SDL_Surface* canvas, const std::vector<SDL_Rect>& areas, int w, int h) {
  sent_.clear();
  if (all_) {  // the bars
    strips_->Black(0, 0, w, top_);
    strips_->Black(0, top_ + pictureH_, w, h - top_ - pictureH_);
    strips_->Black(0, top_, left_, pictureH_);
    strips_->Black(left_ + pictureW_, top_, w - left_ - pictureW_, pictureH_);
  }
  if (SDL_MUSTLOCK(canvas)) SDL_LockSurface(canvas);
  for (const SDL_Rect& part : Parts(areas)) {
    const SDL_Rect r = OnScreen(part);
    if (r.w <= 0 || r.h <= 0) continue;
    strips_->Put(r.x, r.y, r.x + r.w, r.y + r.h,
                 [&](int y, uint32_t* out) { ScaledRow(canvas, y - top_, r.x - left_, r.x + r.w - left_, out); });
    sent_.push_back(r);
  }
  if (SDL_MUSTLOCK(canvas)) SDL_UnlockSurface(canvas);
  if (all_) sent_ = {SDL_Rect{0, 0, w, h}};
  all_ = false;
  for (const SDL_Rect& r : sent_) pixelsSent_ += int64_t{r.w} * r.h;
  return true;
}

bool SdlPresenter::ShowOnSurface(SDL_Surface* canvas, const std::vector<SDL_Rect>& areas) {
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
  if (all_) SDL_FillRect(surface, nullptr, 0);  // the bars
  sent_.clear();
  for (const SDL_Rect& part : Parts(areas)) {
    const SDL_Rect r = OnScreen(part);
    for (int y = r.y; y < r.y + r.h; ++y) ScaledRow(canvas, y - top_, r.x - left_, r.x + r.w - left_, Row(surface, y) + r.x);
    if (r.w > 0 && r.h > 0) sent_.push_back(r);
  }
  if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
  if (all_) sent_ = {SDL_Rect{0, 0, surface->w, surface->h}};
  all_ = false;
  for (const SDL_Rect& r : sent_) pixelsSent_ += int64_t{r.w} * r.h;
  if (sent_.empty()) return true;
  return SDL_UpdateWindowSurfaceRects(window_, sent_.data(), static_cast<int>(sent_.size())) == 0;
}

}  // namespace pondaro
