// The menu screens' set-ups and frames.
// TODO(menus): the main menu's items, help pages, options and the high-score
// screen replace these bare backdrops.
#include "app/main_form.h"

namespace pondaro {

void TMainForm::EnterMainMenu() {
  DXDraw().SetCursor(CursorShape::Arrow);
  if (MenuMusicRestart) {
    MenuMusicRestart = false;
    PlayMusic("1");
  }
  HelpPage = 1;
  CreateBackdrop(0);
}

void TMainForm::EnterHelp() { CreateBackdrop(0); }
void TMainForm::HelpFrame() {}
void TMainForm::EnterOptions() { CreateBackdrop(0); }
void TMainForm::OptionsFrame() {}

void TMainForm::EnterHighScores() {
  if (MenuMusicRestart) {
    MenuMusicRestart = false;
    PlayMusic("1");
  }
  CreateBackdrop(0);
}
void TMainForm::HighScoreFrame() {}
void TMainForm::GameClearHighScoreClick() {}
void TMainForm::TypeCountry(int) {}

}  // namespace pondaro
