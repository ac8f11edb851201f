#include "soak/monkey.h"

#include <algorithm>

namespace pondaro::test {

namespace {

// Every key the platform gives a code, and 0 for one it does not.
std::vector<int> AllKeys() {
  std::vector<int> k = {0,          vk::Back,  vk::Tab,      vk::Return, vk::Shift, vk::Control, vk::Menu,
                        vk::Pause,  vk::Escape, vk::Space,   vk::PageUp, vk::PageDown, vk::End, vk::Home,
                        vk::Left,   vk::Up,    vk::Right,    vk::Down,   vk::Insert, vk::Delete};
  for (int c = '0'; c <= '9'; ++c) k.push_back(c);
  for (int c = 'A'; c <= 'Z'; ++c) k.push_back(c);
  for (int c = vk::Numpad0; c <= vk::Divide; ++c) k.push_back(c);
  for (int c = vk::F1; c <= vk::F24; ++c) k.push_back(c);
  for (int c = 186; c <= 192; ++c) k.push_back(c);
  for (int c = 219; c <= 222; ++c) k.push_back(c);
  return k;
}

const std::vector<int>& Keys() {
  static const std::vector<int> keys = AllKeys();
  return keys;
}

const char* Name(EventType t) {
  switch (t) {
    case EventType::KeyDown: return "down";
    case EventType::KeyUp: return "up";
    case EventType::MouseMove: return "move";
    case EventType::MouseDown: return "press";
    case EventType::MouseUp: return "release";
    case EventType::FocusGained: return "focus";
    case EventType::FocusLost: return "blur";
    case EventType::PointerLeft: return "leave";
    case EventType::Resized: return "resize";
    case EventType::Close: return "close";
    default: return "none";
  }
}

}  // namespace

int Monkey::AnyKey() { return Keys()[static_cast<size_t>(Pick(static_cast<int>(Keys().size())))]; }

// Mostly a key that means something in this scene, else any key at all. On the
// pond the frog turns with the arrows and jumps with Space, Ctrl or Enter.
int Monkey::SceneKey(const MonkeyView& v) {
  if (Chance(v.Scene == 3 ? 0.25 : 0.5)) return AnyKey();
  static const int pond[] = {vk::Up,    vk::Up,    vk::Space, vk::Space,   vk::Space, vk::Control, vk::Return,
                             vk::Left,  vk::Right, 'W',       vk::Down,    vk::Escape};
  static const int feeding[] = {vk::Control, vk::Space, 'P', vk::Escape, 'X', 'A', 'D'};
  static const int menus[] = {vk::Return, vk::Escape, vk::Return, vk::Back, 'A', 'Z', '7', vk::Numpad0 + 3};
  switch (v.Scene) {
    case 3: return pond[Pick(std::size(pond))];
    case 4: return feeding[Pick(std::size(feeding))];
    default: return menus[Pick(std::size(menus))];
  }
}

void Monkey::Note(std::string what) {
  recent_.push_back(std::move(what));
  if (recent_.size() > 40) recent_.pop_front();
}

std::string Monkey::Recent() const {
  std::string s;
  for (const std::string& r : recent_) s += r + "; ";
  return s;
}

std::vector<int> Monkey::HeldKeys() const {
  std::vector<int> keys;
  for (const Hold& h : holds_)
    if (h.kind == Hold::Key) keys.push_back(h.code);
  return keys;
}

void Monkey::Key(std::deque<InputEvent>& out, EventType type, int key, bool shift, bool ctrl, bool alt,
                 bool repeat) {
  out.push_back({.Type = type, .Key = key, .Shift = shift, .Ctrl = ctrl, .Alt = alt, .Repeat = repeat});
  Note(std::string(Name(type)) + " " + std::to_string(key) + (alt ? "+alt" : "") + (ctrl ? "+ctrl" : "") +
       (repeat ? " repeat" : ""));
}

void Monkey::Pointer(std::deque<InputEvent>& out, EventType type, int x, int y, MouseButton b) {
  InputEvent e;
  e.Type = type;
  e.X = x;
  e.Y = y;
  e.Button = b;
  out.push_back(e);
  Note(std::string(Name(type)) + " " + std::to_string(x) + "," + std::to_string(y) + " b" +
       std::to_string(static_cast<int>(b)));
}

void Monkey::NextGap(const MonkeyView& view, std::deque<InputEvent>& out, std::vector<MonkeyHook>& hooks) {
  // Holds end after their time, whatever else happens.
  for (auto it = holds_.begin(); it != holds_.end();) {
    if (--it->ticksLeft > 0) {
      // A held key repeats now and then, as the keyboard does.
      if (it->kind == Hold::Key && Chance(0.05)) Key(out, EventType::KeyDown, it->code, false, false, false, true);
      ++it;
      continue;
    }
    if (it->kind == Hold::Key) {
      Key(out, EventType::KeyUp, it->code, false, false, false);
    } else if (it->kind == Hold::Button) {
      Pointer(out, EventType::MouseUp, x_, y_, static_cast<MouseButton>(it->code));
    } else {
      InputEvent back;
      back.Type = EventType::FocusGained;
      out.push_back(back);
      Note("focus");
    }
    it = holds_.erase(it);
  }
  // A player who paused comes back to it sooner or later.
  if (view.Paused && Chance(0.01)) {
    Key(out, EventType::KeyDown, 'P', false, false, false);
    Key(out, EventType::KeyUp, 'P', false, false, false);
  }
  if (quietTicks_ > 0) {
    --quietTicks_;
    return;
  }
  const int roll = Pick(1000);
  int actions = 0;
  if (roll < 520)
    actions = 0;
  else if (roll < 900)
    actions = 1;
  else if (roll < 985)
    actions = 2 + Pick(20);  // a burst
  else
    quietTicks_ = 10 + Pick(300);  // hands off: timers run out, words fade
  for (int i = 0; i < actions; ++i) Act(view, out, hooks);
}

void Monkey::Act(const MonkeyView& v, std::deque<InputEvent>& out, std::vector<MonkeyHook>& hooks) {
  const int roll = Pick(1000);
  const bool shift = Chance(0.1), ctrl = Chance(0.08), alt = Chance(0.04);
  if (roll < 300) {  // a tap
    const int k = SceneKey(v);
    Key(out, EventType::KeyDown, k, shift, ctrl, alt);
    Key(out, EventType::KeyUp, k, shift, ctrl, alt);
  } else if (roll < 420) {  // a hold
    const int k = SceneKey(v);
    if (std::none_of(holds_.begin(), holds_.end(), [k](const Hold& h) { return h.kind == Hold::Key && h.code == k; })) {
      Key(out, EventType::KeyDown, k, shift, ctrl, alt);
      holds_.push_back({Hold::Key, k, 1 + Pick(v.Scene == 3 ? 80 : 40)});
    }
  } else if (roll < 430) {  // Alt+Enter
    Key(out, EventType::KeyDown, vk::Return, false, false, true);
    Key(out, EventType::KeyUp, vk::Return, false, false, true);
  } else if (roll < 650) {  // the pointer moves
    if (Chance(0.02)) {
      x_ = Pick(400001) - 200000;  // far outside, as a stray device might report
      y_ = Pick(400001) - 200000;
    } else {
      x_ = Pick(860) - 30;
      y_ = Pick(660) - 30;
    }
    Pointer(out, EventType::MouseMove, x_, y_);
  } else if (roll < 880) {  // a click or a held button, most often the left one
    const MouseButton b = Chance(0.7) ? MouseButton::Left : Chance(0.5) ? MouseButton::Right : MouseButton::Middle;
    if (!v.Targets.empty() && Chance(0.5)) {
      // An item may reach past the screen's edges ("anywhere"): the part on it.
      const MonkeyView::Box& t = v.Targets[static_cast<size_t>(Pick(static_cast<int>(v.Targets.size())))];
      const int left = std::clamp(t.Left, 0, 799), right = std::clamp(t.Right, left, 799);
      const int top = std::clamp(t.Top, 0, 599), bottom = std::clamp(t.Bottom, top, 599);
      x_ = left + Pick(right - left + 1);
      y_ = top + Pick(bottom - top + 1);
    } else if (Chance(0.6)) {
      x_ = Pick(800);
      y_ = Pick(600);
    }
    Pointer(out, EventType::MouseMove, x_, y_);
    Pointer(out, EventType::MouseDown, x_, y_, b);
    if (Chance(0.8))
      Pointer(out, EventType::MouseUp, x_, y_, b);
    else
      holds_.push_back({Hold::Button, static_cast<int>(b), 1 + Pick(60)});
  } else if (roll < 900) {  // the window: focus, size, the close button
    // Another window takes the focus for a while and gives it back.
    static const EventType window[] = {EventType::FocusLost, EventType::FocusGained, EventType::Resized,
                                       EventType::Close, EventType::PointerLeft};
    InputEvent e;
    e.Type = window[Pick(std::size(window))];
    out.push_back(e);
    Note(Name(e.Type));
    if (e.Type == EventType::FocusLost) holds_.push_back({Hold::Focus, 0, 1 + Pick(100)});
  } else if (roll < 950 && (v.Scene == 3 || v.Scene == 4)) {
    // The scenario hooks a test would use to reach the later levels, the feeding
    // stage and the end of a game without playing an hour.
    switch (Pick(v.Scene == 3 ? 6 : 5)) {
      case 0: hooks.push_back({"Hunger", double(Pick(40))}); break;
      case 1: hooks.push_back({"Lives", double(1 + Pick(4))}); break;
      case 2: hooks.push_back({"Level", double(Chance(0.5) ? 1 : Chance(0.9) ? 1 + Pick(12) : 1 + Pick(1000))}); break;
      // Mostly long enough for the stage's later visitors (the stork) to come.
      case 3: hooks.push_back({"LevelTimeLeft", double(Chance(0.2) ? Pick(5) : 10 + Pick(60))}); break;
      // The stone lies in the first column: the frog put there reaches it.
      case 4: hooks.push_back({"FrogColumn", double(Chance(0.5) ? 0 : Pick(4))}); break;
      // A monkey seldom crosses a whole pond: now and then it is taken to the stone.
      default: hooks.push_back({"StoneReached", 1}); break;
    }
    Note("set " + hooks.back().Field + " " + std::to_string(static_cast<int>(hooks.back().Value)));
  } else {  // typing, where a text box may be listening
    for (int n = 1 + Pick(12); n > 0; --n) {
      const int k = Chance(0.8) ? 'A' + Pick(26) : '0' + Pick(10);
      Key(out, EventType::KeyDown, k, shift, false, false);
      Key(out, EventType::KeyUp, k, shift, false, false);
    }
    if (Chance(0.3)) {
      Key(out, EventType::KeyDown, vk::Return, false, false, false);
      Key(out, EventType::KeyUp, vk::Return, false, false, false);
    }
  }
}

}  // namespace pondaro::test
