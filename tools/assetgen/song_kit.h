// The band that plays the game's songs, and a small score notation that fills
// XM patterns with it.
//
// Notation, tokens separated by spaces, each lasting `:rows` rows:
//   melody   "E5:4 F#5:2 Bb4:2"  a note; "r:4" key-off (rest); "_:4" hold
//   chords   "C:16 Am:8 G7:8"    root, then m, 7, m7 or maj7
//   figures  "0:2 2:2 3:2@50"    an index into the chord's tones from its root
//                                (root, third, fifth, octave, ...), '@' a volume
//   drums    "k...s...h.h."      one character per row, the string repeats
#pragma once
#include <string>
#include <vector>

#include "xm_writer.h"

namespace pondaro::assetgen {

// Instrument numbers of the band, 1-based as XM counts them.
enum Instrument : uint8_t {
  kMarimba = 1,
  kFlute,
  kBass,
  kKick,
  kSnare,
  kHat,
  kOpenHat,
  kShaker,
  kWoodBlock,
};

// Channels, the same in every song.
enum Channel : int {
  kLeadCh = 0,  // flute melody
  kCounterCh,   // marimba riffs and solos
  kArpCh,       // marimba chords, broken
  kBassCh,
  kKickCh,
  kSnareCh,
  kHatCh,
  kShakerCh,
  kChannelCount,
};

std::vector<XmInstrument> Band();

class Score {
 public:
  Score(std::string name, int tempo, int bpm);

  // Appends an empty pattern and returns its index.
  int NewPattern(int rows = 64);
  XmPattern& Pattern(int index) { return module_.Patterns.at(static_cast<size_t>(index)); }

  void Melody(int pattern, int channel, Instrument instrument, int volume, const std::string& notes);
  // Plays `figure` over each chord of `chords`, restarting it at every chord;
  // chord tones start from the root's note at or above `lowest`.
  void Figure(int pattern, int channel, Instrument instrument, int volume, const std::string& chords,
              const std::string& figure, const std::string& lowest);
  void Drums(int pattern, int channel, const std::string& hits);

  void Order(std::initializer_list<int> patterns);
  std::vector<uint8_t> Write();

 private:
  XmModule module_;
};

}  // namespace pondaro::assetgen
