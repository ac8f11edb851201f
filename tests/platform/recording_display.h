// Test double of the display: records every call so tests can assert on what was drawn.
#pragma once
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/display.h"
#include "sprites/dirty_display.h"

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

  // A model of the picture, kept while `modelled`: each pixel holds the draws that
  // reached it, in order, folded into one number, and an opaque draw replaces what
  // was under it. A scaled picture clipped short (which SDL scales differently)
  // leaves a mark of its own. Two models are equal where the pictures would be.
  bool modelled = false;
  std::vector<uint64_t> model;
  FrameUpdates updates = FrameUpdates::Every;
  TRect clip;

  bool CanDraw() const override { return canDraw; }
  int SurfaceWidth() const override { return 800; }
  int SurfaceHeight() const override { return 600; }
  int WindowWidth() const override { return windowWidth; }
  TextureId CreateTexture(const Pixels& p, bool isOpaque) override {
    TextureId id = nextId_++;
    textures[id] = p;
    opaque[id] = isOpaque;
    upload_[id] = ++uploads_;
    return id;
  }
  void DestroyTexture(TextureId id) override {
    textures.erase(id);
    opaque.erase(id);
  }
  void BeginFrame() override {}
  void EndFrame() override { ++frames; }
  FrameUpdates Updates() const override { return updates; }
  void SetClip(const TRect& area) override { clip = area; }
  void Fill(Color c) override {
    DrawCall d;
    d.kind = DrawCall::Fill;
    d.color = c;
    calls.push_back(d);
    Paint(Bounds(0, 0, 800, 600), c.a == 255, false);
  }
  void Draw(TextureId tex, const TRect& src, int x, int y) override {
    DrawCall d;
    d.kind = DrawCall::Plain;
    d.texture = tex;
    d.src = src;
    d.dst = Bounds(x, y, src.Width(), src.Height());
    calls.push_back(d);
    Paint(d.dst, IsOpaque(tex), false);
  }
  void DrawStretched(TextureId tex, const TRect& src, const TRect& dst, int alpha) override {
    DrawCall d;
    d.kind = DrawCall::Stretched;
    d.texture = tex;
    d.src = src;
    d.dst = dst;
    d.alpha = alpha;
    calls.push_back(d);
    Paint(dst, IsOpaque(tex) && alpha >= 255, dst.Width() != src.Width() || dst.Height() != src.Height());
  }
  void DrawRotated(TextureId tex, const TRect& src, int cx, int cy, int w, int h, int angle,
                   int alpha) override {
    Rotated(tex, src, cx, cy, w, h, angle, alpha);
    if (w > 0 && h > 0)
      Paint(TurnedBounds(cx, cy, w, h, 0.5, 0.5, ((angle % 256) + 256) % 256), false,
            w != src.Width() || h != src.Height());
  }
  void Rotated(TextureId tex, const TRect& src, int cx, int cy, int w, int h, int angle, int alpha) {
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
    Rotated(tex, src, px, py, w, h, angle, alpha);
    calls.back().fx = fx;
    calls.back().fy = fy;
    if (w > 0 && h > 0)
      Paint(TurnedBounds(px, py, w, h, fx, fy, ((angle % 256) + 256) % 256), false,
            w != src.Width() || h != src.Height());
  }
  void DrawText(int x, int y, const std::string& text, int pointSize, Color c) override {
    Text(x, y, text, pointSize, c, nullptr);
  }
  int TextWidth(const std::string& text, int pointSize) override {
    return static_cast<int>(text.size() * pointSize * charWidthPerPoint);
  }
  TRect TextBounds(int x, int y, const std::string& text, int pointSize) override {
    return Bounds(x, y, TextWidth(text, pointSize), pointSize);
  }
  void DrawStyledText(int x, int y, const std::string& text, int pointSize, const TextLook& look) override {
    Text(x, y, text, pointSize, look.Top, &look);
  }
  int StyledTextWidth(const std::string& text, int pointSize, TextFace) override { return TextWidth(text, pointSize); }
  // The letters' box grown by the outline and the shadow, as a real one reaches.
  TRect StyledTextBounds(int x, int y, const std::string& text, int pointSize, const TextLook& look) override {
    const TRect r = TextBounds(x, y, text, pointSize);
    const int o = look.OutlinePx, b = look.ShadowBlur;
    return {r.Left - o + std::min(0, look.ShadowDx - b), r.Top - o + std::min(0, look.ShadowDy - b),
            r.Right + o + std::max(0, look.ShadowDx + b), r.Bottom + o + std::max(0, look.ShadowDy + b)};
  }
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
  void Text(int x, int y, const std::string& text, int pointSize, Color c, const TextLook* look) {
    DrawCall d;
    d.kind = DrawCall::Text;
    d.dst = Bounds(x, y, TextWidth(text, pointSize), pointSize);
    d.text = text;
    d.pointSize = pointSize;
    d.color = c;
    if (look) {
      d.styled = true;
      d.look = *look;
    }
    calls.push_back(d);
    Paint(look ? StyledTextBounds(x, y, text, pointSize, *look) : d.dst, false, false);
  }
  // Paints the last call's area into the model.
  void Paint(const TRect& bounds, bool replaces, bool scaled) {
    if (!modelled) return;
    if (model.empty()) model.assign(800 * 600, 0);
    const TRect screen = Bounds(0, 0, 800, 600);
    const TRect on = Intersection(bounds, screen);
    const bool clipped = clip.Width() > 0 && clip.Height() > 0;
    const TRect r = clipped ? Intersection(on, clip) : on;
    if (Area(r) == 0) return;
    uint64_t id = Id(calls.back());
    if (scaled && clipped && Intersection(on, clip) != on) id = ~id;
    for (int y = r.Top; y < r.Bottom; ++y) {
      uint64_t* row = &model[static_cast<size_t>(y) * 800];
      if (replaces) {
        std::fill(row + r.Left, row + r.Right, id);
      } else {
        for (int x = r.Left; x < r.Right; ++x) row[x] = (row[x] + id) * 0x9E3779B97F4A7C15ull;
      }
    }
  }
  bool IsOpaque(TextureId tex) const {
    auto it = opaque.find(tex);
    return it != opaque.end() && it->second;
  }
  uint64_t Id(const DrawCall& d) const {
    auto upload = upload_.find(d.texture);
    uint64_t h = 1469598103934665603ull;
    auto mix = [&h](int64_t v) { h = (h ^ static_cast<uint64_t>(v)) * 1099511628211ull; };
    for (int64_t v : std::initializer_list<int64_t>{int64_t{d.kind}, int64_t{d.texture}, static_cast<int64_t>(upload == upload_.end() ? 0 : upload->second), int64_t{d.src.Left},
                      int64_t{d.src.Top}, int64_t{d.src.Right}, int64_t{d.src.Bottom}, int64_t{d.dst.Left},
                      int64_t{d.dst.Top}, int64_t{d.dst.Right}, int64_t{d.dst.Bottom}, int64_t{d.cx}, int64_t{d.cy},
                      int64_t{d.w}, int64_t{d.h}, int64_t{d.angle}, int64_t{d.alpha}, std::llround(d.fx * 65536),
                      std::llround(d.fy * 65536), int64_t{d.pointSize}, int64_t{d.color.r}, int64_t{d.color.g},
                      int64_t{d.color.b}, int64_t{d.color.a}})
      mix(v);
    mix(static_cast<int64_t>(std::hash<std::string>()(d.text)));
    if (d.styled)
      for (int64_t v : {int64_t{d.look.Bottom.r}, int64_t{d.look.Bottom.g}, int64_t{d.look.Bottom.b},
                        int64_t{d.look.Bottom.a}, int64_t{d.look.Outline.a}, int64_t{d.look.OutlinePx},
                        int64_t{d.look.Shadow.a}, int64_t{d.look.ShadowDx}, int64_t{d.look.ShadowDy},
                        int64_t{d.look.ShadowBlur}, int64_t{static_cast<int>(d.look.Face)}})
        mix(v);
    return h;
  }

  TextureId nextId_ = 1;
  std::map<TextureId, uint64_t> upload_;  // which upload a number holds now
  uint64_t uploads_ = 0;
};

}  // namespace pondaro::test
