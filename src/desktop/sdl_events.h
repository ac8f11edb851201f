// SDL's events and keyboard state in the game's terms (virtual-key codes).
#pragma once
#include <SDL_gamecontroller.h>
#include <SDL_keycode.h>

#include "platform/events.h"
#include "platform/services.h"

namespace pondaro {

// The game's virtual-key code of an SDL key; 0 for keys the game has no code for.
int VirtualKeyFromSdl(SDL_Keycode key);
SDL_Keycode SdlKeyFromVirtual(int vk);

class SdlDisplay;

class SdlEventSource : public EventSource {
 public:
  // With a window, a plain resize by the user is undone at once (the window keeps
  // 800 x 600 and its place; only maximising means something: full screen at the
  // next tick), and the window's moves are passed on for it to remember its place.
  // Alt+Enter presses that queued up while the display switched are delivered
  // as one when their number is odd and not at all when it is even.
  explicit SdlEventSource(SdlDisplay* window = nullptr) : window_(window) {}
  bool WaitEvent(int timeoutMs, InputEvent& event) override;

 private:
  SdlDisplay* window_;
};

class SdlKeyboard : public Keyboard {
 public:
  ~SdlKeyboard() override;
  bool IsDown(int virtualKey) const override;
  // The first game controller found (opened when it is plugged in).
  JoystickState Joystick() const override;

 private:
  mutable SDL_GameController* controller_ = nullptr;
  mutable bool subsystemTried_ = false;
};

}  // namespace pondaro
