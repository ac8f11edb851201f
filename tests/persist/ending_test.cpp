// What the form keeps when it is ended at name entry, and when another copy of
// the game saves the same Config.cfg.
#include "menus/name_entry_fixture.h"
#include "persist/settings_store.h"

namespace pondaro::test {
namespace {

class Ending : public NameEntryFixture {
 protected:
  void Quit() {
    InputEvent end;
    end.Type = EventType::Terminate;
    form->HandleEvent(end);
    ASSERT_TRUE(form->Terminated);
  }
  // A game over with `score`, `name` typed and entered.
  void EnterScore(TMainForm& f, int32_t score, const std::string& name) {
    f.ChangeScene(9);
    f.Score = score;
    Tick(167);
    Type(name);
    Key(vk::Return);
    ASSERT_EQ(f.Scene, 7);
  }
  void WriteConfig(const SettingsValues& v) {
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(ConfigPath(), FormatSettings(v), error)) << error;
  }
};

// A quit at name entry stores the score as Enter would, never sends it, and keeps
// the name typed so far, or the last one when the field is empty.
TEST_F(Ending, AQuitAtNameEntryKeepsTheScore) {
  const struct {
    const char* what;
    int ticks;  // after the game over; the panel opens at the 167th
    std::string typed;
    int backspaces;
    std::string stored;  // "" when nothing is stored
    int32_t score;
  } cases[] = {
      {"typed", 167, "ZED", 3, "ZED", 2700},
      {"field emptied", 167, "", 3, "Bob", 2700},
      {"still the game-over words", 50, "", 0, "Bob", 2700},
      {"no place earned", 167, "ZED", 3, "", 50},
  };
  for (const auto& c : cases) {
    SettingsValues v;
    v.Name = "Bob";
    WriteConfig(v);
    auto& f = Make();
    f.ChangeScene(9);
    f.Score = c.score;
    Tick(c.ticks);
    if (f.GameEnterName) {
      Click(400, 330);  // the name field: "Bob" is offered with typing off
      for (int i = 0; i < c.backspaces; ++i) Key(vk::Back);
      Type(c.typed);
      Click(264, 386);  // send it: a quit sends nothing all the same
    }
    Quit();
    THighScoreTable expected = DefaultHighScores();
    if (!c.stored.empty()) expected = {{{"Anonymous", 3000}, {c.stored, c.score}, {"Anonymous", 2500},
                                        {"Anonymous", 2000}, {"Anonymous", 1500}, {"Anonymous", 1000},
                                        {"Anonymous", 500}, {"Anonymous", 400}, {"Anonymous", 300},
                                        {"Anonymous", 200}}};
    EXPECT_EQ(f.HighScores, expected) << c.what;
    EXPECT_EQ(SavedTable(), expected) << c.what;
    EXPECT_TRUE(http.requests.empty()) << c.what;
  }
}

// Two copies in one folder: each keeps the other's new score, and an option only
// one of them changed stays changed whoever saves last.
TEST_F(Ending, TwoCopiesKeepEachOthersScoresAndOptions) {
  auto& a = Make();
  auto first = std::move(form);
  auto firstApp = std::move(app);
  auto& b = Make();
  // A switches the music off; B enters a score; A, knowing nothing of it, enters one.
  first->ChangeScene(6);
  first->GameMusicClick();
  first->ChangeScene(2);
  EnterScore(b, 2700, "BEE");
  form.swap(first);
  app.swap(firstApp);
  EnterScore(a, 2600, "AYE");
  const THighScoreTable both = {{{"Anonymous", 3000}, {"BEE", 2700}, {"AYE", 2600}, {"Anonymous", 2500},
                                 {"Anonymous", 2000}, {"Anonymous", 1500}, {"Anonymous", 1000},
                                 {"Anonymous", 500}, {"Anonymous", 400}, {"Anonymous", 300}}};
  EXPECT_EQ(SavedTable(), both);
  EXPECT_EQ(a.HighScores, both);  // A's own screen shows B's score too
  // B leaves its table, still with music on in its memory: the file keeps A's choice.
  b.ChangeScene(2);
  EXPECT_EQ((*ReadSettingsLines(ConfigPath()))[1], "false");
  EXPECT_EQ(SavedTable(), both);
  firstApp.reset();
  first.reset();
}

}  // namespace
}  // namespace pondaro::test
