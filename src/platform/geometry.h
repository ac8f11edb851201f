// Plain value types shared by the game code and the platform layer.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace pondaro {

// Integer rectangle, right and bottom exclusive.
struct TRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool operator==(const TRect&) const = default;
};

inline TRect Bounds(int x, int y, int w, int h) { return {x, y, x + w, y + h}; }

// Strict overlap: rectangles that only touch do not overlap.
inline bool OverlapRect(const TRect& a, const TRect& b) {
  return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

struct Color {
  uint8_t r = 0, g = 0, b = 0, a = 255;
  bool operator==(const Color&) const = default;
};

// Decoded picture, RGBA8 row by row (4 bytes a pixel, no padding). The game keeps
// this CPU copy for the pixel-exact collision test.
struct Pixels {
  int Width = 0, Height = 0;
  std::vector<uint8_t> Rgba;
  uint8_t AlphaAt(int x, int y) const { return Rgba[(static_cast<size_t>(y) * Width + x) * 4 + 3]; }
};

}  // namespace pondaro
