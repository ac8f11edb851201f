// The feeding stage (scene 4): set-up, frame and the stage's rules.
#include <algorithm>

#include "app/main_form.h"
#include "game/feeding_frog.h"
#include "game/insects.h"
#include "game/stork.h"
#include "sprites/background_sprite.h"

namespace pondaro {

namespace {

constexpr Color kBlack{0, 0, 0, 255};

template <class T>
void Spawn(TMainForm& form) {
  new T(form);
}
using SpawnFn = void (*)(TMainForm&);
constexpr SpawnFn kInsects[5] = {Spawn<TMushka>, Spawn<TMuha>, Spawn<TKomar>, Spawn<TVodomerka>, Spawn<TPchel>};

// One row per level from 1 to 5 (5 also stands for every later level): an insect
// comes when Random(100) < Chance; then Random(10) < Below[i] picks the first such i.
struct TSpawnRow {
  int Chance;
  int Below[5];
};
constexpr TSpawnRow kSpawn[5] = {
    {1, {10, 10, 10, 10, 10}},  // midges only
    {2, {6, 10, 10, 10, 10}},
    {3, {4, 8, 10, 10, 10}},
    {4, {3, 6, 8, 10, 10}},
    {5, {2, 4, 6, 8, 10}},
};

}  // namespace

void TMainForm::EnterFeedingStage() {
  auto* back = new TBackgroundSprite(&Root());
  back->SetMapDimensions(1, 1);
  back->Image = &ImageList.Find("bg2");
  back->Tile = true;
  back->SetZ(-2);
  AimAngleOffset = 0;
  Feeding.StorkLegsSpawned = false;
  Feeding.StorkLegsDown = false;
  PlaySound("fon2");
  Feeding.TongueLength = 0;
  Feeding.TongueOut = false;
  new TPlayerSpriteEat(*this);
  new TIazik(*this);
  new TKonec_Iazik(*this);
  CreateBottleAndPanels();
  AimFixed = true;
  LevelTimeLeft = 10 * Level + 19;
  SyncLevelTimer();
}

// Paused or behind the exit dialog the stage stands still: nothing moves, no rule runs.
void TMainForm::FeedingFrame() {
  const bool frozen = Paused || GameMainExit;
  if (!frozen) SpriteEngine.Move(16);
  SpriteEngine.Dead();
  DXDraw().Fill(kBlack);
  SpriteEngine.Draw();
  FeedingTexts(frozen);
  if (!frozen) FeedingLogic();
}

// Each rule that changes the scene ends the tick's rules: the next scene is set up
// already and must not be handed this stage's insects or stork.
void TMainForm::FeedingLogic() {
  const TSpawnRow& row = kSpawn[std::clamp(Level, 1, 5) - 1];
  if (Random(100) < row.Chance) {
    const int pick = Random(10);
    int i = 0;
    while (pick >= row.Below[i]) ++i;
    kInsects[i](*this);
  }
  // The last life lost as the clock runs out ends the game, not the level.
  if (Lives <= 0) {
    ChangeScene(9);
    return;
  }
  if (LevelTimeLeft < 0) {
    ++Level;
    ChangeScene(3);
    return;
  }
  if (Random(500) < Level && !Feeding.StorkLegsSpawned && LevelTimeLeft > 10 &&
      LevelTimeLeft < 10 * Level + 9) {
    Feeding.StorkLegsSpawned = true;
    new TNogaAist(*this, 1);
    new TNogaAist(*this, 2);
  }
  if (Random(50) == 0 && Feeding.StorkAllowed && Feeding.StorkLegsDown && LevelTimeLeft > 10) {
    Feeding.StorkAllowed = false;
    new TAist(*this);
  }
}

}  // namespace pondaro
