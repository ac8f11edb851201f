#include "form_fixture.h"
#include "sprites/errors.h"

namespace pondaro::test {
namespace {

using AppLoop = FormTest;

TEST_F(AppLoop, TicksEveryThirtyMillisecondsAndSleepsBetween) {
  auto& f = Make();
  events.clock = &clock;
  const int frames = display.frames;
  const uint64_t start = clock.now;
  while (clock.now < start + 300) app->Step();
  // 300 ms hold ten ticks; the waits were long sleeps, not a busy loop.
  EXPECT_NEAR(display.frames - frames, 10, 1);
  int longWaits = 0;
  for (int w : events.waits) longWaits += w >= 20 ? 1 : 0;
  EXPECT_GE(longWaits, 9);
  EXPECT_LT(events.waits.size(), 200u);
  (void)f;
}

TEST_F(AppLoop, AStallStartsANewScheduleInsteadOfCatchingUp) {
  auto& f = Make();
  std::vector<double> late;
  app->LatenessLog = &late;
  const int frames = display.frames;
  clock.now += 1000;  // the machine stalled for a second
  app->RunDue(clock.now);
  app->RunDue(clock.now);
  EXPECT_EQ(display.frames - frames, 1);
  EXPECT_EQ(app->NextTick(), clock.now + 30);
  ASSERT_EQ(late.size(), 1u);
  EXPECT_GE(late[0], 900);
  (void)f;
}

TEST_F(AppLoop, EventsAreHandledBetweenTicksAndTimersFireOnSchedule) {
  auto& f = Make();
  events.clock = &clock;
  InputEvent key;
  key.Type = EventType::KeyDown;
  key.Key = vk::Escape;
  events.queue.push_back(key);
  const uint64_t before = clock.now;
  while (!events.queue.empty()) app->Step();
  EXPECT_EQ(f.Scene, 2);  // Esc on the splash, handled without waiting
  EXPECT_LE(clock.now - before, 30u);

  // LevelTimer counts seconds while enabled, whatever the frame rate.
  f.LevelTimeLeft = 10;
  f.EnableTimer(f.LevelTimer, true);
  const uint64_t start = clock.now;
  while (clock.now < start + 3010) app->Step();
  EXPECT_EQ(f.LevelTimeLeft, 7);
  f.EnableTimer(f.LevelTimer, false);
  while (clock.now < start + 5010) app->Step();
  EXPECT_EQ(f.LevelTimeLeft, 7);
}

TEST_F(AppLoop, ATimerWithIntervalZeroNeverFiresNorWakesTheLoop) {
  auto& f = Make();
  f.ChangeScene(2);
  events.clock = &clock;
  f.LevelTimeLeft = 10;
  f.SetTimerInterval(f.LevelTimer, 0);
  f.EnableTimer(f.LevelTimer, true);
  const uint64_t start = clock.now;
  int steps = 0;
  for (; steps < 1000 && clock.now < start + 300; ++steps) app->Step();
  EXPECT_EQ(f.LevelTimeLeft, 10);
  EXPECT_LT(steps, 40) << "the loop spun";
}

// Whatever escapes a handler, the loop reports it and ends; it never takes the
// program down without a word.
TEST_F(AppLoop, AnErrorEscapingTheLoopIsShownAndEndsItCleanly) {
  struct Throwing : EventSource {
    bool WaitEvent(int, InputEvent&) override { throw EDataFileError("Data/Music.dxw: cannot open"); }
  } throwing;
  auto& f = Make();
  TApplication loop(f, throwing, clock);
  EXPECT_NO_THROW(loop.Run());
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0], "Data/Music.dxw: cannot open");
  EXPECT_TRUE(f.Terminated);
}

}  // namespace
}  // namespace pondaro::test
