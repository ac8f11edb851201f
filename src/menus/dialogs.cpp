// The two confirmation dialogs: leaving (the program from the main menu, the game
// from play) and clearing the high-score table. They share one panel with Yes
// and No in it; the caption picture tells them apart.
#include "app/main_form.h"
#include "menus/panels.h"
#include "menus/screens.h"

namespace pondaro {

namespace {

constexpr TStill kStills[] = {
    {"Exit_Main", 0, -5, kDialogZ, TAnchor::Centre},
    {"Exit_Main_Word", 275, 241, kDialogZ + 1},
    {"Exit_Main", 0, -5, kDialogZ, TAnchor::Centre},
    {"HighScore_Clear_Word", 239, 241, kDialogZ + 1},
};

// Over the main menu Yes ends the program; over play it ends the game, with name
// entry when the score beats the tenth place.
void ExitYes(TMainForm& f) {
  if (f.Scene == 2) {
    ClickSound(f);
    f.GameMainExitClick();
    f.Terminated = true;
    return;
  }
  f.GameMainExitClick();
  f.ChangeScene(f.Score > f.HighScores[9].Score ? 9 : 2);
  ClickSound(f);
}

void ExitNo(TMainForm& f) {
  if (f.Scene == 2) {
    ClickSound(f);
    f.GameMainExitClick();
    f.ChangeScene(2);
    return;
  }
  f.GameMainExitClick();
  ClickSound(f);
}

void ClearYes(TMainForm& f) {
  f.ResetHighScores();  // rebuilds the screen, and leaving it wrote the table
  f.GameClearHighScoreClick();
  ClickSound(f);
}

void ClearNo(TMainForm& f) {
  f.GameClearHighScoreClick();
  ClickSound(f);
}

constexpr int kChoiceZ = kDialogZ + 1;
constexpr TMenuItem kExitItems[] = {
    {{300, 310, 370, 335}, "Exit_Main", "Exit_Main_Yes_d", 287, 297, kChoiceZ, Show<TMainExit_Yes>, ExitYes},
    {{441, 312, 490, 338}, "Exit_Main", "Exit_Main_No_d", 427, 296, kChoiceZ, Show<TMainExit_No>, ExitNo},
};
constexpr TMenuItem kClearItems[] = {
    {{310, 310, 385, 350}, "Exit_Main", "Exit_Main_Yes_d", 287, 297, kChoiceZ, Show<TMainExit_Yes>, ClearYes},
    {{430, 310, 490, 350}, "Exit_Main", "Exit_Main_No_d", 427, 296, kChoiceZ, Show<TMainExit_No>, ClearNo},
};

void KillDialogSprites(TMainForm& f) {
  f.Root().ForEach<TMenu>([](TMenu* s) { s->Dead(); });
  f.Root().ForEach<TMenuGame>([](TMenuGame* s) { s->Dead(); });
}

}  // namespace

std::span<const TStill> DialogStills() { return kStills; }
std::span<const TMenuItem> ExitDialogItems() { return kExitItems; }
std::span<const TMenuItem> ClearDialogItems() { return kClearItems; }

TMainExit::TMainExit(TMainForm& f) : TMenu(f, kStills[0]) {}
TMainExit_Word::TMainExit_Word(TMainForm& f) : TMenu(f, kStills[1]) {}
TClearHighScore::TClearHighScore(TMainForm& f) : TMenu(f, kStills[2]) {}
TClearHighScore_Word::TClearHighScore_Word(TMainForm& f) : TMenu(f, kStills[3]) {}

void TMainForm::GameMainExitClick() {
  if (Scene != 2 && Scene != 3 && Scene != 4) return;
  if (Paused) return;
  GameMainExit = !GameMainExit;
  LevelBanner = false;
  ++Menus.Screen;
  Menus.Focus = -1;
  // The feeding stage's clock stands still while the dialog is open.
  SyncLevelTimer();
  if (GameMainExit) {
    DXDraw().SetCaption("PONDARO [Pause]");
    DXDraw().SetCursor(CursorShape::Hand);
    Guarded([&] { PlaySound("pause"); });
    Guarded([&] {
      new TMainExit(*this);
      new TMainExit_Word(*this);
    });
  } else {
    DXDraw().SetCaption("PONDARO");
    // The menu is worked with the pointer; play hides it.
    DXDraw().SetCursor(Scene == 2 ? CursorShape::Arrow : CursorShape::None);
    Guarded([&] { PlaySound("after_pause"); });
    KillDialogSprites(*this);
  }
}

void TMainForm::GameClearHighScoreClick() {
  GameClearHighScore = !GameClearHighScore;
  ++Menus.Screen;
  Menus.Focus = -1;
  if (GameClearHighScore) {
    Guarded([&] {
      new TClearHighScore(*this);
      new TClearHighScore_Word(*this);
    });
  } else {
    KillDialogSprites(*this);
  }
}

}  // namespace pondaro
