// A scripted player with a short, honest strategy (it looks at the pond as a
// player does and acts only through keys) crosses seeded ponds to the feeding
// stage: a pond that cannot be crossed fairly fails here.
#include "game/game_fixture.h"
#include "game/pond_pilot.h"

namespace pondaro::test {
namespace {

class ScriptedPlayer : public GameTest {
 protected:
  // Faces `key` (Left, Right, Up) and jumps: a short tap of each, as a player does.
  void Jump(int key) {
    Hold(key);
    Tick();
    Release(key);
    Hold(vk::Space);
    Tick(3);
    Release(vk::Space);
  }
  // Plays a crossing of `level` from seed `seed`; the lives it cost, or -1 when it never got across.
  int Cross(int level, uint32_t seed) {
    if (!form) Make();
    form->ChangeScene(2);
    form->ChangeScene(3);
    form->Seed(seed);
    form->Level = level;
    form->Lives = 9;  // room to learn a pond: what is measured is getting across
    form->StartLevel();
    int lost = 0;
    PondPilot pilot(*form);
    for (int t = 0; t < 6000 && form->Scene == 3; ++t) {
      form->LevelBanner = false;  // a lost life's banner: the player waits it out
      const int lives = form->Lives;
      const std::optional<int> jump = pilot.AtRest() ? pilot.Decide() : std::nullopt;
      if (jump)
        Jump(*jump);
      else
        Tick();
      lost += form->Lives < lives;
    }
    return form->Scene == 4 ? lost : -1;
  }
};

TEST_F(ScriptedPlayer, CrossesLevelsOneAndThreeOfSeveralPonds) {
  int lost = 0;
  for (int level : {1, 3})
    for (uint32_t seed = 1; seed <= 8; ++seed) {
      const int n = Cross(level, seed);
      EXPECT_GE(n, 0) << "level " << level << ", seed " << seed << ": not across";
      lost += std::max(n, 0);
    }
  // Measured: 8 lives in these 16 crossings; a rule that kills unfairly shows here.
  EXPECT_LE(lost, 12);
  std::printf("scripted player: 16 crossings, %d lives lost\n", lost);
}

}  // namespace
}  // namespace pondaro::test
