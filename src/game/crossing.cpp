// The crossing: level set-up, the lily grid, the scroll and the level logic.
#include "app/main_form.h"

namespace pondaro {

int RippleSizeOf(uint8_t k) {
  switch (k) {
    case kind::Simple2:
    case kind::Sticky:
      return 2;
    case kind::Simple3:
    case kind::Hunter:
    case kind::Springy:
      return 3;
    default:
      return 1;
  }
}

void TMainForm::EnterCrossing() {
  if (MenuMusicRestart) {
    MenuMusicRestart = false;
    PlayMusic("2");
  }
  CreateBackdrop(0);
}
void TMainForm::StartLevel() {}
void TMainForm::FillLilyGrid() {}
void TMainForm::ShiftLilyGrid() {}
void TMainForm::CreateLilies() {}
void TMainForm::CrossingFrame() { PlainFrame(); }
void TMainForm::CrossingLogic() {}
void TMainForm::RebuildCell(int, int) {}
void TMainForm::CrossingTexts(bool) {}

}  // namespace pondaro
