// The menu screens' pictures and pointer tables. The set-ups build from them, the
// mouse handlers read them, and the asset tests check the pictures against them.
#pragma once
#include <span>
#include <string>
#include <vector>

#include "menus/menu.h"

namespace pondaro {

// Dialogs are drawn above every sprite of the play (whose deepest is at 905).
inline constexpr int kDialogZ = 1001;

std::span<const TStill> MainMenuStills();
std::span<const TMenuItem> MainMenuItems();

// The pictures of one help page (none on pages 1 and 2), and those of every page.
std::span<const TStill> HelpPageStills(int page);
std::span<const TStill> HelpStills();
std::span<const TMenuItem> HelpItems();  // Back, then next page, then previous page
void HelpHover(TMainForm& form);

std::span<const TStill> OptionsStills();
std::span<const TMenuItem> OptionsItems();
// The rows for the keyboard: display, music, sound, country, back; and the lit
// names the first four show.
std::span<const TMenuStop> OptionsStops();
std::span<const TMenuItem> OptionsRowNames();
// The marks, one for each of the first six items, in their order.
std::span<const TStill> OptionsMarks();
void OptionsClick(TMainForm& form);

std::span<const TStill> HighScoreStills();
std::span<const TMenuItem> HighScoreItems();
// The items with a row for each place that has a replay, as the screen was set up.
std::span<const TMenuItem> HighScoreItems(const TMainForm& form);

// Panel and caption of the exit dialog, then of the clear dialog.
std::span<const TStill> DialogStills();
std::span<const TMenuItem> ExitDialogItems();
std::span<const TMenuItem> ClearDialogItems();

// Every picture the menu screens and dialogs show, each name once.
std::vector<std::string> MenuPictureNames();

}  // namespace pondaro
