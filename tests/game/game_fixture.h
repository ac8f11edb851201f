// A TMainForm on test doubles with the game's real pictures and sounds, as the
// build generates them: the game rules depend on their sizes and frame counts.
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/app_loop.h"
#include "app/main_form.h"
#include "desktop/sdl_picture.h"
#include "game/frog.h"
#include "game/lilies.h"
#include "platform/fake_services.h"
#include "platform/recording_display.h"
#include "platform/recording_sound.h"

namespace pondaro::test {

class GameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/pondaro-game-XXXXXX";
    dir = mkdtemp(tmpl);
    const std::string game = PONDARO_GAME_DIR;
    std::system(("ln -s " + game + "/Data " + dir + "/Data && ln -s " + game + "/Music " + dir + "/Music").c_str());
  }
  void TearDown() override {
    app.reset();
    form.reset();
    std::system(("rm -rf " + dir).c_str());
  }

  // Builds the form and runs the start-up; the splash is showing afterwards.
  TMainForm& Make() {
    form = std::make_unique<TMainForm>(
        FormServices{screen ? *screen : display, keyboard, sound, music, http, shell, messages, clock, decoder});
    form->DataDir = dir;
    form->Seed(1);
    form->FormCreate();
    app = std::make_unique<TApplication>(*form, events, clock);
    return *form;
  }
  // One frame tick at the next 30 ms step of the clock, with due timers first.
  void Tick(int n = 1) {
    for (int i = 0; i < n; ++i) {
      clock.now += TApplication::kTickMs;
      app->RunDue(clock.now);
    }
  }
  // Key down and up between two ticks, as a player's quick tap.
  void Tap(int key, bool ctrl = false, bool alt = false) {
    form->FormKeyDown(key, false, ctrl, alt);
    form->FormKeyUp(key);
  }
  void Hold(int key) {
    keyboard.down.insert(key);
    form->FormKeyDown(key, false, false, false);
  }
  void Release(int key) {
    keyboard.down.erase(key);
    form->FormKeyUp(key);
  }
  // A crossing at `level`, past its banner, the frog at rest in `column` (0..3).
  void EnterPond(int level = 1, int column = -1) {
    if (!form) Make();
    form->ChangeScene(2);
    form->ChangeScene(3);
    form->Level = level;
    form->StartLevel();
    form->LevelBanner = false;
    form->EnableTimer(form->Timer1, false);
    if (column >= 0) PutFrog(column);
  }
  // Cell (column, row) of the grid made of kind k, its lily rebuilt at once.
  void SetKind(int column, int row, uint8_t k) {
    form->Pond.LilyGrid.SetKind(column, row, k);
    form->RebuildCell(column, row);
  }
  void PutFrog(int column);
  // How often sound `name` has been started.
  int Played(const std::string& name) {
    const SampleId sample = form->DXWaveList.Find(name).Sample();
    return static_cast<int>(std::count(sound.startedSamples.begin(), sound.startedSamples.end(), sample));
  }
  template <class T>
  int Count() {
    int n = 0;
    form->Root().ForEach<T>([&](T* s) { n += s->Dying ? 0 : 1; });
    return n;
  }
  TPlayerSprite* frog() { return First<TPlayerSprite>(); }
  // The live lily of a grid cell, or none.
  TKuvshinka* LilyAt(int column, int row) {
    TKuvshinka* found = nullptr;
    form->Root().ForEach<TKuvshinka>([&](TKuvshinka* l) {
      if (l->Column == column && l->Row == row && !l->Dying) found = l;
    });
    return found;
  }
  // A jump attempt in `facing`, as the held fire key gives it.
  void Attempt(int facing) {
    form->Frog.FrogFacing = facing;
    form->FireHeld = true;
    Tick();
  }
  template <class T>
  T* First() {
    T* found = nullptr;
    form->Root().ForEach<T>([&](T* s) {
      if (!found && !s->Dying) found = s;
    });
    return found;
  }

  std::string dir;
  RecordingDisplay display;
  Display* screen = nullptr;  // drawn on instead of `display` when set
  FakeKeyboard keyboard;
  RecordingSoundOutput sound;
  FakeModulePlayer music;
  FakeHttp http;
  FakeShell shell;
  RecordingMessageBox messages;
  FakeClock clock;
  SdlPictureDecoder decoder;
  ScriptedEvents events;
  std::unique_ptr<TMainForm> form;
  std::unique_ptr<TApplication> app;
};

inline void GameTest::PutFrog(int column) {
  form->Frog.FrogColumn = column;
  form->Root().ForEach<TPlayerSprite>([&](TPlayerSprite* p) {
    p->X = CellPos(column + 1, 4).X;
    p->Y = p->RestY;
  });
}

}  // namespace pondaro::test
