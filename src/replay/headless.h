// Re-playing replays with no window, sound or clock, at full speed: how the score
// service and `pondaro --verify` check a replay with the game's own rules and data.
// No SDL: the service links this with pondaro_core alone.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "replay/replay_file.h"

namespace pondaro {

class TMainForm;

struct TVerdict {
  // False: the file could not be used at all (unreadable, damaged, or recorded by
  // another version of the game or with other pictures).
  bool Readable = false;
  // Re-played to its game's end with the recorded score, level, name and every digest.
  bool Verified = false;
  std::string Problem;  // why not, when not
  int32_t Score = 0, Level = 0;
  uint32_t Ticks = 0;
  uint64_t Digest = 0;
  std::string Name;
  uint32_t FirstDivergence = 0;  // the first stored tick whose digest differs; 0: none
};

class THeadlessGame {
 public:
  // Loads Data/Graphic.dxg and Data/Music.dxw from `dataDir`. Throws EDataFileError
  // when they cannot be used.
  explicit THeadlessGame(const std::string& dataDir);
  ~THeadlessGame();
  THeadlessGame(const THeadlessGame&) = delete;
  THeadlessGame& operator=(const THeadlessGame&) = delete;

  // The CRC-32 of this data's picture collection, as replays carry it.
  uint32_t DataChecksum() const { return checksum_; }
  // Re-plays `replay`. `keepGoing`, when given, is asked now and then and stops the
  // re-play when it says no (a time limit). `afterDrive` is for tests whose hooks
  // changed the game directly while it was recorded: it is called after each
  // drive with the count so far, to do again what they did.
  TVerdict Verify(const TReplay& replay, const std::function<bool()>& keepGoing = {},
                  const std::function<void(TMainForm&, uint64_t)>& afterDrive = {});

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
  uint32_t checksum_ = 0;
};

// The whole check of a replay as it was sent or kept: read, then re-played with the
// game's data in `dataDir` (a folder holding Data/). Not Readable, with the reason,
// when the bytes are no sound replay or the data cannot be loaded. Each call loads
// the data again: a caller that checks many keeps a THeadlessGame and reads with
// ReadReplay itself.
TVerdict VerifyReplayBytes(const std::vector<uint8_t>& bytes, const std::string& dataDir);
TVerdict VerifyReplayFile(const std::string& path, const std::string& dataDir);

// `pondaro --verify FILE`: prints "score=N ticks=N digest=HEX" on `out` and what
// does not hold on `err`. 0 when the replay comes out as recorded, 1 when not, 2
// when the file (or the game's data) cannot be read or was recorded by another
// version or with other pictures.
int VerifyCommand(const std::string& path, const std::string& dataDir, std::ostream& out, std::ostream& err);

}  // namespace pondaro
