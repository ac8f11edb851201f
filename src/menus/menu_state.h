// The menu screens' shared values.
#pragma once
#include <bitset>
#include <cstdint>

namespace pondaro {

struct TMenuState {
  // The pointer was last outside every item: the next item it enters plays the
  // hover sound. The help screen's Back button keeps its own flag.
  bool PointerOutside = false;
  bool PointerOutsideBack = false;

  // The highlighted stop of the screen's keyboard order (menus/menu_keys.cpp); -1: none.
  int Focus = -1;
  bool FocusByPointer = false;  // the pointer put it there, not the keys
  // Counts the screen's changes: a scene set up, a dialog opened or closed.
  uint32_t Screen = 0;
  // The press that last changed the screen, where and when: the second press of
  // its double click is swallowed.
  bool PressChangedScreen = false;
  uint64_t PressMs = 0;
  int PressX = 0, PressY = 0;
  // Keys and controller buttons a menu acted on: play reads them as released until
  // they are let go, so one press acts once.
  std::bitset<256> SwallowedKeys;
  uint32_t SwallowedPad = 0;
  uint32_t PadButtons = 0;  // last tick's controller buttons
  int PadDirection = 0, PadRepeat = 0;  // the held stick or pad direction, and ticks to its next step

  // The place (1..10) just entered after a game: the table shows it lit until
  // the screen is left. 0: none.
  int NewPlace = 0;
};

}  // namespace pondaro
