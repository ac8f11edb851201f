// Plays a replay's game on a form built on a tape: the recorded drives in their
// order, each answered from the recording, with the digests checked on the way.
#pragma once
#include <cstdint>
#include <string>

#include "replay/recorder.h"
#include "replay/replay_file.h"

namespace pondaro {

class TMainForm;
class TTape;

class TReplayPlayer {
 public:
  TReplayPlayer(TReplay replay, TTape& tape);
  ~TReplayPlayer();
  TReplayPlayer(const TReplayPlayer&) = delete;
  TReplayPlayer& operator=(const TReplayPlayer&) = delete;

  // Puts the form where the recorded game began (the main menu and the recorded
  // start state) and the tape on the recording.
  void Begin(TMainForm& form);
  // Hands the tape back to the live services.
  void End();
  // Runs the next drive: false once the game has ended or the replay cannot go on.
  bool Step(TMainForm& form);
  // Runs drives until `ticks` more frame ticks have run: false as Step.
  bool Advance(TMainForm& form, int ticks);

  // The tape's questions while a drive runs.
  TRecord Answer(const TRecord& question);
  void GameEnds(TMainForm& form);

  const TReplay& Replay() const { return replay_; }
  bool Ended() const { return ended_; }
  // Why the replay stopped before its game's end, or went astray ("" when it did not).
  const std::string& Problem() const { return problem_; }
  uint32_t Ticks() const { return ticks_; }
  uint64_t Drives() const { return drives_; }  // run so far, each tick counted
  int32_t Score() const { return score_; }
  int32_t Level() const { return level_; }
  const std::string& Name() const { return name_; }
  uint64_t FinalDigest() const { return finalDigest_; }
  // The first stored tick whose digest differs from the recording's; 0 when none did.
  uint32_t FirstDivergence() const { return divergence_; }

 private:
  void Fail(const std::string& why);
  void CheckDigest(uint64_t digest);

  TReplay replay_;
  TTape& tape_;
  TMainForm* form_ = nullptr;  // while begun
  bool wasReplaying_ = false;
  size_t next_ = 0;        // the record to look at next
  uint32_t runLeft_ = 0;   // ticks still to run of the run at next_
  bool inTick_ = false;
  bool ended_ = false, began_ = false;
  std::string problem_;
  uint32_t ticks_ = 0, divergence_ = 0;
  uint64_t drives_ = 0;
  size_t digestsChecked_ = 0;
  int ticksWithoutLevelTimer_ = 0;
  uint64_t levelTimerDue_ = 0;
  int32_t score_ = 0, level_ = 0;
  std::string name_;
  uint64_t finalDigest_ = 0;
  TAnswerMemory answers_;
};

}  // namespace pondaro
