// The group-removable pictures of the dialogs and the options screen (the
// name-entry panel's are in game_over.h).
#pragma once
#include "menus/menu.h"

namespace pondaro {

#define PONDARO_PANEL(Name)              \
  class Name : public TMenu {            \
   public:                               \
    explicit Name(TMainForm& form);      \
  }
PONDARO_PANEL(TMainExit);
PONDARO_PANEL(TMainExit_Word);
PONDARO_PANEL(TClearHighScore);
PONDARO_PANEL(TClearHighScore_Word);
PONDARO_PANEL(Options_window_mode);
PONDARO_PANEL(Options_full_screen);
PONDARO_PANEL(Options_sound_on);
PONDARO_PANEL(Options_sound_off);
PONDARO_PANEL(Options_music_on);
PONDARO_PANEL(Options_music_off);
#undef PONDARO_PANEL

}  // namespace pondaro
