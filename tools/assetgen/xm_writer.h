// A FastTracker 2 extended module (.xm) writer, enough for the game's songs:
// one sample per instrument, a volume envelope, auto-vibrato, packed patterns.
//
// Layout notes that players rely on: version 0x0104, a 276-byte header counted
// from offset 60, instrument headers of 263 bytes (zero padded), sample headers
// of 40 bytes, sample lengths and loops in bytes, 16-bit sample data stored as
// deltas. The tracker name is our own: players emulate FT2's bugs when a file
// claims to come from "FastTracker v2.00".
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace pondaro::assetgen {

struct XmSample {
  std::vector<int16_t> Data;
  // In samples (the writer converts to bytes). LoopLength 0: plays once.
  uint32_t LoopStart = 0, LoopLength = 0;
  uint8_t Volume = 64;       // 0..64
  int8_t Finetune = 0;       // 1/128 semitone
  int8_t RelativeNote = 0;   // semitones added to every note
  uint8_t Panning = 128;     // 0 left .. 255 right
};

// Points are (tick, level 0..64). Empty: no envelope, a key-off cuts the note.
struct XmEnvelope {
  std::vector<std::pair<uint16_t, uint16_t>> Points;
  int Sustain = -1;  // point index held until key-off, or -1
};

struct XmInstrument {
  std::string Name;
  XmSample Sample;
  XmEnvelope Volume;
  uint16_t Fadeout = 0;  // volume lost per tick after key-off (of 32768)
  uint8_t VibratoType = 0, VibratoSweep = 0, VibratoDepth = 0, VibratoRate = 0;
};

struct XmCell {
  uint8_t Note = 0;        // 1 = C-0 .. 96 = B-7, 97 = key off, 0 = none
  uint8_t Instrument = 0;  // 1-based, 0 = none
  uint8_t Volume = 0;      // volume column: 0x10 + 0..64 sets the volume, 0 = none
  uint8_t Effect = 0, Param = 0;
};

struct XmPattern {
  int Rows = 64;
  int Channels = 8;
  std::vector<XmCell> Cells;  // row by row
  XmPattern(int rows, int channels)
      : Rows(rows), Channels(channels), Cells(static_cast<size_t>(rows * channels)) {}
  XmCell& At(int row, int channel) { return Cells.at(static_cast<size_t>(row * Channels + channel)); }
};

struct XmModule {
  std::string Name;
  int Channels = 8;  // even, as FT2 wants
  int Tempo = 6;     // ticks per row, below 32
  int Bpm = 125;     // 32..255
  int Restart = 0;   // order the song wraps to
  std::vector<uint8_t> Orders;
  std::vector<XmPattern> Patterns;
  std::vector<XmInstrument> Instruments;
};

constexpr uint8_t kKeyOff = 97;

// Throws std::invalid_argument when the module breaks a limit of the format.
std::vector<uint8_t> WriteXm(const XmModule& module);

// Note number of a name like "C-4", "F#3", "Bb2" (C-4 = 49, middle C).
uint8_t XmNote(const std::string& name);
// Sets RelativeNote and Finetune so that a sample holding a tone of `pitch` Hz
// recorded at `rate` samples per second sounds at its true pitch: note C-4
// plays middle C (261.63 Hz).
void TuneSample(XmSample& sample, double pitch, double rate);
// Seconds one row lasts at this tempo and BPM (a tick is 2.5 / BPM seconds).
double XmRowSeconds(int tempo, int bpm);

}  // namespace pondaro::assetgen
