#include <algorithm>

#include "feeding_fixture.h"

namespace pondaro::test {
namespace {

TEST_F(FeedingTest, EachLevelSendsItsOwnMixOfInsectsAtItsOwnRate) {
  auto& f = Enter(1);
  struct Case {
    int level, chance;
    bool kinds[5];  // midge, fly, mosquito, pond skater, bee
  };
  const Case cases[] = {{1, 1, {1, 0, 0, 0, 0}},
                        {2, 2, {1, 1, 0, 0, 0}},
                        {3, 3, {1, 1, 1, 0, 0}},
                        {4, 4, {1, 1, 1, 1, 0}},
                        {5, 5, {1, 1, 1, 1, 1}},
                        {40, 5, {1, 1, 1, 1, 1}}};
  constexpr int kDraws = 6000;
  for (const Case& c : cases) {
    f.Level = c.level;
    f.ChangeScene(4);
    for (int i = 0; i < kDraws; ++i) f.FeedingLogic();
    const int n[5] = {Count<TMushka>(), Count<TMuha>(), Count<TKomar>(), Count<TVodomerka>(), Count<TPchel>()};
    const int total = n[0] + n[1] + n[2] + n[3] + n[4];
    EXPECT_NEAR(total, kDraws * c.chance / 100.0, kDraws * c.chance / 100.0 * 0.25) << c.level;
    const int kinds = std::count(std::begin(c.kinds), std::end(c.kinds), true);
    for (int k = 0; k < 5; ++k) {
      if (!c.kinds[k]) {
        EXPECT_EQ(n[k], 0) << "level " << c.level << " kind " << k;
        continue;
      }
      // Level 2 sends six midges to four flies, 3 four-four-two, 4 three-three-two-two, 5 all alike.
      const double shares[5][5] = {{1}, {0.6, 0.4}, {0.4, 0.4, 0.2}, {0.3, 0.3, 0.2, 0.2}, {0.2, 0.2, 0.2, 0.2, 0.2}};
      EXPECT_NEAR(n[k], total * shares[kinds - 1][k], total * 0.08 + 2) << "level " << c.level << " kind " << k;
    }
  }
}

TEST_F(FeedingTest, ALongLevel5StageKeepsItsSpritesBoundedAndEndsInTheNextCrossing) {
  auto& f = Enter(5);
  f.Lives = 1000;  // the stork may come
  f.Feeding.StorkAllowed = true;
  EXPECT_EQ(f.LevelTimeLeft, 69);
  int most = 0, ticks = 0;
  while (f.Scene == 4 && ticks < 2500) {
    f.FireHeld = ticks % 40 < 20;  // bursts of the tongue
    Tick();
    ++ticks;
    most = std::max(most, f.Root().Count());
  }
  EXPECT_EQ(f.Scene, 3);
  EXPECT_EQ(f.Level, 6);
  EXPECT_NEAR(ticks, 70 * 1000 / 30, 2);
  EXPECT_LT(most, 45);
}

TEST_F(FeedingTest, StorkLegsComeDownThenTheStorkDivesTwiceAndEverythingLeaves) {
  auto& f = Enter(1);
  f.Lives = 1000;
  new TNogaAist(f, 1);
  new TNogaAist(f, 2);
  std::vector<TNogaAist*> legs;
  f.Root().ForEach<TNogaAist>([&](TNogaAist* l) { legs.push_back(l); });
  ASSERT_EQ(legs.size(), 2u);
  const int h = legs[0]->Height;
  EXPECT_EQ(legs[0]->X, 0);
  EXPECT_EQ(legs[1]->X, 800 - legs[1]->Width);
  Tick(60);
  EXPECT_EQ(legs[0]->Y, 600 - h);
  EXPECT_FALSE(f.Feeding.StorkLegsDown);
  Tick();
  EXPECT_EQ(legs[1]->Y, 600 - h);
  EXPECT_TRUE(f.Feeding.StorkLegsDown);

  auto* stork = new TAist(f);
  const int sh = stork->Height;
  EXPECT_EQ(sh % 30, 0);
  EXPECT_EQ(stork->Y, -sh);
  const int down = sh / 30;  // ticks to the turn
  Tick(down - 1);
  EXPECT_EQ(stork->Y, -30);
  EXPECT_TRUE(stork->Descending);
  Tick();
  EXPECT_EQ(stork->Y, -30);  // the turning tick
  EXPECT_FALSE(stork->Descending);
  Tick(down - 1);
  EXPECT_EQ(stork->Y, -sh);
  EXPECT_EQ(stork->Dives, 1);
  EXPECT_TRUE(stork->Descending);
  Tick(2 * down - 2);
  EXPECT_EQ(Count<TAist>(), 1);
  EXPECT_FALSE(f.Feeding.StorkGone);
  Tick();
  EXPECT_EQ(Count<TAist>(), 0);
  EXPECT_TRUE(f.Feeding.StorkGone);
  Tick(59);
  EXPECT_EQ(Count<TNogaAist>(), 2);
  Tick();
  EXPECT_EQ(Count<TNogaAist>(), 0);

  // Legs that set out after the stork has gone climb straight back.
  new TNogaAist(f, 1);
  Tick();
  EXPECT_EQ(Count<TNogaAist>(), 0);
}

TEST_F(FeedingTest, AStorkPictureOfAnyHeightStillTurnsAndLeaves) {
  auto& f = Enter(1);
  f.Lives = 1000;
  Pixels tall{200, 500, std::vector<uint8_t>(200 * 500 * 4, 255)};
  auto& picture = f.ImageList.Add("tall stork", tall);
  auto* stork = new TAist(f);
  stork->Image = &picture;
  stork->FrameCount = 1;
  stork->Height = 500;
  stork->Y = -500;
  int ticks = 0, lowest = -500;
  while (Count<TAist>() > 0 && ticks < 100) {
    Tick();
    ++ticks;
    if (Count<TAist>() > 0) lowest = std::max(lowest, static_cast<int>(stork->Y));
  }
  EXPECT_EQ(Count<TAist>(), 0);
  EXPECT_TRUE(f.Feeding.StorkGone);
  EXPECT_LE(lowest, 0);
}

// The stork with its beak over the frog's head, coming down.
TAist* StorkOverFrog(TMainForm& f) {
  auto* stork = new TAist(f);
  stork->X = f.Feeding.EatFrogX + 70 - stork->Width / 2;
  stork->Y = -150;
  return stork;
}

TEST_F(FeedingTest, TheStorkTakesALifeOnEveryTickItTouchesTheFrogAndTheLastOneEndsTheGameAtOnce) {
  auto& f = Enter(1);
  Tick();
  StorkOverFrog(f);
  f.Lives = 20;
  int touching = 0;
  for (int i = 0; i < 12; ++i) {
    const int before = f.Lives;
    Tick();
    ASSERT_GE(f.Lives, before - 1);
    touching += before - f.Lives;
  }
  EXPECT_GE(touching, 2);
  EXPECT_EQ(Starts("aist_eat"), touching);
  EXPECT_EQ(f.Scene, 4);

  f.ChangeScene(4);
  Tick();
  StorkOverFrog(f);
  f.Lives = 1;
  for (int i = 0; i < 12 && f.Lives > 0; ++i) Tick();
  EXPECT_EQ(f.Lives, 0);
  EXPECT_EQ(f.Scene, 9);
}

TEST_F(FeedingTest, FrozenStageShowsPauseOverStillSpritesAndTheStatusLineAlwaysLast) {
  auto& f = Enter(3);
  Tick();
  keyboard.down.insert(vk::Left);
  f.FormKeyDown('P', false, false, false);
  ASSERT_TRUE(f.Paused);
  const double x = First<TPlayerSpriteEat>()->X;
  const int timeLeft = f.LevelTimeLeft;
  TickFresh(100);
  EXPECT_EQ(First<TPlayerSpriteEat>()->X, x);
  EXPECT_EQ(f.LevelTimeLeft, timeLeft);
  TickFresh();
  const auto texts = display.CallsOf(DrawCall::Text);
  ASSERT_EQ(texts.size(), 7u);
  // "Pause" centred, outlined in the menus' style, over the pond dimmed beneath it.
  EXPECT_EQ(texts[0].text, "Pause");
  EXPECT_EQ(texts[0].dst.Left + texts[0].dst.Width() / 2, 400);
  EXPECT_EQ(texts[0].dst.Top, 260);
  EXPECT_EQ(texts[0].pointSize, 32);
  EXPECT_TRUE(texts[0].styled && texts[0].look.OutlinePx >= 2 && texts[0].look.Shadow.a > 0);
  const auto fills = display.CallsOf(DrawCall::Fill);
  ASSERT_EQ(fills.size(), 2u);
  EXPECT_LT(fills[1].color.a, 255) << "the paused pond is dimmed";
  const std::pair<int, std::string> line[6] = {{143, "Time:"}, {230, std::to_string(timeLeft)}, {338, "Lives:"},
                                               {450, "3"},     {528, "Score:"},                  {650, "0"}};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(texts[i + 1].text, line[i].second);
    EXPECT_EQ(texts[i + 1].dst.Left, line[i].first);
    EXPECT_EQ(texts[i + 1].dst.Top, 0);
    EXPECT_EQ(texts[i + 1].pointSize, 14);
  }
  for (size_t i = 1; i < texts.size(); ++i) EXPECT_EQ(texts[i].color, (Color{255, 255, 0, 255}));
  // Texts lie over every sprite.
  EXPECT_EQ(display.calls.back().kind, DrawCall::Text);
  EXPECT_EQ(display.calls[display.calls.size() - 7].kind, DrawCall::Text);
  EXPECT_NE(display.calls[display.calls.size() - 8].kind, DrawCall::Text);

