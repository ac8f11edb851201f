// The 30 ms frame tick, the two window timers and the music keep-alive.
#include <cmath>

#include "app/main_form.h"
#include "app/scene_sprites.h"
#include "menus/game_over.h"
#include "replay/tape.h"

namespace pondaro {

void TMainForm::DXTimerTimer() {
  TDriveScope drive(*this, TRecordKind::Ticks);
  WriteBackSettings();
  if (!displayUp_ || !DXDraw().CanDraw()) return;
  UpdateInputStates();
  MessagePanelTick(*this);
  Guarded([&] { MenuPad(); });
  for (uint8_t* c : {&Countdown2, &Countdown3, &Countdown4, &Countdown5, &Countdown6})
    if (*c != 0) --*c;
  ComputeAimAngle();
  CaretBlink();
  if (ResizePending) {
    ResizePending = false;
    if (DXDraw().IsMaximized()) GameFullScreenClick();
  }
  if (!displayUp_) return;  // a failed full-screen switch left the display down
  DXDraw().BeginFrame();
  Guarded([&] { SceneFrame(); });
  DXDraw().EndFrame();
  // Once the frame is shown: the pictures decoded meanwhile go to the display, and
  // the sounds and the splash's song are made after the first frame.
  ImageList.TakeDecoded();
  DXWaveList.FinishLoading();
  if (!songAfterFrame_.empty()) Guarded([&] { PlayMusic(std::string(songAfterFrame_)); });
  Guarded([&] { MusicKeepAlive(); });
}

void TMainForm::WriteBackSettings() {
  if (writeBackIn_ == 0 || --writeBackIn_ != 0) return;
  Guarded([&] { SaveSettings(); });
}

void TMainForm::ComputeAimAngle() {
  // The pointer arrives in surface pixels in a window and in full screen alike.
  const double scale = DXDraw().SurfaceWidth() / 720.0;
  if (AimFixed)
    AimAngle = 400 / scale - 180 + AimAngleOffset;
  else if (!Paused && !GameMainExit)
    AimAngle = MouseX / scale - 180 + AimAngleOffset;
  if (!std::isfinite(AimAngle)) AimAngle = 180.0;
  if (AimAngle > 240) AimAngle = 240.0;
  if (AimAngle < 120) AimAngle = 120.0;
}

void TMainForm::CaretBlink() {
  // One caret at a time: a new one each tick stacked up and changed the frame
  // every tick, so the screen was drawn again for nothing.
  bool shown = false;
  Root().ForEach<TPalka>([&](TPalka* p) { shown = shown || !p->Dying; });
  if (GamegoEdit && Countdown6 > 15 && !shown) Guarded([&] { new TPalka(*this); });
  if (Countdown6 <= 15) {
    if (Countdown6 == 0) Countdown6 = 30;
    Root().ForEach<TPalka>([](TPalka* p) { p->Dead(); });
  }
}

void TMainForm::Timer1Timer() {
  TDriveScope drive(*this, TRecordKind::Timer1);
  EnableTimer(Timer1, false);
  switch (Scene) {
    case 1:
      ChangeScene(2);
      break;
    case 3:
      LevelBanner = false;
      break;
    case 9:
      if (Score >= HighScores[9].Score) {
        Root().ForEach<TGame_Word>([](TGame_Word* s) { s->Dead(); });
        Root().ForEach<TOver_Word>([](TOver_Word* s) { s->Dead(); });
        DXDraw().SetCursor(CursorShape::Arrow);
        GameEnterNameClick();
      }
      break;
    default:
      break;
  }
}

void TMainForm::LevelTimerTimer() {
  TDriveScope drive(*this, TRecordKind::LevelTimer);
  --LevelTimeLeft;
}

void TMainForm::EnableTimer(TWindowTimer& timer, bool on) {
  if (on && !timer.Enabled) timer.Due = Services.clock.Milliseconds() + timer.Interval;
  timer.Enabled = on;
}

void TMainForm::SyncLevelTimer() {
  const bool playing = Scene == 4 && !Paused && !GameMainExit && !MessagePanel.Open();
  EnableTimer(LevelTimer, playing);
  if (Scene == 4) Guarded([&] { SetFlightSounds(playing); });
}

void TMainForm::SetTimerInterval(TWindowTimer& timer, int ms) {
  timer.Interval = ms;
  // Setting the interval restarts a running timer.
  if (timer.Enabled) timer.Due = Services.clock.Milliseconds() + ms;
}

void TMainForm::MusicKeepAlive() {
  if (SongHandle == 0) return;
  const int order = Services.music.SongGetOrder(SongHandle);
  if (order != 0 || LastSongOrder == 0) {
    LastSongOrder = Services.music.SongGetOrder(SongHandle);
    return;
  }
  switch (Scene) {
    case 1: case 2: case 5: case 6: case 7: PlayMusic("1"); break;
    case 9: PlayMusic("3"); break;
    default: break;
  }
}

}  // namespace pondaro
