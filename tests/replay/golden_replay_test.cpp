// The golden replays in tests/replays/: whole games recorded by scripted play (an
// autopilot at the keyboard, the mouse and the controller), across levels 1 to 5,
// both stages, the stork's visits, a crocodile, pauses, the exit dialog and name
// entry. Each re-plays to its recorded score and digests in every build: `make
// test` and `make asan` (another optimisation, the same game).
//
// After a deliberate change to the rules or the pictures they no longer re-play:
// record them again (in build/game) with
//   PONDARO_RECORD_GOLDEN=../../tests/replays ../pondaro_tests --gtest_filter=GoldenReplays.Record
#include <cmath>
#include <filesystem>
#include <numbers>

#include "game/feeding_frog.h"
#include "game/insects.h"
#include "game/pond_pilot.h"
#include "game/stork.h"
#include "replay/taped_game.h"

namespace pondaro::test {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> GoldenFiles() {
  std::vector<fs::path> files;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(fs::path(PONDARO_SOURCE_DIR) / "tests" / "replays", ec))
    if (e.path().extension() == ".pdr") files.push_back(e.path());
  std::sort(files.begin(), files.end());
  return files;
}

// What a recorded game went through, as the autopilot saw it.
struct Seen {
  int level = 1;
  bool feeding = false, stork = false, crocodile = false, nameEntry = false;
};

class GoldenReplays : public TapedGame {
 protected:
  enum class Hands { Keys, Controller };

  // One tick of play: looks, acts through the inputs, ticks.
  void PlayTick(Hands hands, bool waitForCrocodile) {
    TMainForm& f = *form;
    seen.level = std::max(seen.level, f.Level);
    if (f.Scene == 3) {
      Cross(hands, waitForCrocodile);
    } else if (f.Scene == 4) {
      seen.feeding = true;
      Feed(hands);
    } else {
      Tick();
    }
    form->Root().ForEach<TAist>([&](TAist*) { seen.stork = true; });
    seen.crocodile = seen.crocodile || f.Frog.CrocodileStruck;
  }

  void Cross(Hands hands, bool waitForCrocodile) {
    TMainForm& f = *form;
    PondPilot pilot(f);
    std::optional<int> jump = pilot.AtRest() && !f.LevelBanner ? pilot.Decide() : std::nullopt;
    // Once, go to a crocodile's lily and stand by its eyes until it comes.
    const int c = f.Frog.FrogColumn + 1;
    const TLilyGrid& g = f.Pond.LilyGrid;
    if (waitForCrocodile && !seen.crocodile && jump) {
      if (g.Kind(c, 4) == kind::Crocodile)
        jump.reset();
      else if (g.Kind(c, 3) == kind::Crocodile && g.Kind(c, 4) != kind::Springy && f.Pond.StoneRow < 4)
        jump = vk::Up;
      else if (c > 1 && g.Kind(c - 1, 4) == kind::Crocodile)
        jump = vk::Left;
      else if (c < 4 && g.Kind(c + 1, 4) == kind::Crocodile)
        jump = vk::Right;
    }
    if (!jump) return Tick();
    if (hands == Hands::Controller) {
      keyboard.stick = {*jump == vk::Left ? -1000 : *jump == vk::Right ? 1000 : 0, *jump == vk::Up ? -1000 : 0, 0};
      Tick();
      keyboard.stick = {0, 0, 1};  // A
      Tick(3);
      keyboard.stick = {};
      return Tick();
    }
    keyboard.down.insert(*jump);
    Send({.Type = EventType::KeyDown, .Key = *jump});
    Tick();
    Send({.Type = EventType::KeyUp, .Key = *jump});
    Send({.Type = EventType::KeyDown, .Key = vk::Space});
    Tick(3);
    Send({.Type = EventType::KeyUp, .Key = vk::Space});
    Tick();
  }

