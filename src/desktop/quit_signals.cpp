#include "desktop/quit_signals.h"

#include <csignal>
#include <initializer_list>

namespace pondaro {

namespace {

// Only a flag can be touched from a signal handler; the event source looks at it
// between waits, so the game ends within one tick.
volatile std::sig_atomic_t quitRequested = 0;

void OnQuitSignal(int) { quitRequested = 1; }

}  // namespace

void InstallQuitSignals() {
  struct sigaction action {};
  action.sa_handler = OnQuitSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART | SA_RESETHAND;
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
}

bool TakeQuitRequest() {
  if (!quitRequested) return false;
  quitRequested = 0;
  return true;
}

}  // namespace pondaro
