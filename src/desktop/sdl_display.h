// The drawing surface on SDL's renderer: a real window, or an offscreen 800 x 600
// canvas for screenshots, tests and benchmarks.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <SDL_rect.h>

#include "platform/display.h"
#include "desktop/sdl_present.h"
#include "desktop/sdl_text.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
struct SDL_Surface;
struct SDL_Cursor;

namespace pondaro {

// PONDARO_FULL_REDRAW=1 in the environment: every frame is drawn and shown whole.
bool FullRedrawAsked();

struct SdlDisplayOptions {
  std::vector<std::string> fontFamilies = GameFontFamilies();
  // Window only: false skips the accelerated renderer altogether.
  bool allowAccelerated = true;
  // Every frame drawn and shown whole, changed or not (for a driver that loses
  // what is not sent again, and to compare with).
  bool fullRedraw = FullRedrawAsked();
};

class SdlDisplay : public Display {
 public:
  static constexpr int kWidth = 800, kHeight = 600;
  using Options = SdlDisplayOptions;

  // The game window: caption "PONDARO", 800 x 600 client area, centred. nullptr
  // with `error` set when no window or renderer can be made.
  static std::unique_ptr<SdlDisplay> OpenWindow(std::string& error, const Options& options = Options());
  // An 800 x 600 ARGB8888 canvas drawn by SDL's software renderer; needs no screen.
  static std::unique_ptr<SdlDisplay> OpenOffscreen(std::string& error, const Options& options = Options());

  ~SdlDisplay() override;
  SdlDisplay(const SdlDisplay&) = delete;
  SdlDisplay& operator=(const SdlDisplay&) = delete;

  bool CanDraw() const override;
  int SurfaceWidth() const override { return kWidth; }
  int SurfaceHeight() const override { return kHeight; }
  int WindowWidth() const override;

  TextureId CreateTexture(const Pixels& pixels, bool opaque) override;
  void DestroyTexture(TextureId id) override;

  void BeginFrame() override;
  void EndFrame() override;
  FrameUpdates Updates() const override;
  void SetClip(const TRect& area) override;
  void Fill(Color c) override;
  void Draw(TextureId tex, const TRect& src, int x, int y) override;
  void DrawStretched(TextureId tex, const TRect& src, const TRect& dst, int alpha) override;
  void DrawRotated(TextureId tex, const TRect& src, int cx, int cy, int w, int h, int angle,
                   int alpha) override;
  void DrawRotatedAbout(TextureId tex, const TRect& src, int px, int py, int w, int h, double fx, double fy,
                        int angle, int alpha) override;
  void DrawText(int x, int y, const std::string& text, int pointSize, Color c) override;
  int TextWidth(const std::string& text, int pointSize) override;
  TRect TextBounds(int x, int y, const std::string& text, int pointSize) override;
  void DrawStyledText(int x, int y, const std::string& text, int pointSize, const TextLook& look) override;
  int StyledTextWidth(const std::string& text, int pointSize, TextFace face) override;
  TRect StyledTextBounds(int x, int y, const std::string& text, int pointSize, const TextLook& look) override;

  void SetCursor(CursorShape shape) override;
  void SetCaption(const std::string& caption) override;
  bool SetFullScreen(bool on) override;
  bool IsMaximized() const override;

  // What the main window's event handling needs, without SDL types.
  bool IsOffscreen() const { return window_ == nullptr; }
  bool IsFullScreen() const { return fullScreen_; }
  bool IsMinimized() const;
  uint32_t WindowId() const;  // 0 offscreen
  CursorShape Cursor() const { return cursor_; }
  const std::string& Caption() const { return caption_; }
  // The window can be maximised, so the border lets the user resize it too; the
  // event loop calls this on a size change to snap a plain window back to 800 x 600
  // where the player had put it, and a full-screen one back over the screen.
  void KeepWindowSize();
  // The event loop reports every move; a plain window's place is remembered, to
  // come back to after full screen or a resize.
  void WindowMoved(int x, int y);
  bool SetIcon(const Pixels& icon);
  // The window's pixels were lost (uncovered, shown again): the next frame is
  // drawn and shown whole, even when it draws what the last one did.
  void Invalidate();
  // Frames put on the screen so far, and the window pixels they sent.
  long FramesShown() const { return framesShown_; }
  // SDL's milliseconds when the first frame went to the screen (0 before).
  uint64_t FirstFrameShownAt() const { return firstShownAt_; }
  long long PixelsShown() const { return presenter_ ? presenter_->PixelsSent() : 0; }

  // Which renderer drew: SDL's name ("software", "opengl", ...) and, for OpenGL,
  // the GL_RENDERER string that decided it.
  const std::string& RendererName() const { return rendererName_; }
  const std::string& GlRenderer() const { return glRenderer_; }
  SdlText& Text() { return *text_; }

  // The drawn surface as RGBA8. Offscreen and in a software window: the canvas at
  // any time; on a GPU: call before EndFrame.
  Pixels ReadPixels();
  bool SavePng(const std::string& path);
  // The canvas drawn on, offscreen and in a window without a GPU (null on a GPU);
  // ARGB8888, up to date once a frame has ended.
  const SDL_Surface* Canvas() const { return canvas_; }

 private:
  struct Slot {
    SDL_Texture* texture = nullptr;
    bool opaque = false;
    bool blending = false;  // current blend mode is BLEND
    uint8_t alpha = 255;    // current alpha modulation
  };

  SdlDisplay() = default;
  bool InitRenderer(const Options& options, std::string& error);
  SDL_Texture* Prepare(TextureId id, int alpha);
  bool IsPlainWindow() const;
  void CoverScreen();
  void ClearWindow();

  SDL_Window* window_ = nullptr;
  // Offscreen, and in a window without a GPU, the frame is drawn on this canvas by
  // SDL's software renderer and the presenter shows what changed; with a GPU the
  // renderer draws on the window itself.
  SDL_Surface* canvas_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  std::unique_ptr<SdlPresenter> presenter_;
  std::unique_ptr<SdlText> text_;
  std::vector<Slot> slots_;  // TextureId n is slots_[n - 1]
  std::vector<int> freeSlots_;
  std::vector<uint8_t> scratch_;                          // pixel conversion for uploads
  SDL_Cursor* cursors_[3] = {nullptr, nullptr, nullptr};  // arrow, hand, I-beam
  CursorShape cursor_ = CursorShape::Arrow;
  std::string caption_ = "PONDARO";
  std::string rendererName_, glRenderer_;
  bool fullScreen_ = false;
  int placeX_ = 0, placeY_ = 0;  // where the player put the window
  bool fullRedraw_ = false;
  bool wholeNext_ = true;           // the next frame is drawn and shown whole
  std::vector<SDL_Rect> areas_;     // the frame's areas (SetClip) that EndFrame shows
  long framesShown_ = 0;
  uint64_t firstShownAt_ = 0;
};

// True for GL_RENDERER strings of a CPU rasteriser (Mesa llvmpipe, softpipe,
// swrast, "Software Rasterizer"), where SDL's own software renderer is faster.
bool IsSoftwareRasteriser(const std::string& glRenderer);

}  // namespace pondaro
