// pondaro-shots: runs the real game offscreen from a script of inputs on a
// simulated clock (every tick advances it by 30 ms) and writes PNG screenshots.
//
//   pondaro-shots SCRIPT [OUTDIR]
//   pondaro-shots --backdrop FILE.png   the tiled menu backdrop with a line of text
#include <SDL.h>

#include <cxxabi.h>

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
#include <typeinfo>

#include "app/app_loop.h"
#include "app/main_form.h"
#include "desktop/sdl_game.h"
#include "desktop/sdl_events.h"
#include "game/frog.h"
#include "sprites/background_sprite.h"
#include "sprites/errors.h"

using namespace pondaro;

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

// The class name of a sprite without its namespace ("TMushka").
std::string ClassName(const TSprite& s) {
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> name(abi::__cxa_demangle(typeid(s).name(), nullptr, nullptr, &status),
                                              std::free);
  std::string n = status == 0 && name ? name.get() : typeid(s).name();
  const size_t colon = n.rfind("::");
  return colon == std::string::npos ? n : n.substr(colon + 2);
}

// A field the script can read, and perhaps write. Set returns false when the value
// is out of range.
struct Field {
  std::function<double()> get;
  std::function<bool(double)> set;  // empty: read only
};

bool Whole(double v) { return std::isfinite(v) && v == std::floor(v); }

// Cell fields "Kind.C.R" and "Bonus.C.R".
bool ParseCell(const std::string& name, const char* prefix, int& column, int& row) {
  const std::string p = prefix;
  if (name.compare(0, p.size(), p) != 0) return false;
  char tail = 0;
  return std::sscanf(name.c_str() + p.size(), "%d.%d%c", &column, &row, &tail) == 2 && TLilyGrid::Inside(column, row);
}

std::optional<Field> FindField(TMainForm& f, const std::string& name) {
  auto flag = [](bool& b) {
    return Field{[&b] { return b ? 1.0 : 0.0; }, [&b](double v) {
                   if (v != 0 && v != 1) return false;
                   b = v != 0;
                   return true;
                 }};
  };
  auto readOnly = [](std::function<double()> g) { return Field{std::move(g), nullptr}; };
  auto whole = [](int32_t& x, double lo, double hi) {
    return Field{[&x] { return double(x); }, [&x, lo, hi](double v) {
                   if (!Whole(v) || v < lo || v > hi) return false;
                   x = static_cast<int32_t>(v);
                   return true;
                 }};
  };
  const double kInt = 2147483647.0;
  if (name == "Score") return whole(f.Score, -kInt, kInt);
  if (name == "Lives") return whole(f.Lives, -kInt, kInt);
  if (name == "Level") return whole(f.Level, 1, 1000000);
  if (name == "LevelTimeLeft") return whole(f.LevelTimeLeft, -kInt, kInt);
  if (name == "Hunger") {
    int32_t& h = f.Pond.Hunger;
    return whole(h, 0, kInt);
  }
  if (name == "FrogColumn")
    return Field{[&f] { return double(f.Frog.FrogColumn); }, [&f](double v) {
                   if (!Whole(v) || v < 0 || v > 3) return false;
                   f.Frog.FrogColumn = static_cast<int>(v);
                   // The frog at rest in that column.
                   f.Root().ForEach<TPlayerSprite>([&f](TPlayerSprite* p) {
                     p->X = CellPos(f.Frog.FrogColumn + 1, 4).X;
                     p->Y = p->RestY;
                     p->MovingLeft = p->MovingRight = false;
                     p->SideProgress = 0;
                   });
                   return true;
                 }};
  if (name == "AimAngleOffset")
    return Field{[&f] { return f.AimAngleOffset; }, [&f](double v) {
                   if (!std::isfinite(v)) return false;
                   f.AimAngleOffset = v;
                   return true;
                 }};
  if (name == "StorkAllowed") return flag(f.Feeding.StorkAllowed);
  int column = 0, row = 0;
  if (ParseCell(name, "Kind.", column, row))
    return Field{[&f, column, row] { return double(f.Pond.LilyGrid.Kind(column, row)); },
                 [&f, column, row](double v) {
                   const std::set<double> kinds = {0, 10, 20, 1, 2, 3, 4};
                   if (!kinds.count(v)) return false;
                   f.Pond.LilyGrid.SetKind(column, row, static_cast<uint8_t>(v));
                   if (f.Scene == 3) f.RebuildCell(column, row);
                   return true;
                 }};
  if (ParseCell(name, "Bonus.", column, row))
    return Field{[&f, column, row] { return double(f.Pond.LilyGrid.Bonus(column, row)); },
                 [&f, column, row](double v) {
                   if (v != 0 && v != 1 && v != 2) return false;
                   f.Pond.LilyGrid.SetBonus(column, row, static_cast<uint8_t>(v));
                   return true;
                 }};
  if (name == "Scene") return readOnly([&f] { return double(f.Scene); });
  if (name == "Paused") return readOnly([&f] { return f.Paused ? 1.0 : 0.0; });
  if (name == "LevelBanner") return readOnly([&f] { return f.LevelBanner ? 1.0 : 0.0; });
  if (name == "GameMainExit") return readOnly([&f] { return f.GameMainExit ? 1.0 : 0.0; });
  if (name == "GameClearHighScore") return readOnly([&f] { return f.GameClearHighScore ? 1.0 : 0.0; });
  if (name == "HelpPage") return readOnly([&f] { return double(f.HelpPage); });
  if (name == "GameFullScreen") return readOnly([&f] { return f.GameFullScreen ? 1.0 : 0.0; });
  if (name == "GameSound") return readOnly([&f] { return f.GameSound ? 1.0 : 0.0; });
  if (name == "GameMusic") return readOnly([&f] { return f.GameMusic ? 1.0 : 0.0; });
  if (name == "TongueLength") return readOnly([&f] { return double(f.Feeding.TongueLength); });
  if (name == "StorkLegsSpawned") return readOnly([&f] { return f.Feeding.StorkLegsSpawned ? 1.0 : 0.0; });
  if (name == "StorkLegsDown") return readOnly([&f] { return f.Feeding.StorkLegsDown ? 1.0 : 0.0; });
  if (name == "StorkGone") return readOnly([&f] { return f.Feeding.StorkGone ? 1.0 : 0.0; });
  if (name == "Sprites")
    return readOnly([&f] {
      int n = 0;
      for (TSprite* s : f.Root().List()) n += s->Dying ? 0 : 1;
      return double(n);
    });
  if (name.compare(0, 6, "Count:") == 0) {
    const std::string cls = name.substr(6);
    return readOnly([&f, cls] {
      int n = 0;
      for (TSprite* s : f.Root().List()) n += !s->Dying && ClassName(*s) == cls ? 1 : 0;
      return double(n);
    });
  }
  return std::nullopt;
}

