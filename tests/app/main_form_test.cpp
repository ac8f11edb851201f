#include <cmath>
#include <filesystem>
#include <fstream>

#include "app/scene_sprites.h"
#include "menus/game_over.h"
#include "form_fixture.h"
#include "persist/codec.h"
#include "persist/settings_file.h"
#include "sprites/errors.h"

namespace pondaro::test {
namespace {

int CountOf(TMainForm& f, auto tag) {
  int n = 0;
  f.Root().ForEach<std::remove_pointer_t<decltype(tag)>>([&](auto* s) { n += s->Dying ? 0 : 1; });
  return n;
}

using MainForm = FormTest;

InputEvent AltEnter() {
  InputEvent e;
  e.Type = EventType::KeyDown;
  e.Key = vk::Return;
  e.Alt = true;
  return e;
}

// The settings are written once the first frame is up, not before it.
TEST_F(MainForm, FirstStartShowsTheSplashAndLeavesDefaultSettings) {
  auto& f = Make();
  EXPECT_EQ(f.Scene, 1);
  EXPECT_FALSE(f.GameFullScreen);
  EXPECT_TRUE(f.GameSound && f.GameMusic);
  EXPECT_TRUE(music.loaded.empty());  // the song follows the first frame
  Tick();
  ASSERT_EQ(music.loaded.size(), 1u);
  EXPECT_EQ(music.loaded[0], dir + "/Music/1.xm");
  EXPECT_TRUE(music.playing.count(f.SongHandle));
  EXPECT_FALSE(std::filesystem::exists(ConfigPath()));
  Tick();
  auto lines = ReadSettingsLines(ConfigPath());
  ASSERT_TRUE(lines);
  EXPECT_EQ((*lines)[0], "false");
  EXPECT_EQ((*lines)[1], std::string("\0true", 5));
  for (int place = 0; place < 10; ++place) {
    EXPECT_EQ(StripPadding((*lines)[5 + 2 * place]), "Anonymous");
    EXPECT_EQ(ParseScore(StripPadding((*lines)[6 + 2 * place])), DefaultHighScores()[place].Score);
  }
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(MainForm, SplashGoesToTheMenuAfterTwoSecondsOrOnAKeyOrClick) {
  auto& f = Make();
  Tick(66);  // 1980 ms
  EXPECT_EQ(f.Scene, 1);
  Tick(1);
  EXPECT_EQ(f.Scene, 2);

  Make();
  form->FormKeyDown(vk::Return, false, false, true);  // Alt+Enter does not leave the splash
  EXPECT_EQ(form->Scene, 1);
  EXPECT_TRUE(form->GameFullScreen);
  form->FormKeyDown(vk::Return, false, false, false);
  EXPECT_EQ(form->Scene, 2);

  Make();
  form->DXDrawMouseDown(MouseButton::Right, 10, 10);
  EXPECT_EQ(form->Scene, 1);
  form->DXDrawMouseDown(MouseButton::Left, 10, 10);
  EXPECT_EQ(form->Scene, 2);
}

// First frame first: the splash needs only its backdrop; the other pictures come
// while it shows, and a menu opened before they are all in waits for them.
class StartUp : public FormTest {
 protected:
  TMainForm& MakeGated() {
    form = std::make_unique<TMainForm>(
        FormServices{display, keyboard, sound, music, http, shell, messages, clock, gated});
    form->DataDir = dir;
    form->FormCreate();
    app = std::make_unique<TApplication>(*form, events, clock);
    return *form;
  }
  void TearDown() override {
    gated.Open();
    FormTest::TearDown();
  }
  GatedPictureDecoder gated;
};

TEST_F(StartUp, TheSplashShowsWithItsBackdropAloneAndTheMenuWaitsForTheRest) {
  auto& f = MakeGated();
  ASSERT_EQ(display.textures.size(), 1u);
  const TextureId backdrop = display.textures.begin()->first;
  Tick();
  ASSERT_EQ(display.frames, 1);
  ASSERT_FALSE(display.calls.empty());
  for (const DrawCall& c : display.calls) EXPECT_EQ(c.texture, backdrop);

  gated.Open();
  f.FormKeyDown(vk::Escape, false, false, false);
  ASSERT_EQ(f.Scene, 2);
  EXPECT_EQ(display.textures.size(), static_cast<size_t>(f.ImageList.Count()));
  display.calls.clear();
  Tick();
  for (const DrawCall& c : display.calls) {
    if (c.kind != DrawCall::Fill && c.kind != DrawCall::Text) {
      EXPECT_EQ(display.textures.count(c.texture), 1u);
    }
  }
}

// The sounds come after the first frame; a sound file found bad then ends the game
// as at any start, however often the game asked for a sound meanwhile.
TEST_F(StartUp, TheSoundsAreMadeAfterTheFirstFrameAndABadFileThenEndsTheGame) {
  gated.Open();
  MakeGated();
  EXPECT_TRUE(sound.samples.empty());
  Tick();
  EXPECT_EQ(display.frames, 1);
  EXPECT_EQ(sound.samples.size(), 4u);

  WriteBytes(dir + "/Data/Music.dxw", {'P', 'N', 'D', 'C'});
  auto& f = MakeGated();
  EXPECT_NO_THROW(f.ShowError("a message plays a sound"));
  EXPECT_THROW(Tick(), EDataFileError);
  EXPECT_EQ(display.frames, 2);  // this start's first frame was shown
  EXPECT_THROW(Tick(), EDataFileError);
}

TEST_F(MainForm, SettingsAreReadBackWithTheirPaddingRemoved) {
  SettingsValues v;
  v.FullScreen = false;
  v.Music = false;
  v.Country = "Oz";
  v.Name = "Frog%%";  // a name that itself ends in "%" loses it on reading
  v.Table[0] = {"Best%Frog", 9000};
  std::string text = FormatSettings(v);
  // Place 2's score is damaged: it keeps its default, the rest still counts.
  std::string lines[25];
  std::istringstream in(text);
  for (auto& l : lines) std::getline(in, l);
  lines[8] = EncodeLine("12x45");
  lines[24] = EncodeLine(PadToFive("77"));
  std::ofstream out(ConfigPath(), std::ios::binary);
  for (auto& l : lines) out << l << "\n";
  out.close();

  auto& f = Make();
  Tick(2);
  EXPECT_FALSE(f.GameFullScreen);
  EXPECT_FALSE(f.GameMusic);
  EXPECT_TRUE(f.GameSound);
  EXPECT_EQ(f.Edit1, "Oz");
  EXPECT_EQ(f.Edit2, "Frog");
  EXPECT_EQ(f.HighScores[0], (TLocal_HighScores{"Best%Frog", 9000}));
  EXPECT_EQ(f.HighScores[1].Score, 2500);
  EXPECT_EQ(f.HighScores[9].Score, 77);
  EXPECT_EQ(f.Scene, 1);
  EXPECT_TRUE(music.loaded.empty());  // music is off
  // The start rewrote the file with what it read.
  auto back = ReadSettingsLines(ConfigPath());
  EXPECT_EQ(ParseScore(StripPadding((*back)[8])), 2500);
}

// The installed game keeps Config.cfg in the user's settings folder: read from
// there, written there (the folder made on the way), never beside the data.
TEST_F(MainForm, ASettingsFolderOfItsOwnTakesConfigCfgAwayFromTheData) {
  std::ofstream(ConfigPath(), std::ios::binary) << EncodeLine("false") << "\r\n" << EncodeLine("false") << "\r\n";
  const std::string settings = dir + "/config/pondaro";
  auto& f = Make(false);
  f.SettingsDir = settings;
  f.FormCreate();
  Tick(2);
  EXPECT_TRUE(f.GameMusic) << "read the file beside the data";
  auto written = ReadSettingsLines(settings + "/Config.cfg");
  ASSERT_TRUE(written);
  EXPECT_NE((*written)[1], "false");
  auto beside = ReadSettingsLines(ConfigPath());
  ASSERT_TRUE(beside);
  EXPECT_EQ((*beside)[1], "false") << "wrote over the file beside the data";
  EXPECT_TRUE(messages.shown.empty());

  // Music switched off and saved is what the next start reads.
  f.GameMusicClick();
  f.ChangeScene(6);
  f.ChangeScene(2);
  Make(false);
  form->SettingsDir = settings;
  form->FormCreate();
  EXPECT_FALSE(form->GameMusic);
}

TEST_F(MainForm, AnEmptyOrShortFileStartsInFullScreen) {
  std::ofstream(ConfigPath()) << "\r\n";
  auto& f = Make();
  EXPECT_TRUE(f.GameFullScreen);
  EXPECT_TRUE(display.fullScreen);
  EXPECT_TRUE(f.GameMusic && f.GameSound);
}

TEST_F(MainForm, MissingOrDamagedPicturesStopTheStart) {
  WriteBytes(dir + "/Data/Graphic.dxg", {'P', 'N', 'D', 'C', 1, 0});
  Make(false);
  try {
    form->FormCreate();
    FAIL() << "a damaged Graphic.dxg must stop the start";
  } catch (const EDataFileError& e) {
    EXPECT_NE(std::string(e.what()).find("Graphic.dxg"), std::string::npos) << e.what();
  }
  std::remove((dir + "/Data/Music.dxw").c_str());
  std::remove((dir + "/Data/Graphic.dxg").c_str());
  Make(false);
  EXPECT_THROW(form->FormCreate(), EDataFileError);
}

TEST_F(MainForm, AimingAngleFollowsTheMouseWithinItsClamp) {
  auto& f = Make();
  f.MouseX = 0;
  Tick();
  EXPECT_DOUBLE_EQ(f.AimAngle, 120);
  f.MouseX = 799;
  Tick();
  EXPECT_DOUBLE_EQ(f.AimAngle, 240);
  f.MouseX = 400;
  Tick();
  EXPECT_DOUBLE_EQ(f.AimAngle, 180);
  // Paused keeps the angle; a fixed aim is computed even while paused.
  f.Paused = true;
  f.MouseX = 350;
  Tick();
  EXPECT_DOUBLE_EQ(f.AimAngle, 180);
  f.AimFixed = true;
  f.AimAngleOffset = 30;
  Tick();
  EXPECT_DOUBLE_EQ(f.AimAngle, 210);
  // In full screen the window is wider, but the pointer still arrives in surface
  // pixels: the same positions give the same angles.
  f.AimFixed = false;
  f.Paused = false;
  f.AimAngleOffset = 0;
  display.windowWidth = 1600;
  for (auto [x, angle] : {std::pair{400, 180.0}, {0, 120.0}, {799, 240.0}, {420, 198.0}}) {
    f.MouseX = x;
    Tick();
    EXPECT_DOUBLE_EQ(f.AimAngle, angle) << x;
  }
  f.AimFixed = true;
  Tick();
  EXPECT_DOUBLE_EQ(f.AimAngle, 180);
  // A broken offset cannot leave the angle undefined.
  f.AimAngleOffset = std::nan("");
  Tick();
  EXPECT_DOUBLE_EQ(f.AimAngle, 180);
}

TEST_F(MainForm, CaretShowsFourteenTicksOfThirtyAsOneSprite) {
  auto& f = Make();
  f.ChangeScene(9);
  f.GamegoEdit = true;
  f.Countdown6 = 30;
  int shown = 0;
  for (int i = 0; i < 90; ++i) {
    Tick();
    const int carets = CountOf(f, (TPalka*)nullptr);
    if (carets > 0) ++shown;
    // Stacked carets would change the frame every tick: the screen redrawn for nothing.
    EXPECT_LE(carets, 1) << "tick " << i;
  }
  EXPECT_EQ(shown, 42);
}

TEST_F(MainForm, SceneChangesWriteTheSettingsOnlyWhereTheyShould) {
  auto& f = Make();
  auto stamp = [&] {
    std::remove(ConfigPath().c_str());
    return std::ifstream(ConfigPath()).good();
  };
  for (auto [from, writes] : {std::pair{2, false}, {3, false}, {4, false}, {5, false}, {6, true}, {7, true},
                              {9, true}, {1, false}}) {
    f.ChangeScene(from);
    EXPECT_FALSE(stamp());
    f.ChangeScene(2);
    EXPECT_EQ(std::ifstream(ConfigPath()).good(), writes) << "leaving " << from;
  }
  // Leaving the menu starts a new game's values.
  f.Level = 5;
  f.Score = 10;
  f.Lives = 0;
  f.ChangeScene(3);
  EXPECT_EQ(f.Level, 1);
  EXPECT_EQ(f.Score, 0);
  EXPECT_EQ(f.Lives, 3);
}

TEST_F(MainForm, GameOverOpensNameEntryOnlyForAQualifyingScore) {
  auto& f = Make();
  f.Score = 100;  // equal to place 10: the panel opens
  f.ChangeScene(9);
  EXPECT_EQ(music.loaded.back(), dir + "/Music/3.xm");
  EXPECT_EQ(CountOf(f, (TGame_Word*)nullptr), 1);
  Tick(166);
  EXPECT_FALSE(f.GameEnterName);
  Tick(1);
  EXPECT_TRUE(f.GameEnterName);
  EXPECT_TRUE(f.GamegoEdit);  // no remembered name: typing starts at once
  EXPECT_EQ(CountOf(f, (TGame_Word*)nullptr), 0);
  EXPECT_EQ(CountOf(f, (TOver_Word*)nullptr), 0);
  EXPECT_FALSE(f.Timer1.Enabled);

  f.Score = 99;
  f.ChangeScene(9);
  Tick(170);
  EXPECT_FALSE(f.GameEnterName);
  EXPECT_EQ(CountOf(f, (TGame_Word*)nullptr), 1);
}

TEST_F(MainForm, FocusCloseAndFullScreen) {
  auto& f = Make();
  f.HandleEvent({EventType::FocusLost});
  EXPECT_TRUE(f.AppInactive);
  EXPECT_EQ(display.caption, "PONDARO [Pause]");
  f.HandleEvent({EventType::FocusGained});
  EXPECT_EQ(display.caption, "PONDARO");

  // The close button never closes by itself; on the splash it does nothing.
  f.HandleEvent({EventType::Close});
  EXPECT_FALSE(f.GameMainExit);
  EXPECT_FALSE(f.Terminated);
  f.ChangeScene(2);
  f.Paused = true;
  f.HandleEvent({EventType::Close});
  EXPECT_TRUE(f.GameMainExit);
  EXPECT_FALSE(f.Paused);
  f.HandleEvent({EventType::Close});
  EXPECT_TRUE(f.GameMainExit);

  // Maximising switches to full screen at the next tick; Alt+Enter returns. The
  // pictures stay on the display meanwhile.
  const TextureId menuTexture = f.ImageList.Find("menu").Texture;
  const size_t textures = display.textures.size();
  display.maximized = true;
  f.HandleEvent({EventType::Resized});
  EXPECT_FALSE(display.fullScreen);
  Tick();
  EXPECT_TRUE(display.fullScreen);
  EXPECT_FALSE(f.ResizePending);
  display.maximized = false;
  f.FormKeyDown(vk::Return, false, false, true);
  EXPECT_FALSE(display.fullScreen);
  EXPECT_FALSE(f.GameFullScreen);
  EXPECT_EQ(f.ImageList.Find("menu").Texture, menuTexture);
  EXPECT_EQ(display.textures.size(), textures);

  // A failed switch is reported and undone: the window stays, frames go on, and
  // the mode that failed is not kept as the player's choice.
  display.fullScreenFails = true;
  f.GameFullScreenClick();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0], "Display mode cannot be changed (800x600 16bit)");
  EXPECT_FALSE(f.GameFullScreen);
  const int frames = display.frames;
  Tick(3);
  EXPECT_EQ(display.frames, frames + 3);
  f.SaveSettings();
  auto lines = ReadSettingsLines(ConfigPath());
  ASSERT_TRUE(lines);
  EXPECT_EQ((*lines)[0], "false");
}

TEST_F(MainForm, MusicRestartsWhenTheSongWraps) {
  auto& f = Make();
  Tick();
  const int handle = f.SongHandle;
  music.order[handle] = 3;
  Tick();
  EXPECT_EQ(f.LastSongOrder, 3);
  music.order[handle] = 0;
  Tick();
  EXPECT_EQ(music.loaded.size(), 2u);
  EXPECT_NE(f.SongHandle, handle);
  // Turned off, the wrap test finds no song.
  f.StopMusic();
  Tick(2);
  EXPECT_EQ(music.loaded.size(), 2u);
}

TEST_F(MainForm, TicksWaitWhileTheDisplayIsDown) {
  auto& f = Make();
  f.Countdown2 = 5;
  display.canDraw = false;
  Tick(3);
  EXPECT_EQ(f.Countdown2, 5);
  display.canDraw = true;
  Tick();
  EXPECT_EQ(f.Countdown2, 4);
}

TEST_F(MainForm, ASoundFileThatCannotBeReloadedLeavesTheGameRunningSilent) {
  auto& f = Make();
  Tick();  // the first frame, and the sounds after it
  f.ChangeScene(2);
  std::remove((dir + "/Data/Music.dxw").c_str());
  EXPECT_NO_THROW(f.HandleEvent(AltEnter()));
  EXPECT_TRUE(display.fullScreen);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_NE(messages.shown[0].find("Music.dxw"), std::string::npos) << messages.shown[0];
  // Silent, and quietly so: the sounds play nothing and say nothing.
  const size_t started = sound.startLog.size();
  f.HandleEvent({EventType::Close});  // the exit dialog plays "pause"
  EXPECT_TRUE(f.GameMainExit);
  EXPECT_EQ(sound.startLog.size(), started);
  EXPECT_EQ(messages.shown.size(), 1u);
  const int frames = display.frames;
  Tick(3);
  EXPECT_EQ(display.frames, frames + 3);
}

TEST_F(MainForm, HoldingAltEnterSwitchesOnceAndOtherKeysStillRepeat) {
  auto& f = Make();
  InputEvent held = AltEnter();
  f.HandleEvent(held);
  held.Repeat = true;
  for (int i = 0; i < 5; ++i) f.HandleEvent(held);
  EXPECT_TRUE(f.GameFullScreen);
  EXPECT_TRUE(display.fullScreen);
  // A repeated plain key still arrives: Enter leaves the splash.
  InputEvent enter;
  enter.Type = EventType::KeyDown;
  enter.Key = vk::Return;
  enter.Repeat = true;
  f.HandleEvent(enter);
  EXPECT_EQ(f.Scene, 2);
}

}  // namespace
}  // namespace pondaro::test

