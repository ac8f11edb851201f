#include "desktop/sdl_display.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "app/diagnostics.h"

namespace pondaro {

namespace {

constexpr uint32_t kTextureFormat = SDL_PIXELFORMAT_ARGB8888;

// The GL_RENDERER string of the context SDL's OpenGL renderer made current.
std::string CurrentGlRenderer() {
  if (!SDL_GL_GetCurrentContext()) return {};
  using GetString = const unsigned char* (*)(unsigned int);
  auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
  if (!getString) return {};
  const unsigned char* name = getString(0x1F01);  // GL_RENDERER, same value in GL and GLES
  return name ? reinterpret_cast<const char*>(name) : "";
}

// A GPU shows up as a DRM node or an NVIDIA device. Without one, OpenGL can only
// be a CPU rasteriser, and asking it costs 40 to 120 ms of start-up just to load
// Mesa and LLVM.
bool MachineHasGpuDevice() {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (fs::exists("/dev/nvidiactl", ec)) return true;
  for (const auto& entry : fs::directory_iterator("/dev/dri", ec)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("card", 0) == 0 || name.rfind("renderD", 0) == 0) return true;
  }
  return false;
}

SDL_Surface* SurfaceOf(const Pixels& p) {
  return SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint8_t*>(p.Rgba.data()), p.Width, p.Height, 32,
                                            p.Width * 4, SDL_PIXELFORMAT_RGBA32);
}

bool Valid(const Pixels& p) {
  return p.Width > 0 && p.Height > 0 && p.Rgba.size() >= static_cast<size_t>(p.Width) * p.Height * 4;
}

}  // namespace

bool FullRedrawAsked() {
  const char* v = std::getenv("PONDARO_FULL_REDRAW");
  return v && *v && std::string(v) != "0";
}

bool IsSoftwareRasteriser(const std::string& glRenderer) {
  std::string lower(glRenderer);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  for (const char* cpu : {"llvmpipe", "softpipe", "swrast", "software", "lavapipe"})
    if (lower.find(cpu) != std::string::npos) return true;
  return false;
}

std::unique_ptr<SdlDisplay> SdlDisplay::OpenWindow(std::string& error, const Options& options) {
  std::unique_ptr<SdlDisplay> d(new SdlDisplay());
  // Resizable only so that the window manager offers maximise (the game turns
  // that into full screen); KeepWindowSize undoes any other resize. Created
  // hidden so that a renderer swap below never shows an empty frame.
  d->window_ = SDL_CreateWindow("PONDARO", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kWidth, kHeight,
                                SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
  if (!d->window_) {
    error = std::string("Cannot create the window: ") + SDL_GetError();
    return nullptr;
  }
  SDL_SetWindowMinimumSize(d->window_, kWidth, kHeight);
  if (!d->InitRenderer(options, error)) return nullptr;
  if (!d->canvas_) SDL_RenderSetLogicalSize(d->renderer_, kWidth, kHeight);  // letterboxed full screen
  d->cursors_[0] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
  d->cursors_[1] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_HAND);
  d->cursors_[2] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_IBEAM);
  if (d->cursors_[0]) SDL_SetCursor(d->cursors_[0]);
  SDL_ShowWindow(d->window_);
  SDL_GetWindowPosition(d->window_, &d->placeX_, &d->placeY_);
  return d;
}

std::unique_ptr<SdlDisplay> SdlDisplay::OpenOffscreen(std::string& error, const Options& options) {
  std::unique_ptr<SdlDisplay> d(new SdlDisplay());
  if (!d->InitRenderer(options, error)) return nullptr;
  return d;
}

