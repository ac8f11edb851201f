#include "runner.h"

#include <SDL.h>

#include <filesystem>
#include <sstream>

#include "desktop/sdl_events.h"
#include "fields.h"
#include "replay/tape.h"
#include "replay/watch.h"

namespace pondaro::shots {

namespace {

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

MouseButton Button(const std::string& s) {
  return s == "right" ? MouseButton::Right : s == "middle" ? MouseButton::Middle : MouseButton::Left;
}

}  // namespace

void Runner::Tick(int n) {
  for (int i = 0; i < n; ++i) {
    clock.now += TApplication::kTickMs;
    app.RunDue(clock.now);
    afterTick();
  }
}

void Runner::Key(EventType type, int key, bool ctrl, bool alt, bool shift) {
  const InputEvent e{.Type = type, .Key = key, .Shift = shift, .Ctrl = ctrl, .Alt = alt};
  if (type == EventType::KeyDown) keyboard.down.insert(key); else keyboard.down.erase(key);
  app.Deliver(e);
}

void Runner::Press(int key, bool ctrl, bool alt, bool shift) {
  Key(EventType::KeyDown, key, ctrl, alt, shift);
  Key(EventType::KeyUp, key, ctrl, alt, shift);
}

void Runner::Mouse(EventType type, int x, int y, MouseButton b) {
  InputEvent e;
  e.Type = type;
  e.X = x;
  e.Y = y;
  e.Button = b;
  app.Deliver(e);
}

Outcome Runner::Run(const std::string& line, int number) {
  const Outcome o = RunLine(line, number);
  // A score sent by the command has its answer before the next one runs.
  while (form.Submission.Running()) form.Guarded([&] { form.PollSubmission(); });
  if (o == kGoOn && form.Terminated) return kEnded;
  return o;
}

Outcome Runner::RunLine(const std::string& line, int number) {
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
    if (tape) tape->Recorder.Taint("a test hook set " + name);
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
    if (tape) tape->Recorder.Taint("a test hook changed the scene");
    form.Guarded([&] { form.ChangeScene(n); });
  } else if (cmd == "seed") {
    unsigned n;
    if (!(args >> n)) return bad("seed N");
    form.Seed(n);
    if (tape) tape->Recorder.Taint("a test hook seeded the game");
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
    if (!tape || !tape->LastGame) return bad("no game has ended yet");
    if (!tape->LastGameTaint.empty()) {
      std::fprintf(stderr, "line %d: the last game cannot be re-played: %s\n", number, tape->LastGameTaint.c_str());
      return kBadScript;
    }
    const std::string path = outDir + "/" + rest;
    std::error_code ec;
    std::filesystem::create_directories(outDir, ec);
    std::string error;
    if (!SaveReplay(path, *tape->LastGame, error)) return bad(error.c_str());
    std::printf("wrote %s\n", path.c_str());
  } else if (cmd == "watch") {
    // A replay file (beside the script) played as a row of the High Score screen plays it.
    if (rest.empty()) return bad("watch FILE");
    if (!tape) return bad("this runner records no games");
    const std::string path = rest[0] == '/' ? rest : scriptDir + "/" + rest;
    std::string error;
    if (!tape->Watch()->Request(form, path, TWatchMode::Table, error)) return bad(error.c_str());
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

}  // namespace pondaro::shots
