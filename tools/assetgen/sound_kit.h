// Voices and finishing shared by the game's sound effects and the songs'
// instruments, so a coin, a jingle and the menu theme's marimba sound related.
#pragma once
#include <cstdint>
#include <vector>

#include "synth.h"

namespace pondaro::assetgen {

// Loudness of the loudest 50 ms window, dBFS. One table for the whole set so no
// effect jumps out; the ambience and buzzes run under everything, so sit lower.
namespace level {
constexpr double kAccent = -16;    // bell, jingle, chomps: events the player must notice
constexpr double kEffect = -18;    // most effects
constexpr double kSoft = -22;      // small, frequent effects
constexpr double kTiny = -26;      // the tongue, repeated every tick while fire is held
constexpr double kBuzz = -28;      // insects' flight, looped while they fly
constexpr double kAmbience = -31;  // the pond's bed of sound
}  // namespace level

// A marimba-like bar: the fundamental, the bar's tuned fourth partial that gives
// the wooden attack, and a soft body an octave down.
Samples Mallet(double freq, double seconds, double decay);
// A small struck bell: inharmonic partials, the high ones dying first.
Samples Bell(double freq, double seconds, double decay);
// Filtered noise with a fast attack and an exponential decay.
Samples NoiseBurst(double seconds, uint64_t seed, double centre, double q, double decay);

// Edges faded, then loudness set to `rmsDb` with the peak kept at -1 dBFS.
std::vector<uint8_t> FinishEffect(Samples s, double rmsDb);
// A finished loop: loudness set like an effect's, and no fades, which would
// dip at every turn.
std::vector<uint8_t> FinishLoop(Samples loop, double rmsDb);

// Adds src into a loop from `offset` seconds on; what runs past the loop's end
// carries on from its start, so events near the seam are heard whole.
void MixCircular(Samples& loop, const Samples& src, double gain, double offset);
// The second of two periods: for a source that repeats every `seconds`, filters
// have settled by then, so the result loops without a seam.
Samples SecondPeriod(const Samples& twoPeriods, double seconds);

// To 16-bit, for the songs' instruments.
std::vector<int16_t> ToPcm16(const Samples& s);

}  // namespace pondaro::assetgen