  // The tongue at the nearest insect in reach, the frog walking under the others
  // and away from a diving stork.
  void Feed(Hands hands) {
    TMainForm& f = *form;
    const TFeeding& s = f.Feeding;
    const double mouthX = s.EatFrogX + 68, mouthY = s.TongueBaseY - s.TongueLift;
    double frogX = 0, frogW = 0;
    f.Root().ForEach<TPlayerSpriteEat>([&](TPlayerSpriteEat* p) {
      frogX = p->X;
      frogW = p->Width;
    });
    int walk = 0;
    f.Root().ForEach<TAist>([&](TAist* a) {
      if (a->Dying) return;
      const double centre = a->X + a->Width / 2.0;
      if (std::fabs(centre - (frogX + frogW / 2)) < (a->Width + frogW) / 2 + 20)
        walk = centre > frogX + frogW / 2 ? -1 : 1;
    });
    const TEat* target = nullptr;
    double best = 1e9;
    f.Root().ForEach<TEat>([&](TEat* e) {
      if (e->Dying) return;
      const double d = std::hypot(e->X + e->Width / 2.0 - mouthX, e->Y + e->Height / 2.0 - mouthY);
      if (d < best) {
        best = d;
        target = e;
      }
    });
    bool fire = false;
    if (target) {
      // Where it will be when the tongue gets there.
      const double lead = std::min(best, 430.0) / 30;
      const double tx = target->X + target->Width / 2.0 + (target->Direction == 1 ? -1 : 1) * target->Speed * lead;
      const double ty = target->Y + target->Height / 2.0;
      const double aim = std::atan2(mouthY - ty, mouthX - tx) * 180 / std::numbers::pi + 90;
      if (aim < 125 || aim > 235) {
        if (walk == 0) walk = tx < mouthX ? -1 : 1;
      } else {
        fire = best < 440;
        const int x = static_cast<int>(std::lround((aim + 180) / 0.9));
        if (hands == Hands::Keys || f.MouseX != x) Send({.Type = EventType::MouseMove, .X = x, .Y = 300});
      }
    }
    for (int key : {vk::Left, vk::Right}) {
      const bool want = walk == (key == vk::Left ? -1 : 1);
      if (want && !keyboard.down.count(key)) Send({.Type = EventType::KeyDown, .Key = key});
      if (!want && keyboard.down.count(key)) Send({.Type = EventType::KeyUp, .Key = key});
    }
    if (hands == Hands::Controller) {
      // The controller's A fires; the pointer aims.
      keyboard.stick.Buttons = fire ? 1 : 0;
    } else if (fire != held_) {
      Send({.Type = fire ? EventType::MouseDown : EventType::MouseUp, .X = f.MouseX, .Y = f.MouseY});
    }
    held_ = fire;
    Tick();
  }

  // Plays until the game is over, then enters `name` (by keys, or by the
  // controller's A, which stores "Anonymous").
  void PlayToTheEnd(Hands hands, bool waitForCrocodile, const std::string& name, long maxTicks = 60000) {
    for (long t = 0; t < maxTicks && form->Scene != 9; ++t) PlayTick(hands, waitForCrocodile);
    for (int key : {vk::Left, vk::Right})
      if (keyboard.down.count(key)) Send({.Type = EventType::KeyUp, .Key = key});
    keyboard.stick = {};
    Tick(200);
    seen.nameEntry = form->GameEnterName;
    if (hands == Hands::Controller) {
      keyboard.stick.Buttons = 1;
      Tick(2);
      keyboard.stick = {};
    } else {
      for (char c : name) Press(c);
      Press(vk::Back);  // a slip, put right
      Press(name.back());
      Press(vk::Return);
    }
    Tick(3);
  }

  void ToMainMenu() {
    for (int i = 0; i < 5 && form->Scene != 2; ++i) {
      Press(vk::Escape);
      Tick(5);
    }
    ASSERT_EQ(form->Scene, 2);
  }

