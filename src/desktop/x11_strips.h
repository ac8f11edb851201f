// Parts of a picture put on an X11 window through a shared-memory strip a few
// rows high, instead of SDL's window surface: that is a copy of the whole window
// (8 MB in full screen at 1920 x 1080) for a picture that changes a few thousand
// pixels a frame. Kept apart because Xlib's macros clash with the game's names.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>

struct SDL_Window;

namespace pondaro {

class X11Strips {
 public:
  // Null when the window is not on X11, the X server cannot share memory with
  // this program, or its pixels are not 32-bit xRGB; SDL's surface serves then.
  static std::unique_ptr<X11Strips> Open(SDL_Window* window, int width);
  ~X11Strips();
  X11Strips(const X11Strips&) = delete;
  X11Strips& operator=(const X11Strips&) = delete;

  // Window rows [y0, y1) of columns [x0, x1) (x1 - x0 at most Width()): `row(y,
  // out)` writes window row y's pixels there.
  using Row = std::function<void(int y, uint32_t* out)>;
  void Put(int x0, int y0, int x1, int y1, const Row& row);
  void Black(int x, int y, int w, int h);
  int Width() const { return width_; }

 private:
  X11Strips() = default;

  void* display_ = nullptr;  // Display*
  unsigned long window_ = 0;
  void* gc_ = nullptr;       // GC
  void* image_ = nullptr;    // XImage*
  void* shm_ = nullptr;      // XShmSegmentInfo*
  int width_ = 0, rows_ = 0;
};

}  // namespace pondaro
