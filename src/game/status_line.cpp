// The texts over the play: the status line on the plates at the top (the crossing's
// level, lives and score; the feeding stage's time, lives and score), and the
// pause and level banners while a stage stands still, outlined so that they read
// over any lily, with the paused pond dimmed beneath.
#include <string>

#include "app/main_form.h"
#include "menus/text_looks.h"

namespace pondaro {

namespace {

constexpr Color kYellow{255, 255, 0, 255};
constexpr int kBannerSize = 32;
// Laid over the pond while it is paused: it stands still, dimmed, under the word.
constexpr Color kDim{0, 22, 30, 120};

// A banner centred across the screen, its letters' top at y.
void Banner(Display& d, const std::string& text, int y) {
  d.DrawStyledText(400 - d.StyledTextWidth(text, kBannerSize, TextFace::Display) / 2, y, text, kBannerSize,
                   looks::kBanner);
}

void PauseBanner(Display& d, int y) {
  d.Fill(kDim);
  Banner(d, "Pause", y);
}

}  // namespace

void TMainForm::CrossingTexts(bool frozen) {
  Display& d = DXDraw();
  if (frozen) {
    if (Paused) PauseBanner(d, 280);
    if (LevelBanner) Banner(d, "Level " + std::to_string(Level), 280);
  }
  d.DrawText(150, -3, "Level: " + std::to_string(Level), 15, kYellow);
  d.DrawText(340, -3, "Lives: " + std::to_string(Lives), 15, kYellow);
  d.DrawText(530, -3, "Score: " + std::to_string(Score), 15, kYellow);
}

void TMainForm::FeedingTexts(bool frozen) {
  Display& d = DXDraw();
  if (frozen && Paused) PauseBanner(d, 260);
  d.DrawText(143, 0, "Time:", 14, kYellow);
  d.DrawText(230, 0, std::to_string(LevelTimeLeft), 14, kYellow);
  d.DrawText(338, 0, "Lives:", 14, kYellow);
  d.DrawText(450, 0, std::to_string(Lives), 14, kYellow);
  d.DrawText(528, 0, "Score:", 14, kYellow);
  d.DrawText(650, 0, std::to_string(Score), 14, kYellow);
}

}  // namespace pondaro
