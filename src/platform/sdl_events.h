// SDL's events and keyboard state in the game's terms (virtual-key codes).
#pragma once
#include <SDL_keycode.h>

#include "platform/events.h"
#include "platform/services.h"

namespace pondaro {

// The game's virtual-key code of an SDL key; 0 for keys the game has no code for.
int VirtualKeyFromSdl(SDL_Keycode key);
SDL_Keycode SdlKeyFromVirtual(int vk);

class SdlEventSource : public EventSource {
 public:
  bool WaitEvent(int timeoutMs, InputEvent& event) override;
};

class SdlKeyboard : public Keyboard {
 public:
  bool IsDown(int virtualKey) const override;
};

}  // namespace pondaro
