// The high-score screen (scene 7): the ten best results on dark row bands, with
// Clear (behind a confirmation), View (the online table) and Back.
#include <string>

#include "app/main_form.h"
#include "menus/screens.h"
#include "menus/table_rows.h"
#include "persist/score_service.h"

namespace pondaro {

namespace {

constexpr TStill kStills[] = {
    // Column heads.
    {"HighScore_Place", 215, 183, 1}, {"HighScore_Name", 420, 184, 1}, {"HighScore_Score", 630, 183, 1},
    // Place numbers, centred on x = 275.
    {"HighScore_1", 275, 221, 2, TAnchor::CentreX}, {"HighScore_2", 275, 257, 2, TAnchor::CentreX},
    {"HighScore_3", 275, 294, 2, TAnchor::CentreX}, {"HighScore_4", 275, 331, 2, TAnchor::CentreX},
    {"HighScore_5", 275, 368, 2, TAnchor::CentreX}, {"HighScore_6", 275, 405, 2, TAnchor::CentreX},
    {"HighScore_7", 275, 443, 2, TAnchor::CentreX}, {"HighScore_8", 275, 478, 2, TAnchor::CentreX},
    {"HighScore_9", 275, 516, 2, TAnchor::CentreX}, {"HighScore_10", 275, 553, 2, TAnchor::CentreX},
    {"HighScore_Word", 343, 26, 2},
    {"HighScore_Clear_n", 0, 197, 2}, {"HighScore_View_n", 0, 304, 2}, {"HighScore_Back_n", 0, 437, 2},
    // Row bands: the heads' and then one per place.
    {"HighScore_Table_row", 205, 180, 1}, {"HighScore_Table_row", 205, 217, 1},
    {"HighScore_Table_row", 205, 254, 1}, {"HighScore_Table_row", 205, 291, 1},
    {"HighScore_Table_row", 205, 328, 1}, {"HighScore_Table_row", 205, 365, 1},
    {"HighScore_Table_row", 205, 402, 1}, {"HighScore_Table_row", 205, 439, 1},
    {"HighScore_Table_row", 205, 476, 1}, {"HighScore_Table_row", 205, 513, 1},
    {"HighScore_Table_row", 205, 550, 1},
};

void Clear(TMainForm& f) {
  f.GameClearHighScoreClick();
  ClickSound(f);
}
void View(TMainForm& f) {
  f.GoWeb(kOnlineTableUrl);
  ClickSound(f);
}
void Back(TMainForm& f) {
  f.ChangeScene(2);
  ClickSound(f);
}

constexpr TMenuItem kItems[] = {
    {{10, 215, 185, 260}, "HighScore_Clear_n", "HighScore_Clear_d", 0, 190, 3, Show<HighScore_Clear>, Clear},
    {{15, 314, 190, 382}, "HighScore_View_n", "HighScore_View_d", 0, 283, 3, Show<HighScore_View>, View},
    {{42, 446, 158, 472}, "HighScore_Back_n", "HighScore_Back_d", 0, 411, 3, Show<HighScore_Back>, Back},
};

constexpr int kTableTextSize = 16;

}  // namespace

std::span<const TStill> HighScoreStills() { return kStills; }
std::span<const TMenuItem> HighScoreItems() { return kItems; }

void TMainForm::EnterHighScores() {
  if (MenuMusicRestart) {
    MenuMusicRestart = false;
    PlayMusic("1");
  }
  PlaceStills(*this, kStills);
  PlaceLogosAndBackdrop(*this);
}

void TMainForm::HighScoreFrame() {
  // The clear dialog hides the table's text; the bands stay.
  if (GameClearHighScore) return;
  for (int i = 0; i < 10; ++i) DrawTableRow(*this, i, kTableTextSize);
}

}  // namespace pondaro
