// One frame of 60 image sprites (10 rotated, 10 alpha-blended) and 6 texts in the
// offscreen software renderer, through the sprite engine, beside the same drawing
// done with direct SDL calls: the floor that the engine's overhead is judged by.
#include <SDL.h>
#include <SDL_ttf.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <memory>

#include "app/main_form.h"
#include "desktop/sdl_display.h"
#include "desktop/sdl_picture.h"
#include "desktop/sdl_system.h"
#include "desktop/sdl_text.h"
#include "game/stork.h"
#include "sprites/image_list.h"
#include "sprites/image_sprite.h"
#include "sprites/sprite.h"
#include "sprites/dirty_display.h"
#include "bench_services.h"
#include "tee_display.h"

namespace {

using namespace pondaro;
using namespace pondaro::bench;
using bench::RawReplay;
using bench::TeeDisplay;

constexpr int kSprites = 60, kSize = 120;
const char* const kTexts[6] = {"Level 3", "Lives 2", "Score 12450", "Time 41", "Pause", "PONDARO"};

// A soft-edged ball with real alpha, so every blit blends.
Pixels Ball(int hue) {
  Pixels p{kSize, kSize, std::vector<uint8_t>(kSize * kSize * 4)};
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      const double d = std::hypot(x - 59.5, y - 59.5) / 60.0;
      uint8_t* px = &p.Rgba[(y * kSize + x) * 4];
      px[0] = static_cast<uint8_t>(80 + hue * 30);
      px[1] = static_cast<uint8_t>(200 - d * 90);
      px[2] = static_cast<uint8_t>(120 + hue * 10);
      px[3] = d >= 1 ? 0 : static_cast<uint8_t>(255 * std::min(1.0, (1 - d) * 4));
    }
  return p;
}



// The sprites drift so that positions change from frame to frame, as in play.
class TBall : public TImageSprite {
 public:
  TBall(TSprite* parent, TPictureCollectionItem* image, int i) : TImageSprite(parent) {
    Image = image;
    Width = Height = kSize;
    X = (i * 97) % 680;
    Y = (i * 53) % 480;
    if (i < 10) Angle = static_cast<uint8_t>(i * 20 + 5);
    else if (i < 20) Alpha = 128;
  }
  void Advance(int moveCount) override {
    TImageSprite::Advance(moveCount);
    X += 1;
    if (X > 680) X = 0;
  }
};

