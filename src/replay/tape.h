// The boundary a game is recorded at and played back from. The form is built on
// the tape's services: the clock, the polled keyboard and controller and the
// display's questions pass through it. Live, they give the platform's answers and
// the recorder writes them down, with the drives the form reports (ticks, timer
// firings, input events), from the start of a game to the end of its name entry.
// While a replay plays, the player gives the recorded answers instead, the clock
// does not sleep, and nothing the game asks of the platform reaches the rules
// except through it.
#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/main_form.h"
#include "replay/recorder.h"

namespace pondaro {

class TReplayPlayer;
class TReplayWatch;

class TTape {
 public:
  // `live`: the platform's services (null ones for a headless re-play).
  explicit TTape(const FormServices& live);
  ~TTape();
  TTape(const TTape&) = delete;
  TTape& operator=(const TTape&) = delete;

  // What the form is built on: the live services with the clock, the keyboard
  // and the display going through the tape.
  FormServices Services();
  const FormServices& Live() const { return live_; }

  // ---- Reported by the form.
  void DriveBegins(TMainForm& form, const TDrive& drive);
  void DriveEnds(TMainForm& form);
  void GameStarts(TMainForm& form);
  void GameEnds(TMainForm& form);

  // ---- Recording.
  TRecorder Recorder;
  // Keep each recorded game whose score entered the table in replays/ beside
  // Config.cfg (the shelf), and the game's data checksum with it.
  bool KeepReplays = true;
  // The last game recorded to its end; the reason it cannot be re-played ("" if it can).
  std::optional<TReplay> LastGame;
  std::string LastGameTaint;
  uint64_t GamesRecorded = 0;

  // ---- Playing back: answers come from `player` until Play(nullptr).
  void Play(TReplayPlayer* player) { player_ = player; }
  TReplayPlayer* Player() const { return player_; }
  // Frames are not drawn (fast forward, a headless re-play).
  bool Quiet = false;
  // Drawn over each frame of a playing replay before it is shown.
  std::function<void(Display&)> Overlay;
  // Shows the replay's last frame again, with the overlay as it is now (a pause).
  void Redraw();

  // ---- Watching a replay in the window, and the main menu's demo (watch.cpp).
  TReplayWatch* Watch() const { return watch_.get(); }
  void SetWatch(std::unique_ptr<TReplayWatch> watch);
  // The program ends: a replay being watched gives the form back to the player's
  // own state, which is what gets saved.
  void LeaveReplay(TMainForm& form);

  // An answer for the game: recorded live, or the recorded one.
  TRecord Ask(const TRecord& question, const std::function<TRecord()>& live);

 private:
  class TapeClock;
  class TapeKeyboard;
  class TapeDisplay;

  FormServices live_;
  std::unique_ptr<TapeClock> clock_;
  std::unique_ptr<TapeKeyboard> keyboard_;
  std::unique_ptr<TapeDisplay> display_;
  TReplayPlayer* player_ = nullptr;
  std::unique_ptr<TReplayWatch> watch_;
};

// Held by each of the form's entry points (the frame tick, the two window timers,
// an input event) while it runs: the tape learns what drove the game.
class TDriveScope {
 public:
  TDriveScope(TMainForm& form, TRecordKind kind, const InputEvent& event = {});
  ~TDriveScope();
  TDriveScope(const TDriveScope&) = delete;
  TDriveScope& operator=(const TDriveScope&) = delete;

 private:
  TMainForm& form_;
};

}  // namespace pondaro
