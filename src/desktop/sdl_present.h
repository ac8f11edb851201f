// The software-drawn 800 x 600 canvas shown in the window: only the areas that
// changed are copied to the window's own surface (scaled to the screen in full
// screen, letterboxed) and only they are sent to the X server.
#pragma once
#include <vector>

#include <SDL_rect.h>

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
  // Copies canvas area `a` to the window surface; the window rectangle it filled.
  SDL_Rect Copy(SDL_Surface* canvas, SDL_Surface* surface, const SDL_Rect& a) const;

  SDL_Window* window_;
  SDL_Surface* surface_ = nullptr;
  int surfaceW_ = 0, surfaceH_ = 0;
  int left_ = 0, top_ = 0, pictureW_ = 800, pictureH_ = 600;
  // Nearest-pixel scaling, the same for a part as for the whole: the canvas pixel
  // of each window column and row, and the first window column and row of each
  // canvas one (one past the end included).
  std::vector<int> srcX_, srcY_, firstX_, firstY_;
  bool all_ = true;
  std::vector<SDL_Rect> sent_;
  long long pixelsSent_ = 0;
};

}  // namespace pondaro
