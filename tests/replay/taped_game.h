// The game on the test doubles and its real pictures, built on a tape as the real
// game is, driven through its own loop; and the headless game that re-plays what
// it records.
#pragma once
#include <memory>
#include <string>

#include "game/game_fixture.h"
#include "replay/headless.h"
#include "replay/player.h"
#include "replay/tape.h"
#include "replay/watch.h"

namespace pondaro::test {

class TapedGame : public GameTest {
 protected:
  static void SetUpTestSuite() { headless_ = std::make_unique<THeadlessGame>(PONDARO_GAME_DIR); }
  static void TearDownTestSuite() { headless_.reset(); }

  // `network`: the score service as the game reaches it (the fixture's by default).
  TMainForm& MakeTaped(HttpClient* network = nullptr) {
    tape = std::make_unique<TTape>(
        FormServices{screen ? *screen : display, keyboard, sound, music, network ? *network : http, shell, messages, clock, decoder});
    tape->SetWatch(std::make_unique<TReplayWatch>(*tape));
    form = std::make_unique<TMainForm>(tape->Services());
    form->Tape = tape.get();
    form->DataDir = dir;
    form->FormCreate();
    app = std::make_unique<TApplication>(*form, events, clock);
    return *form;
  }
  void Send(const InputEvent& e) {
    if (e.Type == EventType::KeyDown) keyboard.down.insert(e.Key);
    if (e.Type == EventType::KeyUp) keyboard.down.erase(e.Key);
    app->Deliver(e);
  }
  void Press(int key) {
    Send({.Type = EventType::KeyDown, .Key = key});
    Send({.Type = EventType::KeyUp, .Key = key});
  }
  void Click(int x, int y) {
    Send({.Type = EventType::MouseMove, .X = x, .Y = y});
    Send({.Type = EventType::MouseDown, .X = x, .Y = y});
    Send({.Type = EventType::MouseUp, .X = x, .Y = y});
  }

  void ToMenu() {
    if (!form) MakeTaped();
    if (form->Scene == 1) Press(vk::Return);
    Tick(5);
  }
  // The main menu, with a table any score enters from sixth place down.
  void ToMenuWithLowTable() {
    ToMenu();
    for (int place = 5; place < 10; ++place) form->HighScores[place] = {"Nobody", -1};
  }
  // Leaves play by the exit dialog's Yes and waits for the game-over words to go.
  void LeaveGame() {
    Press(vk::Escape);
    Tick(3);
    Press(vk::Down);
    Press(vk::Return);
    Tick(170);
  }
  // From the splash: a game started with Enter, one jump, left by the exit
  // dialog's Yes, and `name` typed at name entry (with the send box ticked first
  // when `send`).
  void PlayShortGame(const std::string& name, bool send = false) {
    ToMenuWithLowTable();
    Press(vk::Return);
    Tick(115);
    keyboard.down.insert(vk::Space);
    Tick(2);
    keyboard.down.erase(vk::Space);
    Tick(40);
    LeaveGame();
    if (send) Click(264, 386);
    for (char c : name) Press(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    Tick(2);
    Press(vk::Return);
    Tick(2);
  }

  TVerdict Verify(const TReplay& r) { return headless_->Verify(r); }

  std::unique_ptr<TTape> tape;
  static inline std::unique_ptr<THeadlessGame> headless_;
};

}  // namespace pondaro::test
