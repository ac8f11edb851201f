// The display's window as the desktop sees it: cursor, caption, full screen and
// the place and size the player or the window manager give it.
#include <SDL.h>

#include "desktop/sdl_display.h"
#include "desktop/x11_window.h"

namespace pondaro {

void SdlDisplay::SetCursor(CursorShape shape) {
  if (shape == cursor_) return;
  cursor_ = shape;
  if (!window_) return;
  if (shape == CursorShape::None) {
    SDL_ShowCursor(SDL_DISABLE);
    return;
  }
  SDL_Cursor* c = cursors_[shape == CursorShape::Hand ? 1 : shape == CursorShape::IBeam ? 2 : 0];
  if (c) SDL_SetCursor(c);
  SDL_ShowCursor(SDL_ENABLE);
}

void SdlDisplay::SetCaption(const std::string& caption) {
  caption_ = caption;
  if (window_) SDL_SetWindowTitle(window_, caption.c_str());
}

bool SdlDisplay::SetFullScreen(bool on) {
  if (!window_ || on == fullScreen_) {
    fullScreen_ = on;
    return true;
  }
  if (on) {
    if (SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) return false;
    CoverScreen();
  } else {
    if (SDL_SetWindowFullscreen(window_, 0) != 0) return false;
    if (SDL_GetWindowFlags(window_) & SDL_WINDOW_MAXIMIZED) SDL_RestoreWindow(window_);
    SDL_SetWindowSize(window_, kWidth, kHeight);
    SDL_SetWindowPosition(window_, placeX_, placeY_);
  }
  fullScreen_ = on;
  Invalidate();
  return true;
}

// SDL asks the window manager for full screen and then believes the window has the
// screen's size. Without a window manager (a bare X session, a kiosk) nothing
// happens and the game would draw a screen-sized picture into its small window;
// the window is then sized to the screen here.
void SdlDisplay::CoverScreen() {
  SDL_Rect screen;
  if (SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(window_), &screen) != 0) return;
  ScreenArea real;
  if (!X11WindowArea(window_, real)) return;
  if (real.x == screen.x && real.y == screen.y && real.w == screen.w && real.h == screen.h) return;
  X11PlaceWindow(window_, ScreenArea{screen.x, screen.y, screen.w, screen.h});
}

bool SdlDisplay::IsMaximized() const {
  return window_ && (SDL_GetWindowFlags(window_) & SDL_WINDOW_MAXIMIZED) != 0;
}

bool SdlDisplay::IsMinimized() const {
  return window_ && (SDL_GetWindowFlags(window_) & SDL_WINDOW_MINIMIZED) != 0;
}

uint32_t SdlDisplay::WindowId() const { return window_ ? SDL_GetWindowID(window_) : 0; }

bool SdlDisplay::IsPlainWindow() const {
  const Uint32 busy = SDL_WINDOW_MAXIMIZED | SDL_WINDOW_MINIMIZED | SDL_WINDOW_FULLSCREEN_DESKTOP;
  return window_ && !fullScreen_ && (SDL_GetWindowFlags(window_) & busy) == 0;
}

void SdlDisplay::KeepWindowSize() {
  // Without a window manager nobody but the game keeps a full-screen window
  // covering the screen when another program resizes it.
  if (window_ && fullScreen_) CoverScreen();
  if (!IsPlainWindow()) return;
  int w = 0, h = 0;
  SDL_GetWindowSize(window_, &w, &h);
  if (w == kWidth && h == kHeight) return;
  // A resize by an edge or corner moved the window too: it goes back where it was.
  SDL_SetWindowSize(window_, kWidth, kHeight);
  SDL_SetWindowPosition(window_, placeX_, placeY_);
}

void SdlDisplay::WindowMoved(int x, int y) {
  if (!IsPlainWindow()) return;
  // Moves that come with another size are a resize or a maximise, not the player's place.
  int w = 0, h = 0;
  SDL_GetWindowSize(window_, &w, &h);
  if (w != kWidth || h != kHeight) return;
  placeX_ = x;
  placeY_ = y;
}

}  // namespace pondaro