void BM_Frame60Sprites(benchmark::State& state) {
  Display& d = *Shared().display;
  TPictureCollection images;
  for (int i = 0; i < 4; ++i) images.Add("ball" + std::to_string(i), Ball(i));
  images.Restore(d);
  TDXSpriteEngine engine;
  engine.SetDisplay(&d);
  for (int i = 0; i < kSprites; ++i) new TBall(&engine.Engine, &images.Items(i % 4), i);
  for (auto _ : state) {
    d.BeginFrame();
    engine.Move(16);
    engine.Dead();
    d.Fill(Color{0, 0, 0, 255});
    engine.Draw();
    for (int t = 0; t < 6; ++t) d.DrawText(20 + 120 * t, 8, kTexts[t], 15, Color{255, 255, 0, 255});
    d.EndFrame();
  }
  engine.Engine.Clear();
  images.Finalize();
}
BENCHMARK(BM_Frame60Sprites)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_Frame60SpritesRawSDL(benchmark::State& state) {
  Shared();
  SDL_Surface* canvas = SDL_CreateRGBSurfaceWithFormat(0, 800, 600, 32, SDL_PIXELFORMAT_ARGB8888);
  SDL_Renderer* r = SDL_CreateSoftwareRenderer(canvas);
  SDL_Texture* tex[4];
  for (int i = 0; i < 4; ++i) {
    Pixels p = Ball(i);
    tex[i] = SDL_CreateTexture(r, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_STATIC, kSize, kSize);
    SDL_UpdateTexture(tex[i], nullptr, p.Rgba.data(), kSize * 4);
    SDL_SetTextureBlendMode(tex[i], SDL_BLENDMODE_BLEND);
  }
  auto face = FindFontFace(GameFontFamilies());
  TTF_Font* font = TTF_OpenFontDPI(face->Path.c_str(), 15, 96, 96);
  SDL_Texture* texts[6];
  SDL_Rect textRects[6];
  for (int t = 0; t < 6; ++t) {
    SDL_Surface* s = TTF_RenderUTF8_Blended(font, kTexts[t], SDL_Color{255, 255, 0, 255});
    texts[t] = SDL_CreateTextureFromSurface(r, s);
    textRects[t] = {20 + 120 * t, 8, s->w, s->h};
    SDL_FreeSurface(s);
  }
  double x[kSprites], y[kSprites];
  for (int i = 0; i < kSprites; ++i) {
    x[i] = (i * 97) % 680;
    y[i] = (i * 53) % 480;
  }
  for (auto _ : state) {
    SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
    SDL_RenderFillRect(r, nullptr);
    for (int i = 0; i < kSprites; ++i) {
      x[i] += 1;
      if (x[i] > 680) x[i] = 0;
      SDL_Texture* t = tex[i % 4];
      SDL_SetTextureAlphaMod(t, i >= 10 && i < 20 ? 128 : 255);
      SDL_Rect dst{static_cast<int>(x[i]), static_cast<int>(y[i]), kSize, kSize};
      if (i < 10)
        SDL_RenderCopyEx(r, t, nullptr, &dst, (i * 20 + 5) * 360.0 / 256.0, nullptr, SDL_FLIP_NONE);
      else
        SDL_RenderCopy(r, t, nullptr, &dst);
    }
    for (int t = 0; t < 6; ++t) SDL_RenderCopy(r, texts[t], nullptr, &textRects[t]);
    SDL_RenderPresent(r);
  }
  for (auto* t : texts) SDL_DestroyTexture(t);
  for (auto* t : tex) SDL_DestroyTexture(t);
  TTF_CloseFont(font);
  SDL_DestroyRenderer(r);
  SDL_FreeSurface(canvas);
}
BENCHMARK(BM_Frame60SpritesRawSDL)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// ---- The feeding stage at level 5: the insects of that level, the stork diving
// between its legs and the tongue out, sweeping. Each iteration is one whole
// frame tick of the game (input, move, flush, draw, texts, rules, present).

struct FeedingStage {
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
  int ticks = 0;

  FeedingStage() {
    form.DataDir = PONDARO_GAME_DIR;
    form.Seed(5);
    form.FormCreate();
    form.Level = 5;
    form.ChangeScene(4);
    new TNogaAist(form, 1);
    new TNogaAist(form, 2);
    for (int i = 0; i < 300; ++i) Tick();  // the insects of level 5 at their usual number
  }
  // Keeps the busiest state going: a stork always diving, the tongue always out.
  void Tick() {
    TFeeding& f = form.Feeding;
    form.Lives = 1000000;
    form.LevelTimeLeft = 60;
    form.FireHeld = true;
    form.AimAngleOffset = std::sin(ticks * 0.05) * 60;
    if (f.StorkLegsDown && form.Root().Count() > 0) {
      int storks = 0;
      form.Root().ForEach<TAist>([&](TAist*) { ++storks; });
      if (storks == 0) {
        f.StorkGone = false;
        new TAist(form);
      }
    }
    clock.now += 30;
    form.DXTimerTimer();
    ++ticks;
  }
};

FeedingStage& Feeding() {
  static FeedingStage stage;
  return stage;
}

void BM_FeedingStageLevel5(benchmark::State& state) {
  FeedingStage& stage = Feeding();
  for (auto _ : state) stage.Tick();
  state.counters["sprites"] = stage.form.Root().Count();
}
BENCHMARK(BM_FeedingStageLevel5)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_FeedingStageLevel5RawSDL(benchmark::State& state) {
  FeedingStage& stage = Feeding();
  stage.tee.frames.clear();
  stage.tee.recording = true;
  for (int i = 0; i < 200; ++i) stage.Tick();
  stage.tee.recording = false;
  RawReplay replay(stage.tee, *FindFontFace(GameFontFamilies()));
  size_t n = 0;
  for (auto _ : state) replay.Play(n++);
}
BENCHMARK(BM_FeedingStageLevel5RawSDL)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