  // Behind the exit dialog: still, but no "Pause".
  f.FormKeyDown('P', false, false, false);
  f.GameMainExit = true;
  TickFresh();
  EXPECT_EQ(First<TPlayerSpriteEat>()->X, x);
  EXPECT_EQ(display.CallsOf(DrawCall::Text).size(), 6u);
  f.GameMainExit = false;
  TickFresh();
  EXPECT_EQ(First<TPlayerSpriteEat>()->X, x - 5);
}

TEST_F(FeedingTest, TheStageEndsOnTimeIntoTheNextLevelAndOnNoLivesIntoGameOverShowingTheLastValues) {
  auto& f = Enter(3);
  Tick();
  f.LevelTimeLeft = -1;
  TickFresh();
  EXPECT_EQ(f.Scene, 3);
  EXPECT_EQ(f.Level, 4);
  EXPECT_EQ(display.CallsOf(DrawCall::Text)[1].text, "-1");

  // The rules stop at the scene change: nothing of the stage follows the game over.
  f.Level = 1000000;  // legs would come on any tick
  f.ChangeScene(4);
  f.LevelTimeLeft = 100;
  f.Lives = 0;
  TickFresh();
  EXPECT_EQ(f.Scene, 9);
  EXPECT_EQ(display.CallsOf(DrawCall::Text)[3].text, "0");
  EXPECT_EQ(Count<TNogaAist>(), 0);
  EXPECT_FALSE(f.Feeding.StorkLegsSpawned);

  // The last life and the clock in one tick: the game is over, no "Lives: 0" crossing.
  f.ChangeScene(4);
  f.LevelTimeLeft = -1;
  f.Lives = 0;
  Tick();
  EXPECT_EQ(f.Scene, 9);
}

TEST_F(FeedingTest, APauseOrTheExitDialogSilencesTheInsectsUntilPlayGoesOn) {
  auto& f = Enter(1);
  new TMushka(f);
  new TMuha(f);
  ASSERT_TRUE(Playing("mushka") && Playing("muha"));
  for (int opening : {0, 1}) {
    const int starts = Starts("mushka");
    if (opening == 0) f.FormKeyDown('P', false, false, false); else f.GameMainExitClick();
    EXPECT_FALSE(Playing("mushka") || Playing("muha")) << opening;
    Tick(5);
    EXPECT_FALSE(Playing("mushka")) << opening;
    if (opening == 0) f.FormKeyDown('P', false, false, false); else f.GameMainExitClick();
    EXPECT_TRUE(Playing("mushka") && Playing("muha")) << opening;
    EXPECT_EQ(Starts("mushka"), starts + 1) << "one buzz per kind comes back";
  }
}

}  // namespace
}  // namespace pondaro::test
