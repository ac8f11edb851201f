#include "verifier.h"

#include <time.h>

#include <cstdio>

#include "replay/headless.h"
#include "replay/replay_file.h"

namespace pondaro::scores {

namespace {

double ThreadCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

std::string Seconds(double s) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", s);
  return text;
}

}  // namespace

ReplayChecker::ReplayChecker(const std::string& gameData) {
  try {
    game_ = std::make_unique<THeadlessGame>(gameData);
  } catch (const std::exception& e) {
    throw std::runtime_error(std::string("the game's data for re-playing replays (--game-data ") + gameData +
                             "): " + e.what());
  }
}

ReplayChecker::~ReplayChecker() = default;

ReplayVerdict ReplayChecker::Check(const std::string& bytes, const std::string& name, int64_t score,
                                   const VerifyOptions& limits, const std::atomic<bool>* stop) {
  ReplayVerdict v;
  TReplay replay;
  std::string error;
  if (!ReadReplay(std::vector<uint8_t>(bytes.begin(), bytes.end()), replay, error)) {
    v.reason = "not a replay: " + error;
    return v;
  }
  // What the file says is checked first: a replay of another game costs nothing.
  if (replay.Score != score) {
    v.reason = "the replay's game scored " + std::to_string(replay.Score) + ", the score sent is " +
               std::to_string(score);
    return v;
  }
  if (replay.Name != name) {
    v.reason = "the replay's game typed the name \"" + replay.Name + "\", the score was sent as \"" + name + "\"";
    return v;
  }
  if (replay.Ticks > limits.maxTicks) {
    v.reason = "the game lasted " + std::to_string(replay.Ticks) + " ticks, more than the " +
               std::to_string(limits.maxTicks) + " re-played here";
    return v;
  }
  const double start = ThreadCpuSeconds();
  bool overTime = false, tooLong = false, stopped = false;
  uint64_t drives = 0;
  // Every drive is at least a tick or an event the game was given; a stream that
  // goes on far past its header's length is cut there.
  const uint64_t mostDrives = 2 * static_cast<uint64_t>(limits.maxTicks);
  const TVerdict t = game_->Verify(
      replay,
      [&] {
        stopped = stop && stop->load();
        overTime = ThreadCpuSeconds() - start > limits.cpuSeconds;
        tooLong = drives > mostDrives;
        return !stopped && !overTime && !tooLong;
      },
      [&](TMainForm&, uint64_t count) { drives = count; });
  v.cpuSeconds = ThreadCpuSeconds() - start;
  v.ticks = t.Ticks;
  if (stopped) {
    v.interrupted = true;
    v.reason = "the service stopped";
  } else if (overTime) {
    v.reason = "the re-play took more than " + Seconds(limits.cpuSeconds) + " s of CPU time (stopped at tick " +
               std::to_string(t.Ticks) + ")";
  } else if (tooLong) {
    v.reason = "the re-play went on past " + std::to_string(mostDrives) + " steps";
  } else if (!t.Verified) {
    v.reason = t.Problem;
  } else if (t.Score != score || t.Name != name) {
    v.reason = "the game re-played to " + std::to_string(t.Score) + " for \"" + t.Name + "\"";
  } else {
    v.verified = true;
  }
  return v;
}

Verifier::Verifier(Storage& storage, VerifyOptions options, std::function<int64_t()> unixSeconds, bool quiet)
    : storage_(storage),
      options_(std::move(options)),
      now_(std::move(unixSeconds)),
      quiet_(quiet),
      pool_(options_.threads, static_cast<size_t>(options_.threads)) {
  idle_.push_back(std::make_unique<ReplayChecker>(options_.gameData));
  // Whatever waited when the service last stopped.
  Wake();
}

Verifier::~Verifier() { Stop(); }

void Verifier::Wake() {
  // A full queue already holds a drain that will see this replay too.
  pool_.Post({[this] { Drain(); }, [] {}});
}

void Verifier::Stop() {
  stopping_ = true;
  pool_.Stop();
}

void Verifier::Drain() {
  std::unique_ptr<ReplayChecker> checker;
  {
    std::lock_guard lock(mutex_);
    if (!idle_.empty()) {
      checker = std::move(idle_.back());
      idle_.pop_back();
    }
  }
  try {
    if (!checker) checker = std::make_unique<ReplayChecker>(options_.gameData);
    while (!stopping_ && CheckOne(*checker)) {
    }
  } catch (const std::exception& e) {
    // The database went away: what waits is taken up at the next upload or start.
    Log(std::string("replays cannot be checked now: ") + e.what(), true);
  }
  if (checker) {
    std::lock_guard lock(mutex_);
    idle_.push_back(std::move(checker));
  }
}

bool Verifier::CheckOne(ReplayChecker& checker) {
  const std::optional<PendingReplay> next = storage_.ClaimReplay(now_());
  if (!next) return false;
  const ReplayVerdict v = checker.Check(next->data, next->name, next->score, options_, &stopping_);
  const ReplayState state = v.interrupted ? ReplayState::Pending
                            : v.verified  ? ReplayState::Verified
                                          : ReplayState::Failed;
  storage_.SetReplayState(next->scoreId, state, state == ReplayState::Failed ? v.reason : "");
  const std::string what = "replay of score " + std::to_string(next->scoreId) + " (" + next->name + " " +
                           std::to_string(next->score) + ")";
  if (v.verified)
    Log(what + " verified: " + std::to_string(v.ticks) + " ticks in " + Seconds(v.cpuSeconds) + " s");
  else if (!v.interrupted)
    Log(what + " not verified: " + v.reason);
  return true;
}

void Verifier::Log(const std::string& line, bool always) {
  if (!always && quiet_) return;
  std::fprintf(stderr, "pondaro-scores: %s\n", line.c_str());
}

}  // namespace pondaro::scores
