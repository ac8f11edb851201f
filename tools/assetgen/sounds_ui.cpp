// Menu and pause sounds: a soft hover tick, a watery click, and the two-tone
// pause and resume chimes. Wooden-mallet tones suit the pond better than beeps.
#include <algorithm>
#include <cmath>

#include "registry.h"
#include "sound_kit.h"
#include "synth.h"

namespace pondaro::assetgen {

namespace {

// Every UI sound is finished the same way so none of them jumps out.
std::vector<uint8_t> Finish(Samples s, double rmsDb) {
  FadeEdges(s, 0.0015, 0.012);
  NormalizeLoudness(s, rmsDb, -1.0);
  return EncodeWav(s);
}

// Hover: a tiny, high wooden tick with a breath of noise on the attack.
Samples HoverTick() {
  Samples s = Mallet(1568, 0.07, 0.014);
  Samples tick = WhiteNoise(0.012, 101);
  BandPass(tick, Constant(5200), 1.2);
  ApplyPluck(tick, 0.0005, 0.0025);
  MixInto(s, tick, 0.5);
  return s;
}

// Click: a water drop's "bloop" (a fast upward sweep) over a short low knock.
Samples Click() {
  Samples drop = Oscillator(Shape::Sine, ExpSweep(420, 1150, 0.055), 0.16);
  ApplyPluck(drop, 0.002, 0.035);
  Samples knock = Oscillator(Shape::Sine, ExpSweep(240, 150, 0.04), 0.08);
  ApplyPluck(knock, 0.001, 0.018);
  FadeEdges(knock, 0, 0.02);
  Samples tick = WhiteNoise(0.01, 202);
  BandPass(tick, Constant(3000), 1.0);
  ApplyPluck(tick, 0.0003, 0.002);
  Samples s = drop;
  MixInto(s, knock, 0.7);
  MixInto(s, tick, 0.35);
  return s;
}

// Two mallet notes a fifth apart, the second a little softer and longer.
Samples TwoTone(double first, double second) {
  Samples s = Mallet(first, 0.2, 0.07);
  Samples b = Mallet(second, 0.34, 0.11);
  MixInto(s, b, 0.85, 0.15);
  LowPass1(s, 6000);
  return s;
}

}  // namespace

void AddUiSounds(Assets& assets) {
  const int copies = 2;
  assets.Sound("button_up", Finish(HoverTick(), -22), false, copies);
  assets.Sound("button_down", Finish(Click(), -17), false, copies);
  assets.Sound("pause", Finish(TwoTone(783.99, 523.25), -17), false, copies);        // G5 down to C5
  assets.Sound("after_pause", Finish(TwoTone(523.25, 783.99), -17), false, copies);  // C5 up to G5
}

ASSETGEN_MODULE(AddUiSounds);

}  // namespace pondaro::assetgen
