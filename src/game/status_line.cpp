// The texts over the play: the status line on the plates at the top (the crossing's
// level, lives and score; the feeding stage's time, lives and score), and the
// pause and level banners while a stage stands still.
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

void TMainForm::FeedingTexts(bool frozen) {
  Display& d = DXDraw();
  if (frozen && Paused) d.DrawText(320, 270, "Pause", 25, kYellow);
  d.DrawText(143, 0, "Time:", 14, kYellow);
  d.DrawText(230, 0, std::to_string(LevelTimeLeft), 14, kYellow);
  d.DrawText(338, 0, "Lives:", 14, kYellow);
  d.DrawText(450, 0, std::to_string(Lives), 14, kYellow);
  d.DrawText(528, 0, "Score:", 14, kYellow);
  d.DrawText(650, 0, std::to_string(Score), 14, kYellow);
}

}  // namespace pondaro
