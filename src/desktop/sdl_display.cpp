#include "desktop/sdl_display.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
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
  SDL_RenderSetLogicalSize(d->renderer_, kWidth, kHeight);  // letterboxed full screen
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
  // ARGB8888 like the textures, so SDL's blitters take their fast paths.
  d->canvas_ = SDL_CreateRGBSurfaceWithFormat(0, kWidth, kHeight, 32, kTextureFormat);
  if (!d->canvas_) {
    error = std::string("Cannot create the drawing surface: ") + SDL_GetError();
    return nullptr;
  }
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
  if (canvas_) {
    renderer_ = SDL_CreateSoftwareRenderer(canvas_);
  } else {
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
      // Without this SDL's software renderer on X11 presents through an OpenGL
      // texture, which idles at ten times the CPU of a plain X framebuffer.
      SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
      renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE | SDL_RENDERER_PRESENTVSYNC);
    }
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
  if (stage_) SDL_DestroyTexture(stage_);
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
  scratch_.resize(static_cast<size_t>(w) * h * 4);
  SDL_ConvertPixels(w, h, SDL_PIXELFORMAT_RGBA32, pixels.Rgba.data(), w * 4, kTextureFormat, scratch_.data(),
                    w * 4);
  SDL_UpdateTexture(texture, nullptr, scratch_.data(), w * 4);
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
  ++pictures_;
  return index + 1;
}

