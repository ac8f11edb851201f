// What SDL cannot tell about an X11 window: where the X server really has it.
// Kept apart because Xlib's macros (None, Status, ...) clash with the game's names.
#pragma once
#include <cstdint>
#include <functional>

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

// When the connection to the X server is lost (the server ended, the window was
// killed from outside), Xlib would end the program on the spot. Instead: one line
// on stderr, `savingEnd` (which must only write files: there is no display any
// more), then exit status 1. For the X connection of SDL's window `windowId`;
// nothing happens for other displays.
void X11OnConnectionLost(uint32_t windowId, std::function<void()> savingEnd);

}  // namespace pondaro
