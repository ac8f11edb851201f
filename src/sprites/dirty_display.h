// Drawing only what changed. The game draws into this display as into any other;
// it keeps the frame's draw calls and, when the frame ends, compares them with the
// last frame's, in order. Where they differ (a sprite moved, turned, took another
// frame, opacity, size or depth, came or went; a text changed) the old and the new
// call's areas are drawn again, and only they: every call of the frame that
// crosses them, in the frame's order, clipped to them. A frame that changed
// nothing is neither drawn nor shown.
//
// The result is the frame drawn whole, pixel for pixel: outside the areas every
// pixel is drawn by the same calls in the same order as last time, and the areas
// never overlap, so none is drawn twice. A scaled picture lands differently when
// clipped (the scaler steps from the clipped edge), so one that crosses an area
// is drawn whole: its box joins the areas.
//
// The real display says how much it takes (Display::Updates): every frame whole,
// only changed frames whole (a GPU), or only the changed areas.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/display.h"
#include "sprites/dirty_rects.h"

namespace pondaro {

// Where a picture w x h turned by `angle` (256ths) about the point at fraction
// (fx, fy) of it, which lands on (px, py), may put pixels.
TRect TurnedBounds(int px, int py, int w, int h, double fx, double fy, int angle);

class TDirtyDisplay : public Display {
 public:
  explicit TDirtyDisplay(Display& real);

  bool CanDraw() const override { return real_.CanDraw(); }
  int SurfaceWidth() const override { return real_.SurfaceWidth(); }
  int SurfaceHeight() const override { return real_.SurfaceHeight(); }
  int WindowWidth() const override { return real_.WindowWidth(); }
  TextureId CreateTexture(const Pixels& pixels, bool opaque) override;
  void DestroyTexture(TextureId id) override;

  void BeginFrame() override;
  void EndFrame() override;
  FrameUpdates Updates() const override { return real_.Updates(); }
  void SetClip(const TRect& area) override { real_.SetClip(area); }
  void Fill(Color c) override;
  void Draw(TextureId tex, const TRect& src, int x, int y) override;
  void DrawStretched(TextureId tex, const TRect& src, const TRect& dst, int alpha) override;
  void DrawRotated(TextureId tex, const TRect& src, int cx, int cy, int w, int h, int angle, int alpha) override;
  void DrawRotatedAbout(TextureId tex, const TRect& src, int px, int py, int w, int h, double fx, double fy,
                        int angle, int alpha) override;
  void DrawText(int x, int y, const std::string& text, int pointSize, Color c) override;
  int TextWidth(const std::string& text, int pointSize) override { return real_.TextWidth(text, pointSize); }
  TRect TextBounds(int x, int y, const std::string& text, int pointSize) override;
  void DrawStyledText(int x, int y, const std::string& text, int pointSize, const TextLook& look) override;
  int StyledTextWidth(const std::string& text, int pointSize, TextFace face) override {
    return real_.StyledTextWidth(text, pointSize, face);
  }
  TRect StyledTextBounds(int x, int y, const std::string& text, int pointSize, const TextLook& look) override;

  void SetCursor(CursorShape shape) override { real_.SetCursor(shape); }
  void SetCaption(const std::string& caption) override { real_.SetCaption(caption); }
  bool SetFullScreen(bool on) override { return real_.SetFullScreen(on); }
  bool IsMaximized() const override { return real_.IsMaximized(); }

  // What the last frame sent to the real display: the areas drawn again (the whole
  // screen when it went whole), none when it changed nothing.
  const std::vector<TRect>& Sent() const { return sent_; }
  long FramesSent() const { return framesSent_; }

 private:
  struct Call {
    enum Kind : uint8_t { Fill, Plain, Stretched, Rotated, Text, Styled } kind = Fill;
    bool whole = false;  // drawn whole or not at all
    TextureId texture = 0;
    uint32_t picture = 0;  // which upload the texture holds: a number can come back with other pixels
    TRect src, dst;        // Plain: dst at (x, y); Rotated: (px, py) and w x h
    double fx = 0, fy = 0;
    int angle = 0, alpha = 255;
    Color color;
    int pointSize = 0;
    std::string text;
    TextLook look;  // Styled
    TRect bounds;  // every pixel it may touch
    uint64_t hash = 0;
    bool operator==(const Call& o) const;
  };
  // Sorted (hash, position) of a frame's calls, to find the next equal call.
  using Index = std::vector<std::pair<uint64_t, int>>;

  Call& Record(Call::Kind kind, TextureId tex, const TRect& src);
  void Finish(Call& c);
  void Play(const Call& c);
  void Compare();
  static void BuildIndex(const std::vector<Call>& calls, int count, Index& index);
  static int Find(const std::vector<Call>& calls, const Index& index, const Call& c, int from);
  void DrawWholeCallsWhole();
  void Send(bool whole);

  Display& real_;
  TRect screen_;
  TDirtyRects areas_;
  std::vector<Call> calls_, last_;  // this frame's and the last one's; only the first count_ / lastCount_ hold calls
  int count_ = 0, lastCount_ = 0;
  bool inFrame_ = false;
  bool lastKnown_ = false;  // the real display shows last_ (no draw went past us meanwhile)
  Index index_, lastIndex_;
  std::vector<uint32_t> pictures_;  // by texture id
  uint32_t uploads_ = 0;
  // A text's area drawn at (0, 0), by size, look and text.
  TRect MovedArea(std::string key, const std::function<TRect()>& measure, int x, int y);
  std::unordered_map<std::string, TRect> textAreas_;
  std::vector<TRect> sent_;
  long framesSent_ = 0;
};

}  // namespace pondaro
