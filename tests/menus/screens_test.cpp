// The help pages, the options screen and the high-score screen.
#include "menus/menu_fixture.h"
#include "persist/codec.h"
#include "persist/score_service.h"
#include "persist/settings_file.h"

namespace pondaro::test {
namespace {

using Screens = MenuTest;

constexpr int kNext[] = {660, 520}, kPrevious[] = {660, 565}, kBack[] = {444, 543};

TEST_F(Screens, HelpPagesTurnWithinOneToFiveAndOpenOnTheFirst) {
  auto& f = Menu();
  // However the screen is entered, it shows a page that exists.
  for (auto [page, shown] : {std::pair{0, 1}, {9, 5}, {3, 3}}) {
    f.HelpPage = static_cast<uint8_t>(page);
    f.ChangeScene(5);
    EXPECT_EQ(f.HelpPage, shown);
  }
  f.ChangeScene(2);
  Click(546, 410);
  ASSERT_EQ(f.Scene, 5);
  EXPECT_EQ(f.HelpPage, 1);
  // The About page names the game's home page only when it was built with one.
  const int lines[] = {0, 11, 14, 11, 11, kHomePageUrl[0] ? 4 : 3};
  for (int page = 1; page <= 5; ++page) {
    EXPECT_EQ(IsShowing("logo"), page == 5) << page;
    EXPECT_EQ(IsShowing("Help_mushka"), page == 4) << page;
    EXPECT_EQ(IsShowing("kroko"), page == 3) << page;
    display.calls.clear();
    Tick();
    const auto texts = Texts();
    ASSERT_EQ(static_cast<int>(texts.size()), lines[page]) << page;
    EXPECT_EQ(std::pair(texts[0].dst.Left, texts[0].dst.Top), std::pair(260, 180));
    EXPECT_EQ(texts[0].pointSize, 16);
    // Every line outlined in a dark colour, so that it reads over the pond.
    for (const DrawCall& t : texts) {
      EXPECT_TRUE(t.styled && t.look.OutlinePx >= 1) << t.text;
      EXPECT_LT(t.look.Outline.r + t.look.Outline.g + t.look.Outline.b, 3 * 90) << t.text;
    }
    const int clicks = Starts("button_down");
    Click(kNext[0], kNext[1]);
    EXPECT_EQ(f.HelpPage, std::min(page + 1, 5));
    EXPECT_EQ(Starts("button_down"), clicks + (page < 5)) << "a fifth click is silent";
  }
  Click(kPrevious[0], kPrevious[1]);
  EXPECT_EQ(f.HelpPage, 4);
  f.FormKeyDown(vk::Escape, false, false, false);
  Click(546, 410);
  EXPECT_EQ(f.HelpPage, 1);
  const int clicks = Starts("button_down");
  Click(kPrevious[0], kPrevious[1]);
  EXPECT_EQ(f.HelpPage, 1);
  EXPECT_EQ(Starts("button_down"), clicks);
  Click(kBack[0], kBack[1], MouseButton::Right);
  EXPECT_EQ(f.Scene, 5);
  Click(kBack[0], kBack[1]);
  EXPECT_EQ(f.Scene, 2);
}

TEST_F(Screens, HelpBackAndTheArrowsArmTheirHoverSoundsApart) {
  auto& f = Menu();
  f.ChangeScene(5);
  Move(100, 100);
  const struct {
    int x, y;
    int sounds;
  } path[] = {
      {kBack[0], kBack[1], 1},          // Back from empty space
      {kNext[0], kNext[1], 2},          // the arrows were armed all along
      {kBack[0], kBack[1], 3},          // Back was armed again on leaving it
      {kPrevious[0], kPrevious[1], 4},  // and so were the arrows
      {kNext[0], kNext[1], 4},          // arrow to arrow: silent
  };
  for (const auto& p : path) {
    Move(p.x, p.y);
    EXPECT_EQ(Starts("button_up"), p.sounds) << p.x << "," << p.y;
  }
  EXPECT_EQ(Live<HelpGame_Down>(), 1);
  f.Root().ForEach<HelpGame_Down>([](HelpGame_Down* s) { EXPECT_EQ(std::pair(s->X, s->Y), std::pair(594.0, 490.0)); });
}

TEST_F(Screens, OptionMarksFollowTheFlagsAndClicksOnTheChosenPartDoNothing) {
  auto& f = Menu();
  f.Edit1 = "NL";
  Click(550, 262);
  ASSERT_EQ(f.Scene, 6);
  const int entered = Starts("button_down");
  Tick();
  EXPECT_TRUE(IsShowing("Options_window_mode") && IsShowing("Options_sound_on") && IsShowing("Options_Music_On"));
  // Chosen parts, and the gap between the display choices.
  for (auto [x, y] : {std::pair{350, 234}, {290, 295}, {290, 354}, {450, 234}}) {
    Move(x, y);
    EXPECT_EQ(display.cursor, x == 450 ? CursorShape::Arrow : CursorShape::Hand);
    Click(x, y);
  }
  EXPECT_EQ(Starts("button_down"), entered);
  EXPECT_FALSE(f.GameFullScreen || !f.GameSound || !f.GameMusic);

  // Music off stops the song at once; on, "1" starts from its beginning.
  Click(391, 295);
  EXPECT_FALSE(f.GameMusic);
  EXPECT_EQ(f.SongHandle, 0);
  EXPECT_TRUE(music.playing.empty());
  const size_t loads = music.loaded.size();
  Click(290, 295);
  EXPECT_EQ(music.loaded.size(), loads + 1);
  EXPECT_EQ(music.loaded.back(), dir + "/Music/1.xm");
  EXPECT_TRUE(music.playing.count(f.SongHandle));
  EXPECT_EQ(Starts("button_down"), entered + 2);
  // Sound off makes no click; back on, the click is heard.
  Click(391, 354);
  EXPECT_FALSE(f.GameSound);
  EXPECT_EQ(Starts("button_down"), entered + 2);
  Tick();
  EXPECT_TRUE(IsShowing("Options_sound_off"));
  EXPECT_FALSE(IsShowing("Options_sound_on"));
  Click(290, 354);
  EXPECT_EQ(Starts("button_down"), entered + 3);
  // Full screen, and back.
  Click(600, 234);
  EXPECT_TRUE(f.GameFullScreen && display.fullScreen);
  Tick();
  EXPECT_TRUE(IsShowing("Options_full_screen"));
  Click(350, 234);
  EXPECT_FALSE(f.GameFullScreen || display.fullScreen);
  Click(kBack[0], kBack[1]);
  EXPECT_EQ(f.Scene, 2);
}

TEST_F(Screens, TheCountryFieldTakesTypingWithinItsLimitsAndIsSaved) {
  auto& f = Menu();
  f.ChangeScene(6);
  // Nothing typed yet: typing goes straight in, and the caret blinks after the text.
  EXPECT_TRUE(f.GamegoEdit);
  Tick(2);
  ASSERT_GE(Live<TPalka>(), 1);
  f.Root().ForEach<TPalka>([](TPalka* p) { EXPECT_EQ(std::pair(p->X, p->Y), std::pair(400.0, 440.0)); });
  auto type = [&](std::initializer_list<int> keys) {
    for (int k : keys) {
      f.FormKeyDown(k, false, false, false);
      Tick();  // the width that limits typing is measured by the frame
    }
  };
  type({'N', 'L', vk::Numpad0 + 7, vk::F1, vk::Multiply, '-', vk::Space});
  EXPECT_EQ(f.Edit1, "NL7");
  type({'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I'});
  EXPECT_EQ(f.Edit1, "NL7ABCDEFG") << "ten characters at most";
  type({vk::Back, vk::Back});
  EXPECT_EQ(f.Edit1, "NL7ABCDE");
  // Wide letters stop at the field's width: 338 pixels drawn at most.
  f.Edit1.clear();
  display.charWidthPerPoint = 2.0;  // 40 pixels a character at size 20
  type({'W', 'W', 'W', 'W', 'W', 'W', 'W', 'W', 'W', 'W'});
  EXPECT_EQ(f.Edit1, "WWWWWWWWW");
  display.charWidthPerPoint = 0.5;

  // Any other click ends the typing of a country; a click in the field resumes it.
  Click(391, 354);
  EXPECT_FALSE(f.GamegoEdit);
  Tick(31);
  EXPECT_EQ(Live<TPalka>(), 0);
  Click(600, 420);
  EXPECT_TRUE(f.GamegoEdit);
  EXPECT_EQ(display.cursor, CursorShape::IBeam);
  f.FormKeyDown(vk::Escape, false, false, false);
  EXPECT_FALSE(f.GamegoEdit);
  auto lines = ReadSettingsLines(ConfigPath());
  ASSERT_TRUE(lines);
  EXPECT_EQ(StripPadding((*lines)[3]), "WWWWWWWWW");
  EXPECT_EQ((*lines)[2], "false") << "sound was switched off";
  // With a country, the screen opens without typing.
  f.ChangeScene(6);
  EXPECT_FALSE(f.GamegoEdit);
}

TEST_F(Screens, TheHighScoreTableAndItsClearDialog) {
  auto& f = Menu();
  f.HighScores[0] = {"Frog", 9999};
  Click(552, 335);
  ASSERT_EQ(f.Scene, 7);
  display.calls.clear();
  Tick();
  auto texts = Texts();
  ASSERT_EQ(texts.size(), 20u);
  EXPECT_EQ(texts[0].text, "Frog");
  EXPECT_EQ(std::pair(texts[0].dst.Left, texts[0].dst.Top), std::pair(370, 217));
  EXPECT_EQ(texts[19].text, "100");
  EXPECT_EQ(std::pair(texts[19].dst.Left, texts[19].dst.Top), std::pair(620, 217 + 37 * 9));

  // View opens the online table; the page stays.
  Click(102, 348);
  EXPECT_EQ(shell.opened.back(), kOnlineTableUrl);
  // Clear asks first: the table's text goes, its bands stay, its buttons sleep.
  Click(97, 237);
  ASSERT_TRUE(f.GameClearHighScore);
  display.calls.clear();
  Tick();
  EXPECT_TRUE(Texts().empty());
  EXPECT_TRUE(IsShowing("HighScore_Table_row"));
  Click(100, 459);
  EXPECT_EQ(f.Scene, 7);
  // No, and Esc, keep the table.
  Click(460, 330);
  EXPECT_FALSE(f.GameClearHighScore);
  Click(97, 237);
  f.FormKeyDown(vk::Escape, false, false, false);
  EXPECT_FALSE(f.GameClearHighScore);
  EXPECT_EQ(f.Scene, 7);
  EXPECT_EQ(f.HighScores[0].Name, "Frog");
  // Yes clears, and the file holds the cleared table at once.
  Click(97, 237);
  Click(340, 330);
  EXPECT_FALSE(f.GameClearHighScore);
  EXPECT_EQ(f.HighScores, DefaultHighScores());
  EXPECT_EQ(Live<TMenu>(), 0);
  auto lines = ReadSettingsLines(ConfigPath());
  ASSERT_TRUE(lines);
  EXPECT_EQ(StripPadding((*lines)[5]), "Anonymous");
  EXPECT_EQ(StripPadding((*lines)[6]), "3000");
  display.calls.clear();
  Tick();
  EXPECT_EQ(Texts().size(), 20u);
}

}  // namespace
}  // namespace pondaro::test
