#include "name_entry_fixture.h"

namespace pondaro::test {
namespace {

using NameEntry = NameEntryFixture;

TEST_F(NameEntry, NewScoresAreInsertedAndTheOldTenthDropsOut) {
  auto& f = Make();
  struct Case {
    int32_t score;
    std::vector<int32_t> table;
    int place;  // index of the new entry
  };
  const Case cases[] = {
      {450, {3000, 2500, 2000, 1500, 1000, 500, 450, 400, 300, 200}, 6},
      {500, {3000, 2500, 2000, 1500, 1000, 500, 500, 400, 300, 200}, 5},  // ahead of the earlier 500
      {150, {3000, 2500, 2000, 1500, 1000, 500, 400, 300, 200, 150}, 9},
      {5000, {5000, 3000, 2500, 2000, 1500, 1000, 500, 400, 300, 200}, 0},
  };
  for (const Case& c : cases) {
    f.HighScores = DefaultHighScores();
    f.HighScores[c.place == 0 ? 1 : 0].Name = "Keep";  // a neighbour's name moves with its score
    f.PlayerName = "Frog";
    f.Score = c.score;
    f.StoreHighScore();
    EXPECT_EQ(Scores(), c.table) << c.score;
    EXPECT_EQ(f.HighScores[c.place].Name, "Frog") << c.score;
    if (c.place == 0) EXPECT_EQ(f.HighScores[2].Name, "Keep");
    else EXPECT_EQ(f.HighScores[0].Name, "Keep");
  }
}

TEST_F(NameEntry, TypedNameIsShownStoredAndSavedWhenTheSceneIsLeft) {
  auto& f = Make();
  f.ChangeScene(9);
  f.Score = 450;
  Tick(166);
  EXPECT_FALSE(f.GameEnterName);
  EXPECT_EQ(Live<TEnter_Name>(), 0);
  Tick();
  ASSERT_TRUE(f.GameEnterName);
  EXPECT_TRUE(f.GamegoEdit);  // nothing remembered: typing starts at once
  ASSERT_EQ(Live<TEnter_Name>(), 1);
  f.Root().ForEach<TEnter_Name>([](TEnter_Name* p) {
    EXPECT_DOUBLE_EQ(p->X, (800 - kPanelW) / 2.0);
    EXPECT_DOUBLE_EQ(p->Y, (600 - kPanelH) / 2.0);
    EXPECT_EQ(p->Z, 0);
  });

  Type("FROGGY");
  Key(vk::Back);
  display.calls.clear();
  Tick();
  // The recording display measures 10 pixels a character at size 20.
  std::vector<DrawCall> texts;
  for (const DrawCall& d : display.calls)
    if (d.kind == DrawCall::Text) texts.push_back(d);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].text, "450");
  EXPECT_EQ(texts[0].dst.Left, 400 - 36);
  EXPECT_EQ(texts[0].dst.Top, 225);
  EXPECT_EQ(texts[1].text, "FROGG");
  EXPECT_EQ(texts[1].dst.Left, 400 - 25);
  EXPECT_EQ(texts[1].dst.Top, 305);
  for (const DrawCall& t : texts) {
    EXPECT_EQ(t.pointSize, 20);
    EXPECT_TRUE(t.styled && t.look.OutlinePx >= 1) << "outlined on the pale field";
  }
  EXPECT_EQ(f.EditTextWidth, 50);

  Type("Y");  // typed after the last frame, still part of the committed name
  Key(vk::Return);
  EXPECT_EQ(f.Scene, 7);
  EXPECT_EQ(Scores(), (std::vector<int32_t>{3000, 2500, 2000, 1500, 1000, 500, 450, 400, 300, 200}));
  EXPECT_EQ(f.HighScores[6].Name, "FROGGY");
  EXPECT_TRUE(http.requests.empty());  // the send option was off
  const THighScoreTable saved = SavedTable();
  EXPECT_EQ(saved, f.HighScores);
  EXPECT_EQ(StripPadding((*ReadSettingsLines(ConfigPath()))[4]), "FROGGY");
  EXPECT_FALSE(f.GameEnterName || f.GamegoEdit || f.GameSendResult);
}

TEST_F(NameEntry, ARememberedNameIsOfferedWithTypingOff) {
  SettingsValues v;
  v.Name = PadToFive("Bob");
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(ConfigPath(), FormatSettings(v), error));
  Make();
  auto& f = GameOver(2700);
  ASSERT_EQ(f.Edit2, "Bob");
  EXPECT_TRUE(f.GameEnterName);
  EXPECT_FALSE(f.GamegoEdit);
  Type("X");
  EXPECT_EQ(f.Edit2, "Bob");

  // A click on the name field turns typing on; a click elsewhere turns it off again.
  const size_t sounds = sound.startLog.size();
  Click(400, 330);
  EXPECT_TRUE(f.GamegoEdit);
  EXPECT_EQ(sound.startLog.size(), sounds + 1);
  Click(700, 500);
  EXPECT_FALSE(f.GamegoEdit);
  EXPECT_EQ(sound.startLog.size(), sounds + 1);

  Key(vk::Return);
  EXPECT_EQ(f.Scene, 7);
  EXPECT_EQ(f.HighScores[1], (TLocal_HighScores{"Bob", 2700}));
  EXPECT_EQ(f.HighScores[2].Score, 2500);
}

