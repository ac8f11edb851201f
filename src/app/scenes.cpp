// ChangeScene with every scene's clean-up and set-up, and the frame functions.
#include "app/main_form.h"
#include "menus/menu.h"
#include "replay/tape.h"
#include "sprites/background_sprite.h"

namespace pondaro {

namespace {

// A game runs from the crossing's start to the end of its name entry.
bool InGame(int scene) { return scene == 3 || scene == 4 || scene == 9; }

}  // namespace

void TMainForm::ChangeScene(int n) {
  if (Tape && InGame(Scene) != InGame(n)) {
    if (InGame(n))
      Tape->GameStarts(*this);
    else
      Tape->GameEnds(*this);
  }
  CleanUpScene(Scene);
  // A screen built again (a help page turned) keeps its highlight, and a quick
  // second click on its arrow turns the next page.
  if (n != Scene) {
    Menus.Focus = -1;
    ++Menus.Screen;
  }
  Scene = static_cast<uint8_t>(n);
  // A missing picture abandons the set-up; the scene runs with what was made.
  Guarded([&] { SetUpScene(n); });
  SyncLevelTimer();
  ShowMenuFocus(*this);
}

void TMainForm::CleanUpScene(int scene) {
  switch (scene) {
    case 0:
      return;
    case 2:
      Level = 1;
      Score = 0;
      Lives = 3;
      break;
    case 3:
    case 4:
      MenuMusicRestart = true;
      GameOver = false;
      if (scene == 4) NormalRound = true;
      Root().Clear();
      Guarded([&] { StopSound("all"); });
      return;
    default:
      break;
  }
  Root().Clear();
  if (scene == 6) {
    GamegoEdit = false;
    SaveSettings();
  } else if (scene == 7) {
    SaveSettings();
    Menus.NewPlace = 0;  // lit only on the first showing after name entry
  } else if (scene == 9) {
    GameOver = false;
    GameEnterName = GamegoEdit = GameSendResult = false;
    SaveSettings();
  }
}

void TMainForm::CreateBackdrop(int z) {
  auto* back = new TBackgroundSprite(&Root());
  back->SetMapDimensions(1, 1);
  back->Image = &ImageList.Find("menu");
  back->Tile = true;
  back->SetZ(z);
}

void TMainForm::SetUpScene(int scene) {
  switch (scene) {
    case 1:
      MenuMusicRestart = false;
      // The splash is the game's first frame: its song follows it.
      songAfterFrame_ = "1";
      CreateBackdrop(0);
      SetTimerInterval(Timer1, 2000);
      EnableTimer(Timer1, true);
      break;
    case 2: EnterMainMenu(); break;
    case 3: EnterCrossing(); break;
    case 4: EnterFeedingStage(); break;
    case 5: EnterHelp(); break;
    case 6: EnterOptions(); break;
    case 7: EnterHighScores(); break;
    case 9: EnterGameOver(); break;
    default: break;
  }
}

void TMainForm::SceneFrame() {
  // A message on the game's panel holds every scene still until it is closed.
  if (MessagePanel.Open()) {
    MessagePanelFrame(*this);
    return;
  }
  switch (Scene) {
    case 1:
    case 2:
      // The tiled backdrop covers the whole surface: no clearing needed.
      SpriteEngine.Move(16);
      SpriteEngine.Dead();
      SpriteEngine.Draw();
      break;
    case 3: CrossingFrame(); break;
    case 4: FeedingFrame(); break;
    case 5: PlainFrame(); HelpFrame(); break;
    case 6: PlainFrame(); OptionsFrame(); break;
    case 7: PlainFrame(); HighScoreFrame(); break;
    case 9: PlainFrame(); NameEntryFrame(); break;
    default: PlainFrame(); break;
  }
}

// Move, flush, clear to black, draw: the screens that write text over their sprites.
void TMainForm::PlainFrame() {
  SpriteEngine.Move(16);
  SpriteEngine.Dead();
  DXDraw().Fill(Color{0, 0, 0, 255});
  SpriteEngine.Draw();
}

}  // namespace pondaro
