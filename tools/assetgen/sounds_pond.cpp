// The pond and the frog: the two ambience loops, the croak, the chirp when the
// frog appears, the feeding bell, the tongue, the gulp and the splash.
#include <algorithm>
#include <cmath>

#include "registry.h"
#include "sound_kit.h"
#include "synth.h"

namespace pondaro::assetgen {

namespace {

// Lapping water: low noise whose level swells slowly, plus a faint trickle.
// Made a second longer than the loop and crossfaded, so noise joins cleanly.
Samples WaterBed(double seconds, uint64_t seed, double lapRate) {
  const double crossfade = 1.0;
  Samples low = WhiteNoise(seconds + crossfade, seed);
  LowPass2(low, Constant(380), 0.7);
  ApplyCurve(low, [lapRate](double t) {
    return 0.55 + 0.25 * std::sin(2 * M_PI * lapRate * t) + 0.2 * std::sin(2 * M_PI * lapRate * 2.7 * t + 1.3);
  });
  Samples trickle = WhiteNoise(seconds + crossfade, seed + 1);
  BandPass(trickle, [](double t) { return 1900 + 500 * std::sin(2 * M_PI * 0.37 * t); }, 1.4);
  LowPass1(trickle, 4000);
  // Unrelated slow rates, so the trickle never settles into a beat.
  ApplyCurve(trickle, [](double t) {
    return 0.5 + 0.3 * std::sin(2 * M_PI * 0.71 * t) + 0.2 * std::sin(2 * M_PI * 1.33 * t + 2.0);
  });
  MixInto(low, trickle, 0.16);
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

// "fon1": the pond by day: water, drops, now and then a distant bird.
Samples DayPond() {
  const double length = 8.0;
  Samples loop = WaterBed(length, 31, 0.25);  // lap rate: two swells a loop
  Rng rng(32);
  for (int i = 0; i < 7; ++i)
    MixCircular(loop, Drop(520 + 500 * rng.Uniform()), 0.10 + 0.08 * rng.Uniform(), length * (i + rng.Uniform()) / 7);
  MixCircular(loop, BirdPhrase(rng, 4), 0.07, 1.3);
  MixCircular(loop, BirdPhrase(rng, 3), 0.05, 5.6);
  return loop;
}

// "fon2": the feeding stage, dusk: two crickets at their own pace over quieter water.
Samples DuskPond() {
  const double length = 6.0;
  Samples loop = WaterBed(length, 41, 1.0 / 3.0);
  Scale(loop, 0.6);
  Rng rng(42);
  // Each keeps its pace, but not like a metronome.
  for (int i = 0; i < 12; ++i) MixCircular(loop, CricketChirp(4700, 4), 0.05, i * 0.5 + 0.04 * rng.Bipolar());
  for (int i = 0; i < 8; ++i) MixCircular(loop, CricketChirp(4150, 3), 0.03, 0.21 + i * 0.75 + 0.06 * rng.Bipolar());
  for (int i = 0; i < 3; ++i) MixCircular(loop, Drop(450 + 300 * rng.Uniform()), 0.08, 0.7 + 2 * i + rng.Uniform());
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
