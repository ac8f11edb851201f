// What a game starts from besides its inputs: the form's state at the start of the
// main-menu moment that began it (the table, the remembered name, the pointer, the
// keys a menu swallowed ...). A replay carries it; the player puts it back before
// the first drive, and a watched replay puts the player's own back afterwards.
// The sprites are not part of it: every scene change clears them.
#pragma once
#include <cstdint>
#include <string>

#include "app/main_form.h"
#include "replay/byte_io.h"

namespace pondaro {

struct TReplayStart {
  int32_t Level = 0, Score = 0, Lives = 0;
  std::string CountryText, PlayerName, Edit1, Edit2;
  bool GameFullScreen = false, GameMainExit = false, GameEnterName = false, GameSendResult = false,
       GamegoEdit = false, GameClearHighScore = false, GameExit = false;
  uint8_t Countdown2 = 0, Countdown3 = 0, Countdown4 = 0, Countdown5 = 0, Countdown6 = 0;
  double AimAngle = 0, AimAngleOffset = 0;
  int32_t MouseX = 0, MouseY = 0;
  bool AimFixed = false, Paused = false, AppInactive = false, ResizePending = false, LevelBanner = false,
       GameOver = false, NormalRound = true, MenuMusicRestart = false, FireHeld = false;
  int32_t EditTextWidth = 0, LevelTimeLeft = 0;
  THighScoreTable HighScores = DefaultHighScores();
  TInputStates Input;
  TPond Pond;
  TFrogState Frog;
  TFeeding Feeding;
  TMenuState Menus;
  TWindowTimer Timer1, LevelTimer;
};

TReplayStart CaptureStart(const TMainForm& form);
void ApplyStart(const TReplayStart& start, TMainForm& form);

void EncodeStart(const TReplayStart& start, ByteWriter& out);
// False when the bytes are damaged or a value is outside what the game can hold.
bool DecodeStart(ByteReader& in, TReplayStart& start);

}  // namespace pondaro
