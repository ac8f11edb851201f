#include "xm_writer.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <stdexcept>

namespace pondaro::assetgen {

namespace {

constexpr uint32_t kHeaderSize = 276;      // from offset 60 to the end of the order table
constexpr uint32_t kInstrumentSize = 263;  // what FT2 writes; the tail is padding
constexpr uint32_t kSampleHeaderSize = 40;

void Put8(std::vector<uint8_t>& b, uint8_t v) { b.push_back(v); }
void Put16(std::vector<uint8_t>& b, uint16_t v) {
  b.push_back(v & 0xFF);
  b.push_back(v >> 8);
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back((v >> (8 * i)) & 0xFF);
}
// Fixed-width text, cut or padded with `pad`.
void PutText(std::vector<uint8_t>& b, const std::string& s, size_t width, char pad = '\0') {
  for (size_t i = 0; i < width; ++i) b.push_back(static_cast<uint8_t>(i < s.size() ? s[i] : pad));
}

void Require(bool ok, const char* what) {
  if (!ok) throw std::invalid_argument(std::string("xm: ") + what);
}

// A row's cell in FT2's packed form: a flag byte saying which fields follow,
// or the five plain bytes when all of them are present.
void PutCell(std::vector<uint8_t>& b, const XmCell& c) {
  uint8_t flags = 0x80;
  if (c.Note) flags |= 0x01;
  if (c.Instrument) flags |= 0x02;
  if (c.Volume) flags |= 0x04;
  if (c.Effect) flags |= 0x08;
  if (c.Param) flags |= 0x10;
  if (flags == 0x9F) {
    for (uint8_t v : {c.Note, c.Instrument, c.Volume, c.Effect, c.Param}) Put8(b, v);
    return;
  }
  Put8(b, flags);
  if (c.Note) Put8(b, c.Note);
  if (c.Instrument) Put8(b, c.Instrument);
  if (c.Volume) Put8(b, c.Volume);
  if (c.Effect) Put8(b, c.Effect);
  if (c.Param) Put8(b, c.Param);
}

void PutPattern(std::vector<uint8_t>& b, const XmPattern& p, int channels) {
  Require(p.Rows >= 1 && p.Rows <= 256, "a pattern has 1 to 256 rows");
  Require(p.Channels == channels, "every pattern has the module's channel count");
  std::vector<uint8_t> data;
  for (const XmCell& c : p.Cells) {
    Require(c.Note <= kKeyOff, "note out of range");
    PutCell(data, c);
  }
  Require(data.size() <= 0xFFFF, "pattern too large");
  Put32(b, 9);  // header length
  Put8(b, 0);   // packing type
  Put16(b, static_cast<uint16_t>(p.Rows));
  Put16(b, static_cast<uint16_t>(data.size()));
  b.insert(b.end(), data.begin(), data.end());
}

void PutEnvelope(std::vector<uint8_t>& b, const XmEnvelope& e) {
  Require(e.Points.size() <= 12, "an envelope has at most 12 points");
  for (size_t i = 0; i < 12; ++i) {
    const auto point = i < e.Points.size() ? e.Points[i] : std::pair<uint16_t, uint16_t>{0, 0};
    Require(point.second <= 64, "envelope level above 64");
    Put16(b, point.first);
    Put16(b, point.second);
  }
}

void PutInstrument(std::vector<uint8_t>& b, const XmInstrument& in) {
  const size_t start = b.size();
  const XmSample& s = in.Sample;
  Require(!s.Data.empty(), "an instrument needs sample data");
  Require(s.LoopStart + s.LoopLength <= s.Data.size(), "loop past the sample's end");
  Require(s.Volume <= 64, "sample volume above 64");

  Put32(b, kInstrumentSize);
  PutText(b, in.Name, 22);
  Put8(b, 0);   // type
  Put16(b, 1);  // one sample
  Put32(b, kSampleHeaderSize);
  for (int i = 0; i < 96; ++i) Put8(b, 0);  // every note plays sample 0
  PutEnvelope(b, in.Volume);
  PutEnvelope(b, XmEnvelope{});  // no panning envelope
  Put8(b, static_cast<uint8_t>(in.Volume.Points.size()));
  Put8(b, 0);
  Put8(b, static_cast<uint8_t>(std::max(0, in.Volume.Sustain)));
  Put8(b, 0);  // volume loop start and end: unused
  Put8(b, 0);
  Put8(b, 0);  // panning sustain, loop start, loop end
  Put8(b, 0);
  Put8(b, 0);
  uint8_t volumeType = 0;
  if (!in.Volume.Points.empty()) volumeType |= 1;
  if (in.Volume.Sustain >= 0) volumeType |= 2;
  Put8(b, volumeType);
  Put8(b, 0);  // panning envelope off
  Put8(b, in.VibratoType);
  Put8(b, in.VibratoSweep);
  Put8(b, in.VibratoDepth);
  Put8(b, in.VibratoRate);
  Put16(b, in.Fadeout);
  Put16(b, 0);  // reserved
  b.resize(start + kInstrumentSize, 0);

  // Sample header: 16-bit, so every length and loop point counts two bytes.
  Put32(b, static_cast<uint32_t>(s.Data.size() * 2));
  Put32(b, s.LoopStart * 2);
  Put32(b, s.LoopLength * 2);
  Put8(b, s.Volume);
  Put8(b, static_cast<uint8_t>(s.Finetune));
  Put8(b, static_cast<uint8_t>(0x10 | (s.LoopLength ? 1 : 0)));  // 16-bit, forward loop
  Put8(b, s.Panning);
  Put8(b, static_cast<uint8_t>(s.RelativeNote));
  Put8(b, 0);  // delta-coded
  PutText(b, in.Name, 22);

  int16_t previous = 0;
  for (int16_t v : s.Data) {
    Put16(b, static_cast<uint16_t>(static_cast<uint16_t>(v) - static_cast<uint16_t>(previous)));
    previous = v;
  }
}

}  // namespace

std::vector<uint8_t> WriteXm(const XmModule& m) {
  Require(m.Channels >= 2 && m.Channels <= 32 && m.Channels % 2 == 0, "2 to 32 channels, an even count");
  Require(m.Tempo >= 1 && m.Tempo < 32, "tempo 1 to 31");
  Require(m.Bpm >= 32 && m.Bpm <= 255, "BPM 32 to 255");
  Require(!m.Orders.empty() && m.Orders.size() <= 256, "1 to 256 orders");
  Require(m.Restart >= 0 && m.Restart < static_cast<int>(m.Orders.size()), "restart inside the order list");
  Require(!m.Patterns.empty() && m.Patterns.size() <= 256, "1 to 256 patterns");
  Require(m.Instruments.size() <= 128, "at most 128 instruments");
  for (uint8_t o : m.Orders) Require(o < m.Patterns.size(), "order names a missing pattern");

  std::vector<uint8_t> b;
  PutText(b, "Extended Module: ", 17);
  PutText(b, m.Name, 20, ' ');
  Put8(b, 0x1A);
  PutText(b, "PONDARO assetgen", 20, ' ');
  Put16(b, 0x0104);
  Put32(b, kHeaderSize);
  Put16(b, static_cast<uint16_t>(m.Orders.size()));
  Put16(b, static_cast<uint16_t>(m.Restart));
  Put16(b, static_cast<uint16_t>(m.Channels));
  Put16(b, static_cast<uint16_t>(m.Patterns.size()));
  Put16(b, static_cast<uint16_t>(m.Instruments.size()));
  Put16(b, 1);  // linear frequency table
  Put16(b, static_cast<uint16_t>(m.Tempo));
  Put16(b, static_cast<uint16_t>(m.Bpm));
  for (size_t i = 0; i < 256; ++i) Put8(b, i < m.Orders.size() ? m.Orders[i] : 0);

  for (const XmPattern& p : m.Patterns) PutPattern(b, p, m.Channels);
  for (const XmInstrument& in : m.Instruments) PutInstrument(b, in);
  return b;
}

uint8_t XmNote(const std::string& name) {
  static const int kSemitone[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
  Require(name.size() == 3, "a note name has three characters");
  const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
  Require(letter >= 'A' && letter <= 'G', "note letter A to G");
  int semitone = kSemitone[letter - 'A'];
  if (name[1] == '#') ++semitone;
  else if (name[1] == 'b') --semitone;
  else Require(name[1] == '-', "note accidental '#', 'b' or '-'");
  Require(name[2] >= '0' && name[2] <= '7', "octave 0 to 7");
  const int note = (name[2] - '0') * 12 + semitone + 1;
  Require(note >= 1 && note <= 96, "note out of range");
  return static_cast<uint8_t>(note);
}

void TuneSample(XmSample& sample, double pitch, double rate) {
  // C-4 with no transposition plays the sample at 8363 Hz; we want it to sound at middle C.
  const double semitones = 12.0 * std::log2(261.6256 * rate / (8363.0 * pitch));
  int relative = static_cast<int>(std::lround(semitones));
  int fine = static_cast<int>(std::lround((semitones - relative) * 128.0));
  if (fine > 127) {
    fine -= 128;
    ++relative;
  }
  Require(relative >= -96 && relative <= 95, "sample pitch out of range");
  sample.RelativeNote = static_cast<int8_t>(relative);
  sample.Finetune = static_cast<int8_t>(fine);
}

double XmRowSeconds(int tempo, int bpm) { return tempo * 2.5 / bpm; }

}  // namespace pondaro::assetgen
