// What SDL cannot tell about an X11 window: where the X server really has it.
// Kept apart because Xlib's macros (None, Status, ...) clash with the game's names.
#pragma once

struct SDL_Window;

namespace pondaro {

struct ScreenArea {
  int x = 0, y = 0, w = 0, h = 0;
};

// The window's real place on the X server. False when it is not an X11 window.
bool X11WindowArea(SDL_Window* window, ScreenArea& area);
// Moves and sizes the window on the X server itself and raises it: without a
// window manager nobody else will. False when it is not an X11 window.
bool X11PlaceWindow(SDL_Window* window, const ScreenArea& area);

}  // namespace pondaro
