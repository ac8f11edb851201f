#include "desktop/x11_window.h"

#include <SDL.h>
#include <SDL_syswm.h>

namespace pondaro {

namespace {

bool X11Handles(SDL_Window* window, ::Display*& display, ::Window& xwindow) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return false;
  display = info.info.x11.display;
  xwindow = info.info.x11.window;
  return display != nullptr;
}

}  // namespace

bool X11WindowArea(SDL_Window* window, ScreenArea& area) {
  ::Display* display;
  ::Window xwindow;
  if (!X11Handles(window, display, xwindow)) return false;
  XSync(display, False);
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, xwindow, &attributes)) return false;
  ::Window child;
  int x = 0, y = 0;
  XTranslateCoordinates(display, xwindow, DefaultRootWindow(display), 0, 0, &x, &y, &child);
  area = ScreenArea{x, y, attributes.width, attributes.height};
  return true;
}

bool X11PlaceWindow(SDL_Window* window, const ScreenArea& area) {
  ::Display* display;
  ::Window xwindow;
  if (!X11Handles(window, display, xwindow)) return false;
  XMoveResizeWindow(display, xwindow, area.x, area.y, static_cast<unsigned>(area.w), static_cast<unsigned>(area.h));
  XRaiseWindow(display, xwindow);
  XSync(display, False);
  return true;
}

}  // namespace pondaro
