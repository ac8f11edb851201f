// Test double of the display: records every call so tests can assert on what was drawn.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "platform/display.h"

namespace pondaro::test {

struct DrawCall {
  enum Kind { Plain, Stretched, Rotated, Text, Fill } kind = Plain;
  TextureId texture = 0;
  TRect src, dst;  // dst of stretched draws; (x, y) of plain draws in dst.Left/Top
  int cx = 0, cy = 0, w = 0, h = 0, angle = 0, alpha = 255;
  double fx = 0.5, fy = 0.5;  // the pivot of rotated draws, as a fraction of w x h
  std::string text;
  int pointSize = 0;
  Color color;
  bool styled = false;  // drawn with DrawStyledText, in `look`
  TextLook look;
};

class RecordingDisplay : public Display {
 public:
  bool canDraw = true;
  int windowWidth = 800;
  bool maximized = false;
  bool fullScreenFails = false;
  bool fullScreen = false;
  std::vector<DrawCall> calls;
  std::map<TextureId, Pixels> textures;
  std::map<TextureId, bool> opaque;
  int frames = 0;
  CursorShape cursor = CursorShape::Arrow;
  std::string caption;
  // Text width used by TextWidth: this many pixels a character per point.
  double charWidthPerPoint = 0.5;

  bool CanDraw() const override { return canDraw; }
  int SurfaceWidth() const override { return 800; }
  int SurfaceHeight() const override { return 600; }
  int WindowWidth() const override { return windowWidth; }
  TextureId CreateTexture(const Pixels& p, bool isOpaque) override {
    TextureId id = nextId_++;
    textures[id] = p;
    opaque[id] = isOpaque;
    return id;
  }
  void DestroyTexture(TextureId id) override {
    textures.erase(id);
    opaque.erase(id);
  }
  void BeginFrame() override {}
  void EndFrame() override { ++frames; }
  void Fill(Color c) override {
    DrawCall d;
    d.kind = DrawCall::Fill;
    d.color = c;
    calls.push_back(d);
  }
  void Draw(TextureId tex, const TRect& src, int x, int y) override {
    DrawCall d;
    d.kind = DrawCall::Plain;
    d.texture = tex;
    d.src = src;
    d.dst = Bounds(x, y, src.Width(), src.Height());
    calls.push_back(d);
  }
  void DrawStretched(TextureId tex, const TRect& src, const TRect& dst, int alpha) override {
    DrawCall d;
    d.kind = DrawCall::Stretched;
    d.texture = tex;
    d.src = src;
    d.dst = dst;
    d.alpha = alpha;
    calls.push_back(d);
  }
  void DrawRotated(TextureId tex, const TRect& src, int cx, int cy, int w, int h, int angle,
                   int alpha) override {
    DrawCall d;
    d.kind = DrawCall::Rotated;
    d.texture = tex;
    d.src = src;
    d.cx = cx;
    d.cy = cy;
    d.w = w;
    d.h = h;
    d.angle = angle;
    d.alpha = alpha;
    calls.push_back(d);
  }
  void DrawRotatedAbout(TextureId tex, const TRect& src, int px, int py, int w, int h, double fx, double fy,
                        int angle, int alpha) override {
    DrawRotated(tex, src, px, py, w, h, angle, alpha);
    calls.back().fx = fx;
    calls.back().fy = fy;
  }
  void DrawText(int x, int y, const std::string& text, int pointSize, Color c) override {
    DrawCall d;
    d.kind = DrawCall::Text;
    d.dst = Bounds(x, y, TextWidth(text, pointSize), pointSize);
    d.text = text;
    d.pointSize = pointSize;
    d.color = c;
    calls.push_back(d);
  }
  int TextWidth(const std::string& text, int pointSize) override {
    return static_cast<int>(text.size() * pointSize * charWidthPerPoint);
  }
  void DrawStyledText(int x, int y, const std::string& text, int pointSize, const TextLook& look) override {
    DrawText(x, y, text, pointSize, look.Top);
    calls.back().styled = true;
    calls.back().look = look;
  }
  int StyledTextWidth(const std::string& text, int pointSize, TextFace) override { return TextWidth(text, pointSize); }
  void SetCursor(CursorShape shape) override { cursor = shape; }
  void SetCaption(const std::string& c) override { caption = c; }
  bool SetFullScreen(bool on) override {
    if (fullScreenFails) return false;
    fullScreen = on;
    return true;
  }
  bool IsMaximized() const override { return maximized; }

  std::vector<DrawCall> CallsOf(DrawCall::Kind kind) const {
    std::vector<DrawCall> out;
    for (const auto& c : calls)
      if (c.kind == kind) out.push_back(c);
    return out;
  }

 private:
  TextureId nextId_ = 1;
};

}  // namespace pondaro::test
