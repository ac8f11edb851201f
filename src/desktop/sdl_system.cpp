#include "desktop/sdl_system.h"

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

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

}  // namespace

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
  if (!audioUp_) std::fprintf(stderr, "PONDARO: no sound: %s\n", SDL_GetError());
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
  std::fprintf(stderr, "PONDARO: %s\n", message.c_str());
  std::fflush(stderr);
  if (!HasVisibleScreen()) return;
  SDL_Window* owner = owner_ ? SDL_GetWindowFromID(owner_) : nullptr;
  if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, "PONDARO", message.c_str(), owner) != 0)
    std::fprintf(stderr, "(message box failed: %s)\n", SDL_GetError());
}

}  // namespace pondaro
