// The game-over screen: the two words, then the name-entry panel when the score
// earns a place in the table.
#pragma once
#include "menus/menu.h"

namespace pondaro {

class TGame_Word : public TPlainSprite {
 public:
  explicit TGame_Word(TMainForm& form) : TPlainSprite(form, "Game_Word", 149, 118, 1, true) {}
};

class TOver_Word : public TPlainSprite {
 public:
  explicit TOver_Word(TMainForm& form) : TPlainSprite(form, "Over_Word", 164, 284, 1, true) {}
};

// The name-entry panel after a game over, centred on the screen behind its texts.
class TEnter_Name : public TMenu {
 public:
  explicit TEnter_Name(TMainForm& form);
};

// The tick in the panel's "send online" box.
class TEnter_Name_Send : public TMenu {
 public:
  explicit TEnter_Name_Send(TMainForm& form);
};

}  // namespace pondaro
