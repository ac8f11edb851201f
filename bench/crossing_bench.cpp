// The busiest tick of the crossing: a two-row scroll with ripples, logs and goo,
// through the whole game (input, move, flush, draw, texts, rules, present), beside
// a plain SDL replay of the same ticks' drawing.
#include <benchmark/benchmark.h>

#include "app/main_form.h"
#include "desktop/sdl_picture.h"
#include "desktop/sdl_text.h"
#include "game/lilies.h"
#include "game/water.h"
#include "sprites/dirty_display.h"
#include "bench_services.h"
#include "tee_display.h"

namespace {

using namespace pondaro;
using namespace pondaro::bench;

struct Pond {
  // The game's own display chain: what it draws is recorded whole for the raw
  // replay, then drawn only where it changed.
  std::unique_ptr<SdlDisplay> canvas = OwnCanvas();
  TDirtyDisplay dirty{*canvas};
  TeeDisplay tee{dirty};
  NoKeys keys;
  Silence sound;
  NoMusic music;
  NoNet net;
  TickClock clock;
  SdlPictureDecoder decoder;
  TMainForm form{FormServices{tee, keys, sound, music, net, net, net, clock, decoder}};

  Pond() {
    form.DataDir = PONDARO_GAME_DIR;
    form.Seed(7);
    form.FormCreate();
    Restart();
    for (int i = 0; i < 40; ++i) Tick();
  }

  void Restart() {
    form.ChangeScene(2);
    form.ChangeScene(3);
    form.Level = 3;
    form.StartLevel();
    form.LevelBanner = false;
    form.EnableTimer(form.Timer1, false);
    new TBrevno(form, 200, 120);
    new TBrevno(form, 480, 330);
  }

  // Keeps the pond at its busiest: always scrolling two rows, the frog alive,
  // four ripples on the water and a sticky lily's goo.
  void Tick() {
    if (form.Scene != 3 || form.Pond.FrogGone) Restart();
    form.Pond.Hunger = 0;
    form.Lives = 3;
    if (!form.Pond.Scrolling && !form.Pond.AdvanceTwo) form.Pond.AdvanceTwo = true;
    int ripples = 0, goo = 0;
    form.Root().ForEach<TRazvod>([&](TRazvod*) { ++ripples; });
    form.Root().ForEach<TLiapu>([&](TLiapu*) { ++goo; });
    for (int c = ripples; c < 4; ++c) new TRazvod(form, 1 + c % 3, 1 + c);
    if (goo == 0) {
      TKuvshinka* lily = nullptr;
      form.Root().ForEach<TKuvshinka>([&](TKuvshinka* l) {
        if (!lily && l->Row == 1) lily = l;
      });
      if (lily) new TLiapu(form, *lily);
    }
    clock.now += 30;
    form.DXTimerTimer();
  }
};

Pond& ThePond() {
  static Pond p;
  return p;
}

void BM_CrossingScrollTick(benchmark::State& state) {
  Pond& p = ThePond();
  for (auto _ : state) p.Tick();
  state.counters["sprites"] = p.form.Root().Count();
}
BENCHMARK(BM_CrossingScrollTick)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_CrossingScrollTickRawSDL(benchmark::State& state) {
  Pond& p = ThePond();
  p.tee.frames.clear();
  p.tee.recording = true;
  for (int i = 0; i < 62; ++i) p.Tick();  // two whole scrolls
  p.tee.recording = false;
  RawReplay replay(p.tee, *FindFontFace(GameFontFamilies()));
  size_t n = 0;
  for (auto _ : state) replay.Play(n++);
}
BENCHMARK(BM_CrossingScrollTickRawSDL)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
