// The menu screens' shared values.
#pragma once

namespace pondaro {

struct TMenuState {
  // The pointer was last outside every item: the next item it enters plays the
  // hover sound. The help screen's Back button keeps its own flag.
  bool PointerOutside = false;
  bool PointerOutsideBack = false;
};

}  // namespace pondaro
