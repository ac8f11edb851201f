// A TMainForm on test doubles, with its own small data files in a fresh folder.
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <memory>

#include "app/app_loop.h"
#include "app/main_form.h"
#include "menus/screens.h"
#include "platform/fake_services.h"
#include "platform/raw_picture_decoder.h"
#include "platform/recording_display.h"
#include "platform/recording_sound.h"
#include "sprites/collection_file.h"

namespace pondaro::test {

inline std::vector<uint8_t> TinyWav() {
  std::vector<uint8_t> w = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
  w.resize(64, 0);
  return w;
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

class FormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/pondaro-form-XXXXXX";
    dir = mkdtemp(tmpl);
    std::system(("mkdir -p " + dir + "/Data").c_str());
    std::vector<CollectionRecord> pictures;
    for (auto [name, w, h] : {std::tuple{"menu", 100, 100}, {"Game_Word", 50, 20}, {"Over_Word", 50, 20},
                              {"palka", 16, 5}}) {
      CollectionRecord r;
      r.Name = name;
      r.Payload = EncodeRawPicture(SolidPixels(w, h, Color{10, 200, 30, 255}));
      pictures.push_back(r);
    }
    // The menu screens' pictures, small.
    for (const std::string& name : MenuPictureNames()) {
      if (name == "menu") continue;
      CollectionRecord r;
      r.Name = name;
      r.Payload = EncodeRawPicture(SolidPixels(40, 20, Color{200, 120, 30, 255}));
      pictures.push_back(r);
    }
    WriteBytes(dir + "/Data/Graphic.dxg", WriteCollection(CollectionKind::Images, pictures));
    std::vector<CollectionRecord> sounds;
    for (const char* name : {"button_up", "button_down", "pause", "after_pause"}) {
      CollectionRecord r;
      r.Name = name;
      r.Payload = TinyWav();
      sounds.push_back(r);
    }
    WriteBytes(dir + "/Data/Music.dxw", WriteCollection(CollectionKind::Sounds, sounds));
  }
  void TearDown() override {
    app.reset();
    form.reset();
    std::system(("rm -rf " + dir).c_str());
  }

  // Builds the form; `create` runs the start-up as the program does.
  TMainForm& Make(bool create = true) {
    form = std::make_unique<TMainForm>(
        FormServices{display, keyboard, sound, music, http, shell, messages, clock, decoder});
    form->DataDir = dir;
    form->Seed(1);
    if (create) form->FormCreate();
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
  std::string ConfigPath() const { return dir + "/Config.cfg"; }

  std::string dir;
  RecordingDisplay display;
  FakeKeyboard keyboard;
  RecordingSoundOutput sound;
  FakeModulePlayer music;
  FakeHttp http;
  FakeShell shell;
  RecordingMessageBox messages;
  FakeClock clock;
  RawPictureDecoder decoder;
  ScriptedEvents events;
  std::unique_ptr<TMainForm> form;
  std::unique_ptr<TApplication> app;
};

}  // namespace pondaro::test
