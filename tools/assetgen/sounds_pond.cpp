// The pond and the frog: the two ambience loops, the croak, the chirp when the
// frog appears, the feeding bell, the tongue, the gulp and the splash.
#include <algorithm>
#include <cmath>
#include <vector>

#include "registry.h"
#include "sound_kit.h"
#include "synth.h"

namespace pondaro::assetgen {

namespace {

// A level that wanders without a beat: slow waves whose counts per loop are
// distinct primes, at random phases, so that no two swells come alike and the
// loop still turns without a seam (every wave ends where it began).
Curve Wandering(double loop, std::initializer_list<int> primes, Rng& rng, double depth) {
  struct Wave {
    double rate, phase, weight;
  };
  std::vector<Wave> waves;
  double total = 0;
  for (int p : primes) {
    // The slow waves barely outweigh the quick ones: no single swell leads.
    waves.push_back({p / loop, 2 * M_PI * rng.Uniform(), std::pow(p, -0.25)});
    total += std::pow(p, -0.25);
  }
  return [waves, total, depth](double t) {
    double v = 0;
    for (const Wave& w : waves) v += w.weight * std::sin(2 * M_PI * w.rate * t + w.phase);
    return 1.0 + depth * v / total;
  };
}

// Lapping water in three layers, each swelling on its own prime-counted waves: a
// low wash, mid-range laps against the leaves and a faint trickle. Made a second
// longer than the loop and crossfaded, so the noise joins cleanly too.
Samples WaterBed(double seconds, uint64_t seed) {
  const double crossfade = 1.0, total = seconds + crossfade;
  Rng rng(seed);
  Samples low = WhiteNoise(total, seed);
  LowPass2(low, Constant(380), 0.7);
  ApplyCurve(low, Wandering(seconds, {2, 3, 5, 7}, rng, 0.55));
  Samples laps = WhiteNoise(total, seed + 1);
  BandPass(laps, [w = Wandering(seconds, {3, 11}, rng, 0.3)](double t) { return 900 * w(t); }, 1.8);
  ApplyCurve(laps, [w = Wandering(seconds, {5, 13, 17}, rng, 1.6)](double t) { return std::max(0.0, w(t) - 0.6); });
  MixInto(low, laps, 0.35);
  Samples trickle = WhiteNoise(total, seed + 2);
  BandPass(trickle, [](double t) { return 1900 + 500 * std::sin(2 * M_PI * 0.37 * t); }, 1.4);
  LowPass1(trickle, 4000);
  ApplyCurve(trickle, Wandering(seconds, {7, 19, 23}, rng, 0.8));
  MixInto(low, trickle, 0.14);
  return SeamlessLoop(low, SampleCount(seconds), SampleCount(crossfade));
}

// A water drop: a quick upward "bloop".
Samples Drop(double freq) {
  Samples s = Oscillator(Shape::Sine, ExpSweep(freq, freq * 2.2, 0.035), 0.09);
  ApplyPluck(s, 0.002, 0.022);
  FadeEdges(s, 0, 0.02);
  return s;
}

// A distant bird's phrase: a few whistled chirps, dulled by distance.
Samples BirdPhrase(Rng& rng, int chirps) {
  Samples phrase;
  double at = 0;
  const double base = 2600 + 900 * rng.Uniform();
  for (int i = 0; i < chirps; ++i) {
    const double len = 0.05 + 0.05 * rng.Uniform();
    const double from = base * (0.9 + 0.25 * rng.Uniform()), to = from * (rng.Uniform() < 0.5 ? 1.35 : 0.75);
    Samples c = Oscillator(Shape::Sine, [=](double t) {
      return from + (to - from) * std::min(1.0, t / len) + 60 * std::sin(2 * M_PI * 38 * t);
    }, len);
    ApplyAdsr(c, {0.008, 0.01, 0.8, len * 0.5});
    MixInto(phrase, c, 1.0, at);
    at += len + 0.03 + 0.05 * rng.Uniform();
  }
  LowPass1(phrase, 5000);
  return phrase;
}

// A cricket: bursts of a pure high tone, three or four pulses a chirp.
Samples CricketChirp(double carrier, int pulses) {
  Samples chirp;
  for (int p = 0; p < pulses; ++p) {
    Samples pulse = Oscillator(Shape::Sine, Constant(carrier), 0.014, 0.0);
    ApplyAdsr(pulse, {0.003, 0.002, 1.0, 0.006});
    MixInto(chirp, pulse, 1.0, p * 0.024);
  }
  return chirp;
}

// A frog calling across the pond: a croak of its own pitch, dulled by distance.
Samples DistantFrog(Rng& rng) {
  const double f0 = 95 + 70 * rng.Uniform(), seconds = 0.14 + 0.1 * rng.Uniform();
  Samples voice = Oscillator(Shape::Saw, ExpSweep(f0, 0.85 * f0, seconds), seconds);
  ApplyCurve(voice, [rate = 22.0 + 10 * rng.Uniform()](double t) { return 0.55 + 0.45 * std::sin(2 * M_PI * rate * t); });
  BandPass(voice, Constant(450 + 250 * rng.Uniform()), 2.5);
  ApplyAdsr(voice, {0.02, 0.05, 0.7, seconds * 0.5});
  Samples call = voice;
  if (rng.Uniform() < 0.6) MixInto(call, voice, 0.8, seconds + 0.06);  // a second "kvak"
  LowPass1(call, 1400);
  return call;
}

// Times for `count` events spread over a loop at irregular gaps, none closer
// than `minGap` seconds.
std::vector<double> Scattered(Rng& rng, double loop, int count, double minGap) {
  std::vector<double> at;
  const double spare = loop - count * minGap;
  std::vector<double> cuts;
  for (int i = 0; i < count; ++i) cuts.push_back(spare * rng.Uniform());
  std::sort(cuts.begin(), cuts.end());
  const double start = loop * rng.Uniform();
  for (int i = 0; i < count; ++i) at.push_back(std::fmod(start + cuts[i] + i * minGap, loop));
  return at;
}

// "fon1": the pond by day: water, drips, now and then a distant bird or frog.
Samples DayPond() {
  const double length = 12.0;
  Samples loop = WaterBed(length, 31);
  Rng rng(32);
  for (double at : Scattered(rng, length, 9, 0.4))
    MixCircular(loop, Drop(480 + 620 * rng.Uniform()), 0.08 + 0.1 * rng.Uniform(), at);
  const std::vector<double> birds = Scattered(rng, length, 3, 2.5);
  MixCircular(loop, BirdPhrase(rng, 4), 0.07, birds[0]);
  MixCircular(loop, BirdPhrase(rng, 3), 0.05, birds[1]);
  MixCircular(loop, BirdPhrase(rng, 5), 0.04, birds[2]);
  for (double at : Scattered(rng, length, 2, 3.0)) MixCircular(loop, DistantFrog(rng), 0.22, at);
  return loop;
}

// "fon2": the feeding stage, dusk: two crickets, each keeping its own uneven
// pace and pausing now and then, over quieter water, drips and frogs.
Samples DuskPond() {
  const double length = 10.0;
  Samples loop = WaterBed(length, 41);
  Scale(loop, 0.6);
  Rng rng(42);
  auto cricket = [&](double carrier, int pulses, double gap, double gain) {
    for (double t = rng.Uniform() * gap; t < length - 0.2;) {
      MixCircular(loop, CricketChirp(carrier, pulses), gain * (0.75 + 0.25 * rng.Uniform()), t);
      t += gap * (0.8 + 0.45 * rng.Uniform()) + (rng.Uniform() < 0.12 ? 0.9 + rng.Uniform() : 0);
    }
  };
  cricket(4700, 4, 0.5, 0.05);
  cricket(4150, 3, 0.73, 0.03);
  for (double at : Scattered(rng, length, 5, 0.8)) MixCircular(loop, Drop(420 + 320 * rng.Uniform()), 0.07, at);
  for (double at : Scattered(rng, length, 3, 2.0)) MixCircular(loop, DistantFrog(rng), 0.3, at);
  return loop;
}

// "kvak": a two-syllable croak, "kva-ak": a buzzing voice through a frog's
// formants, rattled by the vocal sac at ~28 Hz.
Samples Croak() {
  auto syllable = [](double seconds, double f0, double f1, uint64_t seed) {
    Samples voice = Oscillator(Shape::Saw, ExpSweep(f0, f1, seconds), seconds);
    ApplyCurve(voice, [](double t) { return 0.55 + 0.45 * std::sin(2 * M_PI * 28 * t); });
    Samples a = voice, b = voice;
    BandPass(a, ExpSweep(520, 700, seconds * 0.5), 3.0);
    BandPass(b, Constant(1250), 4.0);
    MixInto(a, b, 0.6);
    ApplyAdsr(a, {0.012, 0.05, 0.75, seconds * 0.45});
    MixInto(a, NoiseBurst(0.02, seed, 2200, 1.2, 0.004), 0.5);  // the "k"
    return a;
  };
  Samples s = syllable(0.16, 150, 128, 51);
  MixInto(s, syllable(0.2, 138, 108, 52), 0.9, 0.19);
  LowPass1(s, 4000);
  return s;
}

// "frog_bir": a pop and a cheerful two-note whistle, "bi-rip!".
Samples Chirp() {
  Samples pop = Oscillator(Shape::Sine, ExpSweep(320, 900, 0.05), 0.08);
  ApplyPluck(pop, 0.002, 0.025);
  auto whistle = [](double from, double to, double seconds) {
    Samples w = Oscillator(Shape::Triangle, [=](double t) {
      return from * std::pow(to / from, std::min(1.0, t / (seconds * 0.7))) * (1 + 0.02 * std::sin(2 * M_PI * 32 * t));
    }, seconds);
    ApplyAdsr(w, {0.006, 0.02, 0.8, seconds * 0.4});
    return w;
  };
  Samples s = pop;
  MixInto(s, whistle(1100, 1650, 0.08), 0.7, 0.05);
  MixInto(s, whistle(1300, 2300, 0.14), 0.8, 0.15);
  LowPass1(s, 7000);
  return s;
}

// "bell": a small clear bell, E6, left to ring until the fade.
Samples FeedingBell() {
  Samples s = Bell(1318.51, 0.58, 0.28);
  MixInto(s, Bell(659.26, 0.58, 0.22), 0.25);  // a soft lower body
  FadeEdges(s, 0, 0.12);
  return s;
}

// "iazik": a tiny wet flick, 70 ms; played every tick the fire key is held.
Samples TongueFlick() {
  Samples s = WhiteNoise(0.07, 61);
  BandPass(s, ExpSweep(1400, 4200, 0.04), 2.0);
  ApplyPluck(s, 0.003, 0.016);
  Samples blip = Oscillator(Shape::Sine, ExpSweep(600, 1500, 0.03), 0.07);
  ApplyPluck(blip, 0.002, 0.014);
  MixInto(s, blip, 0.6);
  return s;
}

// "food": a gulp: a falling "glup" and a smaller one after it.
Samples Gulp() {
  auto glup = [](double from, double to, double seconds) {
    Samples g = Oscillator(Shape::Triangle, ExpSweep(from, to, seconds * 0.8), seconds);
    LowPass2(g, ExpSweep(1800, 600, seconds), 1.6);
    ApplyAdsr(g, {0.006, 0.03, 0.7, seconds * 0.5});
    return g;
  };
  Samples s = glup(420, 170, 0.13);
  MixInto(s, glup(300, 190, 0.1), 0.6, 0.13);
  Samples thump = Oscillator(Shape::Sine, ExpSweep(140, 70, 0.05), 0.09);
  ApplyPluck(thump, 0.002, 0.03);
  MixInto(s, thump, 0.5, 0.01);
  return s;
}

// "brizg": a splash: a hiss that darkens as it falls, a low plunk, droplets.
Samples Splash() {
  Samples s = WhiteNoise(0.55, 71);
  LowPass2(s, ExpSweep(7000, 900, 0.35), 0.9);
  ApplyPluck(s, 0.004, 0.11);
  Samples plunk = Oscillator(Shape::Sine, ExpSweep(190, 85, 0.08), 0.2);
  ApplyPluck(plunk, 0.002, 0.06);
  MixInto(s, plunk, 0.8);
  Rng rng(72);
  for (int i = 0; i < 9; ++i) {
    const double at = 0.06 + 0.4 * rng.Uniform();
    MixInto(s, Drop(700 + 1200 * rng.Uniform()), 0.35 * (1.0 - at / 0.55), at);
  }
  s.resize(SampleCount(0.55));
  return s;
}

}  // namespace

void AddPondSounds(Assets& assets) {
  assets.Sound("fon1", FinishLoop(DayPond(), level::kAmbience), true, 1);
  assets.Sound("fon2", FinishLoop(DuskPond(), level::kAmbience), true, 1);
  assets.Sound("kvak", FinishEffect(Croak(), level::kEffect), false, 2);
  assets.Sound("frog_bir", FinishEffect(Chirp(), level::kEffect), false, 1);
  assets.Sound("bell", FinishEffect(FeedingBell(), level::kAccent), false, 1);
  assets.Sound("iazik", FinishEffect(TongueFlick(), level::kTiny), false, 3);
  assets.Sound("food", FinishEffect(Gulp(), level::kEffect), false, 2);
  assets.Sound("brizg", FinishEffect(Splash(), level::kEffect), false, 3);
}

ASSETGEN_MODULE(AddPondSounds);

}  // namespace pondaro::assetgen