// SDL prefers OpenGL even when GL is a CPU rasteriser (llvmpipe under Xvfb or
// without a GPU driver), and that costs about twice the frame time of SDL's own
// software renderer. SDL_GetRendererInfo cannot tell the two apart (both say
// "accelerated"), so: no GPU device on the machine, no OpenGL at all; otherwise
// the GL context itself is asked for GL_RENDERER and a CPU rasteriser there
// (Xvfb on a machine with a GPU, a missing driver) means the software renderer.
bool SdlDisplay::InitRenderer(const Options& options, std::string& error) {
  fullRedraw_ = options.fullRedraw;
  if (window_) {
    const char* forced = SDL_GetHint(SDL_HINT_RENDER_DRIVER);
    if (forced && *forced) {  // the user's choice wins (comparisons, benchmarks)
      renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_PRESENTVSYNC);
    } else if (options.allowAccelerated && MachineHasGpuDevice()) {
      renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
      SDL_RendererInfo info;
      if (renderer_ && SDL_GetRendererInfo(renderer_, &info) == 0 &&
          std::string(info.name).rfind("opengl", 0) == 0) {
        glRenderer_ = CurrentGlRenderer();
        if (IsSoftwareRasteriser(glRenderer_)) {
          SDL_DestroyRenderer(renderer_);
          renderer_ = nullptr;
        }
      }
    }
    if (!renderer_) {
      // Without this the window's surface on X11 goes through an OpenGL texture,
      // which idles at ten times the CPU of a plain X framebuffer.
      SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
      presenter_ = std::make_unique<SdlPresenter>(window_);
    }
  }
  if (!renderer_) {
    // ARGB8888 like the textures, so SDL's blitters take their fast paths.
    canvas_ = SDL_CreateRGBSurfaceWithFormat(0, kWidth, kHeight, 32, kTextureFormat);
    if (!canvas_) {
      error = std::string("Cannot create the drawing surface: ") + SDL_GetError();
      return false;
    }
    renderer_ = SDL_CreateSoftwareRenderer(canvas_);
  }
  if (!renderer_) {
    error = std::string("Cannot create the renderer: ") + SDL_GetError();
    return false;
  }
  SDL_RendererInfo info;
  if (SDL_GetRendererInfo(renderer_, &info) == 0) rendererName_ = info.name;
  SDL_SetRenderDrawBlendMode(renderer_, SDL_BLENDMODE_NONE);  // Fill replaces
  auto face = FindGameFace(options.fontFamilies);
  if (!face) Diagnose("no font found for the game's texts; they will not be shown");
  text_ = std::make_unique<SdlText>(renderer_, std::move(face));
  text_->SetBodyFace(FindBodyFace());
  return true;
}

SdlDisplay::~SdlDisplay() {
  text_.reset();
  presenter_.reset();
  for (auto& s : slots_)
    if (s.texture) SDL_DestroyTexture(s.texture);
  if (renderer_) SDL_DestroyRenderer(renderer_);
  for (SDL_Cursor* c : cursors_)
    if (c) SDL_FreeCursor(c);
  if (cursor_ == CursorShape::None && window_) SDL_ShowCursor(SDL_ENABLE);
  if (window_) SDL_DestroyWindow(window_);
  if (canvas_) SDL_FreeSurface(canvas_);
}

bool SdlDisplay::CanDraw() const {
  if (!renderer_) return false;
  return !window_ || (SDL_GetWindowFlags(window_) & SDL_WINDOW_MINIMIZED) == 0;
}

int SdlDisplay::WindowWidth() const {
  if (!window_) return kWidth;
  if (presenter_) return presenter_->PictureWidth();
  float sx = 1, sy = 1;
  SDL_RenderGetScale(renderer_, &sx, &sy);
  return static_cast<int>(std::lround(kWidth * sx));
}

TextureId SdlDisplay::CreateTexture(const Pixels& pixels, bool opaque) {
  if (!renderer_ || !Valid(pixels)) return 0;
  const int w = pixels.Width, h = pixels.Height;
  SDL_Texture* texture = SDL_CreateTexture(renderer_, kTextureFormat, SDL_TEXTUREACCESS_STATIC, w, h);
  if (!texture) {
    Diagnose("cannot create a " + std::to_string(w) + "x" + std::to_string(h) + " texture: " + SDL_GetError());
    return 0;
  }
  // Converted a band of rows at a time: a whole picture's copy would double the
  // memory a large one takes while it is uploaded.
  constexpr int kBandBytes = 64 * 1024;
  const int band = std::max(1, kBandBytes / (w * 4));
  scratch_.resize(static_cast<size_t>(std::min(band, h)) * w * 4);
  for (int y = 0; y < h; y += band) {
    const int rows = std::min(band, h - y);
    SDL_ConvertPixels(w, rows, SDL_PIXELFORMAT_RGBA32, pixels.Rgba.data() + static_cast<size_t>(y) * w * 4, w * 4,
                      kTextureFormat, scratch_.data(), w * 4);
    const SDL_Rect part{0, y, w, rows};
    SDL_UpdateTexture(texture, &part, scratch_.data(), w * 4);
  }
  SDL_SetTextureBlendMode(texture, opaque ? SDL_BLENDMODE_NONE : SDL_BLENDMODE_BLEND);

  int index;
  if (!freeSlots_.empty()) {
    index = freeSlots_.back();
    freeSlots_.pop_back();
  } else {
    index = static_cast<int>(slots_.size());
    slots_.emplace_back();
  }
  slots_[index] = Slot{texture, opaque, !opaque, 255};
  return index + 1;
}

