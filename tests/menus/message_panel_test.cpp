// The game's own message panel: a failed score submission is told on it, the
// game stands still beneath until Enter (or Esc, Space, a click on the panel,
// the controller's A) closes it, messages wait their turn, and before the panel
// can be shown the system's box still says what went wrong.
#include <algorithm>

#include "menus/name_entry_fixture.h"

namespace pondaro::test {
namespace {

class MessagePanelTest : public NameEntryFixture {
 protected:
  void SetUp() override {
    NameEntryFixture::SetUp();
    const std::string path = dir + "/Data/Graphic.dxg";
    std::vector<CollectionRecord> pictures;
    std::string error;
    ASSERT_TRUE(ReadCollection(ReadWholeFile(path), CollectionKind::Images, pictures, error)) << error;
    for (auto [name, w, h] : {std::tuple{"Message_panel", 450, 280}, {"Message_OK_d", 130, 70}}) {
      CollectionRecord r;
      r.Name = name;
      r.Payload = EncodeRawPicture(SolidPixels(w, h, Color{250, 240, 200, 255}));
      pictures.push_back(r);
    }
    WriteBytes(path, WriteCollection(CollectionKind::Images, pictures));
  }
  // Through the game's own event handling, as the loop delivers it.
  void Send(const InputEvent& e) { form->HandleEvent(e); }
  void Press(int key, bool alt = false) {
    Send({.Type = EventType::KeyDown, .Key = key, .Alt = alt});
    Send({.Type = EventType::KeyUp, .Key = key});
  }
  void ClickAt(int x, int y) {
    Send({.Type = EventType::MouseMove, .X = x, .Y = y});
    Send({.Type = EventType::MouseDown, .X = x, .Y = y});
    Send({.Type = EventType::MouseUp, .X = x, .Y = y});
  }
  bool Wrote(const std::string& text) {
    const auto texts = display.CallsOf(DrawCall::Text);
    return std::any_of(texts.begin(), texts.end(), [&](const DrawCall& c) { return c.text == text; });
  }
};

TEST_F(MessagePanelTest, FailedSubmissionIsToldOnThePanelAndEnterLetsTheGameGoOn) {
  TMainForm& f = GameOver(450);
  Type("BOB");
  Click(264, 386);  // the send box; the fake network refuses every connection
  ASSERT_TRUE(f.GameSendResult);
  Press(vk::Return);
  for (int i = 0; i < 100 && !f.MessagePanel.Open(); ++i) Tick();
  ASSERT_TRUE(f.MessagePanel.Open());
  EXPECT_EQ(f.MessagePanel.Queue.front(), "Can't connect to server!");
  EXPECT_TRUE(messages.shown.empty()) << "no system box while the game's window is up";
  EXPECT_EQ(f.Scene, 7);
  EXPECT_EQ(f.HighScores[6], (TLocal_HighScores{"BOB", 450}));

  // Drawn last, over the table, with the message on it.
  display.calls.clear();
  Tick();
  EXPECT_TRUE(Wrote("Can't connect to server!"));
  const TextureId panel = f.ImageList.Find("Message_panel").Texture;
  const auto last = std::find_if(display.calls.rbegin(), display.calls.rend(),
                                 [](const DrawCall& c) { return c.kind != DrawCall::Text; });
  ASSERT_NE(last, display.calls.rend());
  EXPECT_EQ(last->texture, panel);

  // Modal: a click beside it and Alt+Enter's neighbours do not reach the table.
  ClickAt(100, 459);  // Back, beside the panel
  EXPECT_EQ(f.Scene, 7);
  EXPECT_TRUE(f.MessagePanel.Open());
  Press(vk::Return);
  EXPECT_FALSE(f.MessagePanel.Open());
  display.calls.clear();
  Tick();
  EXPECT_FALSE(Wrote("Can't connect to server!"));
  Press(vk::Escape);  // the screen answers again
  EXPECT_EQ(f.Scene, 2);
}

TEST_F(MessagePanelTest, MessagesQueueAndEachWayOfClosingTakesOne) {
  TMainForm& f = Make();
  f.ChangeScene(2);
  Tick();
  for (const char* m : {"one", "two", "three", "four", "five"}) f.ShowError(m);
  ASSERT_EQ(f.MessagePanel.Queue.size(), 5u);
  Press(vk::Return);
  EXPECT_EQ(f.MessagePanel.Queue.front(), "two");
  Press(vk::Escape);
  EXPECT_EQ(f.MessagePanel.Queue.front(), "three");
  EXPECT_EQ(f.Scene, 2) << "Esc closed the message, not the menu";
  ClickAt(400, 250);  // on the panel's card
  EXPECT_EQ(f.MessagePanel.Queue.front(), "four");
  // The controller's A: pressed and let go.
  keyboard.stick.Buttons = 1;
  Tick();
  EXPECT_EQ(f.MessagePanel.Queue.front(), "four") << "closes on the release";
  keyboard.stick.Buttons = 0;
  Tick();
  EXPECT_EQ(f.MessagePanel.Queue.front(), "five");
  Press(vk::Space);
  EXPECT_FALSE(f.MessagePanel.Open());
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(MessagePanelTest, TheFeedingStagesClockStopsWhileAMessageIsShown) {
  TMainForm& f = Make();
  f.Scene = 4;
  f.SyncLevelTimer();
  ASSERT_TRUE(f.LevelTimer.Enabled);
  f.ShowError("The web page could not be opened.");
  EXPECT_FALSE(f.LevelTimer.Enabled);
  Press(vk::Return);
  EXPECT_TRUE(f.LevelTimer.Enabled);
}

TEST_F(MessagePanelTest, BeforeTheWindowIsUpTheSystemBoxTellsIt) {
  TMainForm& f = Make(false);
  f.ShowError("Data/Graphic.dxg: cannot open");
  EXPECT_EQ(messages.shown, std::vector<std::string>{"Data/Graphic.dxg: cannot open"});
  EXPECT_FALSE(f.MessagePanel.Open());
}

}  // namespace
}  // namespace pondaro::test
