// The crossing's texts over the play: level, lives and score on the plates at the
// top, and the pause and level banners while it stands still.
#include <string>

#include "app/main_form.h"

namespace pondaro {

namespace {
constexpr Color kYellow{255, 255, 0, 255};
}

void TMainForm::CrossingTexts(bool frozen) {
  Display& d = DXDraw();
  if (frozen) {
    if (Paused) d.DrawText(320, 290, "Pause", 25, kYellow);
    if (LevelBanner) d.DrawText(300, 290, "Level " + std::to_string(Level), 25, kYellow);
  }
  d.DrawText(150, -3, "Level: " + std::to_string(Level), 15, kYellow);
  d.DrawText(340, -3, "Lives: " + std::to_string(Lives), 15, kYellow);
  d.DrawText(530, -3, "Score: " + std::to_string(Score), 15, kYellow);
}

}  // namespace pondaro
