// The drawing surface: what the game needs of a window or an offscreen canvas.
#pragma once
#include <cstdint>
#include <string>

#include "platform/geometry.h"

namespace pondaro {

enum class CursorShape { Arrow, Hand, IBeam, None };

// A picture uploaded to the display; 0 means none.
using TextureId = int;

// How much of a frame a display takes (sprites/dirty_display.h sends it).
enum class FrameUpdates {
  Every,  // every frame in full, changed or not
  Whole,  // a frame that changed in full (a GPU's back buffer is new every frame); else none
  Areas,  // only the areas that changed: the picture stays from one frame to the next
};

// The faces texts are set in: the game's display face, and a plain sans face for
// small print, which a script face would make hard to read.
enum class TextFace : uint8_t { Display, Body };

// A text that must stand out on any background: its letters filled from Top (at
// their top) to Bottom, ringed by a dark outline `OutlinePx` wide, over a soft
// drop shadow `ShadowBlur` px wide moved by (ShadowDx, ShadowDy). Alpha 0: none.
struct TextLook {
  Color Top, Bottom;
  Color Outline{0, 0, 0, 0};
  int OutlinePx = 0;
  Color Shadow{0, 0, 0, 0};
  int ShadowDx = 0, ShadowDy = 0, ShadowBlur = 0;
  TextFace Face = TextFace::Display;
  bool operator==(const TextLook&) const = default;
};

class Display {
 public:
  virtual ~Display() = default;

  // False while the display is down (not initialised, being reset, lost).
  virtual bool CanDraw() const = 0;
  virtual int SurfaceWidth() const = 0;   // 800
  virtual int SurfaceHeight() const = 0;  // 600
  // Width of the drawing surface in window pixels (the aiming angle scales by it).
  virtual int WindowWidth() const = 0;

  // Pictures. `opaque` pictures (every alpha 255) are drawn with blending off.
  virtual TextureId CreateTexture(const Pixels& pixels, bool opaque) = 0;
  virtual void DestroyTexture(TextureId id) = 0;

  virtual void BeginFrame() = 0;
  virtual void EndFrame() = 0;  // flip to the screen
  virtual FrameUpdates Updates() const { return FrameUpdates::Every; }
  // The draws that follow land only inside `area`; an empty area lifts the limit.
  // The areas given in a frame are all that its EndFrame shows (a frame given none
  // shows everything).
  virtual void SetClip(const TRect& area) { (void)area; }
  // The whole surface in a colour; one with alpha below 255 is laid over what is drawn.
  virtual void Fill(Color c) = 0;
  // Part `src` of texture drawn 1:1 with its top-left at (x, y).
  virtual void Draw(TextureId tex, const TRect& src, int x, int y) = 0;
  // Part `src` stretched into `dst`, blended with opacity alpha (255 opaque).
  virtual void DrawStretched(TextureId tex, const TRect& src, const TRect& dst, int alpha) = 0;
  // Part `src` scaled to w x h, rotated by angle (256ths of a turn, clockwise) about its
  // centre, which lands on (cx, cy); blended with opacity alpha.
  virtual void DrawRotated(TextureId tex, const TRect& src, int cx, int cy, int w, int h, int angle,
                           int alpha) = 0;
  // Part `src` scaled to w x h and rotated by angle (256ths, clockwise) about the point at
  // fraction (fx, fy) of the scaled picture, which lands on (px, py): (0, 0) turns it about
  // its top-left corner. Blended with opacity alpha.
  virtual void DrawRotatedAbout(TextureId tex, const TRect& src, int px, int py, int w, int h, double fx,
                                double fy, int angle, int alpha) = 0;

  // Text in the game's face at a point size (96 dpi).
  virtual void DrawText(int x, int y, const std::string& text, int pointSize, Color c) = 0;
  virtual int TextWidth(const std::string& text, int pointSize) = 0;
  // Where DrawText(x, y, text, pointSize, ...) puts its pixels.
  virtual TRect TextBounds(int x, int y, const std::string& text, int pointSize) = 0;
  // Text in a look, its letters where DrawText would put them (the outline and
  // the shadow reach beyond). A display that cannot style text draws it plain.
  virtual void DrawStyledText(int x, int y, const std::string& text, int pointSize, const TextLook& look) {
    DrawText(x, y, text, pointSize, look.Top);
  }
  // The width of the letters of a styled text (outline not counted).
  virtual int StyledTextWidth(const std::string& text, int pointSize, TextFace face) {
    return face == TextFace::Display ? TextWidth(text, pointSize) : 0;
  }
  // Where DrawStyledText(x, y, text, pointSize, look) puts its pixels (on a display
  // that draws it plain, the plain text's).
  virtual TRect StyledTextBounds(int x, int y, const std::string& text, int pointSize, const TextLook& look) {
    (void)look;
    return TextBounds(x, y, text, pointSize);
  }

  // Window.
  virtual void SetCursor(CursorShape shape) = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  virtual bool SetFullScreen(bool on) = 0;  // false when the switch failed
  virtual bool IsMaximized() const = 0;
};

}  // namespace pondaro
