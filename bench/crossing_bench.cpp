// The busiest tick of the crossing: a two-row scroll with ripples, logs and goo,
// through the whole game (input, move, flush, draw, texts, rules), beside a plain
// SDL replay of the same tick's drawing.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

#include "app/main_form.h"
#include "desktop/sdl_game.h"
#include "game/lilies.h"
#include "game/water.h"
#include "replay.h"

namespace {

using namespace pondaro;

class NoKeys : public Keyboard {
 public:
  bool IsDown(int) const override { return false; }
};

class StepClock : public Clock {
 public:
  uint64_t now = 1000;
  uint64_t Milliseconds() const override { return now; }
  void Sleep(int ms) override { now += ms > 0 ? ms : 0; }
};

struct Pond {
  SdlGame game;
  NoKeys keys;
  StepClock clock;
  std::unique_ptr<bench::RecordingDisplay> display;
  std::unique_ptr<TMainForm> form;

  Pond() {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    std::string error;
    if (!game.Start(SdlGame::Mode::Offscreen, error)) std::abort();
    display = std::make_unique<bench::RecordingDisplay>(*game.Display);
    FormServices s = game.Services(keys, clock);
    form = std::make_unique<TMainForm>(FormServices{*display, s.keyboard, s.sound, s.music, s.http, s.shell,
                                                    s.messages, s.clock, s.decoder});
    form->DataDir = PONDARO_GAME_DIR;
    form->GameSound = form->GameMusic = false;
    form->FormCreate();
    form->Seed(7);
    form->ChangeScene(2);
    form->ChangeScene(3);
    form->Level = 3;
    form->StartLevel();
    form->LevelBanner = false;
    form->EnableTimer(form->Timer1, false);
    new TBrevno(*form, 200, 120);
    new TBrevno(*form, 480, 330);
    Keep();
  }

  // Keeps the pond at its busiest: always scrolling two rows, the frog alive,
  // four ripples on the water and a sticky lily's goo.
  void Keep() {
    TMainForm& f = *form;
    if (f.Scene != 3 || f.Pond.FrogGone) {
      f.ChangeScene(2);
      f.ChangeScene(3);
      f.Level = 3;
      f.StartLevel();
      f.LevelBanner = false;
      f.EnableTimer(f.Timer1, false);
    }
    f.Pond.Hunger = 0;
    f.Lives = 3;
    if (!f.Pond.Scrolling && !f.Pond.AdvanceTwo) f.Pond.AdvanceTwo = true;
    int ripples = 0, goo = 0;
    f.Root().ForEach<TRazvod>([&](TRazvod*) { ++ripples; });
    f.Root().ForEach<TLiapu>([&](TLiapu*) { ++goo; });
    for (int c = ripples; c < 4; ++c) new TRazvod(f, 1 + c % 3, 1 + c);
    if (goo == 0) {
      TKuvshinka* lily = nullptr;
      f.Root().ForEach<TKuvshinka>([&](TKuvshinka* l) {
        if (!lily && l->Row == 1) lily = l;
      });
      if (lily) new TLiapu(f, lily);
    }
  }

  void Tick() {
    clock.now += 30;
    form->DXTimerTimer();
    Keep();
  }
};

Pond& Shared() {
  static Pond p;
  return p;
}

void BM_CrossingScrollTick(benchmark::State& state) {
  Pond& p = Shared();
  for (int i = 0; i < 40; ++i) p.Tick();
  for (auto _ : state) p.Tick();
  state.counters["sprites"] = p.form->Root().Count();
}
BENCHMARK(BM_CrossingScrollTick)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_CrossingScrollTickRawSDL(benchmark::State& state) {
  Pond& p = Shared();
  while (!p.form->Pond.Scrolling || p.form->Pond.ScrollRows != 2) p.Tick();
  for (int i = 0; i < 12; ++i) p.Tick();  // mid-scroll
  p.display->calls.clear();
  p.display->recording = true;
  p.Tick();
  p.display->recording = false;
  bench::RawReplay replay(*p.display, p.display->calls);
  for (auto _ : state) replay.Frame();
  state.counters["calls"] = static_cast<double>(p.display->calls.size());
}
BENCHMARK(BM_CrossingScrollTickRawSDL)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
