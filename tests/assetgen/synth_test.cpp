// The sound synthesiser's pure maths: WAV bytes, loudness, loops, filters.
// The synthesiser is part of the asset generator, not of the game's libraries,
// so its source is compiled into the tests here (it needs nothing but the
// standard library).
#include "synth.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace pondaro::assetgen {
namespace {

uint32_t U32At(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
int16_t SampleAt(const std::vector<uint8_t>& b, size_t i) {
  return static_cast<int16_t>(b[44 + 2 * i] | (b[45 + 2 * i] << 8));
}

TEST(Synth, WavHeaderAndSamplesAreLittleEndian16BitMono) {
  const Samples s = {0.0f, 1.0f, -1.0f, 2.0f, -3.0f, 0.5f};
  const auto wav = EncodeWav(s, 22050);
  ASSERT_EQ(wav.size(), 44u + 2 * s.size());
  EXPECT_EQ(std::memcmp(wav.data(), "RIFF", 4), 0);
  EXPECT_EQ(U32At(wav, 4), wav.size() - 8);
  EXPECT_EQ(std::memcmp(wav.data() + 8, "WAVEfmt ", 8), 0);
  EXPECT_EQ(U32At(wav, 16), 16u);
  EXPECT_EQ(wav[20] | (wav[21] << 8), 1);  // PCM
  EXPECT_EQ(wav[22] | (wav[23] << 8), 1);  // mono
  EXPECT_EQ(U32At(wav, 24), 22050u);
  EXPECT_EQ(U32At(wav, 28), 22050u * 2);
  EXPECT_EQ(wav[32] | (wav[33] << 8), 2);
  EXPECT_EQ(wav[34] | (wav[35] << 8), 16);
  EXPECT_EQ(std::memcmp(wav.data() + 36, "data", 4), 0);
  EXPECT_EQ(U32At(wav, 40), 2 * s.size());
  EXPECT_EQ(SampleAt(wav, 0), 0);
  EXPECT_EQ(SampleAt(wav, 1), 32767);
  EXPECT_EQ(SampleAt(wav, 2), -32767);
  EXPECT_EQ(SampleAt(wav, 3), 32767);   // clipped, not wrapped round
  EXPECT_EQ(SampleAt(wav, 4), -32767);
  EXPECT_EQ(SampleAt(wav, 5), 16384);
}

TEST(Synth, NoiseIsReproducibleAndSeedDependent) {
  EXPECT_EQ(WhiteNoise(0.1, 42), WhiteNoise(0.1, 42));
  EXPECT_NE(WhiteNoise(0.1, 42), WhiteNoise(0.1, 43));
  const Samples n = WhiteNoise(1.0, 5);
  EXPECT_LE(Peak(n), 1.0);
  EXPECT_NEAR(Rms(n), 1.0 / std::sqrt(3.0), 0.01);  // uniform in -1..1
}

TEST(Synth, OscillatorsHoldPitchAndLevel) {
  const Samples sine = Oscillator(Shape::Sine, Constant(441), 1.0);
  int crossings = 0;
  for (size_t i = 1; i < sine.size(); ++i) crossings += (sine[i - 1] < 0) != (sine[i] < 0);
  EXPECT_NEAR(crossings, 882, 2);
  // Band-limiting only rounds the corners: a high square stays near +-1.
  for (Shape shape : {Shape::Square, Shape::Saw, Shape::SoftSquare, Shape::Triangle}) {
    const Samples s = Oscillator(shape, ExpSweep(100, 8000, 0.5), 0.5);
    EXPECT_LE(Peak(s), 1.3);
    EXPECT_GT(Rms(s), 0.4);
  }
}

TEST(Synth, LoudnessHitsTheTargetButNeverThePeakCeiling) {
  Samples tone = Oscillator(Shape::Sine, Constant(500), 0.3);
  NormalizeLoudness(tone, -20, -1);
  EXPECT_NEAR(GainToDb(WindowRms(tone, 0.05)), -20, 0.1);

  // A lone spike would reach full scale at that loudness: the ceiling wins.
  Samples spike(4410, 0.0f);
  spike[100] = 0.1f;
  NormalizeLoudness(spike, -10, -1);
  EXPECT_NEAR(GainToDb(Peak(spike)), -1, 0.01);
}

TEST(Synth, FadesLeaveNoClickAtEitherEnd) {
  Samples s = Oscillator(Shape::Square, Constant(300), 0.2);
  FadeEdges(s, 0.005, 0.01);
  EXPECT_NEAR(s.front(), 0.0, 1e-6);
  EXPECT_NEAR(s.back(), 0.0, 0.01);
  EXPECT_GT(Peak(s), 0.9);
}

// The jump from a loop's last sample back to its first must look like any
// other step in the sound, for tones and for noise alike.
double LargestStep(const Samples& s) {
  double m = 0;
  for (size_t i = 1; i < s.size(); ++i) m = std::max(m, std::abs(double(s[i]) - s[i - 1]));
  return m;
}

TEST(Synth, SeamlessLoopJoinsEndToStart) {
  // 1000.5 periods of a tone would click badly when looped as it is.
  const size_t length = 44100;
  const Samples tone = Oscillator(Shape::Sine, Constant(1000.5), 1.5);
  EXPECT_GT(std::abs(double(tone[length - 1]) - tone[0]), 0.1);
  const Samples loop = SeamlessLoop(tone, length, 4410);
  ASSERT_EQ(loop.size(), length);
  EXPECT_LE(std::abs(double(loop.back()) - loop.front()), LargestStep(tone) * 1.05);
  for (size_t i = 4410; i < length; ++i) ASSERT_EQ(loop[i], tone[i]);

  Samples rumble = WhiteNoise(3.0, 9);
  LowPass1(rumble, 300);
  const Samples water = SeamlessLoop(rumble, 2 * 44100, 22050);
  EXPECT_LE(std::abs(double(water.back()) - water.front()), LargestStep(rumble));
  // Equal-power crossfade: the level does not sag in the middle of the join.
  const Samples mid(water.begin() + 8000, water.begin() + 14000);
  EXPECT_GT(Rms(mid), 0.8 * Rms(rumble));
}

TEST(Synth, FiltersPassTheirBandAndCutTheRest) {
  auto levelAfter = [](double freq, auto filter) {
    Samples s = Oscillator(Shape::Sine, Constant(freq), 0.5);
    filter(s);
    return Rms(Samples(s.begin() + 11025, s.end())) * std::sqrt(2.0);
  };
  auto band = [](Samples& s) { BandPass(s, Constant(1000), 2.0); };
  EXPECT_NEAR(levelAfter(1000, band), 1.0, 0.05);
  EXPECT_LT(levelAfter(100, band), 0.1);
  EXPECT_LT(levelAfter(8000, band), 0.1);
  auto low = [](Samples& s) { LowPass1(s, 500); };
  EXPECT_GT(levelAfter(50, low), 0.95);
  EXPECT_LT(levelAfter(8000, low), 0.1);
  auto high = [](Samples& s) { HighPass1(s, 500); };
  EXPECT_LT(levelAfter(30, high), 0.1);
  EXPECT_GT(levelAfter(8000, high), 0.95);
  auto low2 = [](Samples& s) { LowPass2(s, Constant(1000), 0.707); };
  EXPECT_GT(levelAfter(100, low2), 0.95);
  EXPECT_LT(levelAfter(8000, low2), 0.03);
}

}  // namespace
}  // namespace pondaro::assetgen
