#include "desktop/x11_window.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <unistd.h>

#include <string>

#include "app/diagnostics.h"
#include "desktop/sdl_system.h"

namespace pondaro {

namespace {

// Set by X11OnConnectionLost: Xlib's handler takes no data of its own.
std::function<void()> connectionLostEnd;

int OnConnectionLost(::Display* display) {
  // Xlib may call this again from the saving end's own clean-up: the first call ends it all.
  static bool ending = false;
  if (!ending) {
    ending = true;
    ForgetScreen();
    const char* name = display ? DisplayString(display) : nullptr;
    Diagnose(std::string("the connection to the display ") + (name ? name : "") +
             " was lost; the game saves its settings and ends");
    if (connectionLostEnd) connectionLostEnd();
  }
  // Not exit(): its clean-up would talk to the dead server again.
  _exit(1);
}

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

void X11OnConnectionLost(uint32_t windowId, std::function<void()> savingEnd) {
  ::Display* display;
  ::Window xwindow;
  if (!windowId || !X11Handles(SDL_GetWindowFromID(windowId), display, xwindow)) return;
  connectionLostEnd = std::move(savingEnd);
  XSetIOErrorHandler(OnConnectionLost);
}

}  // namespace pondaro
