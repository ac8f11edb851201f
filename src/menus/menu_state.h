// The menu screens' shared values.
#pragma once

namespace pondaro {

struct TMenuState {
  // The pointer was last outside every item: the next item it enters plays the
  // hover sound. The help screen's Back button keeps its own flag.
  bool PointerOutside = false;
  bool PointerOutsideBack = false;
  // The place (1..10) just entered after a game: the table shows it lit until
  // the screen is left. 0: none.
  int NewPlace = 0;
};

}  // namespace pondaro
