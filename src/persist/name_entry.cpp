// Name entry after a game over.
#include "app/main_form.h"

namespace pondaro {

void TMainForm::GameEnterNameClick() {
  GameEnterName = !GameEnterName;
  if (!GameEnterName) return;
  // An empty name is typed at once; a remembered one is offered with typing off.
  GamegoEdit = Edit2.empty();
}

}  // namespace pondaro
