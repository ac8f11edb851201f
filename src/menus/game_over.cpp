#include "menus/game_over.h"

#include "app/main_form.h"

namespace pondaro {

void TMainForm::EnterGameOver() {
  CreateBackdrop(-1);
  new TGame_Word(*this);
  new TOver_Word(*this);
  PlayMusic("3");
  EnableTimer(Timer1, false);
  SetTimerInterval(Timer1, 5000);
  EnableTimer(Timer1, true);
}

}  // namespace pondaro