namespace pondaro::test {
namespace {

TEST_F(MainForm, GameOverKeysWaitForTheTimerAndTheScore) {
  auto& f = Make();
  f.ChangeScene(9);
  f.Score = 50;
  f.FormKeyDown(vk::Escape, false, false, false);
  EXPECT_EQ(f.Scene, 9);  // the five seconds are not over
  Tick(167);
  const uint64_t before = clock.now;
  f.FormKeyDown(vk::Return, false, false, true);  // Alt+Enter counts for this row
  EXPECT_EQ(f.Scene, 2);
  EXPECT_GE(clock.now - before, 200u);
  EXPECT_TRUE(f.GameFullScreen);
}

}  // namespace
}  // namespace pondaro::test

namespace pondaro::test {
namespace {

TEST_F(MainForm, PointerShapesFollowTheScene) {
  auto& f = Make();
  f.DXDrawMouseDown(MouseButton::Left, 0, 0);
  EXPECT_EQ(f.Scene, 2);
  EXPECT_FALSE(f.Timer1.Enabled);
  f.ChangeScene(4);
  f.AimFixed = true;
  f.DXDrawMouseMove(100, 100);
  EXPECT_FALSE(f.AimFixed);
  EXPECT_EQ(display.cursor, CursorShape::None);
  f.DXDrawMouseDown(MouseButton::Right, 100, 100);
  EXPECT_TRUE(f.FireHeld);
  f.DXDrawMouseUp(MouseButton::Right, 100, 100);
  EXPECT_FALSE(f.FireHeld);
  f.ChangeScene(9);
  f.DXDrawMouseMove(250, 348);
  EXPECT_EQ(display.cursor, CursorShape::IBeam);
  f.DXDrawMouseMove(249, 348);
  EXPECT_EQ(display.cursor, CursorShape::Arrow);
}

// A button or key let go outside the window is never reported: leaving the
// window or its focus lets go of everything held.
TEST_F(MainForm, TheTongueIsLetGoWhenThePointerOrTheFocusLeaves) {
  auto& f = Make();
  f.ChangeScene(4);
  for (EventType away : {EventType::PointerLeft, EventType::FocusLost}) {
    f.HandleEvent({EventType::MouseDown});
    ASSERT_TRUE(f.FireHeld);
    f.HandleEvent({away});
    EXPECT_FALSE(f.FireHeld) << static_cast<int>(away);
    f.HandleEvent({EventType::FocusGained});
  }
}

}  // namespace
}  // namespace pondaro::test
