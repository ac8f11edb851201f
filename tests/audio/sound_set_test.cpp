// The generated sound collection (Data/Music.dxw, read from build/game): every
// name the game plays is there as a playable 16-bit WAV, short effects are
// short, loops turn without a click, the levels sit together, and the insects'
// buzzes go up in pitch as the insects get smaller.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "sprites/collection_file.h"
#include "sprites/wave_list.h"

namespace pondaro {
namespace {

const std::set<std::string> kLooped = {"fon1", "fon2", "mushka", "muha", "komar", "vodomerka", "pchel"};
const std::set<std::string> kAllNames = {
    "fon1",   "fon2",    "kvak",     "frog_bir",  "bell",       "iazik",       "food",      "mushka",
    "muha",   "komar",   "vodomerka", "pchel",    "kuv_eat",    "kroco",       "aist_eat",  "brizg",
    "dollar", "life",    "bottle_up", "bottle_down", "button_up", "button_down", "pause",   "after_pause"};

struct Wave {
  int Rate = 0, Channels = 0, Bits = 0, Format = 0;
  std::vector<double> Samples;  // first channel, -1..1
  double Seconds() const { return Rate ? static_cast<double>(Samples.size()) / Rate : 0; }
};

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
uint16_t U16(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] | (b[at + 1] << 8)); }

// Walks the RIFF chunks; false when the file is not a WAV we can read.
bool ParseWav(const std::vector<uint8_t>& b, Wave& w) {
  if (b.size() < 12 || std::memcmp(b.data(), "RIFF", 4) != 0 || std::memcmp(b.data() + 8, "WAVE", 4) != 0)
    return false;
  if (U32(b, 4) + 8 != b.size()) return false;
  bool haveFormat = false;
  for (size_t at = 12; at + 8 <= b.size();) {
    const uint32_t size = U32(b, at + 4);
    if (at + 8 + size > b.size()) return false;
    if (std::memcmp(b.data() + at, "fmt ", 4) == 0 && size >= 16) {
      w.Format = U16(b, at + 8);
      w.Channels = U16(b, at + 10);
      w.Rate = static_cast<int>(U32(b, at + 12));
      w.Bits = U16(b, at + 22);
      haveFormat = true;
    } else if (std::memcmp(b.data() + at, "data", 4) == 0 && haveFormat && w.Bits == 16 && w.Channels > 0) {
      const size_t frame = 2u * w.Channels;
      if (size % frame != 0) return false;
      for (size_t i = 0; i < size / frame; ++i)
        w.Samples.push_back(static_cast<int16_t>(U16(b, at + 8 + i * frame)) / 32768.0);
      return true;
    }
    at += 8 + size + (size & 1);
  }
  return false;
}

double Db(double v) { return v > 0 ? 20 * std::log10(v) : -200; }

double Peak(const std::vector<double>& s) {
  double p = 0;
  for (double v : s) p = std::max(p, std::abs(v));
  return p;
}

double Rms(std::vector<double>::const_iterator from, std::vector<double>::const_iterator to) {
  double sum = 0;
  for (auto it = from; it != to; ++it) sum += *it * *it;
  return to > from ? std::sqrt(sum / static_cast<double>(to - from)) : 0;
}

// The loudness the set is balanced by: RMS of the loudest 50 ms.
double LoudestWindow(const Wave& w) {
  const size_t n = std::min(w.Samples.size(), static_cast<size_t>(w.Rate / 20));
  double best = 0;
  for (size_t i = 0; i + n <= w.Samples.size(); i += n / 4 + 1)
    best = std::max(best, Rms(w.Samples.begin() + static_cast<long>(i), w.Samples.begin() + static_cast<long>(i + n)));
  return best;
}

