// The scenario scripts' interpreter (the format is in DESIGN.md): the real game
// driven command by command on a simulated clock, as pondaro-shots runs it and as
// the tests run the same scripts.
#pragma once
#include <chrono>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <thread>

#include "app/app_loop.h"
#include "app/main_form.h"
#include "desktop/sdl_display.h"
#include "platform/events.h"
#include "platform/services.h"

namespace pondaro {
class TTape;
}

namespace pondaro::shots {

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
  TApplication& app;
  SimClock& clock;
  ScriptKeyboard& keyboard;
  SdlDisplay& display;  // what `shot` saves
  std::string outDir;
  // The recorder the form's services go through: `replay` and `watch` need it,
  // and the test hooks mark its game as one that cannot be re-played.
  TTape* tape = nullptr;
  std::string scriptDir = ".";  // where `watch` finds a relative file
  // Called after every tick.
  std::function<void()> afterTick = [] {};

  // Runs one line of a script (`number` names it in messages).
  Outcome Run(const std::string& line, int number);

 private:
  void Tick(int n);
  void Key(EventType type, int key, bool ctrl = false, bool alt = false, bool shift = false);
  void Press(int key, bool ctrl = false, bool alt = false, bool shift = false);
  void Mouse(EventType type, int x, int y, MouseButton b = MouseButton::Left);
  Outcome RunLine(const std::string& line, int number);
};

}  // namespace pondaro::shots