  void Keep(const std::string& folder, const std::string& file) {
    ASSERT_TRUE(tape->LastGame) << file << ": the game did not end";
    ASSERT_EQ(tape->LastGameTaint, "") << file;
    const TVerdict v = Verify(*tape->LastGame);
    ASSERT_TRUE(v.Verified) << file << ": " << v.Problem;
    std::string error;
    ASSERT_TRUE(SaveReplay(folder + "/" + file, *tape->LastGame, error)) << error;
    std::printf("%s: score %d, level %d, %u ticks, %s%s%s%s\n", file.c_str(), tape->LastGame->Score,
                tape->LastGame->Level, tape->LastGame->Ticks, seen.feeding ? "feeding, " : "",
                seen.stork ? "stork, " : "", seen.crocodile ? "crocodile, " : "",
                seen.nameEntry ? "name entry" : "no name entry");
    seen = {};
  }

  Seen seen;
  bool held_ = false;
};

TEST_F(GoldenReplays, EachReplaysAsRecorded) {
  const std::vector<fs::path> files = GoldenFiles();
  ASSERT_GE(files.size(), 3u) << "tests/replays/ holds the golden replays";
  int bestLevel = 0;
  uint64_t ticks = 0;
  for (const fs::path& file : files) {
    TReplay r;
    std::string error;
    ASSERT_TRUE(LoadReplay(file.string(), r, error)) << error;
    const TVerdict v = Verify(r);
    EXPECT_TRUE(v.Verified) << file.filename() << ": " << v.Problem
                            << "\n(after a deliberate change of the rules or the pictures, record them again: see "
                               "tests/replay/golden_replay_test.cpp)";
    EXPECT_EQ(v.Score, r.Score) << file.filename();
    bestLevel = std::max(bestLevel, v.Level);
    ticks += v.Ticks;
  }
  EXPECT_GE(bestLevel, 5) << "the golden games reach level 5";
  std::printf("golden replays: %zu games, %llu ticks, best level %d\n", files.size(),
              static_cast<unsigned long long>(ticks), bestLevel);
}

TEST_F(GoldenReplays, Record) {
  const char* folder = std::getenv("PONDARO_RECORD_GOLDEN");
  if (!folder || !*folder) GTEST_SKIP() << "PONDARO_RECORD_GOLDEN=<folder> records the golden replays again";

  // As far as the keys and the mouse get, a name at the end.
  ToMenu();
  Press(vk::Return);
  PlayToTheEnd(Hands::Keys, false, "PILOT");
  EXPECT_GE(seen.level, 5);
  EXPECT_TRUE(seen.stork);
  Keep(folder, "keys_to_level_5.pdr");

  // With the controller, waiting once for a crocodile; started a little later.
  ToMainMenu();
  Tick(37);
  keyboard.stick.Buttons = 1;  // A on the main menu's Start Game, lit by the stick
  keyboard.stick.Y = 1000;
  Tick(1);
  keyboard.stick.Y = 0;
  Tick(1);
  keyboard.stick.Buttons = 0;
  Tick(1);
  PlayToTheEnd(Hands::Controller, true, "");
  EXPECT_TRUE(seen.crocodile);
  Keep(folder, "controller_and_crocodile.pdr");

  // Pauses, the window losing the focus, full screen and back, the exit dialog
  // opened and shut, then left by it at the feeding stage, against a low table.
  ToMainMenu();
  ToMenuWithLowTable();
  Tick(71);
  Press(vk::Return);
  const auto altEnter = [&] {
    Send({.Type = EventType::KeyDown, .Key = vk::Return, .Alt = true});
    Send({.Type = EventType::KeyUp, .Key = vk::Return, .Alt = true});
  };
  for (long t = 0; t < 20000 && form->Scene != 4; ++t) {
    PlayTick(Hands::Keys, false);
    if (t == 130 || t == 170) Press('P');
    if (t == 200) Send({.Type = EventType::FocusLost});
    if (t == 240) Send({.Type = EventType::FocusGained});
    if (t == 260 || t == 300) altEnter();
    if (t == 320) Press(vk::Escape);
    if (t == 360) Click(465, 325);  // No
  }
  Tick(300);
  LeaveGame();
  seen.nameEntry = form->GameEnterName;
  for (char c : std::string("PAUSE")) Press(c);
  Press(vk::Return);
  Tick(3);
  Keep(folder, "pauses_and_dialogs.pdr");
}

}  // namespace
}  // namespace pondaro::test
