// The services a benchmarked game runs on besides the display: no keys, no sound,
// no music, no network, and a clock that the benchmark steps itself.
#pragma once
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "desktop/sdl_display.h"
#include "desktop/sdl_system.h"
#include "platform/services.h"
#include "replay/null_services.h"

namespace pondaro::bench {

using NoKeys = NullKeyboard;
using Silence = NullSound;
using NoMusic = NullMusic;
class NoNet : public HttpClient, public Shell, public MessageBox {
 public:
  std::optional<std::string> Get(const std::string&, std::string& error) override {
    error = "offline";
    return std::nullopt;
  }
  bool OpenUrl(const std::string&) override { return false; }
  void Show(const std::string&) override {}
};
class TickClock : public Clock {
 public:
  uint64_t now = 0;
  uint64_t Milliseconds() const override { return now; }
  void Sleep(int ms) override { now += ms; }
};

// SDL and one offscreen display for the whole benchmark run.
struct Setup {
  SdlRuntime runtime;
  std::unique_ptr<SdlDisplay> display;
  Setup() {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    std::string error;
    if (!runtime.Start(error) || !(display = SdlDisplay::OpenOffscreen(error))) std::abort();
  }
};

inline Setup& Shared() {
  static Setup s;
  return s;
}

// A canvas of its own, for a game whose display keeps its last frame.
inline std::unique_ptr<SdlDisplay> OwnCanvas() {
  Shared();
  std::string error;
  auto d = SdlDisplay::OpenOffscreen(error);
  if (!d) std::abort();
  return d;
}

}  // namespace pondaro::bench
