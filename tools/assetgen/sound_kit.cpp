#include "sound_kit.h"

#include <algorithm>
#include <cmath>

namespace pondaro::assetgen {

Samples Mallet(double freq, double seconds, double decay) {
  Samples s = Oscillator(Shape::Sine, Constant(freq), seconds);
  ApplyPluck(s, 0.002, decay);
  Samples over = Oscillator(Shape::Sine, Constant(freq * 3.93), seconds, 0.25);
  ApplyPluck(over, 0.001, decay * 0.22);
  MixInto(s, over, 0.35);
  Samples body = Oscillator(Shape::Triangle, Constant(freq * 0.5), seconds);
  ApplyPluck(body, 0.003, decay * 0.6);
  MixInto(s, body, 0.18);
  FadeEdges(s, 0, std::min(0.03, seconds / 3));
  return s;
}

Samples Bell(double freq, double seconds, double decay) {
  // Partial ratio, level, decay share. The pair near 1 beats slowly, which is
  // what makes a bell shimmer instead of beeping.
  struct Partial {
    double ratio, gain, decay;
  };
  static const Partial kPartials[] = {{1.0, 1.0, 1.0},   {1.0027, 0.5, 0.9}, {2.0, 0.45, 0.7},
                                      {2.76, 0.3, 0.45}, {4.07, 0.18, 0.3},  {5.4, 0.12, 0.2}};
  Samples s(SampleCount(seconds), 0.0f);
  double phase = 0.1;
  for (const Partial& p : kPartials) {
    Samples partial = Oscillator(Shape::Sine, Constant(freq * p.ratio), seconds, phase);
    ApplyPluck(partial, 0.0008, decay * p.decay);
    MixInto(s, partial, p.gain);
    phase += 0.37;
  }
  Samples strike = NoiseBurst(0.02, 77, freq * 4, 1.5, 0.003);
  MixInto(s, strike, 0.25);
  return s;
}

Samples NoiseBurst(double seconds, uint64_t seed, double centre, double q, double decay) {
  Samples s = WhiteNoise(seconds, seed);
  BandPass(s, Constant(centre), q);
  ApplyPluck(s, 0.001, decay);
  return s;
}

std::vector<uint8_t> FinishEffect(Samples s, double rmsDb) {
  FadeEdges(s, 0.0015, 0.015);
  NormalizeLoudness(s, rmsDb, -1.0);
  return EncodeWav(s);
}

std::vector<uint8_t> FinishLoop(Samples loop, double rmsDb) {
  NormalizeLoudness(loop, rmsDb, -1.0);
  return EncodeWav(loop);
}

void MixCircular(Samples& loop, const Samples& src, double gain, double offset) {
  if (loop.empty()) return;
  const size_t at = SampleCount(offset);
  for (size_t i = 0; i < src.size(); ++i) loop[(at + i) % loop.size()] += static_cast<float>(src[i] * gain);
}

Samples SecondPeriod(const Samples& twoPeriods, double seconds) {
  const size_t n = SampleCount(seconds);
  return Samples(twoPeriods.begin() + static_cast<std::ptrdiff_t>(n),
                 twoPeriods.begin() + static_cast<std::ptrdiff_t>(std::min(2 * n, twoPeriods.size())));
}

std::vector<int16_t> ToPcm16(const Samples& s) {
  std::vector<int16_t> out(s.size());
  for (size_t i = 0; i < s.size(); ++i)
    out[i] = static_cast<int16_t>(std::lround(std::clamp(static_cast<double>(s[i]), -1.0, 1.0) * 32767.0));
  return out;
}

}  // namespace pondaro::assetgen
