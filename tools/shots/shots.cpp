// pondaro-shots: runs the real game offscreen from a script of inputs on a
// simulated clock (every tick advances it by 30 ms) and writes PNG screenshots.
//
//   pondaro-shots SCRIPT [OUTDIR]
//   pondaro-shots --backdrop FILE.png   the tiled menu backdrop with a line of text
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "app/app_loop.h"
#include "app/main_form.h"
#include "desktop/sdl_game.h"
#include "replay/tape.h"
#include "replay/watch.h"
#include "sprites/background_sprite.h"
#include "sprites/errors.h"
#include "runner.h"

using namespace pondaro;
using namespace pondaro::shots;

namespace {

int Backdrop(SdlDisplay& display, const std::string& out) {
  SdlPictureDecoder decoder;
  TPictureCollection images;
  TDXSpriteEngine engine;
  try {
    images.LoadFromFile("Data/Graphic.dxg", decoder);
    images.Restore(display);
    engine.SetDisplay(&display);
    auto* back = new TBackgroundSprite(&engine.Engine);
    back->SetMapDimensions(1, 1);
    back->Image = &images.Find("menu");
    back->Tile = true;
  } catch (const EGameError& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  display.BeginFrame();
  engine.Move(16);
  engine.Dead();
  engine.Draw();
  const std::string line = "A young frog, a lily pond, and a long way across";
  display.DrawText(400 - display.TextWidth(line, 22) / 2, 272, line, 22, Color{255, 230, 120, 255});
  display.EndFrame();
  engine.Engine.Clear();
  return display.SavePng(out) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: pondaro-shots SCRIPT [OUTDIR] | --backdrop FILE.png\n");
    return 2;
  }
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  SdlGame game;
  std::string error;
  if (!game.Start(SdlGame::Mode::Offscreen, error)) {
    std::fprintf(stderr, "cannot start: %s\n", error.c_str());
    return 1;
  }
  SdlDisplay& display = *game.Display;
  if (std::string(argv[1]) == "--backdrop") return argc > 2 ? Backdrop(display, argv[2]) : 2;

  std::ifstream script(argv[1]);
  if (!script) {
    std::fprintf(stderr, "cannot read %s\n", argv[1]);
    return 1;
  }
  ScriptKeyboard keyboard;
  SimClock clock;
  NoEvents events;
  // On the simulated clock the network is waited for where the game would go on
  // drawing: a script reads the same however fast the service answers.
  BlockingHttp http(game.Http);
  const FormServices s = game.Services(keyboard, clock);
  // Every game recorded as the real game records it, at the services the form sees.
  TTape tape(FormServices{s.display, s.keyboard, s.sound, s.music, http, s.shell, s.messages, s.clock, s.decoder});
  tape.SetWatch(std::make_unique<TReplayWatch>(tape));
  TMainForm form(tape.Services());
  form.Tape = &tape;
  try {
    form.FormCreate();
  } catch (const EDataFileError& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  TApplication app(form, events, clock);
  Runner runner{form, app, clock, keyboard, display, argc > 2 ? argv[2] : "."};
  runner.tape = &tape;
  const std::filesystem::path scriptDir = std::filesystem::path(argv[1]).parent_path();
  runner.scriptDir = scriptDir.empty() ? "." : scriptDir.string();
  std::string line;
  int number = 0;
  while (std::getline(script, line)) {
    switch (runner.Run(line, ++number)) {
      case kGoOn: break;
      case kFailed: return 1;
      case kBadScript: return 2;
      case kEnded: return 0;  // the game ended itself: nothing more to run
    }
  }
  return 0;
}