// The strongest repetition rate between 120 and 1500 Hz, by circular
// autocorrelation (the sound is a loop); the shortest period that repeats
// nearly as well as the best, so harmonics and multiples do not fool it.
double WingbeatHz(const Wave& w) {
  const std::vector<double>& x = w.Samples;
  const size_t n = x.size();
  const int minLag = w.Rate / 1500, maxLag = w.Rate / 120;
  std::vector<double> r(static_cast<size_t>(maxLag) + 1, 0.0);
  double energy = 0;
  for (double v : x) energy += v * v;
  for (int lag = minLag; lag <= maxLag; ++lag) {
    double sum = 0;
    for (size_t i = 0; i < n; ++i) sum += x[i] * x[(i + static_cast<size_t>(lag)) % n];
    r[static_cast<size_t>(lag)] = sum / energy;
  }
  const double best = *std::max_element(r.begin(), r.end());
  for (int lag = minLag + 1; lag < maxLag; ++lag) {
    const size_t l = static_cast<size_t>(lag);
    if (r[l] >= 0.9 * best && r[l] >= r[l - 1] && r[l] >= r[l + 1]) return static_cast<double>(w.Rate) / lag;
  }
  return 0;
}

// The RMS of each `window` seconds of a sound, optionally of its first
// difference (which brings out clicks, chirps and drips over the water's wash).
std::vector<double> Envelope(const Wave& w, double window, bool changes = false) {
  std::vector<double> x = w.Samples;
  if (changes)
    for (size_t i = x.size() - 1; i > 0; --i) x[i] -= x[i - 1];
  const size_t n = static_cast<size_t>(window * w.Rate);
  std::vector<double> e;
  for (size_t i = 0; i + n <= x.size(); i += n)
    e.push_back(Rms(x.begin() + static_cast<long>(i), x.begin() + static_cast<long>(i + n)));
  return e;
}

// How closely a loop's envelope repeats itself, shifted by any lag from `from`
// seconds to half the loop: circular autocorrelation of its changes about the mean.
double MostAlikeShifted(const std::vector<double>& e, double window, double from) {
  double mean = 0;
  for (double v : e) mean += v / static_cast<double>(e.size());
  double energy = 0;
  for (double v : e) energy += (v - mean) * (v - mean);
  double best = -1;
  for (size_t lag = static_cast<size_t>(from / window); lag <= e.size() / 2; ++lag) {
    double sum = 0;
    for (size_t i = 0; i < e.size(); ++i) sum += (e[i] - mean) * (e[(i + lag) % e.size()] - mean);
    best = std::max(best, sum / energy);
  }
  return best;
}

class SoundSet : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::string error;
    records_ = new std::vector<CollectionRecord>;
    ASSERT_TRUE(ReadCollection(ReadWholeFile("Data/Music.dxw"), CollectionKind::Sounds, *records_, error)) << error;
  }
  static void TearDownTestSuite() {
    delete records_;
    records_ = nullptr;
  }
  static std::map<std::string, Wave> Waves() {
    std::map<std::string, Wave> out;
    for (const CollectionRecord& r : *records_) {
      Wave w;
      EXPECT_TRUE(ParseWav(r.Payload, w)) << r.Name << " is not a readable WAV";
      out[r.Name] = w;
    }
    return out;
  }
  static std::vector<CollectionRecord>* records_;
};
std::vector<CollectionRecord>* SoundSet::records_ = nullptr;

TEST_F(SoundSet, HoldsEveryNameTheGamePlaysWithItsPlayRules) {
  std::set<std::string> names;
  for (const CollectionRecord& r : *records_) {
    EXPECT_TRUE(names.insert(r.Name).second) << r.Name << " twice";
    EXPECT_EQ(r.Looped, kLooped.count(r.Name) == 1) << r.Name;
    if (!r.Looped) {
      EXPECT_GE(r.MaxPlayingCount, 1) << r.Name << " may pile up without limit";
    }
  }
  EXPECT_EQ(names, kAllNames);
  for (const CollectionRecord& r : *records_)
    if (r.Name == "iazik") {  // restarted every tick while fire is held
      EXPECT_LE(r.MaxPlayingCount, 3);
    }
}

TEST_F(SoundSet, EachIsAnAudibleUnclipped16BitPcmWav) {
  for (const auto& [name, w] : Waves()) {
    SCOPED_TRACE(name);
    EXPECT_EQ(w.Format, 1);  // PCM
    EXPECT_EQ(w.Bits, 16);
    EXPECT_TRUE(w.Rate == 22050 || w.Rate == 44100) << w.Rate;
    ASSERT_FALSE(w.Samples.empty());
    EXPECT_GT(Db(LoudestWindow(w)), -40.0) << "too quiet to hear";
    EXPECT_LT(Peak(w.Samples), 32767.0 / 32768.0) << "reaches full scale";
  }
}

