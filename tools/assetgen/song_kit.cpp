#include "song_kit.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <stdexcept>

#include "sound_kit.h"
#include "synth.h"

namespace pondaro::assetgen {

namespace {

constexpr double kMiddleC = 261.6256;

void ScalePeak(Samples& s, double peak) {
  const double p = Peak(s);
  if (p > 0) Scale(s, peak / p);
}

XmInstrument OneShot(const char* name, Samples s, double pitch) {
  ScalePeak(s, 0.9);
  XmInstrument in;
  in.Name = name;
  in.Sample.Data = ToPcm16(s);
  TuneSample(in.Sample, pitch, kRate);
  return in;
}

// A sustained voice: an attack of `attackCycles` periods in which `extra`
// harmonics (and breath noise) die away, then a loop of `loopCycles` periods of
// the steady tone. The loop is a chorus: beside the voice at the instrument's
// pitch, two more a cycle more and a cycle fewer a loop, so that every voice
// ends the loop where it began and the three beat gently against each other;
// with `breath`, a little breath noise goes on under the tone, looped too.
XmInstrument Sustained(const char* name, size_t period, const std::vector<double>& steady,
                       const std::vector<double>& extra, double extraDecay, double breath,
                       size_t attackCycles, size_t loopCycles, double chorus) {
  const size_t attack = attackCycles * period, loop = loopCycles * period, total = attack + loop;
  auto tone = [&](const std::vector<double>& harmonics, double cycles) {
    double v = 0;
    for (size_t h = 0; h < harmonics.size(); ++h) v += harmonics[h] * std::sin(2 * M_PI * (h + 1) * cycles);
    return v;
  };
  Samples noise = WhiteNoise(static_cast<double>(total) / kRate + 0.5, 4242);
  BandPass(noise, Constant(2200), 0.8);
  const Samples air = SeamlessLoop(noise, loop, SampleCount(0.2));
  Samples s(total);
  for (size_t i = 0; i < total; ++i) {
    // Each voice's phase in cycles, counted from the loop's start.
    const double n = static_cast<double>(i) - static_cast<double>(attack);
    double v = tone(steady, n / period);
    for (double more : {-1.0, 1.0})
      v += chorus * tone(steady, n * (loopCycles + more) / static_cast<double>(loop));
    if (i < attack) {
      const double t = static_cast<double>(i) / kRate;
      const double fade = std::exp(-t / extraDecay) * (1.0 - static_cast<double>(i) / attack);
      v += tone(extra, n / period) * fade + breath * noise[i] * fade;
    }
    v += 0.12 * breath * air[i >= attack ? i - attack : (i + loop - attack % loop) % loop];
    s[i] = static_cast<float>(v);
  }
  ScalePeak(s, 0.9);
  XmInstrument in;
  in.Name = name;
  in.Sample.Data = ToPcm16(s);
  in.Sample.LoopStart = static_cast<uint32_t>(attack);
  in.Sample.LoopLength = static_cast<uint32_t>(loop);
  TuneSample(in.Sample, static_cast<double>(kRate) / period, kRate);
  return in;
}

// A one-shot in a small room: its echoes baked into the sample.
XmInstrument InRoom(const char* name, Samples s, double pitch, double seconds, double wet) {
  Room(s, seconds, wet);
  FadeEdges(s, 0, 0.05);
  return OneShot(name, s, pitch);
}

Samples Kick() {
  Samples s = Oscillator(Shape::Sine, ExpSweep(150, 48, 0.09), 0.32);
  ApplyPluck(s, 0.001, 0.11);
  MixInto(s, NoiseBurst(0.012, 3, 2800, 0.8, 0.002), 0.35);
  FadeEdges(s, 0, 0.03);
  return s;
}

Samples Snare() {  // a soft, brushy backbeat, not a rock snare
  Samples s = NoiseBurst(0.26, 5, 2400, 0.55, 0.065);
  Samples body = Oscillator(Shape::Sine, ExpSweep(240, 180, 0.05), 0.15);
  ApplyPluck(body, 0.001, 0.035);
  MixInto(s, body, 0.7);
  LowPass1(s, 7500);
  FadeEdges(s, 0, 0.03);
  return s;
}

Samples Hat(double seconds, double decay, uint64_t seed) {
  Samples s = WhiteNoise(seconds, seed);
  HighPass1(s, 6500);
  HighPass1(s, 6500);
  ApplyPluck(s, 0.0005, decay);
  FadeEdges(s, 0, 0.01);
  return s;
}

Samples Shaker() {
  Samples s = WhiteNoise(0.12, 11);
  BandPass(s, Constant(5600), 0.9);
  ApplyPluck(s, 0.012, 0.028);
  FadeEdges(s, 0, 0.02);
  return s;
}

Samples WoodBlock() {
  Samples s = Oscillator(Shape::Sine, Constant(1046.5), 0.14);
  ApplyPluck(s, 0.0005, 0.03);
  Samples over = Oscillator(Shape::Sine, Constant(1046.5 * 2.57), 0.14);
  ApplyPluck(over, 0.0005, 0.012);
  MixInto(s, over, 0.4);
  FadeEdges(s, 0, 0.02);
  return s;
}

struct Token {
  std::string Head;
  int Rows = 1;
  int Volume = -1;
};

std::vector<Token> Tokens(const std::string& text) {
  std::vector<Token> out;
  std::istringstream in(text);
  std::string word;
  while (in >> word) {
    Token t;
    const size_t colon = word.find(':'), at = word.find('@');
    if (colon == std::string::npos) throw std::invalid_argument("score: no length in '" + word + "'");
    t.Head = word.substr(0, colon);
    t.Rows = std::stoi(word.substr(colon + 1, at == std::string::npos ? std::string::npos : at - colon - 1));
    if (at != std::string::npos) t.Volume = std::stoi(word.substr(at + 1));
    if (t.Rows < 1) throw std::invalid_argument("score: empty length in '" + word + "'");
    out.push_back(t);
  }
  return out;
}

// "F#5" -> the XM note; the octave digit is always last.
uint8_t NoteOf(const std::string& name) {
  if (name.size() < 2 || name.size() > 3) throw std::invalid_argument("score: bad note '" + name + "'");
  const char accidental = name.size() == 3 ? name[1] : '-';
  return XmNote(std::string{name[0], accidental, name.back()});
}

int PitchClass(int note) { return (note - 1) % 12; }

struct Chord {
  int Root = 0;  // pitch class, C = 0
  std::vector<int> Intervals;
};

Chord ChordOf(const std::string& name) {
  Chord c;
  size_t i = 1;
  c.Root = PitchClass(XmNote(std::string{name.at(0), '-', '4'}));
  if (i < name.size() && (name[i] == '#' || name[i] == 'b')) c.Root = (c.Root + (name[i++] == '#' ? 1 : 11)) % 12;
  const std::string quality = name.substr(i);
  if (quality.empty()) c.Intervals = {0, 4, 7};
  else if (quality == "m") c.Intervals = {0, 3, 7};
  else if (quality == "7") c.Intervals = {0, 4, 7, 10};
  else if (quality == "m7") c.Intervals = {0, 3, 7, 10};
  else if (quality == "maj7") c.Intervals = {0, 4, 7, 11};
  else throw std::invalid_argument("score: unknown chord '" + name + "'");
  return c;
}

// The songs are written with volumes that balance the band; all of them are
// lowered by this much so the music sits under the sound effects (the game
// mixes the module in at full level).
constexpr double kMixLevel = 0.7;

XmCell Hit(uint8_t note, Instrument instrument, int volume) {
  XmCell c;
  c.Note = note;
  c.Instrument = instrument;
  c.Volume = static_cast<uint8_t>(0x10 + std::clamp(static_cast<int>(std::lround(volume * kMixLevel)), 0, 64));
  return c;
}

// Channel placement, set on every note because a new note resets the pan to its sample's.
constexpr uint8_t kPan[kChannelCount] = {0x90, 0x58, 0xA8, 0x80, 0x80, 0x74, 0xA4, 0x5C};

}  // namespace

std::vector<XmInstrument> Band() {
  std::vector<XmInstrument> band;
  // The marimba rings on in the room it is played in.
  band.push_back(InRoom("marimba", Mallet(523.25, 1.1, 0.32), 523.25, 0.7, 0.22));

  // A soft flute: mostly fundamental, a breath on the attack and under the tone,
  // a gentle chorus, a slow vibrato that fades in, and a short release after key-off.
  XmInstrument flute = Sustained("flute", 128, {1.0, 0.32, 0.12, 0.05, 0.02}, {0, 0.2, 0.2, 0.1, 0.08}, 0.03,
                                 0.35, 24, 288, 0.45);
  flute.Volume.Points = {{0, 0}, {2, 64}, {6, 50}};
  flute.Volume.Sustain = 2;
  flute.Fadeout = 0x700;
  flute.VibratoType = 0;
  flute.VibratoSweep = 40;
  flute.VibratoDepth = 3;
  flute.VibratoRate = 24;
  band.push_back(flute);

  // A round finger bass: a plucked, brighter start settling on a warm tone, a
  // touch of chorus for body.
  XmInstrument bass = Sustained("bass", 256, {1.0, 0.45, 0.16, 0.06, 0.02},
                                {0, 0.25, 0.3, 0.22, 0.15, 0.1, 0.06}, 0.035, 0.0, 8, 192, 0.2);
  bass.Volume.Points = {{0, 64}, {4, 56}, {30, 40}, {90, 28}};
  bass.Fadeout = 0x900;
  band.push_back(bass);

  band.push_back(OneShot("kick", Kick(), kMiddleC));
  band.push_back(InRoom("snare", Snare(), kMiddleC, 0.35, 0.15));
  band.push_back(OneShot("hat", Hat(0.08, 0.016, 21), kMiddleC));
  band.push_back(OneShot("open hat", Hat(0.32, 0.09, 22), kMiddleC));
  band.push_back(InRoom("shaker", Shaker(), kMiddleC, 0.25, 0.1));
  band.push_back(InRoom("wood block", WoodBlock(), kMiddleC, 0.4, 0.2));
  return band;
}

Score::Score(std::string name, int tempo, int bpm) {
  module_.Name = std::move(name);
  module_.Tempo = tempo;
  module_.Bpm = bpm;
  module_.Channels = kChannelCount;
}

int Score::NewPattern(int rows) {
  module_.Patterns.emplace_back(rows, kChannelCount);
  return static_cast<int>(module_.Patterns.size()) - 1;
}

void Score::Melody(int pattern, int channel, Instrument instrument, int volume, const std::string& notes) {
  XmPattern& p = Pattern(pattern);
  int row = 0;
  for (const Token& t : Tokens(notes)) {
    if (row >= p.Rows) throw std::invalid_argument("score: melody longer than its pattern");
    if (t.Head == "r") p.At(row, channel).Note = kKeyOff;
    else if (t.Head != "_") p.At(row, channel) = Hit(NoteOf(t.Head), instrument, t.Volume >= 0 ? t.Volume : volume);
    row += t.Rows;
  }
}

void Score::Figure(int pattern, int channel, Instrument instrument, int volume, const std::string& chords,
                   const std::string& figure, const std::string& lowest) {
  XmPattern& p = Pattern(pattern);
  const int low = NoteOf(lowest);
  const std::vector<Token> steps = Tokens(figure);
  int start = 0;
  for (const Token& c : Tokens(chords)) {
    const Chord chord = ChordOf(c.Head);
    const int root = low + (chord.Root - PitchClass(low) + 12) % 12;
    const int n = static_cast<int>(chord.Intervals.size());
    const int end = std::min(p.Rows, start + c.Rows);
    for (size_t k = 0, row = static_cast<size_t>(start); static_cast<int>(row) < end; ++k) {
      const Token& s = steps[k % steps.size()];
      if (s.Head == "r") p.At(static_cast<int>(row), channel).Note = kKeyOff;
      else if (s.Head != "_") {
        const int index = std::stoi(s.Head);
        const int note = root + chord.Intervals[index % n] + 12 * (index / n);
        p.At(static_cast<int>(row), channel) =
            Hit(static_cast<uint8_t>(note), instrument, s.Volume >= 0 ? s.Volume : volume);
      }
      row += static_cast<size_t>(s.Rows);
    }
    start += c.Rows;
  }
}

void Score::Drums(int pattern, int channel, const std::string& hits) {
  struct Kind {
    char Mark;
    Instrument Sound;
    int Volume;
  };
  static const Kind kKinds[] = {{'k', kKick, 50},   {'K', kKick, 62},    {'s', kSnare, 36},    {'S', kSnare, 50},
                                {'g', kSnare, 14},  {'h', kHat, 20},     {'H', kHat, 32},      {'o', kOpenHat, 22},
                                {'x', kShaker, 16}, {'X', kShaker, 26},  {'w', kWoodBlock, 26}, {'W', kWoodBlock, 38}};
  XmPattern& p = Pattern(pattern);
  const uint8_t c4 = XmNote("C-4");
  for (int row = 0; row < p.Rows; ++row) {
    const char mark = hits[static_cast<size_t>(row) % hits.size()];
    if (mark == '.' || mark == ' ') continue;
    const Kind* kind = nullptr;
    for (const Kind& k : kKinds)
      if (k.Mark == mark) kind = &k;
    if (!kind) throw std::invalid_argument(std::string("score: unknown drum '") + mark + "'");
    p.At(row, channel) = Hit(c4, kind->Sound, kind->Volume);
  }
}

void Score::Order(std::initializer_list<int> patterns) {
  for (int p : patterns) module_.Orders.push_back(static_cast<uint8_t>(p));
}

std::vector<uint8_t> Score::Write() {
  for (XmPattern& p : module_.Patterns)
    for (int row = 0; row < p.Rows; ++row)
      for (int ch = 0; ch < kChannelCount; ++ch) {
        XmCell& c = p.At(row, ch);
        if (c.Instrument && !c.Effect) {
          c.Effect = 0x08;
          c.Param = kPan[ch];
        }
      }
  module_.Instruments = Band();
  module_.Restart = 0;
  return WriteXm(module_);
}

}  // namespace pondaro::assetgen
