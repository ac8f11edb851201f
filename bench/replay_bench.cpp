// Verification speed: a golden replay (a 7-minute game to level 6, 13,861 ticks)
// re-played headless at full speed, as `pondaro --verify` and the score service do
// it, with the pictures loaded once. Quoted beside the live game's tick
// (BM_FeedingStageLevel5, drawing included).
#include <benchmark/benchmark.h>

#include "replay/headless.h"

namespace {

using namespace pondaro;

void BM_ReplayVerify(benchmark::State& state) {
  static THeadlessGame game(PONDARO_GAME_DIR);
  TReplay replay;
  std::string error;
  if (!LoadReplay(PONDARO_SOURCE_DIR "/tests/replays/keys_to_level_5.pdr", replay, error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  uint64_t ticks = 0;
  for (auto _ : state) {
    const TVerdict v = game.Verify(replay);
    if (!v.Verified) {
      state.SkipWithError(v.Problem.c_str());
      return;
    }
    ticks += v.Ticks;
  }
  state.counters["ticks_per_s"] = benchmark::Counter(static_cast<double>(ticks), benchmark::Counter::kIsRate);
  state.counters["ticks"] = static_cast<double>(replay.Ticks);
}
BENCHMARK(BM_ReplayVerify)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
