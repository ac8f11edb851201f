// A small synthesiser for the game's sound effects: oscillators, seeded noise,
// envelopes, filters, mixing, loudness normalisation, seamless loops and the
// 16-bit mono RIFF WAV writer. Samples are floats in -1..1; time is in seconds.
// Everything is deterministic: noise comes from an explicitly seeded generator.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace pondaro::assetgen {

using Samples = std::vector<float>;
constexpr int kRate = 44100;

size_t SampleCount(double seconds, int rate = kRate);
double DbToGain(double db);
double GainToDb(double gain);

// xorshift64*: small, fast and the same on every machine.
class Rng {
 public:
  explicit Rng(uint64_t seed) : s_(seed ? seed : 0x9E3779B97F4A7C15ull) {}
  uint32_t Next();
  double Uniform();  // [0, 1)
  double Bipolar();  // [-1, 1)

 private:
  uint64_t s_;
};

// A value that changes over time (frequency, cutoff, level).
using Curve = std::function<double(double t)>;
Curve Constant(double v);
// Exponential glide from `from` to `to` over `seconds`, then held.
Curve ExpSweep(double from, double to, double seconds);
Curve LinSweep(double from, double to, double seconds);

enum class Shape {
  Sine,
  Triangle,
  Square,      // band-limited (PolyBLEP)
  Saw,         // band-limited (PolyBLEP)
  SoftSquare,  // a rounded square: tanh of a sine, few upper partials
};
// One oscillator following the frequency curve, starting at `phase` (0..1).
Samples Oscillator(Shape shape, const Curve& freq, double seconds, double phase = 0, int rate = kRate);
Samples WhiteNoise(double seconds, uint64_t seed, int rate = kRate);

// Attack, decay to the sustain level, hold, then release over the last `release`
// seconds of the sound; every segment is a smooth (raised-cosine) ramp.
struct Adsr {
  double Attack = 0.005, Decay = 0.05, Sustain = 0.7, Release = 0.05;
};
void ApplyAdsr(Samples& s, const Adsr& env, int rate = kRate);
// A short linear attack followed by an exponential decay (plucks, bells, ticks).
void ApplyPluck(Samples& s, double attack, double decayTime, int rate = kRate);
// Multiplies by a level curve.
void ApplyCurve(Samples& s, const Curve& level, int rate = kRate);
// Short raised-cosine fades at both ends so the sound starts and stops without a click.
void FadeEdges(Samples& s, double fadeIn, double fadeOut, int rate = kRate);

// Filters, in place.
void LowPass1(Samples& s, double cutoff, int rate = kRate);
void HighPass1(Samples& s, double cutoff, int rate = kRate);
// Resonant filters (RBJ biquads); q around 0.7 is flat, higher rings.
void LowPass2(Samples& s, const Curve& cutoff, double q, int rate = kRate);
void BandPass(Samples& s, const Curve& centre, double q, int rate = kRate);

// A small room: the sound's own echoes, dense and darkening, dying away by 60 dB
// over `seconds` (four damped combs into two all-passes), mixed in at `wet`.
// The sound grows by the tail's length; the first echo comes 30 ms in.
void Room(Samples& s, double seconds, double wet, int rate = kRate);

// Mixing and levels.
void Scale(Samples& s, double gain);
// Adds src * gain into dst from `offset` seconds on, growing dst when needed.
void MixInto(Samples& dst, const Samples& src, double gain = 1.0, double offset = 0, int rate = kRate);
double Peak(const Samples& s);
double Rms(const Samples& s);
// The RMS of the loudest window: a loudness that treats short and long sounds alike.
double WindowRms(const Samples& s, double window, int rate = kRate);
// Scales the loudest `window` to targetRmsDb, then lowers it if needed so the
// peak stays at or below peakDb (dBFS).
void NormalizeLoudness(Samples& s, double targetRmsDb, double peakDb = -1.0, double window = 0.05,
                       int rate = kRate);

// The first `length` samples of src made to loop: the `crossfade` samples after
// `length` are faded into the start (equal power), so the last sample leads on
// to the first just as src itself would go on. src needs length + crossfade samples.
Samples SeamlessLoop(const Samples& src, size_t length, size_t crossfade);

// A RIFF WAV file: 16-bit signed PCM, mono.
std::vector<uint8_t> EncodeWav(const Samples& s, int rate = kRate);

}  // namespace pondaro::assetgen
