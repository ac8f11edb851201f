// A monkey at the keyboard and the mouse: seeded random input from the game's
// whole key set, pointer moves, clicks and holds with every button, focus and
// window events, in bursts and pauses. Its choices lean a little on the scene (the
// arrows on the pond, the pointer in the feeding stage, the dialog's buttons when
// one is open, the items of the menu screens), so that a run reaches every scene rather than circling the menu.
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "platform/events.h"

namespace pondaro::test {

// What the monkey may see of the game when it chooses.
struct MonkeyView {
  struct Box {
    int Left, Top, Right, Bottom;
  };
  int Scene = 0;
  bool Paused = false;
  std::vector<Box> Targets;  // what the screen offers the pointer: items, buttons
};

// A scenario hook, as the scripts write it: "set Lives 2".
struct MonkeyHook {
  std::string Field;
  double Value = 0;
};

class Monkey {
 public:
  explicit Monkey(uint64_t seed) : rng_(seed) {}

  // The input of the gap before the next tick, in order. `hooks` receives the
  // scenario hooks to apply after it. Keys released here leave `held`.
  void NextGap(const MonkeyView& view, std::deque<InputEvent>& events, std::vector<MonkeyHook>& hooks);

  // Keys and buttons held down now (the polled keyboard reads them).
  std::vector<int> HeldKeys() const;

  // A short account of the last actions, for a failure's report.
  std::string Recent() const;

 private:
  struct Hold {
    enum Kind { Key, Button, Focus } kind = Key;
    int code = 0;  // the key or the MouseButton
    int ticksLeft = 0;
  };

  int Pick(int n) { return static_cast<int>(rng_() % static_cast<uint64_t>(n)); }
  bool Chance(double p) { return std::uniform_real_distribution<double>(0, 1)(rng_) < p; }
  int AnyKey();
  int SceneKey(const MonkeyView& v);
  void Act(const MonkeyView& v, std::deque<InputEvent>& out, std::vector<MonkeyHook>& hooks);
  void Key(std::deque<InputEvent>& out, EventType type, int key, bool shift, bool ctrl, bool alt,
           bool repeat = false);
  void Pointer(std::deque<InputEvent>& out, EventType type, int x, int y, MouseButton b = MouseButton::Left);
  void Note(std::string what);

  std::mt19937_64 rng_;
  std::vector<Hold> holds_;
  int quietTicks_ = 0;
  int x_ = 400, y_ = 300;
  std::deque<std::string> recent_;
};

}  // namespace pondaro::test