TEST_F(SoundSet, EffectsAreShortAndLoopsLongEnoughToTurnUnnoticed) {
  for (const auto& [name, w] : Waves()) {
    SCOPED_TRACE(name);
    if (kLooped.count(name)) {
      EXPECT_GE(w.Seconds(), 0.5);
      EXPECT_LE(w.Seconds(), 12.0);
    } else {
      EXPECT_LT(w.Seconds(), 0.6);
    }
  }
  const auto waves = Waves();
  EXPECT_LE(waves.at("iazik").Seconds(), 0.09) << "the tongue plays every tick";
  EXPECT_GE(waves.at("fon1").Seconds(), 3.0);
  EXPECT_GE(waves.at("fon2").Seconds(), 3.0);
}

TEST_F(SoundSet, LoopsJoinWithoutAClickOrADip) {
  for (const auto& [name, w] : Waves()) {
    if (!kLooped.count(name)) continue;
    SCOPED_TRACE(name);
    const std::vector<double>& s = w.Samples;
    double sumSquares = 0;
    for (size_t i = 1; i < s.size(); ++i) sumSquares += (s[i] - s[i - 1]) * (s[i] - s[i - 1]);
    const double typicalStep = std::sqrt(sumSquares / static_cast<double>(s.size() - 1));
    EXPECT_LE(std::abs(s.front() - s.back()), 3 * typicalStep);
    // No fade at either end: the level just before the turn matches the level after it.
    const long edge = w.Rate / 50;
    const double before = Rms(s.end() - edge, s.end()), after = Rms(s.begin(), s.begin() + edge);
    EXPECT_NEAR(Db(before), Db(after), 6.0);
  }
}

TEST_F(SoundSet, LoudnessIsEvenAndLoopsSitUnderTheEffects) {
  double quietestEffect = 1, loudestEffect = 0, loudestLoop = 0;
  for (const auto& [name, w] : Waves()) {
    const double level = LoudestWindow(w);
    if (kLooped.count(name)) {
      loudestLoop = std::max(loudestLoop, level);
    } else {
      quietestEffect = std::min(quietestEffect, level);
      loudestEffect = std::max(loudestEffect, level);
    }
  }
  EXPECT_LE(Db(loudestEffect) - Db(quietestEffect), 12.0) << "an effect jumps out";
  EXPECT_LT(loudestLoop, quietestEffect) << "a loop drowns an effect";
}

TEST_F(SoundSet, SmallerInsectsBuzzHigher) {
  const auto waves = Waves();
  const double midge = WingbeatHz(waves.at("mushka")), bee = WingbeatHz(waves.at("pchel"));
  for (const char* other : {"muha", "komar", "vodomerka"}) {
    const double hz = WingbeatHz(waves.at(other));
    EXPECT_GT(midge, hz) << other;
    EXPECT_LT(bee, hz) << other;
  }
  EXPECT_GT(midge, 2 * bee);
}

// An insect flies about: its buzz swells and fades by more than 4 dB and never
// repeats itself within its loop, where a drone would swell on one steady beat.
TEST_F(SoundSet, BuzzesWanderInsteadOfDroning) {
  const auto waves = Waves();
  for (const char* name : {"mushka", "muha", "komar", "vodomerka", "pchel"}) {
    SCOPED_TRACE(name);
    const Wave& w = waves.at(name);
    const std::vector<double> e = Envelope(w, 0.025);
    EXPECT_GT(Db(*std::max_element(e.begin(), e.end())) - Db(*std::min_element(e.begin(), e.end())), 4.0);
    EXPECT_LT(MostAlikeShifted(e, 0.025, 0.3), 0.6);
  }
}

// The pond's life comes at uneven times: the drips, chirps and calls of an
// ambience loop never fall into a beat that repeats within the loop.
TEST_F(SoundSet, AmbienceHasNoBeat) {
  const auto waves = Waves();
  for (const char* name : {"fon1", "fon2"}) {
    SCOPED_TRACE(name);
    const Wave& w = waves.at(name);
    EXPECT_GE(w.Seconds(), 8.0);
    EXPECT_LT(MostAlikeShifted(Envelope(w, 0.05, true), 0.05, 0.5), 0.5);
  }
}

}  // namespace
}  // namespace pondaro