void SdlDisplay::DestroyTexture(TextureId id) {
  if (id <= 0 || id > static_cast<int>(slots_.size()) || !slots_[id - 1].texture) return;
  SDL_DestroyTexture(slots_[id - 1].texture);
  slots_[id - 1] = Slot{};
  freeSlots_.push_back(id - 1);
}

// Sets blending and opacity for one draw, touching SDL only on a change. An
// opaque picture drawn half-transparent has to blend for that draw.
SDL_Texture* SdlDisplay::Prepare(TextureId id, int alpha) {
  if (id <= 0 || id > static_cast<int>(slots_.size()) || alpha <= 0) return nullptr;
  Slot& s = slots_[id - 1];
  if (!s.texture) return nullptr;
  if (alpha > 255) alpha = 255;
  const bool blend = !s.opaque || alpha < 255;
  if (blend != s.blending) {
    SDL_SetTextureBlendMode(s.texture, blend ? SDL_BLENDMODE_BLEND : SDL_BLENDMODE_NONE);
    s.blending = blend;
  }
  if (alpha != s.alpha) {
    SDL_SetTextureAlphaMod(s.texture, static_cast<Uint8>(alpha));
    s.alpha = static_cast<uint8_t>(alpha);
  }
  return s.texture;
}

FrameUpdates SdlDisplay::Updates() const {
  if (fullRedraw_ || wholeNext_) return FrameUpdates::Every;
  return canvas_ ? FrameUpdates::Areas : FrameUpdates::Whole;
}

void SdlDisplay::Invalidate() {
  wholeNext_ = true;
  if (presenter_) presenter_->Invalidate();
}

void SdlDisplay::BeginFrame() {
  areas_.clear();
  // The letterbox bars stay black: the game's Fill covers only the 800 x 600 area,
  // and a GPU's back buffer is new every frame.
  if (window_ && !canvas_) ClearWindow();
}

void SdlDisplay::SetClip(const TRect& area) {
  if (!renderer_) return;
  if (area.Width() <= 0 || area.Height() <= 0) {
    SDL_RenderSetClipRect(renderer_, nullptr);
    return;
  }
  const SDL_Rect r{area.Left, area.Top, area.Width(), area.Height()};
  SDL_RenderSetClipRect(renderer_, &r);
  areas_.push_back(r);
}

void SdlDisplay::EndFrame() {
  if (!renderer_) return;
  if (canvas_) {
    SDL_RenderFlush(renderer_);  // the software renderer batches its draws until now
    if (presenter_ && !presenter_->Show(canvas_, areas_)) return;
  } else {
    SDL_RenderPresent(renderer_);
  }
  if (areas_.empty()) wholeNext_ = false;
  areas_.clear();
  if (framesShown_++ == 0) firstShownAt_ = SDL_GetTicks64();
}

void SdlDisplay::ClearWindow() {
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
}

void SdlDisplay::Fill(Color c) {
  if (!renderer_) return;
  // A see-through colour is laid over the picture (a dimmed, paused pond).
  SDL_SetRenderDrawBlendMode(renderer_, c.a < 255 ? SDL_BLENDMODE_BLEND : SDL_BLENDMODE_NONE);
  SDL_SetRenderDrawColor(renderer_, c.r, c.g, c.b, c.a);
  SDL_RenderFillRect(renderer_, nullptr);
}

void SdlDisplay::Draw(TextureId tex, const TRect& src, int x, int y) {
  DrawStretched(tex, src, Bounds(x, y, src.Width(), src.Height()), 255);
}

void SdlDisplay::DrawStretched(TextureId tex, const TRect& src, const TRect& dst, int alpha) {
  SDL_Texture* t = Prepare(tex, alpha);
  if (!t) return;
  const SDL_Rect s{src.Left, src.Top, src.Width(), src.Height()};
  const SDL_Rect d{dst.Left, dst.Top, dst.Width(), dst.Height()};
  SDL_RenderCopy(renderer_, t, &s, &d);
}

