// Writes a game down as it is played: the drives the form reports and the answers
// the services give, from the drive that starts a game on the main menu to the end
// of its name entry.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "replay/replay_file.h"

namespace pondaro {

class TMainForm;

// One thing that made the form move.
struct TDrive {
  TRecordKind Kind = TRecordKind::Ticks;  // Ticks (one tick), Timer1, LevelTimer or Event
  InputEvent Event;
};

class TRecorder {
 public:
  void DriveBegins(TMainForm& form, const TDrive& drive);
  void DriveEnds(TMainForm& form);
  void Note(const TRecord& answer);
  void GameStarts(TMainForm& form);
  // The game just recorded, or nothing when none was being recorded.
  std::optional<TReplay> GameEnds(TMainForm& form);

  bool Recording() const { return recording_; }
  // The drives written so far of the game being recorded, each tick counted.
  uint64_t Drives() const { return drives_; }
  // A test hook changed the game directly: the game goes on being recorded but
  // cannot be re-played, and says why.
  void Taint(const std::string& why);
  const std::string& Tainted() const { return taint_; }
  // The checksum of Data/Graphic.dxg the replays carry, worked out at the first game.
  uint32_t DataChecksum(const TMainForm& form);

 private:
  void Add(const TRecord& r);
  void AddHeldMove();
  void TakeDigest(TMainForm& form);

  bool recording_ = false;
  int depth_ = 0;  // drives in progress (1 while one runs)
  TDrive drive_;   // the outermost one
  // While idle on the main menu: the drive running now and its answers, in case it starts a game.
  bool pending_ = false;
  TReplayStart pendingStart_;
  std::vector<TRecord> pendingRecords_;

  TReplay replay_;
  TAnswerMemory answers_;
  // A pointer move that only places the pointer, kept back: the next such move replaces it.
  std::optional<TRecord> heldMove_;
  std::string taint_;
  std::optional<uint32_t> checksum_;
  uint64_t drives_ = 0;
};

// The pointer's moves in play only set where it is (no item to light, no cursor
// that matters to the rules): of several in a row only the last counts.
bool MoveOnlyPlacesPointer(const TMainForm& form);

}  // namespace pondaro
