// Rewards and the energy bottle: the coin, the extra-life jingle, and the
// rising and falling blips. Bright mallet and bell tones, in the songs' key of C.
#include <cmath>

#include "registry.h"
#include "sound_kit.h"
#include "synth.h"

namespace pondaro::assetgen {

namespace {

// "dollar": the classic two-step coin, B5 then a ringing E6, with a bell's shimmer.
Samples Coin() {
  auto note = [](double freq, double seconds, double decay) {
    Samples n = Oscillator(Shape::Square, Constant(freq), seconds);
    LowPass2(n, Constant(freq * 3.5), 0.8);
    ApplyPluck(n, 0.001, decay);
    MixInto(n, Bell(freq * 2, seconds, decay * 0.8), 0.25);
    return n;
  };
  Samples s = note(987.77, 0.075, 0.05);
  FadeEdges(s, 0, 0.01);
  MixInto(s, note(1318.51, 0.34, 0.12), 1.0, 0.07);
  return s;
}

// "life": an upward arpeggio C-E-G-C, the last note ringing; under 0.6 s.
Samples ExtraLife() {
  const double notes[] = {523.25, 659.26, 783.99, 1046.5};
  Samples s;
  for (int i = 0; i < 4; ++i) {
    const bool last = i == 3;
    const double len = last ? 0.36 : 0.16;
    Samples n = Mallet(notes[i], len, last ? 0.14 : 0.07);
    MixInto(n, Bell(notes[i] * 2, len, last ? 0.12 : 0.05), 0.3);
    MixInto(s, n, last ? 1.0 : 0.85, i * 0.065);
  }
  s.resize(SampleCount(0.58));
  FadeEdges(s, 0, 0.08);
  return s;
}

// "bottle_up" / "bottle_down": a rounded blip gliding a fifth and more, with a
// bubble's wobble.
Samples Blip(double from, double to) {
  const double seconds = 0.17;
  Samples s = Oscillator(Shape::SoftSquare, [=](double t) {
    return from * std::pow(to / from, std::min(1.0, t / 0.12)) * (1 + 0.03 * std::sin(2 * M_PI * 24 * t));
  }, seconds);
  LowPass2(s, Constant(3200), 0.8);
  ApplyAdsr(s, {0.006, 0.04, 0.6, 0.07});
  Samples sine = Oscillator(Shape::Sine, ExpSweep(from * 2, to * 2, 0.12), seconds);
  ApplyPluck(sine, 0.004, 0.04);
  MixInto(s, sine, 0.25);
  return s;
}

}  // namespace

void AddPickupSounds(Assets& assets) {
  assets.Sound("dollar", FinishEffect(Coin(), level::kEffect), false, 2);
  assets.Sound("life", FinishEffect(ExtraLife(), level::kAccent), false, 1);
  assets.Sound("bottle_up", FinishEffect(Blip(392, 1046.5), level::kSoft), false, 2);
  assets.Sound("bottle_down", FinishEffect(Blip(1046.5, 392), level::kSoft), false, 2);
}

ASSETGEN_MODULE(AddPickupSounds);

}  // namespace pondaro::assetgen
