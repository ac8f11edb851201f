// A game tick's drawing, recorded as it goes to the display and replayed with
// plain SDL calls: the floor that the engine's and the game's overhead is judged by.
#pragma once
#include <SDL.h>
#include <SDL_ttf.h>

#include <map>
#include <string>
#include <vector>

#include "desktop/sdl_display.h"
#include "desktop/sdl_text.h"

namespace pondaro::bench {

struct Call {
  enum Kind { Fill, Plain, Stretched, Rotated, Text } kind = Fill;
  TextureId texture = 0;
  TRect src, dst;
  int cx = 0, cy = 0, w = 0, h = 0, angle = 0, alpha = 255;
  double pivotX = 0.5, pivotY = 0.5;
  std::string text;
  int pointSize = 0;
  Color color;
};

// Passes everything on to `inner`; while `recording`, keeps each drawing call.
class RecordingDisplay : public Display {
 public:
  explicit RecordingDisplay(SdlDisplay& inner) : inner_(inner) {}
  bool recording = false;
  std::vector<Call> calls;

  bool CanDraw() const override { return inner_.CanDraw(); }
  int SurfaceWidth() const override { return inner_.SurfaceWidth(); }
  int SurfaceHeight() const override { return inner_.SurfaceHeight(); }
  int WindowWidth() const override { return inner_.WindowWidth(); }
  TextureId CreateTexture(const Pixels& p, bool opaque) override {
    const TextureId id = inner_.CreateTexture(p, opaque);
    opaque_[id] = opaque;
    return id;
  }
  void DestroyTexture(TextureId id) override { inner_.DestroyTexture(id); }
  void BeginFrame() override { inner_.BeginFrame(); }
  void EndFrame() override { inner_.EndFrame(); }
  void Fill(Color c) override {
    Keep({Call::Fill, 0, {}, {}, 0, 0, 0, 0, 0, 255, 0.5, 0.5, {}, 0, c});
    inner_.Fill(c);
  }
  void Draw(TextureId tex, const TRect& src, int x, int y) override {
    Keep({Call::Plain, tex, src, Bounds(x, y, src.Width(), src.Height())});
    inner_.Draw(tex, src, x, y);
  }
  void DrawStretched(TextureId tex, const TRect& src, const TRect& dst, int alpha) override {
    Keep({Call::Stretched, tex, src, dst, 0, 0, 0, 0, 0, alpha});
    inner_.DrawStretched(tex, src, dst, alpha);
  }
  void DrawRotated(TextureId tex, const TRect& src, int cx, int cy, int w, int h, int angle, int alpha) override {
    Keep({Call::Rotated, tex, src, {}, cx, cy, w, h, angle, alpha});
    inner_.DrawRotated(tex, src, cx, cy, w, h, angle, alpha);
  }
  void DrawText(int x, int y, const std::string& text, int pointSize, Color c) override {
    Keep({Call::Text, 0, {}, Bounds(x, y, 0, 0), 0, 0, 0, 0, 0, 255, 0.5, 0.5, text, pointSize, c});
    inner_.DrawText(x, y, text, pointSize, c);
  }
  int TextWidth(const std::string& text, int pointSize) override { return inner_.TextWidth(text, pointSize); }
  void SetCursor(CursorShape shape) override { inner_.SetCursor(shape); }
  void SetCaption(const std::string& caption) override { inner_.SetCaption(caption); }
  bool SetFullScreen(bool on) override { return inner_.SetFullScreen(on); }
  bool IsMaximized() const override { return inner_.IsMaximized(); }

  bool Opaque(TextureId id) const {
    auto it = opaque_.find(id);
    return it != opaque_.end() && it->second;
  }
  SdlDisplay& Inner() { return inner_; }

 private:
  void Keep(const Call& c) {
    if (recording) calls.push_back(c);
  }
  SdlDisplay& inner_;
  std::map<TextureId, bool> opaque_;
};

// The recorded calls drawn straight with SDL on the display's own renderer and
// textures; texts are rendered to textures once, as any game would cache them.
class RawReplay {
 public:
  RawReplay(RecordingDisplay& recorded, std::vector<Call> calls);
  ~RawReplay();
  void Frame();

 private:
  SDL_Renderer* renderer_;
  RecordingDisplay& recorded_;
  std::vector<Call> calls_;
  std::vector<SDL_Texture*> texts_;  // by call, for text calls
  std::vector<SDL_Rect> textRects_;
};

}  // namespace pondaro::bench
