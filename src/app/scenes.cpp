// ChangeScene with every scene's clean-up and set-up, and the frame functions.
#include "app/main_form.h"
#include "menus/game_over.h"
#include "sprites/background_sprite.h"

namespace pondaro {

void TMainForm::ChangeScene(int n) {
  CleanUpScene(Scene);
  Scene = static_cast<uint8_t>(n);
  // A missing picture abandons the set-up; the scene runs with what was made.
  Guarded([&] { SetUpScene(n); });
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
      PlayMusic("1");
      CreateBackdrop(0);
      SetTimerInterval(Timer1, 2000);
      EnableTimer(Timer1, true);
      break;
    case 2:
      DXDraw().SetCursor(CursorShape::Arrow);
      if (MenuMusicRestart) {
        MenuMusicRestart = false;
        PlayMusic("1");
      }
      HelpPage = 1;
      CreateBackdrop(0);
      break;
    case 3:
    case 7:
      if (MenuMusicRestart) {
        MenuMusicRestart = false;
        PlayMusic(scene == 3 ? "2" : "1");
      }
      CreateBackdrop(0);
      break;
    case 9:
      CreateBackdrop(-1);
      new TGame_Word(*this);
      new TOver_Word(*this);
      PlayMusic("3");
      EnableTimer(Timer1, false);
      SetTimerInterval(Timer1, 5000);
      EnableTimer(Timer1, true);
      break;
    default:  // 4, 5, 6: their screens are still to come
      CreateBackdrop(0);
      break;
  }
}

void TMainForm::SceneFrame() {
  switch (Scene) {
    case 1:
    case 2:
      // The tiled backdrop covers the whole surface: no clearing needed.
      SpriteEngine.Move(16);
      SpriteEngine.Dead();
      SpriteEngine.Draw();
      break;
    case 9:
      SpriteEngine.Move(16);
      SpriteEngine.Dead();
      DXDraw().Fill(Color{0, 0, 0, 255});
      SpriteEngine.Draw();
      NameEntryFrame();
      break;
    default:
      SpriteEngine.Move(16);
      SpriteEngine.Dead();
      DXDraw().Fill(Color{0, 0, 0, 255});
      SpriteEngine.Draw();
      break;
  }
}

}  // namespace pondaro
