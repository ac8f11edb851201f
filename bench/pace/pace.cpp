// pondaro-pace: runs the real game in its window for a while (the splash, then the
// menu) and reports its CPU use and how punctual its ticks were; with "empty" it
// runs a loop that only clears and presents every 30 ms: the floor to compare with.
//
//   pondaro-pace [SECONDS] [game|empty] [window|full]   (run in build/game under Xvfb)
//
// "full" switches to full screen first, as Alt+Enter does (the empty loop then
// presents a full-screen window too).
#include <SDL.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/app_loop.h"
#include "app/main_form.h"
#include "desktop/sdl_game.h"
#include "desktop/sdl_events.h"
#include "sprites/errors.h"

using namespace pondaro;

namespace {

double CpuSeconds() {
  rusage u;
  getrusage(RUSAGE_SELF, &u);
  return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

void Report(const char* what, double cpu, double wall, std::vector<double> late) {
  std::sort(late.begin(), late.end());
  const double p99 = late.empty() ? 0 : late[std::min(late.size() - 1, late.size() * 99 / 100)];
  const double worst = late.empty() ? 0 : late.back();
  // A tick is skipped when the schedule had to be re-anchored: lateness of a whole tick.
  const long skipped = std::count_if(late.begin(), late.end(), [](double l) { return l >= 30; });
  std::printf("%-6s cpu %.2f %% of a core over %.1f s; %zu ticks; lateness p99 %.2f ms, max %.2f ms; skipped %ld\n",
              what, 100.0 * cpu / wall, wall, late.size(), p99, worst, skipped);
}

int Empty(SdlDisplay& display, double seconds) {
  SdlEventSource events(&display);
  std::vector<double> late;
  const uint64_t start = SDL_GetTicks64();
  uint64_t next = start + 30;
  const double cpu0 = CpuSeconds();
  InputEvent e;
  while (SDL_GetTicks64() < start + seconds * 1000) {
    const uint64_t now = SDL_GetTicks64();
    if (now + 2 < next) {
      events.WaitEvent(static_cast<int>(next - now - 2), e);
      continue;
    }
    if (now < next) {
      SDL_Delay(0);
      continue;
    }
    late.push_back(static_cast<double>(now - next));
    next += 30;
    if (next <= now) next = now + 30;
    display.BeginFrame();
    display.Fill(Color{0, 0, 0, 255});
    display.EndFrame();
  }
  Report("empty", CpuSeconds() - cpu0, (SDL_GetTicks64() - start) / 1000.0, late);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const double seconds = argc > 1 ? std::atof(argv[1]) : 10;
  const std::string mode = argc > 2 ? argv[2] : "game";
  const bool full = argc > 3 && std::string(argv[3]) == "full";
  SdlGame game;
  std::string error;
  if (!game.Start(SdlGame::Mode::Window, error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  SdlDisplay* display = game.Display.get();
  std::printf("renderer: %s %s\n", display->RendererName().c_str(), display->GlRenderer().c_str());
  if (mode == "empty") {
    if (full) display->SetFullScreen(true);
    return Empty(*display, seconds);
  }

  SdlKeyboard keyboard;
  SdlEventSource events(display);
  SdlClock clock;
  TMainForm form(game.Services(keyboard, clock));
  const uint64_t t0 = SDL_GetTicks64();
  try {
    form.FormCreate();
  } catch (const EDataFileError& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  if (full) form.GameFullScreenClick();
  TApplication app(form, events, clock);
  game.Attach(app);
  std::vector<double> late;
  app.LatenessLog = &late;
  // Start-up to the first frame on the screen.
  while (late.empty()) app.Step();
  std::printf("start-up to first frame: %llu ms\n", static_cast<unsigned long long>(SDL_GetTicks64() - t0));
  late.clear();
  const double cpu0 = CpuSeconds();
  const uint64_t start = SDL_GetTicks64();
  while (SDL_GetTicks64() < start + seconds * 1000) app.Step();
  Report("game", CpuSeconds() - cpu0, (SDL_GetTicks64() - start) / 1000.0, late);
  std::printf("scene at the end: %d; song handle at the end: %d (one per song loaded)\n", form.Scene, form.SongHandle);
  rusage u;
  getrusage(RUSAGE_SELF, &u);
  std::printf("peak resident memory: %ld MB\n", u.ru_maxrss / 1024);
  return 0;
}
