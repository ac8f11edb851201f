// The game's frames drawn twice: whole on one display, and through the display
// that draws only what changed on another, so that a test compares the two
// pictures after every tick.
#pragma once
#include <algorithm>
#include <cstdlib>

#include "platform/display.h"
#include "sprites/dirty_display.h"

namespace pondaro::test {

class TwinDisplay : public Display {
 public:
  TwinDisplay(Display& whole, Display& shown) : whole_(whole), dirty_(shown) {}

  TDirtyDisplay& Dirty() { return dirty_; }
  // False: the frames go to the whole display only (pictures still to both).
  bool twinned = true;

  bool CanDraw() const override { return whole_.CanDraw(); }
  int SurfaceWidth() const override { return whole_.SurfaceWidth(); }
  int SurfaceHeight() const override { return whole_.SurfaceHeight(); }
  int WindowWidth() const override { return whole_.WindowWidth(); }
  // Both displays number their pictures alike: they are given the same ones in order.
  TextureId CreateTexture(const Pixels& pixels, bool opaque) override {
    const TextureId id = whole_.CreateTexture(pixels, opaque);
    if (dirty_.CreateTexture(pixels, opaque) != id) std::abort();
    return id;
  }
  void DestroyTexture(TextureId id) override {
    whole_.DestroyTexture(id);
    dirty_.DestroyTexture(id);
  }
  void BeginFrame() override {
    whole_.BeginFrame();
    if (twinned) dirty_.BeginFrame();
  }
  void EndFrame() override {
    whole_.EndFrame();
    if (twinned) dirty_.EndFrame();
  }
  void Fill(Color c) override {
    whole_.Fill(c);
    if (twinned) dirty_.Fill(c);
  }
  void Draw(TextureId tex, const TRect& src, int x, int y) override {
    whole_.Draw(tex, src, x, y);
    if (twinned) dirty_.Draw(tex, src, x, y);
  }
  void DrawStretched(TextureId tex, const TRect& src, const TRect& dst, int alpha) override {
    whole_.DrawStretched(tex, src, dst, alpha);
    if (twinned) dirty_.DrawStretched(tex, src, dst, alpha);
  }
  void DrawRotated(TextureId tex, const TRect& src, int cx, int cy, int w, int h, int angle, int alpha) override {
    whole_.DrawRotated(tex, src, cx, cy, w, h, angle, alpha);
    if (twinned) dirty_.DrawRotated(tex, src, cx, cy, w, h, angle, alpha);
  }
  void DrawRotatedAbout(TextureId tex, const TRect& src, int px, int py, int w, int h, double fx, double fy,
                        int angle, int alpha) override {
    whole_.DrawRotatedAbout(tex, src, px, py, w, h, fx, fy, angle, alpha);
    if (twinned) dirty_.DrawRotatedAbout(tex, src, px, py, w, h, fx, fy, angle, alpha);
  }
  void DrawText(int x, int y, const std::string& text, int pointSize, Color c) override {
    whole_.DrawText(x, y, text, pointSize, c);
    if (twinned) dirty_.DrawText(x, y, text, pointSize, c);
  }
  int TextWidth(const std::string& text, int pointSize) override { return whole_.TextWidth(text, pointSize); }
  TRect TextBounds(int x, int y, const std::string& text, int pointSize) override {
    return whole_.TextBounds(x, y, text, pointSize);
  }
  void DrawStyledText(int x, int y, const std::string& text, int pointSize, const TextLook& look) override {
    whole_.DrawStyledText(x, y, text, pointSize, look);
    if (twinned) dirty_.DrawStyledText(x, y, text, pointSize, look);
  }
  int StyledTextWidth(const std::string& text, int pointSize, TextFace face) override {
    return whole_.StyledTextWidth(text, pointSize, face);
  }
  TRect StyledTextBounds(int x, int y, const std::string& text, int pointSize, const TextLook& look) override {
    return whole_.StyledTextBounds(x, y, text, pointSize, look);
  }
  void SetCursor(CursorShape shape) override { whole_.SetCursor(shape); }
  void SetCaption(const std::string& caption) override { whole_.SetCaption(caption); }
  bool SetFullScreen(bool on) override {
    dirty_.SetFullScreen(on);
    return whole_.SetFullScreen(on);
  }
  bool IsMaximized() const override { return whole_.IsMaximized(); }

 private:
  Display& whole_;
  TDirtyDisplay dirty_;
};

// The rectangle around the pixels where two pictures of the same size differ
// (empty when they are the same); `same(i)` compares pixel i of both.
template <class Same>
TRect Difference(int width, int height, Same same) {
  TRect r{width, height, 0, 0};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (!same(static_cast<size_t>(y) * width + x)) {
        r.Left = std::min(r.Left, x), r.Top = std::min(r.Top, y);
        r.Right = std::max(r.Right, x + 1), r.Bottom = std::max(r.Bottom, y + 1);
      }
  return r.Right > r.Left ? r : TRect{};
}

}  // namespace pondaro::test