void SdlDisplay::DrawRotated(TextureId tex, const TRect& src, int cx, int cy, int w, int h, int angle,
                             int alpha) {
  DrawRotatedAbout(tex, src, cx, cy, w, h, 0.5, 0.5, angle, alpha);
}

void SdlDisplay::DrawRotatedAbout(TextureId tex, const TRect& src, int px, int py, int w, int h, double fx,
                                  double fy, int angle, int alpha) {
  if (w <= 0 || h <= 0) return;
  SDL_Texture* t = Prepare(tex, alpha);
  if (!t) return;
  const SDL_Rect s{src.Left, src.Top, src.Width(), src.Height()};
  const SDL_FPoint pivot{static_cast<float>(fx * w), static_cast<float>(fy * h)};
  const SDL_FRect d{px - pivot.x, py - pivot.y, static_cast<float>(w), static_cast<float>(h)};
  const int turn = ((angle % 256) + 256) % 256;
  if (turn == 0)  // the software renderer's rotating copy is far slower
    SDL_RenderCopyF(renderer_, t, &s, &d);
  else  // SDL turns clockwise in degrees, as the game's 256ths do
    SDL_RenderCopyExF(renderer_, t, &s, &d, turn * (360.0 / 256.0), &pivot, SDL_FLIP_NONE);
}

void SdlDisplay::DrawText(int x, int y, const std::string& text, int pointSize, Color c) {
  if (c.a == 0 || !text_) return;
  text_->Draw(x, y, text, pointSize, c);
}

int SdlDisplay::TextWidth(const std::string& text, int pointSize) { return text_->Width(text, pointSize); }

TRect SdlDisplay::TextBounds(int x, int y, const std::string& text, int pointSize) {
  return text_->Bounds(x, y, text, pointSize);
}

void SdlDisplay::DrawStyledText(int x, int y, const std::string& text, int pointSize, const TextLook& look) {
  if (text_) text_->DrawStyled(x, y, text, pointSize, look);
}

int SdlDisplay::StyledTextWidth(const std::string& text, int pointSize, TextFace face) {
  return text_ ? text_->StyledWidth(text, pointSize, face) : 0;
}

TRect SdlDisplay::StyledTextBounds(int x, int y, const std::string& text, int pointSize, const TextLook& look) {
  return text_ ? text_->StyledBounds(x, y, text, pointSize, look) : TRect{};
}

bool SdlDisplay::SetIcon(const Pixels& icon) {
  if (!window_ || !Valid(icon)) return false;
  SDL_Surface* surface = SurfaceOf(icon);
  if (!surface) return false;
  SDL_SetWindowIcon(window_, surface);
  SDL_FreeSurface(surface);
  return true;
}

Pixels SdlDisplay::ReadPixels() {
  Pixels p;
  if (!renderer_) return p;
  p.Width = kWidth;
  p.Height = kHeight;
  p.Rgba.resize(static_cast<size_t>(kWidth) * kHeight * 4);
  if (canvas_) {
    SDL_RenderFlush(renderer_);
    SDL_ConvertPixels(kWidth, kHeight, kTextureFormat, canvas_->pixels, canvas_->pitch, SDL_PIXELFORMAT_RGBA32,
                      p.Rgba.data(), kWidth * 4);
  } else {
    float sx = 1, sy = 1;
    SDL_RenderGetScale(renderer_, &sx, &sy);
    if (sx != 1.0f || sy != 1.0f) return Pixels{};  // scaled full screen: not the surface's pixels
    if (SDL_RenderReadPixels(renderer_, nullptr, SDL_PIXELFORMAT_RGBA32, p.Rgba.data(), kWidth * 4) != 0)
      return Pixels{};
  }
  // The screen has no transparency, whatever the canvas's alpha bytes say.
  for (size_t i = 3; i < p.Rgba.size(); i += 4) p.Rgba[i] = 255;
  return p;
}

bool SdlDisplay::SavePng(const std::string& path) {
  Pixels p = ReadPixels();
  if (!Valid(p)) return false;
  SDL_Surface* surface = SurfaceOf(p);
  if (!surface) return false;
  const bool ok = IMG_SavePNG(surface, path.c_str()) == 0;
  if (!ok) Diagnose("cannot write " + path + ": " + IMG_GetError());
  SDL_FreeSurface(surface);
  return ok;
}

}  // namespace pondaro
