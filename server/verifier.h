// Uploaded replays re-played with the game's own rules and its own copy of the
// game's data, off the request workers: a small pool of its own takes them from
// the database one at a time, so a replay still waiting when the service stopped
// is checked when it starts again, and instances sharing a PostgreSQL database
// share the work.
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "storage.h"
#include "work_pool.h"

namespace pondaro {
class THeadlessGame;
}

namespace pondaro::scores {

struct VerifyOptions {
  std::string gameData;          // the folder holding Data/Graphic.dxg and Data/Music.dxw
  int threads = 1;               // replays re-played at once
  uint32_t maxTicks = 360'000;   // the longest game re-played: 3 hours of frame ticks
  double cpuSeconds = 10;        // CPU time one re-play may take
};

struct ReplayVerdict {
  bool verified = false;
  bool interrupted = false;  // stopped by the service's stop: to be checked again
  std::string reason;        // why not verified
  uint32_t ticks = 0;        // re-played
  double cpuSeconds = 0;
};

// One game to re-play replays with; one thread at a time.
class ReplayChecker {
 public:
  // Throws std::runtime_error, naming the file, when the data cannot be used.
  explicit ReplayChecker(const std::string& gameData);
  ~ReplayChecker();
  ReplayChecker(const ReplayChecker&) = delete;
  ReplayChecker& operator=(const ReplayChecker&) = delete;

  // Verified only when the replay is this game's version and data, re-plays to
  // its own end as recorded, and that game's score and typed name are the ones
  // the score was sent with. `stop`, when set, ends the re-play early.
  ReplayVerdict Check(const std::string& bytes, const std::string& name, int64_t score, const VerifyOptions& limits,
                      const std::atomic<bool>* stop = nullptr);

 private:
  std::unique_ptr<pondaro::THeadlessGame> game_;
};

class Verifier {
 public:
  // Loads the game's data at once: throws as ReplayChecker does. `quiet`: only
  // failures of the service itself are logged, not each verdict.
  Verifier(Storage& storage, VerifyOptions options, std::function<int64_t()> unixSeconds, bool quiet);
  ~Verifier();  // Stop()
  Verifier(const Verifier&) = delete;
  Verifier& operator=(const Verifier&) = delete;

  // A replay was stored, or may be waiting: the pool takes what waits.
  void Wake();
  // Ends the re-plays under way (their replays wait for the next start) and the
  // threads.
  void Stop();

 private:
  void Drain();
  bool CheckOne(ReplayChecker& checker);
  void Log(const std::string& line, bool always = false);

  Storage& storage_;
  VerifyOptions options_;
  std::function<int64_t()> now_;
  bool quiet_;
  std::atomic<bool> stopping_{false};
  std::mutex mutex_;
  std::vector<std::unique_ptr<ReplayChecker>> idle_;  // one game per thread, made as needed
  WorkPool pool_;  // last: its threads end before the rest goes
};

}  // namespace pondaro::scores
