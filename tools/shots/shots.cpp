// pondaro-shots: runs the real game offscreen from a script of inputs on a
// simulated clock (every tick advances it by 30 ms) and writes PNG screenshots.
//
//   pondaro-shots SCRIPT [OUTDIR]
//   pondaro-shots --backdrop FILE.png   the tiled menu backdrop with a line of text
#include <SDL.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <thread>
#include <typeinfo>

#include "app/app_loop.h"
#include "app/main_form.h"
#include "desktop/sdl_game.h"
#include "desktop/sdl_events.h"
#include "replay/tape.h"
#include "replay/watch.h"
#include "sprites/background_sprite.h"
#include "sprites/errors.h"
#include "fields.h"

using namespace pondaro;
using namespace pondaro::shots;

namespace {

class SimClock : public Clock {
 public:
  uint64_t now = 0;
  uint64_t Milliseconds() const override { return now; }
  void Sleep(int ms) override { now += ms > 0 ? ms : 0; }
};

class ScriptKeyboard : public Keyboard {
 public:
  std::set<int> down;
  bool IsDown(int key) const override { return down.count(key) != 0; }
};

class NoEvents : public EventSource {
 public:
  bool WaitEvent(int, InputEvent&) override { return false; }
};

int KeyCode(const std::string& name) {
  SDL_Keycode k = SDL_GetKeyFromName(name.c_str());
  if (k == SDLK_UNKNOWN) return -1;
  return VirtualKeyFromSdl(k);
}

bool Compare(double a, const std::string& op, double b, bool& ok) {
  ok = true;
  if (op == "=") return a == b;
  if (op == "!=") return a != b;
  if (op == "<") return a < b;
  if (op == "<=") return a <= b;
  if (op == ">") return a > b;
  if (op == ">=") return a >= b;
  ok = false;
  return false;
}

// Every request made before Start returns (HttpClient's own way).
class BlockingHttp : public HttpClient {
 public:
  explicit BlockingHttp(HttpClient& real) : real_(real) {}
  std::optional<std::string> Get(const std::string& url, std::string& error) override {
    return real_.Get(url, error);
  }
  std::unique_ptr<HttpRequest> Post(const std::string& url, const std::string& body,
                                    const std::string& contentType) override {
    std::unique_ptr<HttpRequest> request = real_.Post(url, body, contentType);
    while (!request->Done()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return request;
  }

 private:
  HttpClient& real_;
};

// Exit statuses: a failed expectation 1, a script that cannot be run 2.
enum Outcome { kGoOn, kFailed, kBadScript, kEnded };

struct Runner {
  TMainForm& form;
  TTape& tape;
  TApplication& app;
  SimClock& clock;
  ScriptKeyboard& keyboard;
  SdlDisplay& display;
  std::string outDir;
  std::string scriptDir;

  void Tick(int n) {
    for (int i = 0; i < n; ++i) {
      clock.now += TApplication::kTickMs;
      app.RunDue(clock.now);
    }
  }
  void Key(EventType type, int key, bool ctrl = false, bool alt = false, bool shift = false) {
    const InputEvent e{.Type = type, .Key = key, .Shift = shift, .Ctrl = ctrl, .Alt = alt};
    if (type == EventType::KeyDown) keyboard.down.insert(key); else keyboard.down.erase(key);
    app.Deliver(e);
  }
  void Press(int key, bool ctrl = false, bool alt = false, bool shift = false) {
    Key(EventType::KeyDown, key, ctrl, alt, shift);
    Key(EventType::KeyUp, key, ctrl, alt, shift);
  }
  void Mouse(EventType type, int x, int y, MouseButton b = MouseButton::Left) {
    InputEvent e;
    e.Type = type;
    e.X = x;
    e.Y = y;
    e.Button = b;
    app.Deliver(e);
  }
  static MouseButton Button(const std::string& s) {
    return s == "right" ? MouseButton::Right : s == "middle" ? MouseButton::Middle : MouseButton::Left;
  }

  Outcome Run(const std::string& line, int number) {
    const Outcome o = RunLine(line, number);
    // A score sent by the command has its answer before the next one runs.
    while (form.Submission.Running()) form.Guarded([&] { form.PollSubmission(); });
    if (o == kGoOn && form.Terminated) return kEnded;
    return o;
  }

