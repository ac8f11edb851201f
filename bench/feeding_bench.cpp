// The busiest tick of the feeding stage: level 5 with its insects, the stork diving
// between its legs and the tongue out and sweeping, through the whole game (input,
// move, flush, draw, texts, rules), beside a plain SDL replay of the same drawing.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <memory>

#include "app/main_form.h"
#include "game/stork.h"
#include "replay.h"

namespace {

using namespace pondaro;

struct Stage : bench::OffscreenGame {
  int ticks = 0;

  Stage() {
    form->Seed(5);
    form->ChangeScene(2);
    form->ChangeScene(5);
    form->Level = 5;
    form->ChangeScene(4);
    new TNogaAist(*form, 1);
    new TNogaAist(*form, 2);
    // Long enough for the legs to stand and the insects of level 5 to reach their usual number.
    for (int i = 0; i < 300; ++i) Tick();
  }

  // Keeps the stage at its busiest: a stork always diving, the tongue always out.
  void Keep() {
    TMainForm& f = *form;
    f.Lives = 3;
    f.LevelTimeLeft = 60;
    f.FireHeld = true;
    f.AimAngleOffset = std::sin(ticks * 0.05) * 60;
    int storks = 0;
    f.Root().ForEach<TAist>([&](TAist*) { ++storks; });
    if (storks == 0 && f.Feeding.StorkLegsDown) {
      f.Feeding.StorkGone = false;
      new TAist(f);
    }
  }

  void Tick() {
    Keep();
    clock.now += 30;
    form->DXTimerTimer();
    ++ticks;
  }
};

Stage& Shared() {
  static Stage s;
  return s;
}

void BM_FeedingStageLevel5(benchmark::State& state) {
  Stage& s = Shared();
  for (auto _ : state) s.Tick();
  state.counters["sprites"] = s.form->Root().Count();
}
BENCHMARK(BM_FeedingStageLevel5)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_FeedingStageLevel5RawSDL(benchmark::State& state) {
  Stage& s = Shared();
  // A tick with the stork low in its dive and the tongue at full length.
  for (int i = 0; i < 200; ++i) {
    bool low = false;
    s.form->Root().ForEach<TAist>([&](TAist* a) { low = a->Y > -200; });
    if (low && s.form->Feeding.TongueLength == 400) break;
    s.Tick();
  }
  s.display->calls.clear();
  s.display->recording = true;
  s.Tick();
  s.display->recording = false;
  bench::RawReplay replay(*s.display, s.display->calls);
  for (auto _ : state) replay.Frame();
  state.counters["calls"] = static_cast<double>(s.display->calls.size());
}
BENCHMARK(BM_FeedingStageLevel5RawSDL)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
