// The proof that drawing only what changed shows what drawing every frame whole
// shows: every scenario of tools/shots/scenarios/ played once, its frames drawn
// whole on one canvas and only where they changed on another by SDL's software
// renderer, the two compared after every tick. And what that rests on: every
// kind of draw puts its pixels inside the area the dirty display counts for it.
// (The monkey soak makes the same comparison on a model of the picture.)
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "app/app_loop.h"
#include "app/main_form.h"
#include "desktop/sdl_display.h"
#include "desktop/sdl_picture.h"
#include "menus/text_looks.h"
#include "platform/fake_services.h"
#include "platform/recording_sound.h"
#include "platform/twin_display.h"
#include "replay/tape.h"
#include "replay/watch.h"
#include "sdl_suite.h"
#include "shots/runner.h"

namespace pondaro {
namespace {

using test::Difference;

std::string Describe(const TRect& r) {
  return "(" + std::to_string(r.Left) + ", " + std::to_string(r.Top) + ")-(" + std::to_string(r.Right) + ", " +
         std::to_string(r.Bottom) + ")";
}

uint32_t Pixel(const SDL_Surface* s, size_t i) {
  const size_t y = i / static_cast<size_t>(s->w), x = i % static_cast<size_t>(s->w);
  return reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(s->pixels) + y * s->pitch)[x] & 0xFFFFFF;
}

// Where two canvases show different colours; empty when they show the same.
TRect Differing(const SDL_Surface* a, const SDL_Surface* b) {
  if (std::memcmp(a->pixels, b->pixels, static_cast<size_t>(a->pitch) * a->h) == 0) return {};
  return Difference(a->w, a->h, [&](size_t i) { return Pixel(a, i) == Pixel(b, i); });
}

// The box around the pixels that are not black.
TRect Drawn(const SDL_Surface* s) {
  return Difference(s->w, s->h, [&](size_t i) { return Pixel(s, i) == 0; });
}

class FrameIdentity : public test::SdlSuite {
 protected:
  // Plays `script`; the first tick whose two pictures differ, or "".
  std::string Play(const std::filesystem::path& script);
};

std::string FrameIdentity::Play(const std::filesystem::path& script) {
  char tmpl[] = "/tmp/pondaro-identity-XXXXXX";
  const std::string dir = mkdtemp(tmpl);
  const std::string game = PONDARO_GAME_DIR;
  std::filesystem::create_directory_symlink(game + "/Data", dir + "/Data");
  std::filesystem::create_directory_symlink(game + "/Music", dir + "/Music");
  std::string error, failure;
  auto whole = SdlDisplay::OpenOffscreen(error), shown = SdlDisplay::OpenOffscreen(error);
  if (!whole || !shown) return error;
  test::TwinDisplay twin(*whole, *shown);
  shots::ScriptKeyboard keyboard;
  shots::SimClock clock;
  shots::NoEvents events;
  test::RecordingSoundOutput sound;
  test::FakeModulePlayer music;
  test::FakeHttp http;
  test::FakeShell shell;
  test::RecordingMessageBox messages;
  SdlPictureDecoder decoder;
  {
    // On a tape as the game runs, so that a replay watched by a script is drawn too.
    TTape tape(FormServices{twin, keyboard, sound, music, http, shell, messages, clock, decoder});
    tape.SetWatch(std::make_unique<TReplayWatch>(tape));
    TMainForm form(tape.Services());
    form.Tape = &tape;
    form.DataDir = dir;
    form.FormCreate();
    TApplication app(form, events, clock);
    shots::Runner runner{form, app, clock, keyboard, *shown, dir + "/shots"};
    runner.tape = &tape;
    runner.scriptDir = script.parent_path().string();
    long tick = 0;
    runner.afterTick = [&] {
      ++tick;
      if (!failure.empty()) return;
      const TRect d = Differing(whole->Canvas(), shown->Canvas());
      if (d.Width() == 0) return;
      failure = "tick " + std::to_string(tick) + ": the pixels differ in " + Describe(d) + "; drawn again:";
      for (const TRect& r : twin.Dirty().Sent()) failure += " " + Describe(r);
    };
    std::ifstream in(script);
    std::string line;
    for (int number = 1; std::getline(in, line) && failure.empty(); ++number) {
      if (line.rfind("shot ", 0) == 0) continue;  // the pictures are compared, not kept
      if (line.rfind("message ", 0) == 0) {
        form.ShowError(line.substr(8));
        continue;
      }
      const shots::Outcome outcome = runner.Run(line, number);
      // The scenarios' own expectations are theirs to keep; this test's must hold.
      const bool ours = script.parent_path().filename() == "identity";
      if (outcome == shots::kBadScript || (outcome == shots::kFailed && ours))
        return "line " + std::to_string(number) + " failed: " + line;
      if (outcome == shots::kEnded) break;
    }
  }
  std::filesystem::remove_all(dir);
  return failure;
}

// The scenarios, and this test's own scripts beside it.
TEST_F(FrameIdentity, EveryScenarioLooksTheSameDrawnOnlyWhereItChanged) {
  std::vector<std::filesystem::path> scripts;
  for (const char* folder : {"/tools/shots/scenarios", "/tests/desktop/identity"})
    for (const auto& e : std::filesystem::directory_iterator(std::string(PONDARO_SOURCE_DIR) + folder))
      if (e.path().extension() == ".txt") scripts.push_back(e.path());
  std::sort(scripts.begin(), scripts.end());
  ASSERT_GE(scripts.size(), 10u);
  for (const auto& script : scripts) EXPECT_EQ(Play(script), "") << script.filename();
}

// Each picture drawn alone on black: nothing of it lands outside its counted area.
TEST_F(FrameIdentity, EveryDrawStaysInsideItsCountedArea) {
  std::string error;
  auto d = SdlDisplay::OpenOffscreen(error);
  ASSERT_TRUE(d) << error;
  Pixels white{40, 24, std::vector<uint8_t>(40 * 24 * 4, 255)};
  const TextureId tex = d->CreateTexture(white, true);
  auto alone = [&](const std::function<void()>& draw) {
    d->BeginFrame();
    d->Fill(Color{0, 0, 0, 255});
    draw();
    d->EndFrame();
    return Drawn(d->Canvas());
  };
  auto inside = [](const TRect& drawn, const TRect& counted) {
    return drawn.Width() == 0 || Intersection(drawn, counted) == drawn;
  };
  struct Size {
    int w, h;
  };
  for (const Size size : {Size{40, 24}, Size{17, 61}, Size{90, 9}})
    for (const auto& [fx, fy] : {std::pair{0.5, 0.5}, {0.0, 0.0}, {0.3, 0.8}})
      for (int angle = 0; angle < 256; angle += 11) {
        const TRect drawn = alone([&] {
          d->DrawRotatedAbout(tex, Bounds(0, 0, 40, 24), 401, 299, size.w, size.h, fx, fy, angle, 255);
        });
        EXPECT_TRUE(inside(drawn, TurnedBounds(401, 299, size.w, size.h, fx, fy, angle)))
            << size.w << "x" << size.h << " about (" << fx << ", " << fy << ") turned " << angle << ": drawn "
            << Describe(drawn);
      }
  for (const int size : {14, 15, 20, 25, 40})
    for (const char* text : {"Pause", "Level 12", "Score: 1234567", "Ajy|gQ", "W"}) {
      const TRect drawn = alone([&] { d->DrawText(300, 200, text, size, Color{255, 255, 0, 255}); });
      EXPECT_TRUE(inside(drawn, d->TextBounds(300, 200, text, size)))
          << text << " at " << size << " pt: drawn " << Describe(drawn) << ", counted "
          << Describe(d->TextBounds(300, 200, text, size));
      // Every look the game writes in, its outline and shadow included.
      for (const TextLook& look : {looks::kBanner, looks::kHeading, looks::kSmallPrint, looks::kDarkField,
                                   looks::kPaleField, looks::kTable, looks::kTableLit, looks::kMessage}) {
        const TRect styled = alone([&] { d->DrawStyledText(300, 200, text, size, look); });
        EXPECT_TRUE(inside(styled, d->StyledTextBounds(300, 200, text, size, look)))
            << text << " styled at " << size << " pt: drawn " << Describe(styled) << ", counted "
            << Describe(d->StyledTextBounds(300, 200, text, size, look));
      }
    }
}

// The paused pond's see-through Fill, drawn area by area, blends each pixel once.
TEST_F(FrameIdentity, ASeeThroughFillDrawnInAreasIsTheSameAsWhole) {
  std::string error;
  auto whole = SdlDisplay::OpenOffscreen(error), shown = SdlDisplay::OpenOffscreen(error);
  ASSERT_TRUE(whole && shown) << error;
  test::TwinDisplay twin(*whole, *shown);
  Pixels ball{30, 30, std::vector<uint8_t>(30 * 30 * 4, 200)};
  const TextureId tex = twin.CreateTexture(ball, false);
  for (int x : {100, 140, 140}) {
    twin.BeginFrame();
    twin.Fill(Color{40, 90, 20, 255});
    twin.Draw(tex, Bounds(0, 0, 30, 30), x, 300);
    twin.Fill(Color{0, 22, 30, 120});
    twin.DrawStyledText(330, 280, "Pause", 32, looks::kBanner);
    twin.EndFrame();
    EXPECT_EQ(Describe(Differing(whole->Canvas(), shown->Canvas())), Describe(TRect{})) << "ball at " << x;
  }
  EXPECT_EQ(twin.Dirty().Sent().size(), 0u);  // the last frame repeated the one before
}

}  // namespace
}  // namespace pondaro