  Outcome RunLine(const std::string& line, int number) {
    std::istringstream in(line);
    std::string cmd;
    if (!(in >> cmd) || cmd[0] == '#') return kGoOn;
    std::string rest;
    std::getline(in >> std::ws, rest);
    std::istringstream args(rest);
    auto bad = [&](const char* why) {
      std::fprintf(stderr, "line %d: %s: %s\n", number, why, line.c_str());
      return kBadScript;
    };
    if (cmd == "tick") {
      int n = 1;
      args >> n;
      for (int i = 0; i < n && !form.Terminated; ++i) Tick(1);
    } else if (cmd == "key" || cmd == "keydown" || cmd == "keyup" || cmd == "alt+key" || cmd == "ctrl+key") {
      int k = KeyCode(rest);
      if (k < 0) return bad("unknown key");
      const bool alt = cmd == "alt+key", ctrl = cmd == "ctrl+key";
      if (cmd == "keydown") Key(EventType::KeyDown, k);
      else if (cmd == "keyup") Key(EventType::KeyUp, k);
      else Press(k, ctrl, alt);
    } else if (cmd == "type") {
      for (char c : rest) {
        const bool upper = c >= 'A' && c <= 'Z';
        int k = upper ? c : KeyCode(std::string(1, c));
        if (k < 0) return bad("cannot type that character");
        Press(k, false, false, upper);
      }
    } else if (cmd == "mouse") {
      int x, y;
      if (!(args >> x >> y)) return bad("mouse X Y");
      Mouse(EventType::MouseMove, x, y);
    } else if (cmd == "click" || cmd == "press") {
      int x, y;
      std::string b;
      if (!(args >> x >> y)) return bad("X Y [button]");
      args >> b;
      Mouse(EventType::MouseMove, x, y);
      Mouse(EventType::MouseDown, x, y, Button(b));
      if (cmd == "click") Mouse(EventType::MouseUp, x, y, Button(b));
    } else if (cmd == "release") {
      std::string b;
      args >> b;
      Mouse(EventType::MouseUp, form.MouseX, form.MouseY, Button(b));
    } else if (cmd == "set") {
      std::string name;
      double v;
      if (!(args >> name >> v)) return bad("set FIELD VALUE");
      auto field = FindField(form, name);
      if (!field) return bad("unknown field");
      if (!field->set) return bad("that field cannot be set");
      if (!field->set(v)) return bad("value out of range");
      tape.Recorder.Taint("a test hook set " + name);
    } else if (cmd == "expect") {
      std::string name, op;
      double v;
      if (!(args >> name >> op >> v)) return bad("expect FIELD OP N");
      auto field = FindField(form, name);
      if (!field) return bad("unknown field");
      bool known = false;
      const double actual = field->get();
      const bool holds = Compare(actual, op, v, known);
      if (!known) return bad("unknown comparison");
      if (!holds) {
        std::fprintf(stderr, "line %d: expected %s %s %s, it is %s\n", number, name.c_str(), op.c_str(),
                     Formatted(v).c_str(), Formatted(actual).c_str());
        return kFailed;
      }
    } else if (cmd == "print") {
      std::string name;
      while (args >> name) {
        auto field = FindField(form, name);
        if (!field) return bad("unknown field");
        std::printf("%s=%s\n", name.c_str(), Formatted(field->get()).c_str());
      }
      std::fflush(stdout);
    } else if (cmd == "scene") {
      int n;
      if (!(args >> n) || n < 1 || n > 9 || n == 8) return bad("scene N: 1 to 7 or 9");
      tape.Recorder.Taint("a test hook changed the scene");
      form.Guarded([&] { form.ChangeScene(n); });
    } else if (cmd == "seed") {
      unsigned n;
      if (!(args >> n)) return bad("seed N");
      form.Seed(n);
      tape.Recorder.Taint("a test hook seeded the game");
    } else if (cmd == "shot") {
      if (rest.empty()) return bad("shot FILE.png");
      const std::string path = outDir + "/" + rest;
      std::error_code ec;
      std::filesystem::create_directories(outDir, ec);
      // The last tick's frame, drawn again so the file shows exactly that state.
      if (!display.SavePng(path)) return bad("cannot write the picture");
      std::printf("wrote %s\n", path.c_str());
    } else if (cmd == "replay") {
      if (rest.empty()) return bad("replay FILE");
      if (!tape.LastGame) return bad("no game has ended yet");
      if (!tape.LastGameTaint.empty()) {
        std::fprintf(stderr, "line %d: the last game cannot be re-played: %s\n", number, tape.LastGameTaint.c_str());
        return kBadScript;
      }
      const std::string path = outDir + "/" + rest;
      std::error_code ec;
      std::filesystem::create_directories(outDir, ec);
      std::string error;
      if (!SaveReplay(path, *tape.LastGame, error)) return bad(error.c_str());
      std::printf("wrote %s\n", path.c_str());
    } else if (cmd == "watch") {
      // A replay file (beside the script) played as a row of the High Score screen plays it.
      if (rest.empty()) return bad("watch FILE");
      const std::string path = rest[0] == '/' ? rest : scriptDir + "/" + rest;
      std::string error;
      if (!tape.Watch()->Request(form, path, TWatchMode::Table, error)) return bad(error.c_str());
    } else if (cmd == "expect-scene") {
      int n;
      if (!(args >> n)) return bad("expect-scene N");
      if (form.Scene != n) {
        std::fprintf(stderr, "line %d: expected scene %d, the game is in scene %d\n", number, n, form.Scene);
        return kFailed;
      }
    } else {
      return bad("unknown command");
    }
    return kGoOn;
  }
};

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
  Runner runner{form, tape, app, clock, keyboard, display, argc > 2 ? argv[2] : ".",
                std::filesystem::path(argv[1]).parent_path().empty()
                    ? std::string(".")
                    : std::filesystem::path(argv[1]).parent_path().string()};
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
