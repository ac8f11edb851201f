#include "replay/stream.h"

#include <cstdlib>

namespace pondaro {

namespace {

// Record tags. An event's tag is kEvent plus its type.
enum : uint8_t {
  kTicks = 0x01, kTimer1 = 0x02, kLevelTimer = 0x03, kEvent = 0x10,
  kClock = 0x20, kKeyDown = 0x21, kKeyUp = 0x22, kPad = 0x23, kCanDraw = 0x24, kCannotDraw = 0x25,
  kMaximized = 0x26, kNotMaximized = 0x27, kFullScreenOk = 0x28, kFullScreenFailed = 0x29, kTextWidth = 0x2A,
};

constexpr uint32_t kMaxTickRun = 10'000'000;
constexpr int kMaxKey = 0xFFFF;
constexpr int64_t kMaxPointer = 1'000'000;  // pixels either way: a stray device reports far outside
constexpr int64_t kMaxTextWidth = 1'000'000;
constexpr uint8_t kShift = 1, kCtrl = 2, kAlt = 4, kRepeat = 8;

bool HasKey(EventType t) { return t == EventType::KeyDown || t == EventType::KeyUp; }
bool HasPointer(EventType t) {
  return t == EventType::MouseMove || t == EventType::MouseDown || t == EventType::MouseUp;
}

}  // namespace

bool TRecord::SameAnswer(const TRecord& o) const {
  if (!SameQuestion(o)) return false;
  switch (Kind) {
    case TRecordKind::Key: return Down == o.Down;
    case TRecordKind::Pad: return Pad.X == o.Pad.X && Pad.Y == o.Pad.Y && Pad.Buttons == o.Pad.Buttons;
    default: return Value == o.Value;
  }
}

const TRecord* TAnswerMemory::Last(const TRecord& r) const {
  if (r.Kind == TRecordKind::Key) {
    for (const TRecord& k : keys_)
      if (k.Value == r.Value) return &k;
    return nullptr;
  }
  const int i = static_cast<int>(r.Kind);
  return known_[i] ? &others_[i] : nullptr;
}

void TAnswerMemory::Remember(const TRecord& r) {
  if (r.Kind == TRecordKind::Key) {
    for (TRecord& k : keys_)
      if (k.Value == r.Value) {
        k = r;
        return;
      }
    keys_.push_back(r);
    return;
  }
  const int i = static_cast<int>(r.Kind);
  others_[i] = r;
  known_[i] = true;
}

void TAnswerMemory::Clear() {
  keys_.clear();
  for (bool& k : known_) k = false;
}

bool IsGameEvent(EventType t) { return t != EventType::None && t != EventType::Terminate; }

std::vector<uint8_t> EncodeRecords(const std::vector<TRecord>& records) {
  ByteWriter w;
  int64_t clock = 0, x = 0, y = 0;
  for (const TRecord& r : records) {
    switch (r.Kind) {
      case TRecordKind::Ticks:
        w.U8(kTicks);
        w.Var(r.Count);
        break;
      case TRecordKind::Timer1: w.U8(kTimer1); break;
      case TRecordKind::LevelTimer: w.U8(kLevelTimer); break;
      case TRecordKind::Event: {
        const InputEvent& e = r.Event;
        w.U8(static_cast<uint8_t>(kEvent + static_cast<int>(e.Type)));
        if (HasKey(e.Type)) {
          w.Var(static_cast<uint64_t>(e.Key));
          w.U8(static_cast<uint8_t>((e.Shift ? kShift : 0) | (e.Ctrl ? kCtrl : 0) | (e.Alt ? kAlt : 0) |
                                    (e.Repeat ? kRepeat : 0)));
        }
        if (e.Type == EventType::MouseDown || e.Type == EventType::MouseUp) w.U8(static_cast<uint8_t>(e.Button));
        if (HasPointer(e.Type)) {
          // Pointer positions as steps from the last one: mostly a byte each.
          w.Signed(e.X - x);
          w.Signed(e.Y - y);
          x = e.X;
          y = e.Y;
        }
        break;
      }
      case TRecordKind::Clock:
        w.U8(kClock);
        w.Signed(r.Value - clock);
        clock = r.Value;
        break;
      case TRecordKind::Key:
        w.U8(r.Down ? kKeyDown : kKeyUp);
        w.Var(static_cast<uint64_t>(r.Value));
        break;
      case TRecordKind::Pad:
        w.U8(kPad);
        w.Signed(r.Pad.X);
        w.Signed(r.Pad.Y);
        w.Var(r.Pad.Buttons);
        break;
      case TRecordKind::CanDraw: w.U8(r.Value ? kCanDraw : kCannotDraw); break;
      case TRecordKind::Maximized: w.U8(r.Value ? kMaximized : kNotMaximized); break;
      case TRecordKind::FullScreen: w.U8(r.Value ? kFullScreenOk : kFullScreenFailed); break;
      case TRecordKind::TextWidth:
        w.U8(kTextWidth);
        w.Signed(r.Value);
        break;
    }
  }
  return std::move(w.bytes);
}

bool DecodeRecords(ByteReader& in, std::vector<TRecord>& records, std::string& error) {
  int64_t clock = 0, x = 0, y = 0;
  auto fail = [&](const std::string& why) {
    error = "record " + std::to_string(records.size() + 1) + ": " + why;
    return false;
  };
  while (!in.AtEnd()) {
    TRecord r;
    const uint8_t tag = in.U8();
    if (tag == kTicks) {
      const uint64_t n = in.Var();
      if (n == 0 || n > kMaxTickRun) return fail("a run of " + std::to_string(n) + " ticks");
      r.Kind = TRecordKind::Ticks;
      r.Count = static_cast<uint32_t>(n);
    } else if (tag == kTimer1 || tag == kLevelTimer) {
      r.Kind = tag == kTimer1 ? TRecordKind::Timer1 : TRecordKind::LevelTimer;
    } else if (tag > kEvent && tag <= kEvent + static_cast<int>(EventType::Terminate)) {
      r.Kind = TRecordKind::Event;
      InputEvent& e = r.Event;
      e.Type = static_cast<EventType>(tag - kEvent);
      if (!IsGameEvent(e.Type)) return fail("a request to end the program");
      if (HasKey(e.Type)) {
        const uint64_t key = in.Var();
        const uint8_t flags = in.U8();
        if (key > kMaxKey || flags > (kShift | kCtrl | kAlt | kRepeat)) return fail("a key event out of range");
        e.Key = static_cast<int>(key);
        e.Shift = flags & kShift;
        e.Ctrl = flags & kCtrl;
        e.Alt = flags & kAlt;
        e.Repeat = flags & kRepeat;
      }
      if (e.Type == EventType::MouseDown || e.Type == EventType::MouseUp) {
        const uint8_t b = in.U8();
        if (b < 1 || b > 3) return fail("mouse button " + std::to_string(b));
        e.Button = static_cast<MouseButton>(b);
      }
      if (HasPointer(e.Type)) {
        x += in.Signed();
        y += in.Signed();
        if (std::llabs(x) > kMaxPointer || std::llabs(y) > kMaxPointer) return fail("the pointer out of range");
        e.X = static_cast<int>(x);
        e.Y = static_cast<int>(y);
      }
    } else if (tag == kClock) {
      const int64_t step = in.Signed();
      if (step < -clock || step > (int64_t{1} << 53)) return fail("the clock out of range");
      clock += step;
      r.Kind = TRecordKind::Clock;
      r.Value = clock;
    } else if (tag == kKeyDown || tag == kKeyUp) {
      r.Kind = TRecordKind::Key;
      r.Down = tag == kKeyDown;
      const uint64_t key = in.Var();
      if (key > kMaxKey) return fail("key " + std::to_string(key));
      r.Value = static_cast<int64_t>(key);
    } else if (tag == kPad) {
      r.Kind = TRecordKind::Pad;
      const int64_t px = in.Signed(), py = in.Signed();
      const uint64_t buttons = in.Var();
      if (std::llabs(px) > 1000 || std::llabs(py) > 1000 || buttons > UINT32_MAX)
        return fail("the controller out of range");
      r.Pad = {static_cast<int>(px), static_cast<int>(py), static_cast<uint32_t>(buttons)};
    } else if (tag >= kCanDraw && tag <= kFullScreenFailed) {
      r.Kind = tag <= kCannotDraw ? TRecordKind::CanDraw
               : tag <= kNotMaximized ? TRecordKind::Maximized
                                      : TRecordKind::FullScreen;
      r.Value = (tag - kCanDraw) % 2 == 0 ? 1 : 0;
    } else if (tag == kTextWidth) {
      r.Kind = TRecordKind::TextWidth;
      r.Value = in.Signed();
      if (r.Value < 0 || r.Value > kMaxTextWidth) return fail("a text width out of range");
    } else {
      return fail(in.ok ? "unknown record " + std::to_string(tag) : "cut short");
    }
    if (!in.ok) return fail("cut short");
    records.push_back(r);
  }
  return true;
}

}  // namespace pondaro