TEST_F(NameEntry, TypingKeepsToTheAlphabetTheLengthAndTheWidth) {
  auto& f = GameOver(450);
  ASSERT_TRUE(f.GamegoEdit);
  // W is 53 pixels wide, I is 17; the name may be 360 pixels wide.
  f.EditTextWidth = 308;
  Key('W');
  EXPECT_EQ(f.Edit2, "");
  f.EditTextWidth = 307;
  Key('W');
  EXPECT_EQ(f.Edit2, "W");
  f.EditTextWidth = 343;
  Key('I');
  EXPECT_EQ(f.Edit2, "WI");
  f.EditTextWidth = 344;
  Key('I');
  EXPECT_EQ(f.Edit2, "WI");
  Key(vk::Back);  // Backspace works at the limit
  EXPECT_EQ(f.Edit2, "W");

  f.Edit2.clear();
  f.EditTextWidth = 0;
  // Keypad digits type digits; keypad operators, F-keys and other keys nothing.
  for (int key : std::initializer_list<int>{vk::Numpad0 + 1, vk::Numpad0, vk::Multiply, vk::Divide, vk::F1, vk::F1 + 10, vk::Space,
                  189, '-', 'Q', '7'})
    Key(key);
  EXPECT_EQ(f.Edit2, "10Q7");
  Type("ABCDEFGHIJKL");
  EXPECT_EQ(f.Edit2, "10Q7ABCDEF");  // ten at most
  for (int i = 0; i < 12; ++i) Key(vk::Back);
  EXPECT_EQ(f.Edit2, "");

  // The width is the one the last frame measured: in a face of 40 pixels a
  // character, A (counted 39) fits nine times (320 + 39 <= 360, 360 + 39 > 360).
  display.charWidthPerPoint = 2.0;
  for (int i = 0; i < 12; ++i) {
    Key('A');
    Tick();
  }
  EXPECT_EQ(f.Edit2, "AAAAAAAAA");
  EXPECT_EQ(f.EditTextWidth, 360);
}

TEST_F(NameEntry, EnterStoresATieWithTheTenthAndOnlyFromTheOpenPanel) {
  // Equal to place 10: the panel asked for a name, so Enter keeps it, before the equal one.
  auto& f = GameOver(100);
  ASSERT_TRUE(f.GameEnterName);
  Type("TIE");
  Key(vk::Return);
  EXPECT_EQ(f.Scene, 7);
  EXPECT_EQ(f.HighScores[9], (TLocal_HighScores{"TIE", 100}));
  EXPECT_EQ(f.HighScores[8], DefaultHighScores()[8]);

  // Alt+Enter switches the display mode and commits nothing.
  f.HighScores = DefaultHighScores();
  f.Edit2.clear();
  GameOver(450);
  Type("ALT");
  Key(vk::Return, true);
  EXPECT_EQ(f.Scene, 9);
  EXPECT_TRUE(f.GameFullScreen);
  EXPECT_EQ(f.HighScores, DefaultHighScores());

  // An empty name is not stored.
  f.Edit2.clear();
  Key(vk::Return);
  EXPECT_EQ(f.Scene, 9);

  // While the game-over words are on, Enter does not commit a remembered name.
  f.Edit2 = "Early";
  f.ChangeScene(9);
  f.Score = 900;
  Tick(10);
  Key(vk::Return);
  EXPECT_EQ(f.Scene, 9);
  EXPECT_EQ(f.HighScores, DefaultHighScores());
}

TEST_F(NameEntry, ClicksWaitForTheWordsThenTickTheSendBox) {
  auto& f = Make();
  f.ChangeScene(9);
  f.Score = 450;
  Tick(10);
  Click(264, 386);  // the send box, while the words are on
  EXPECT_FALSE(f.GameSendResult);
  Tick(157);
  ASSERT_FALSE(f.Timer1.Enabled);

  Click(264, 386, MouseButton::Right);
  EXPECT_FALSE(f.GameSendResult);
  Click(245, 405);  // the box's corners count
  EXPECT_TRUE(f.GameSendResult);
  ASSERT_EQ(Live<TEnter_Name_Send>(), 1);
  f.Root().ForEach<TEnter_Name_Send>([](TEnter_Name_Send* s) {
    EXPECT_DOUBLE_EQ(s->X, 243);
    EXPECT_DOUBLE_EQ(s->Y, 362);
    EXPECT_EQ(s->Z, 1);
  });
  Click(283, 367);
  EXPECT_FALSE(f.GameSendResult);
  EXPECT_EQ(Live<TEnter_Name_Send>(), 0);
  Click(284, 386);  // just outside
  EXPECT_FALSE(f.GameSendResult);
  EXPECT_EQ(f.Scene, 9);

  // Below the table a click leaves for the menu, after a short pause.
  f.ChangeScene(9);
  f.Score = 99;
  Tick(167);
  const uint64_t before = clock.now;
  Click(10, 10);
  EXPECT_EQ(f.Scene, 2);
  EXPECT_GE(clock.now - before, 200u);
}

TEST_F(NameEntry, WithoutAMouseSpaceOrXTicksTheSendBoxAndTheControllersAStores) {
  auto& f = GameOver(450);
  ASSERT_TRUE(f.GameEnterName);
  Key(vk::Space);
  EXPECT_TRUE(f.GameSendResult);
  keyboard.stick = {0, 0, 1u << 2};  // X
  Tick();
  keyboard.stick = {};
  Tick();
  EXPECT_FALSE(f.GameSendResult);
  // No keyboard, no name: A keeps the score under the table's own name.
  keyboard.stick = {0, 0, 1};
  Tick();
  EXPECT_EQ(f.Scene, 7);
  EXPECT_EQ(f.HighScores[6], (TLocal_HighScores{"Anonymous", 450}));
}

}  // namespace
}  // namespace pondaro::test
