// Watching a replay in the game window: a row of the High Score screen, the main
// menu's demo, or `pondaro --replay FILE`. The form plays the recorded game on the
// tape while the player's own state waits to be put back; a "Replay" banner with
// the name is drawn over it. P pauses, F (or a shoulder button) plays at 4x, Esc
// or a click goes back; any key, click or controller input ends the demo at once.
#pragma once
#include <memory>
#include <string>

#include "replay/player.h"
#include "replay/start_state.h"

namespace pondaro {

class TTape;
class Display;

enum class TWatchMode {
  Table,  // from the High Score screen, back to it; music and sounds as in play
  Demo,   // on the idle main menu: silent, the menu's song goes on; any input ends it
  Alone,  // the program was started to show it: the program ends with it
};

class TReplayWatch {
 public:
  // Idle this long on the main menu, the best replay plays as a demo.
  static constexpr int kDemoAfterTicks = 30'000 / 30;
  static constexpr int kFastTicks = 4;

  explicit TReplayWatch(TTape& tape) : tape_(tape) {}

  // Plays the replay in `file` from the next tick. False with `error` when it
  // cannot be read.
  bool Request(TMainForm& form, const std::string& file, TWatchMode mode, std::string& error);
  // Requested or playing: the live loop hands its ticks and events here.
  bool Active() const { return requested_ || player_ != nullptr; }
  bool Paused() const { return paused_; }
  bool Fast() const { return fast_; }
  TWatchMode Mode() const { return mode_; }
  // What went wrong with the last replay watched ("" when it played as recorded).
  const std::string& LastProblem() const { return lastProblem_; }

  void LiveTick(TMainForm& form);
  void LiveEvent(TMainForm& form, const InputEvent& e);
  // Goes back to what was showing before, the player's state as it was.
  void Stop(TMainForm& form);
  // The program ends while a replay plays: only the player's own state is put
  // back, for saving, with nothing shown or heard (the display may be gone).
  void Abandon(TMainForm& form);

  // The live game's drives and answers, for the demo's idle time.
  void LiveDrive(TMainForm& form, const TDrive& drive);
  void LiveDriveEnds(TMainForm& form);
  void LiveAnswer(const TRecord& answer);

 private:
  void Start(TMainForm& form);
  // Ends the playing and puts the player's own state back; false when none played.
  bool PutBack(TMainForm& form);
  void DrawBanner(Display& d);

  TTape& tape_;
  bool requested_ = false;
  TReplay replay_;
  std::unique_ptr<TReplayPlayer> player_;
  TWatchMode mode_ = TWatchMode::Table;
  std::string lastProblem_;
  TReplayStart saved_;
  TMessagePanel savedMessages_;  // the player's messages wait out the replay
  int backScene_ = 2;
  bool savedSound_ = true, savedMusic_ = true;
  bool paused_ = false, fast_ = false;
  JoystickState lastPad_;  // the controller while watching, as last seen
  // The demo's wait: ticks on the main menu since the last input.
  int idleTicks_ = 0;
  bool lastDriveTick_ = false;
  JoystickState idlePad_;
};

}  // namespace pondaro