std::string Formatted(double v) {
  char buf[64];
  if (Whole(v) && std::fabs(v) < 1e15)
    std::snprintf(buf, sizeof buf, "%.0f", v);
  else
    std::snprintf(buf, sizeof buf, "%g", v);
  return buf;
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

// Exit statuses: a failed expectation 1, a script that cannot be run 2.
enum Outcome { kGoOn, kFailed, kBadScript, kEnded };

struct Runner {
  TMainForm& form;
  TApplication& app;
  SimClock& clock;
  ScriptKeyboard& keyboard;
  SdlDisplay& display;
  std::string outDir;

  void Tick(int n) {
    for (int i = 0; i < n; ++i) {
      clock.now += TApplication::kTickMs;
      app.RunDue(clock.now);
    }
  }
  void Key(EventType type, int key, bool ctrl = false, bool alt = false, bool shift = false) {
    InputEvent e;
    e.Type = type;
    e.Key = key;
    e.Ctrl = ctrl;
    e.Alt = alt;
    e.Shift = shift;
    if (type == EventType::KeyDown) keyboard.down.insert(key); else keyboard.down.erase(key);
    form.Guarded([&] { form.HandleEvent(e); });
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
    form.Guarded([&] { form.HandleEvent(e); });
  }
  static MouseButton Button(const std::string& s) {
    return s == "right" ? MouseButton::Right : s == "middle" ? MouseButton::Middle : MouseButton::Left;
  }

  Outcome Run(const std::string& line, int number) {
    const Outcome o = RunLine(line, number);
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
      form.Guarded([&] { form.ChangeScene(n); });
    } else if (cmd == "seed") {
      unsigned n;
      if (!(args >> n)) return bad("seed N");
      form.Seed(n);
    } else if (cmd == "shot") {
      if (rest.empty()) return bad("shot FILE.png");
      const std::string path = outDir + "/" + rest;
      std::error_code ec;
      std::filesystem::create_directories(outDir, ec);
      // The last tick's frame, drawn again so the file shows exactly that state.
      if (!display.SavePng(path)) return bad("cannot write the picture");
      std::printf("wrote %s\n", path.c_str());
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
  TMainForm form(game.Services(keyboard, clock));
  try {
    form.FormCreate();
  } catch (const EDataFileError& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  TApplication app(form, events, clock);
  Runner runner{form, app, clock, keyboard, display, argc > 2 ? argv[2] : "."};
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
