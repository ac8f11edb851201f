// A replay's stream: the drives, what made the game move (a frame tick, a window
// timer's firing, an input event), in the order they came, and between them the
// answers the services gave the game while a drive ran (the clock, the polled
// keys and controller, the display's questions). Answers that repeat the last one
// of their kind are left out, except the clock's.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/events.h"
#include "platform/services.h"
#include "replay/byte_io.h"

namespace pondaro {

enum class TRecordKind : uint8_t {
  // Drives.
  Ticks, Timer1, LevelTimer, Event,
  // Answers.
  Clock, Key, Pad, CanDraw, Maximized, FullScreen, TextWidth,
};

struct TRecord {
  TRecordKind Kind = TRecordKind::Ticks;
  uint32_t Count = 1;  // Ticks: how many in a row
  InputEvent Event;    // Event
  // Clock: milliseconds; Key: the key; TextWidth: pixels; CanDraw, Maximized,
  // FullScreen (the switch worked): 0 or 1.
  int64_t Value = 0;
  bool Down = false;  // Key
  JoystickState Pad;  // Pad

  bool IsDrive() const { return Kind <= TRecordKind::Event; }
  // Answers of one identity replace each other: a key's state, the controller ...
  bool SameQuestion(const TRecord& other) const {
    return Kind == other.Kind && (Kind != TRecordKind::Key || Value == other.Value);
  }
  bool SameAnswer(const TRecord& other) const;
};

// The last answer to each question, so that a repeat is left out when recording
// and given again when playing back.
class TAnswerMemory {
 public:
  // The last answer to the question `r` asks, or null when there was none yet.
  const TRecord* Last(const TRecord& r) const;
  void Remember(const TRecord& r);
  void Clear();

 private:
  std::vector<TRecord> keys_;  // one per key asked about, in the order first asked
  TRecord others_[static_cast<int>(TRecordKind::TextWidth) + 1];
  bool known_[static_cast<int>(TRecordKind::TextWidth) + 1] = {};
};

// The events a game's stream may hold: a request to end the program never is.
bool IsGameEvent(EventType type);

std::vector<uint8_t> EncodeRecords(const std::vector<TRecord>& records);
// Appends to `records`. False with `error` set when the bytes are damaged or hold
// a value the game could not have been given.
bool DecodeRecords(ByteReader& in, std::vector<TRecord>& records, std::string& error);

}  // namespace pondaro
