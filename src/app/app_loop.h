// The application's message loop: events as they come, the two window timers when
// they fall due, and the frame tick at most once per 30 ms. It sleeps in between.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/events.h"
#include "platform/services.h"

namespace pondaro {

class TMainForm;

class TApplication {
 public:
  static constexpr int kTickMs = 30;
  // The last stretch before a deadline is waited out in short steps: the event
  // wait can wake a millisecond late.
  static constexpr int kSpinMs = 1;

  TApplication(TMainForm& form, EventSource& events, Clock& clock);

  // Runs until the form is terminated: 0. An error that escapes the handlers is
  // shown and ends the run: 1.
  int Run();
  // One pass: waits for an event or the next deadline, then handles what is due.
  void Step();
  // Handles everything due at `now`: timers first, then the frame tick.
  void RunDue(uint64_t now);

  // When set, the lateness of every tick (ms behind its schedule) is appended.
  std::vector<double>* LatenessLog = nullptr;
  // Run after every frame tick: the platform's own upkeep (reaping finished
  // browser processes).
  std::function<void()> Housekeeping;
  uint64_t NextTick() const { return nextTick_; }
  TMainForm& Form() { return form_; }

 private:
  uint64_t NextDeadline() const;

  TMainForm& form_;
  EventSource& events_;
  Clock& clock_;
  uint64_t nextTick_;
};

}  // namespace pondaro
