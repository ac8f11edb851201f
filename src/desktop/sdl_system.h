// SDL start-up and shutdown, the clock and the message box.
#pragma once
#include <cstdint>
#include <string>

#include "platform/services.h"

namespace pondaro {

// Brings up SDL (video, events, timer), SDL_image (PNG) and SDL_ttf, and takes
// them down in reverse order. Audio is brought up too but is not required: a
// machine without a sound device still plays, silently.
class SdlRuntime {
 public:
  SdlRuntime() = default;
  ~SdlRuntime();
  SdlRuntime(const SdlRuntime&) = delete;
  SdlRuntime& operator=(const SdlRuntime&) = delete;

  // False with `error` set when video or the font library cannot start.
  bool Start(std::string& error);
  void Stop();
  bool Started() const { return videoUp_; }
  bool AudioAvailable() const { return audioUp_; }
  // False when video runs on a driver that shows nothing (dummy, offscreen)
  // without SDL_VIDEODRIVER asking for it: SDL's fallback when no display is found.
  bool HasScreen() const;

 private:
  bool videoUp_ = false, audioUp_ = false, imageUp_ = false, ttfUp_ = false;
};

class SdlClock : public Clock {
 public:
  uint64_t Milliseconds() const override;
  void Sleep(int ms) override;
};

// Shows a modal box titled "PONDARO" and always prints the message to stderr.
// Without a screen to show it on (dummy or offscreen video, no DISPLAY, a lost
// display) it only prints, so that headless runs never wait for a click nobody
// can give. A quit signal closes an open box at once and is left for the event
// loop to act on.
class SdlMessageBox : public MessageBox {
 public:
  // `ownerWindowId`: the window the box is modal to (0: none).
  explicit SdlMessageBox(uint32_t ownerWindowId = 0) : owner_(ownerWindowId) {}
  void SetOwner(uint32_t windowId) { owner_ = windowId; }
  void Show(const std::string& message) override;

 private:
  uint32_t owner_;
};

// True when a message box could be shown to a person.
bool HasVisibleScreen();
// The display has gone away (the X server died): from now on messages are only printed.
void ForgetScreen();

}  // namespace pondaro
