// The pond's creatures: each insect's looped flight buzz, the hunter lily's
// snap, the crocodile's chomp and the stork's strike.
//
// A buzz moves as the insect flies about: its pitch drifts a little (Doppler,
// effort), and its level and brightness rise as it comes near and fall as it
// turns away, on a few slow waves of its own; its wings beat unevenly, a rough
// flutter of the level. It loops every two seconds without a seam: the
// wingbeat is a whole number of hertz and every wave a whole number of cycles a
// loop, so the tone comes back to its starting phase; it is made twice as long
// and the second half kept, by when the filters have settled into the cycle.
#include <cmath>
#include <vector>

#include "registry.h"
#include "sound_kit.h"
#include "synth.h"

namespace pondaro::assetgen {

namespace {

constexpr double kBuzzLoop = 2.0;

struct Wings {
  int Beat;            // wingbeat, Hz: smaller insects beat faster, so sound higher
  Shape Tone;          // brighter shapes sound buzzier, sines thinner
  double Drift;        // how far the pitch wanders, a fraction of the wingbeat
  double Vibrato;      // Hz of a quick pitch wobble either side
  int VibratoRate;     // wobbles a second
  double Swell;        // how much the level follows the wandering
  double Flutter;      // depth of the wings' uneven flutter (0 for none)
  int FlutterRate;     // its main rate, Hz
  double Cutoff;       // low-pass, Hz: what is left of the upper partials
  double Body;         // level of a formant that gives bigger insects their body
  double BodyFreq;
  uint64_t Seed;       // each kind wanders its own way
};

// -1..1, slow: waves of 1, 2, 3 and 5 cycles a loop at the kind's own phases.
std::function<double(double)> Wander(uint64_t seed) {
  Rng rng(seed * 0x9E3779B97F4A7C15ull);  // small seeds would start alike
  std::vector<std::pair<int, double>> waves;
  for (int k : {1, 2, 3, 5}) waves.push_back({k, 2 * M_PI * rng.Uniform()});
  return [waves](double t) {
    double v = 0, total = 0;
    for (auto [k, phase] : waves) {
      v += std::sin(2 * M_PI * k * t / kBuzzLoop + phase) / k;
      total += 1.0 / k;
    }
    return v / total * 1.6;  // the sum seldom nears its bound
  };
}

Samples Buzz(const Wings& w) {
  const double two = 2 * kBuzzLoop;
  const auto wander = Wander(w.Seed);
  const auto pitch = [&](double t) {
    return w.Beat * (1 + w.Drift * wander(t)) + w.Vibrato * std::sin(2 * M_PI * w.VibratoRate * t);
  };
  Samples s = Oscillator(w.Tone, pitch, two);
  // A quieter octave below on the bigger wings makes the buzz fuller.
  if (w.Body > 0) {
    Samples under = Oscillator(Shape::SoftSquare, [&](double t) { return 0.5 * pitch(t); }, two, 0.25);
    MixInto(s, under, 0.35 * w.Body);
    Samples formant = s;
    BandPass(formant, Constant(w.BodyFreq), 2.0);
    MixInto(s, formant, w.Body);
  }
  // Nearer is brighter as well as louder.
  LowPass2(s, [&](double t) { return w.Cutoff * (1 + 0.3 * wander(t)); }, 0.8);
  HighPass1(s, 80);
  ApplyCurve(s, [&](double t) {
    double level = 1.0 + w.Swell * wander(t);
    if (w.Flutter > 0) {
      const double rough = 0.6 * std::sin(2 * M_PI * w.FlutterRate * t) +
                           0.4 * std::sin(2 * M_PI * (w.FlutterRate + 6.5) * t + 1.1);
      level *= 1.0 - w.Flutter * (0.5 + 0.5 * rough);
    }
    return std::max(0.05, level);
  });
  return SecondPeriod(s, kBuzzLoop);
}

// Midge: the smallest and highest, a thin whine that wanders most.
const Wings kMidge = {720, Shape::Triangle, 0.035, 10, 7, 0.45, 0.15, 29, 3800, 0, 0, 11};
// Mosquito: a nasal whine just below it.
const Wings kMosquito = {560, Shape::Saw, 0.03, 8, 5, 0.4, 0.12, 37, 2600, 0, 0, 12};
// Fly: the familiar buzz, in fits and starts.
const Wings kFly = {230, Shape::Saw, 0.045, 6, 3, 0.45, 0.3, 23, 2400, 0.4, 900, 13};
// Water strider: a soft, fluttering hum, close to the water and steady.
const Wings kStrider = {184, Shape::SoftSquare, 0.02, 4, 2, 0.3, 0.55, 19, 1500, 0.5, 600, 14};
// Bee: the biggest, lowest and fullest.
const Wings kBee = {150, Shape::Saw, 0.03, 3, 2, 0.35, 0.18, 31, 2200, 1.0, 480, 15};

// "kuv_eat": the hunter lily snaps shut on the frog: a wet slap and a woody clack.
Samples LilySnap() {
  Samples s = NoiseBurst(0.3, 81, 2600, 1.2, 0.012);
  Samples knock = Oscillator(Shape::Sine, ExpSweep(330, 170, 0.05), 0.12);
  ApplyPluck(knock, 0.001, 0.035);
  MixInto(s, knock, 0.9);
  MixInto(s, NoiseBurst(0.05, 82, 3400, 2.0, 0.006), 0.7, 0.045);  // the petals meet
  Samples squelch = WhiteNoise(0.22, 83);
  BandPass(squelch, ExpSweep(1300, 380, 0.18), 2.5);
  ApplyAdsr(squelch, {0.015, 0.05, 0.5, 0.12});
  MixInto(s, squelch, 0.8, 0.05);
  s.resize(SampleCount(0.3));
  return s;
}

// "kroco": the crocodile's jaws: a deep thud, teeth clacking, a short growl.
Samples CrocodileChomp() {
  Samples s = Oscillator(Shape::Sine, ExpSweep(120, 42, 0.12), 0.5);
  ApplyPluck(s, 0.002, 0.12);
  MixInto(s, NoiseBurst(0.05, 91, 3300, 1.6, 0.008), 0.9);
  MixInto(s, NoiseBurst(0.05, 92, 2700, 1.6, 0.008), 0.6, 0.035);
  Samples growl = Oscillator(Shape::Saw, ExpSweep(78, 62, 0.35), 0.4);
  ApplyCurve(growl, [](double t) { return 0.6 + 0.4 * std::sin(2 * M_PI * 31 * t); });
  LowPass2(growl, Constant(650), 1.2);
  ApplyAdsr(growl, {0.03, 0.08, 0.6, 0.2});
  MixInto(s, growl, 0.55, 0.06);
  s.resize(SampleCount(0.5));
  return s;
}

// "aist_eat": the stork's strike: a swoosh of the neck, then the beak clacks twice.
Samples StorkStrike() {
  Samples swoosh = WhiteNoise(0.2, 101);
  BandPass(swoosh, ExpSweep(700, 3200, 0.17), 1.5);
  ApplyCurve(swoosh, [](double t) { return std::pow(std::min(1.0, t / 0.16), 2.0); });
  FadeEdges(swoosh, 0, 0.03);
  auto clack = [](uint64_t seed) {
    Samples c = Oscillator(Shape::Sine, Constant(1450), 0.08);
    ApplyPluck(c, 0.0005, 0.014);
    Samples over = Oscillator(Shape::Sine, Constant(1450 * 2.7), 0.08);
    ApplyPluck(over, 0.0005, 0.006);
    MixInto(c, over, 0.5);
    MixInto(c, NoiseBurst(0.02, seed, 4000, 1.0, 0.002), 0.6);
    return c;
  };
  Samples s = swoosh;
  MixInto(s, clack(102), 1.0, 0.17);
  MixInto(s, clack(103), 0.7, 0.215);
  return s;
}

}  // namespace

void AddCreatureSounds(Assets& assets) {
  assets.Sound("mushka", FinishLoop(Buzz(kMidge), level::kBuzz - 2), true, 1);
  assets.Sound("komar", FinishLoop(Buzz(kMosquito), level::kBuzz - 1), true, 1);
  assets.Sound("muha", FinishLoop(Buzz(kFly), level::kBuzz), true, 1);
  assets.Sound("vodomerka", FinishLoop(Buzz(kStrider), level::kBuzz), true, 1);
  assets.Sound("pchel", FinishLoop(Buzz(kBee), level::kBuzz), true, 1);
  assets.Sound("kuv_eat", FinishEffect(LilySnap(), level::kAccent), false, 2);
  assets.Sound("kroco", FinishEffect(CrocodileChomp(), level::kAccent), false, 2);
  assets.Sound("aist_eat", FinishEffect(StorkStrike(), level::kAccent), false, 2);
}

ASSETGEN_MODULE(AddCreatureSounds);

}  // namespace pondaro::assetgen
