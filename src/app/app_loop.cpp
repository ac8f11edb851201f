#include "app/app_loop.h"

#include <algorithm>
#include <exception>

#include "app/main_form.h"

namespace pondaro {

namespace {

// A timer with an interval of 0 never fires, as the system's timers do not.
bool Running(const TWindowTimer& timer) { return timer.Enabled && timer.Interval > 0; }

// Fires a due window timer; like the system's timers it never fires twice to catch up.
void FireIfDue(TWindowTimer& timer, uint64_t now, TMainForm& form, void (TMainForm::*handler)()) {
  if (!Running(timer) || now < timer.Due) return;
  timer.Due += timer.Interval;
  if (timer.Due <= now) timer.Due = now + timer.Interval;
  form.Guarded([&] { (form.*handler)(); });
}

}  // namespace

TApplication::TApplication(TMainForm& form, EventSource& events, Clock& clock)
    : form_(form), events_(events), clock_(clock), nextTick_(clock.Milliseconds()) {}

int TApplication::Run() {
  // The handlers report the game's own errors and go on; what still escapes them
  // (a data file that has gone bad, memory) ends the game, but never silently.
  try {
    while (!form_.Terminated) Step();
    return 0;
  } catch (const std::exception& e) {
    // The game ends here: its own panel would never be seen.
    form_.Services.messages.Show(e.what());
  } catch (...) {
    form_.Services.messages.Show("An unexpected error ended the game.");
  }
  form_.Terminated = true;
  return 1;
}

uint64_t TApplication::NextDeadline() const {
  uint64_t d = nextTick_;
  if (Running(form_.Timer1)) d = std::min(d, form_.Timer1.Due);
  if (Running(form_.LevelTimer)) d = std::min(d, form_.LevelTimer.Due);
  return d;
}

void TApplication::Step() {
  uint64_t now = clock_.Milliseconds();
  const uint64_t deadline = NextDeadline();
  InputEvent event;
  if (now + kSpinMs < deadline) {
    // Sleep in the event wait until shortly before the deadline...
    if (events_.WaitEvent(static_cast<int>(deadline - now - kSpinMs), event)) {
      form_.Guarded([&] { form_.HandleEvent(event); });
      return;
    }
  } else if (now < deadline) {
    // ...then in short steps, which keeps the ticks punctual for little CPU.
    if (events_.WaitEvent(0, event))
      form_.Guarded([&] { form_.HandleEvent(event); });
    else
      clock_.Sleep(0);
    return;
  }
  now = clock_.Milliseconds();
  if (now >= deadline) RunDue(now);
}

void TApplication::RunDue(uint64_t now) {
  FireIfDue(form_.Timer1, now, form_, &TMainForm::Timer1Timer);
  FireIfDue(form_.LevelTimer, now, form_, &TMainForm::LevelTimerTimer);
  if (now < nextTick_) return;
  if (LatenessLog) LatenessLog->push_back(static_cast<double>(now - nextTick_));
  nextTick_ += kTickMs;
  // After a stall, start a new schedule instead of running the missed ticks.
  if (nextTick_ <= now) nextTick_ = now + kTickMs;
  if (form_.DXTimerEnabled) form_.Guarded([&] { form_.DXTimerTimer(); });
  if (Housekeeping) Housekeeping();
}

}  // namespace pondaro
