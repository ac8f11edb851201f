// Ripples, the splash, the crocodile, the bottle and the crossing's frozen frames.
#include <algorithm>

#include "game/bottle.h"
#include "game/crocodile.h"
#include "game/game_fixture.h"
#include "game/lilies.h"
#include "game/water.h"

namespace pondaro::test {
namespace {

class Water : public GameTest {
 protected:
  // Replaces picture `name` with one of `frames` frames of 40 x 40.
  void FakeFrames(const std::string& name, int frames) {
    Pixels p;
    p.Width = 40 * frames;
    p.Height = 40;
    p.Rgba.assign(static_cast<size_t>(p.Width) * p.Height * 4, 255);
    auto& item = form->ImageList.Add(name, p);
    item.PatternWidth = 40;
    item.PatternHeight = 40;
  }
};

TEST_F(Water, ARippleShowsItsRoundedFramesThenGoes) {
  EnterPond(1, 1);
  FakeFrames("razvod1", 4);
  auto* r = new TRazvod(*form, 1, 2);
  std::vector<int> frames;
  int ticks = 0;
  while (!r->Dying && ticks < 100) {
    form->SpriteEngine.Move(16);
    frames.push_back(RoundHalfEven(r->FramePos));
    ++ticks;
  }
  EXPECT_EQ(ticks, 22);
  EXPECT_EQ(std::vector<int>(frames.begin(), frames.begin() + 5), (std::vector<int>{0, 0, 0, 1, 1}));
  EXPECT_EQ(frames.back(), 4) << "the last tick draws nothing";
}

TEST_F(Water, RipplesSitAtTheirCellAndScrollOnlyWhenMadeBeforeTheScroll) {
  EnterPond(1, 1);
  auto* small = new TRazvod(*form, 1, 3);
  auto* middle = new TRazvod(*form, 2, 3);
  EXPECT_DOUBLE_EQ(small->X, 470 - small->Width / 2.0 - 2);
  EXPECT_DOUBLE_EQ(middle->Y + middle->Height, small->Y + small->Height - 10);
  form->Pond.Scrolling = true;
  const double y = small->Y;
  small->Advance(16);
  EXPECT_DOUBLE_EQ(small->Y, y + 5);
}

TEST_F(Water, TheSplashIsCentredOnTheFrogsCell) {
  EnterPond(1, 2);
  auto* s = new TBrizgi(*form);
  EXPECT_DOUBLE_EQ(s->X + s->Width / 2.0, 470);
  EXPECT_DOUBLE_EQ(s->Y + s->Height, 575 + 30);
  EXPECT_EQ(Played("brizg"), 1);
}

TEST_F(Water, TheCrocodileEndsItsStrikeOnItsLastFrameWhateverItsLength) {
  for (int frames : {8, 9, 10}) {
    EnterPond(1, 1);
    FakeFrames("kroko", frames);
    auto* k = new TKroko(*form, 4, 2);
    int ticks = 0;
    while (!form->Pond.FrogDied && ticks < 100) {
      k->Advance(16);
      ++ticks;
    }
    // 16/30 of a frame a tick; done once the position rounds to the last frame.
    int expected = 0;
    for (double pos = 0; RoundHalfEven(std::min(pos, frames - 1.0)) < frames - 1;) {
      pos += 16.0 / 30;
      ++expected;
    }
    EXPECT_EQ(ticks, expected) << frames << " frames";
    k->Advance(16);
    EXPECT_EQ(Played("kroco"), 1) << "its chomp once";
    sound.startedSamples.clear();
  }
}

TEST_F(Water, TheBottleOverflowsOnTheLastAttemptItHolds) {
  for (int level : {1, 2}) {
    EnterPond(level, 1);
    auto* bottle = First<TBottle>();
    const int n = bottle->Image->FrameCount();
    form->Lives = 3;
    form->Pond.Hunger = n * level - 1;
    Tick();
    EXPECT_EQ(form->Lives, 3) << "full, not yet over";
    EXPECT_EQ(bottle->Frame, n - 1);
    form->Pond.Hunger += 1;  // one more jump
    Tick();
    EXPECT_EQ(form->Lives, 2) << "level " << level;
  }
}

TEST_F(Water, TheBottleSoundsOnlyWhenItsFrameChangesAndNeverBreaks) {
  EnterPond(2, 1);
  auto* bottle = First<TBottle>();
  sound.startedSamples.clear();
  for (int h : {1, 2, 2, 3, 4, 1}) {
    form->Pond.Hunger = h;
    bottle->Advance(16);
  }
  EXPECT_EQ(Played("bottle_up"), 2);    // 0 -> 1 -> 2
  EXPECT_EQ(Played("bottle_down"), 1);  // 2 -> 0
  form->Level = 0;
  form->Pond.Hunger = 256;
  bottle->Advance(16);  // no division by zero
  EXPECT_EQ(bottle->Frame, 256);
  EXPECT_TRUE(form->Pond.Starved);
  display.calls.clear();
  bottle->Paint();
  ASSERT_EQ(display.calls.size(), 1u) << "an overflowing bottle shows full";
  form->Pond.Hunger = -4;
  bottle->Advance(16);
  EXPECT_EQ(form->Pond.Hunger, 0);
}

TEST_F(Water, AFeedingStageEnteredOverflowingShowsAFullBottle) {
  EnterPond(1, 1);
  form->Pond.Hunger = 1000;
  form->ChangeScene(4);
  display.calls.clear();
  Tick();
  auto* bottle = First<TBottle>();
  ASSERT_NE(bottle, nullptr);
  const int full = bottle->Image->FrameCount() - 1;
  const TRect fullFrame = bottle->Image->FrameRectOf(full);
  EXPECT_TRUE(std::any_of(display.calls.begin(), display.calls.end(),
                          [&](const DrawCall& c) { return c.kind == DrawCall::Plain && c.src == fullFrame; }));
}

TEST_F(Water, ALongCrossingKeepsItsSpriteCountBounded) {
  EnterPond(2, 1);
  form->Lives = 1000;
  int most = 0, jumps = 0;
  // A restless player: a jump every few ticks in a turning direction.
  for (int t = 0; t < 6000; ++t) {
    if (form->Scene != 3) EnterPond(2, 1);
    form->Lives = 1000;
    form->LevelBanner = false;
    if (t % 7 == 0) {
      form->Frog.FrogFacing = (t / 7) % 3;
      form->FireHeld = true;
    }
    const int before = form->Score;
    Tick();
    if (form->Score > before) ++jumps;
    most = std::max(most, static_cast<int>(form->Root().Count()));
  }
  // 24 lilies, their eyes, bonuses, logs, ripples, frog, bottle, panels and goo.
  EXPECT_LT(most, 80);
  // (A hop or a scroll takes 31 ticks: at most a jump every 31 ticks.)
  EXPECT_GT(jumps, 150) << "the frog kept jumping";
}

TEST_F(Water, AFrozenCrossingDrawsTheSamePictureTickAfterTick) {
  EnterPond(1, 1);
  Tick(5);
  form->Paused = true;
  auto frame = [&] {
    display.calls.clear();
    Tick();
    return display.calls;
  };
  const auto first = frame();
  const auto second = frame();
  ASSERT_EQ(first.size(), second.size());
  for (size_t i = 0; i < first.size(); ++i) {
    EXPECT_EQ(first[i].dst, second[i].dst) << i;
    EXPECT_EQ(first[i].text, second[i].text) << i;
  }
  auto hasText = [&](const std::string& t, int x, int y) {
    return std::any_of(second.begin(), second.end(),
                       [&](const DrawCall& c) { return c.text == t && c.dst.Left == x && c.dst.Top == y; });
  };
  EXPECT_TRUE(hasText("Pause", 400 - 5 * 32 / 4, 280));  // centred: 5 letters, 32 pt
  form->Score = -2147483647 - 1;
  form->Lives = 2147483647;
  const auto numbers = frame();
  auto shows = [&](const std::string& t) {
    return std::any_of(numbers.begin(), numbers.end(), [&](const DrawCall& c) { return c.text == t; });
  };
  EXPECT_TRUE(shows("Score: -2147483648"));
  EXPECT_TRUE(shows("Lives: 2147483647"));
}

}  // namespace
}  // namespace pondaro::test
