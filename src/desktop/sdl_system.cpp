#include "desktop/sdl_system.h"

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>

#include <dlfcn.h>
#include <signal.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <thread>

#include "app/diagnostics.h"
#include "desktop/quit_signals.h"

namespace pondaro {

namespace {

void Quiet(const char*, int, const char*, int, const char*, ...) {}

// Without a sound card ALSA prints eight lines of its own while SDL looks for a
// device; the game says in one line that it plays silent. The library SDL loads
// is the one opened here, so its error handler is ours; it stays loaded.
void QuietAlsa() {
  static const bool done = [] {
    void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_NOLOAD);
    if (!alsa) alsa = dlopen("libasound.so.2", RTLD_NOW);
    if (!alsa) return false;
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    auto set = reinterpret_cast<int (*)(Handler)>(dlsym(alsa, "snd_lib_error_set_handler"));
    return set && set(Quiet) == 0;
  }();
  (void)done;
}

// Set when the display has gone away: messages are then only printed.
std::atomic<bool> displayGone{false};

// The processes the thread `tid` has started and that still run.
std::set<pid_t> ChildrenOf(pid_t tid) {
  std::set<pid_t> out;
  std::ifstream in("/proc/self/task/" + std::to_string(tid) + "/children");
  for (pid_t child; in >> child;) out.insert(child);
  return out;
}

// SDL shows its box from a child process it starts and waits for, and no signal
// ends that wait; a quit must never wait for a click. While a box is open this
// watcher looks for a quit signal and, when one comes, ends the box's process:
// SDL's wait is over at once and the event loop takes the signal.
class BoxWatcher {
 public:
  BoxWatcher() : tid_(static_cast<pid_t>(syscall(SYS_gettid))), before_(ChildrenOf(tid_)) {
    thread_ = std::thread([this] { Watch(); });
  }
  ~BoxWatcher() {
    closed_ = true;
    thread_.join();
  }
  bool Ended() const { return ended_; }

 private:
  void Watch() {
    while (!closed_) {
      if (QuitRequested()) {
        for (pid_t child : ChildrenOf(tid_))
          if (!before_.count(child)) kill(child, SIGKILL);
        ended_ = true;
        return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }

  const pid_t tid_;
  const std::set<pid_t> before_;  // started before the box: not the box's
  std::atomic<bool> closed_{false}, ended_{false};
  std::thread thread_;
};

}  // namespace

void ForgetScreen() { displayGone = true; }

SdlRuntime::~SdlRuntime() { Stop(); }

bool SdlRuntime::Start(std::string& error) {
  if (videoUp_) return true;
  // Ctrl+C in a terminal ends the program; SDL would turn it into a close request,
  // which the game answers with its exit dialog.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
    error = std::string("Cannot start SDL: ") + SDL_GetError();
    return false;
  }
  videoUp_ = true;
  // Separate from video so that a missing sound device does not stop the game.
  QuietAlsa();
  audioUp_ = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
  if (!audioUp_) Diagnose(std::string("no sound: ") + SDL_GetError());
  // PNG support is built into SDL_image here; a failed IMG_Init only means the
  // codec gets loaded on first use, so it is not fatal.
  imageUp_ = (IMG_Init(IMG_INIT_PNG) & IMG_INIT_PNG) != 0;
  if (TTF_Init() != 0) {
    error = std::string("Cannot start the font library: ") + TTF_GetError();
    Stop();
    return false;
  }
  ttfUp_ = true;
  return true;
}

void SdlRuntime::Stop() {
  if (ttfUp_) TTF_Quit();
  if (imageUp_) IMG_Quit();
  if (audioUp_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  if (videoUp_) SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER);
  ttfUp_ = imageUp_ = audioUp_ = videoUp_ = false;
}

bool SdlRuntime::HasScreen() const {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (!driver) return false;
  if (std::strcmp(driver, "dummy") != 0 && std::strcmp(driver, "offscreen") != 0) return true;
  const char* asked = SDL_getenv("SDL_VIDEODRIVER");
  return asked && SDL_strcasecmp(asked, driver) == 0;
}

uint64_t SdlClock::Milliseconds() const { return SDL_GetTicks64(); }

void SdlClock::Sleep(int ms) { SDL_Delay(ms > 0 ? static_cast<Uint32>(ms) : 0); }

bool HasVisibleScreen() {
  if (displayGone) return false;
  if (const char* driver = SDL_GetCurrentVideoDriver()) {
    return std::strcmp(driver, "dummy") != 0 && std::strcmp(driver, "offscreen") != 0 &&
           std::strcmp(driver, "evdev") != 0;
  }
  // Video not started: SDL would open its own X11 connection for the box.
  const char* hint = SDL_getenv("SDL_VIDEODRIVER");
  if (hint && (std::strcmp(hint, "dummy") == 0 || std::strcmp(hint, "offscreen") == 0)) return false;
  const char* x11 = SDL_getenv("DISPLAY");
  const char* wayland = SDL_getenv("WAYLAND_DISPLAY");
  return (x11 && *x11) || (wayland && *wayland);
}

void SdlMessageBox::Show(const std::string& message) {
  Diagnose(message);
  // A quit signal that is already waiting ends the game before anybody could read it.
  if (!HasVisibleScreen() || QuitRequested()) return;
  SDL_Window* owner = owner_ ? SDL_GetWindowFromID(owner_) : nullptr;
  BoxWatcher watcher;
  const std::string text = Printable(message);
  const bool shown = SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, "PONDARO", text.c_str(), owner) == 0;
  if (!shown && !watcher.Ended())
    Diagnose(std::string("(message box failed: ") + SDL_GetError() + ")");
}

}  // namespace pondaro