void SdlDisplay::DestroyTexture(TextureId id) {
  if (id <= 0 || id > static_cast<int>(slots_.size()) || !slots_[id - 1].texture) return;
  SDL_DestroyTexture(slots_[id - 1].texture);
  slots_[id - 1] = Slot{};
  ++pictures_;  // its number may come back with other pixels
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

void SdlDisplay::BeginFrame() {
  frameHash_ = 0x9E3779B97F4A7C15ull;
  Note({static_cast<int64_t>(pictures_)});
  kept_.clear();
  textsUsed_ = 0;
  inFrame_ = true;
  if (!window_) return;
  int w = 0, h = 0;
  SDL_GetRendererOutputSize(renderer_, &w, &h);
  if (w != outputW_ || h != outputH_) {
    outputW_ = w;
    outputH_ = h;
    clearFrames_ = 2;
  }
}

void SdlDisplay::EndFrame() {
  if (!renderer_) return;
  inFrame_ = false;
  if (clearFrames_ == 0 && frameHash_ == lastShown_) {
    // The screen already shows this frame: whatever a read drew early stays unshown.
    kept_.clear();
    if (staged_) {
      staged_ = false;
      SDL_SetRenderTarget(renderer_, nullptr);
    }
    return;
  }
  DrawKept();
  if (staged_) {
    staged_ = false;
    SDL_SetRenderTarget(renderer_, nullptr);
    if (clearFrames_ > 0) {
      --clearFrames_;
      ClearWindow();
    }
    SDL_RenderCopy(renderer_, stage_, nullptr, nullptr);  // the logical size letterboxes it
  } else if (clearFrames_ > 0) {
    --clearFrames_;
  }
  lastShown_ = frameHash_;
  SDL_RenderPresent(renderer_);
  ++framesShown_;
}

// Draws what the frame has asked for so far, on the stage when the window is
// larger than the surface.
void SdlDisplay::DrawKept() {
  if (kept_.empty()) return;
  if (window_ && !staged_ && (outputW_ != kWidth || outputH_ != kHeight)) {
    // Letterbox bars stay black; the game's Fill covers only the 800 x 600 area. A
    // GPU's back buffer is new every frame; the software renderer's stage covers
    // the picture and the bars keep their black once cleared.
    staged_ = Stage();
    if (!staged_) ClearWindow();
  }
  for (const Call& c : kept_) Play(c);
  kept_.clear();
  textsUsed_ = 0;
  looks_.clear();
}

void SdlDisplay::Keep(const Call& c) {
  if (inFrame_) {
    kept_.push_back(c);
    return;
  }
  Play(c);  // outside a frame: at once
}

void SdlDisplay::Play(const Call& c) {
  switch (c.kind) {
    case Call::Fill:
      // A see-through colour is laid over the picture (a dimmed, paused pond).
      SDL_SetRenderDrawBlendMode(renderer_, c.color.a < 255 ? SDL_BLENDMODE_BLEND : SDL_BLENDMODE_NONE);
      SDL_SetRenderDrawColor(renderer_, c.color.r, c.color.g, c.color.b, c.color.a);
      SDL_RenderFillRect(renderer_, nullptr);
      return;
    case Call::Text:
      if (c.look >= 0)
        text_->DrawStyled(c.dst.x, c.dst.y, texts_[c.text], c.pointSize, looks_[c.look]);
      else
        text_->Draw(c.dst.x, c.dst.y, texts_[c.text], c.pointSize, c.color);
      return;
    case Call::Copy: {
      SDL_Texture* t = Prepare(c.texture, c.alpha);
      if (t) SDL_RenderCopy(renderer_, t, &c.src, &c.dst);
      return;
    }
    case Call::Turn: {
      SDL_Texture* t = Prepare(c.texture, c.alpha);
      if (!t) return;
      const SDL_FPoint pivot{c.pivotX, c.pivotY};
      const SDL_FRect d{c.dst.x - pivot.x, c.dst.y - pivot.y, static_cast<float>(c.dst.w),
                        static_cast<float>(c.dst.h)};
      if (c.angle == 0)  // the software renderer's rotating copy is far slower
        SDL_RenderCopyF(renderer_, t, &c.src, &d);
      else  // SDL turns clockwise in degrees, as the game's 256ths do
        SDL_RenderCopyExF(renderer_, t, &c.src, &d, c.angle * (360.0 / 256.0), &pivot, SDL_FLIP_NONE);
      return;
    }
  }
}

void SdlDisplay::Note(std::initializer_list<int64_t> values) {
  for (int64_t v : values) {
    // splitmix64's finaliser over each value in turn.
    uint64_t z = (frameHash_ ^ static_cast<uint64_t>(v)) + 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    frameHash_ = z ^ (z >> 31);
  }
}

void SdlDisplay::ClearWindow() {
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
}

// The software renderer scales a picture while blending it at a fraction of its
// usual speed; drawn 1:1 on the stage and scaled in one copy of the window's own
// pixel format, full screen costs little more than the window.
bool SdlDisplay::Stage() {
  if (rendererName_ != "software") return false;
  if (!stage_) {
    const Uint32 format = SDL_GetWindowPixelFormat(window_);
    stage_ = SDL_CreateTexture(renderer_, format != SDL_PIXELFORMAT_UNKNOWN ? format : kTextureFormat,
                               SDL_TEXTUREACCESS_TARGET, kWidth, kHeight);
    if (!stage_) return false;
  }
  return SDL_SetRenderTarget(renderer_, stage_) == 0;
}

void SdlDisplay::Fill(Color c) {
  Note({1, c.r, c.g, c.b, c.a});
  Call k;
  k.kind = Call::Fill;
  k.color = c;
  Keep(k);
}

void SdlDisplay::Draw(TextureId tex, const TRect& src, int x, int y) {
  DrawStretched(tex, src, Bounds(x, y, src.Width(), src.Height()), 255);
}

void SdlDisplay::DrawStretched(TextureId tex, const TRect& src, const TRect& dst, int alpha) {
  Note({3, tex, src.Left, src.Top, src.Right, src.Bottom, dst.Left, dst.Top, dst.Right, dst.Bottom, alpha});
  Call k;
  k.kind = Call::Copy;
  k.texture = tex;
  k.src = {src.Left, src.Top, src.Width(), src.Height()};
  k.dst = {dst.Left, dst.Top, dst.Width(), dst.Height()};
  k.alpha = alpha;
  Keep(k);
}

void SdlDisplay::DrawRotated(TextureId tex, const TRect& src, int cx, int cy, int w, int h, int angle,
                             int alpha) {
  DrawRotatedAbout(tex, src, cx, cy, w, h, 0.5, 0.5, angle, alpha);
}

void SdlDisplay::DrawRotatedAbout(TextureId tex, const TRect& src, int px, int py, int w, int h, double fx,
                                  double fy, int angle, int alpha) {
  Note({4, tex, src.Left, src.Top, src.Right, src.Bottom, px, py, w, h, std::llround(fx * 65536),
        std::llround(fy * 65536), angle, alpha});
  if (w <= 0 || h <= 0) return;
  Call k;
  k.kind = Call::Turn;
  k.texture = tex;
  k.src = {src.Left, src.Top, src.Width(), src.Height()};
  k.dst = {px, py, w, h};
  k.pivotX = static_cast<float>(fx * w);
  k.pivotY = static_cast<float>(fy * h);
  k.angle = ((angle % 256) + 256) % 256;
  k.alpha = alpha;
  Keep(k);
}

void SdlDisplay::DrawText(int x, int y, const std::string& text, int pointSize, Color c) {
  Note({5, x, y, static_cast<int64_t>(std::hash<std::string>()(text)), pointSize, c.r, c.g, c.b, c.a});
  if (c.a == 0) return;
  // The frame's texts keep their storage from frame to frame.
  if (textsUsed_ == texts_.size()) texts_.emplace_back();
  texts_[textsUsed_] = text;
  Call k;
  k.kind = Call::Text;
  k.dst = {x, y, 0, 0};
  k.color = c;
  k.pointSize = pointSize;
  k.text = textsUsed_++;
  if (inFrame_) {
    kept_.push_back(k);
  } else {
    Play(k);
    --textsUsed_;
  }
}

int SdlDisplay::TextWidth(const std::string& text, int pointSize) { return text_->Width(text, pointSize); }

void SdlDisplay::DrawStyledText(int x, int y, const std::string& text, int pointSize, const TextLook& look) {
  Note({6, x, y, static_cast<int64_t>(std::hash<std::string>()(text)), pointSize, look.Top.r, look.Top.g, look.Top.b,
        look.Top.a, look.Bottom.r, look.Bottom.g, look.Bottom.b, look.Outline.r, look.Outline.a, look.OutlinePx,
        look.Shadow.a, look.ShadowDx, look.ShadowDy, look.ShadowBlur, static_cast<int>(look.Face)});
  if (textsUsed_ == texts_.size()) texts_.emplace_back();
  texts_[textsUsed_] = text;
  looks_.push_back(look);
  Call k;
  k.kind = Call::Text;
  k.dst = {x, y, 0, 0};
  k.pointSize = pointSize;
  k.text = textsUsed_++;
  k.look = static_cast<int>(looks_.size()) - 1;
  if (inFrame_) {
    kept_.push_back(k);
  } else {
    Play(k);
    --textsUsed_;
    looks_.pop_back();
  }
}

int SdlDisplay::StyledTextWidth(const std::string& text, int pointSize, TextFace face) {
  return text_->StyledWidth(text, pointSize, face);
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
  DrawKept();
  float sx = 1, sy = 1;
  SDL_RenderGetScale(renderer_, &sx, &sy);
  if (sx != 1.0f || sy != 1.0f) return p;  // scaled full screen: not the surface's pixels
  p.Width = kWidth;
  p.Height = kHeight;
  p.Rgba.resize(static_cast<size_t>(kWidth) * kHeight * 4);
  if (SDL_RenderReadPixels(renderer_, nullptr, SDL_PIXELFORMAT_RGBA32, p.Rgba.data(), kWidth * 4) != 0)
    return Pixels{};
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
