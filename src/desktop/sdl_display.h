// The drawing surface on SDL's renderer: a real window, or an offscreen 800 x 600
// canvas for screenshots, tests and benchmarks.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <SDL_rect.h>

#include "platform/display.h"
#include "desktop/sdl_text.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
struct SDL_Surface;
struct SDL_Cursor;

namespace pondaro {

struct SdlDisplayOptions {
  std::vector<std::string> fontFamilies = GameFontFamilies();
  // Window only: false skips the accelerated renderer altogether.
  bool allowAccelerated = true;
};

class SdlDisplay : public Display {
 public:
  static constexpr int kWidth = 800, kHeight = 600;
  using Options = SdlDisplayOptions;

  // The game window: caption "PONDARO", 800 x 600 client area, centred. nullptr
  // with `error` set when no window or renderer can be made.
  static std::unique_ptr<SdlDisplay> OpenWindow(std::string& error, const Options& options = Options());
  // An 800 x 600 ARGB8888 surface drawn by SDL's software renderer; needs no screen.
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
  void Fill(Color c) override;
  void Draw(TextureId tex, const TRect& src, int x, int y) override;
  void DrawStretched(TextureId tex, const TRect& src, const TRect& dst, int alpha) override;
  void DrawRotated(TextureId tex, const TRect& src, int cx, int cy, int w, int h, int angle,
                   int alpha) override;
  void DrawRotatedAbout(TextureId tex, const TRect& src, int px, int py, int w, int h, double fx, double fy,
                        int angle, int alpha) override;
  void DrawText(int x, int y, const std::string& text, int pointSize, Color c) override;
  int TextWidth(const std::string& text, int pointSize) override;
  void DrawStyledText(int x, int y, const std::string& text, int pointSize, const TextLook& look) override;
  int StyledTextWidth(const std::string& text, int pointSize, TextFace face) override;

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
  // shown even when it draws what the last one did.
  void Invalidate() { lastShown_ = 0; }
  // Frames put on the screen so far (a frame that repeats the last one is not).
  long FramesShown() const { return framesShown_; }

  // Which renderer drew: SDL's name ("software", "opengl", ...) and, for OpenGL,
  // the GL_RENDERER string that decided it.
  const std::string& RendererName() const { return rendererName_; }
  const std::string& GlRenderer() const { return glRenderer_; }
  SdlText& Text() { return *text_; }

  // The drawn surface as RGBA8. Offscreen: the last frame at any time; a window:
  // call before EndFrame (the frame's calls so far are drawn first).
  Pixels ReadPixels();
  bool SavePng(const std::string& path);

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
  bool Stage();
  void ClearWindow();
  void Note(std::initializer_list<int64_t> values);
  // The frame's drawing is kept until it ends: a frame that repeats the one on the
  // screen is then neither drawn nor shown (menus mostly stand still).
  struct Call {
    enum Kind : uint8_t { Fill, Copy, Turn, Text } kind = Fill;
    TextureId texture = 0;
    SDL_Rect src{}, dst{};  // Turn: dst is the scaled picture's place
    float pivotX = 0, pivotY = 0;
    int angle = 0, alpha = 255;
    Color color;
    int pointSize = 0;
    size_t text = 0;  // Text: index into texts_
    int look = -1;    // Text: index into looks_ of a styled text
  };
  void Keep(const Call& c);
  void DrawKept();
  void Play(const Call& c);

  SDL_Window* window_ = nullptr;
  SDL_Surface* canvas_ = nullptr;  // offscreen target
  SDL_Renderer* renderer_ = nullptr;
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
  // A window larger than the surface is drawn on this 800 x 600 stage and scaled
  // once when the frame ends (software renderer only).
  SDL_Texture* stage_ = nullptr;
  bool staged_ = false;  // this frame is being drawn on the stage
  int outputW_ = 0, outputH_ = 0;
  int clearFrames_ = 0;  // frames left to clear the whole window after a size change
  // A digest of the frame's draw calls and of the pictures they use: a scaled
  // frame equal to the one on the screen is not scaled and shown again (menus
  // mostly stand still).
  uint64_t frameHash_ = 0, lastShown_ = 0, pictures_ = 0;
  long framesShown_ = 0;
  bool inFrame_ = false;
  std::vector<Call> kept_;
  std::vector<std::string> texts_;
  std::vector<TextLook> looks_;  // the frame's styled texts' looks
  size_t textsUsed_ = 0;
};

// True for GL_RENDERER strings of a CPU rasteriser (Mesa llvmpipe, softpipe,
// swrast, "Software Rasterizer"), where SDL's own software renderer is faster.
bool IsSoftwareRasteriser(const std::string& glRenderer);

}  // namespace pondaro
