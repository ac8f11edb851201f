// The software-drawn 800 x 600 canvas shown in the window: only the areas that
// changed are sent to the X server, scaled to the screen in full screen
// (letterboxed), through a strip of shared memory a few rows high, or where that
// cannot be, through the window's own surface.
#pragma once
#include <memory>
#include <vector>

#include <SDL_rect.h>

#include "desktop/x11_strips.h"

struct SDL_Window;
struct SDL_Surface;
union SDL_Event;

namespace pondaro {

class SdlPresenter {
 public:
  // Pointer positions in the window's events are given in canvas pixels from now on,
  // as SDL's renderer gives them when it scales.
  explicit SdlPresenter(SDL_Window* window);
  ~SdlPresenter();
  SdlPresenter(const SdlPresenter&) = delete;
  SdlPresenter& operator=(const SdlPresenter&) = delete;

  // Shows `areas` of the canvas, or all of it when there are none. False when the
  // window has no surface to show it on.
  bool Show(SDL_Surface* canvas, const std::vector<SDL_Rect>& areas);
  // The window lost its pixels (uncovered, resized): the next Show sends everything.
  void Invalidate() { all_ = true; }
  // The canvas's width on the screen, in window pixels.
  int PictureWidth() const { return pictureW_; }
  // A window position in canvas pixels (outside the picture, beyond its edges).
  void ToCanvas(int& x, int& y) const;
  // Window pixels sent to the screen so far.
  long long PixelsSent() const { return pixelsSent_; }

 private:
  static int Watch(void* self, SDL_Event* event);
  void Layout(int w, int h);
  // The areas to send: everything after a loss, else `areas` on the canvas.
  std::vector<SDL_Rect> Parts(const std::vector<SDL_Rect>& areas) const;
  // Row y of the picture on the screen, columns [x0, x1), from the canvas.
  void ScaledRow(const SDL_Surface* canvas, int y, int x0, int x1, uint32_t* out) const;
  // The window rectangle that canvas area `a` covers on the screen.
  SDL_Rect OnScreen(const SDL_Rect& a) const;
  bool ShowInStrips(SDL_Surface* canvas, const std::vector<SDL_Rect>& areas, int w, int h);
  bool ShowOnSurface(SDL_Surface* canvas, const std::vector<SDL_Rect>& areas);

  SDL_Window* window_;
  SDL_Surface* surface_ = nullptr;
  int surfaceW_ = 0, surfaceH_ = 0;
  int left_ = 0, top_ = 0, pictureW_ = 800, pictureH_ = 600;
  // Nearest-pixel scaling, the same for a part as for the whole: the canvas pixel
  // of each window column and row, and the first window column and row of each
  // canvas one (one past the end included).
  std::vector<int> srcX_, srcY_, firstX_, firstY_;
  bool all_ = true;
  bool triedStrips_ = false;
  std::unique_ptr<X11Strips> strips_;
  std::vector<SDL_Rect> sent_;
  long long pixelsSent_ = 0;
};

}  // namespace pondaro
