#include "desktop/quit_signals.h"

#include <atomic>
#include <csignal>
#include <initializer_list>

namespace pondaro {

namespace {

// Only a flag can be touched from a signal handler; the event source looks at it
// between waits, so the game ends within one tick. Atomic: the handler may run
// on any thread, and a message box's watcher reads it from its own.
std::atomic<int> quitRequested{0};
static_assert(std::atomic<int>::is_always_lock_free, "a signal handler needs a lock-free flag");

void OnQuitSignal(int) { quitRequested.store(1); }

}  // namespace

void InstallQuitSignals() {
  struct sigaction action {};
  action.sa_handler = OnQuitSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART | SA_RESETHAND;
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
  // Write errors are seen where they matter (Config.cfg); a closed stderr is not one.
  std::signal(SIGPIPE, SIG_IGN);
}

bool QuitRequested() { return quitRequested.load() != 0; }

bool TakeQuitRequest() { return quitRequested.exchange(0) != 0; }

}  // namespace pondaro
