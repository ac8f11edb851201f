#include "sprites/wave_list.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/recording_sound.h"
#include "sprites/errors.h"

namespace pondaro {
namespace {

using test::RecordingSoundOutput;

class StepClock : public Clock {
 public:
  uint64_t now = 0;
  int sleeps = 0;
  std::function<void()> onSleep;
  uint64_t Milliseconds() const override { return now; }
  void Sleep(int ms) override {
    now += ms;
    ++sleeps;
    if (onSleep) onSleep();
  }
};

CollectionRecord Sound(std::string name, int maxPlaying, bool looped = false) {
  CollectionRecord r;
  r.Name = std::move(name);
  r.MaxPlayingCount = maxPlaying;
  r.Looped = looped;
  r.Frequency = 11025;
  r.Pan = -300;
  r.Volume = -1500;
  r.Payload = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
  return r;
}

class WaveList : public ::testing::Test {
 protected:
  TWaveCollectionItem& Load(const CollectionRecord& r) {
    waves.LoadFromRecords({r}, output, clock, "Data/Music.dxw");
    return waves.Find(r.Name);
  }
  RecordingSoundOutput output;
  StepClock clock;
  TWaveCollection waves;
};

TEST_F(WaveList, AtTheLimitTheOldestCopyStartsOver) {
  auto& kvak = Load(Sound("kvak", 2));
  kvak.Play();
  kvak.Play();
  kvak.Play();
  ASSERT_EQ(output.startLog.size(), 3u);
  const VoiceId a = output.startLog[0], b = output.startLog[1];
  EXPECT_NE(a, b);
  EXPECT_EQ(output.startLog[2], a);
  EXPECT_EQ(kvak.ExtraVoices(), (std::vector<VoiceId>{b, a}));  // restarted copy is now newest
  kvak.Play();
  EXPECT_EQ(output.startLog[3], b);
  EXPECT_EQ(output.voices.size(), 2u);
  // Each start carries the item's settings, once, not looped.
  const auto& s = output.voices.at(a).last;
  EXPECT_FALSE(s.Looped);
  EXPECT_EQ(s.Frequency, 11025);
  EXPECT_EQ(s.Pan, -300);
  EXPECT_EQ(s.Volume, -1500);
}

TEST_F(WaveList, WithoutALimitCopiesGrowAndFinishedOnesAreReused) {
  auto& food = Load(Sound("food", 0));
  for (int i = 0; i < 5; ++i) food.Play();
  EXPECT_EQ(food.ExtraVoices().size(), 5u);

  output.FinishAll();
  output.voices.at(food.ExtraVoices()[3]).playing = true;
  food.Play();  // first free copy in order
  EXPECT_EQ(output.startLog.back(), food.ExtraVoices()[0]);
  food.Play();
  EXPECT_EQ(output.startLog.back(), food.ExtraVoices()[1]);
  EXPECT_EQ(food.ExtraVoices().size(), 5u);
  EXPECT_EQ(food.PrimaryVoice(), 0);
}

TEST_F(WaveList, NoNewCopyMeansNothingPlays) {
  auto& bell = Load(Sound("bell", 0));
  output.failVoices = true;
  bell.Play();
  EXPECT_TRUE(bell.ExtraVoices().empty());
  EXPECT_TRUE(output.startLog.empty());
}

TEST_F(WaveList, LoopedSoundRestartsItsOneVoice) {
  auto& fon = Load(Sound("fon1", 1, true));
  fon.Play();
  fon.Play();
  ASSERT_NE(fon.PrimaryVoice(), 0);
  EXPECT_TRUE(fon.ExtraVoices().empty());
  EXPECT_EQ(output.voices.size(), 1u);
  const auto& v = output.voices.at(fon.PrimaryVoice());
  EXPECT_EQ(v.starts, 2);
  EXPECT_TRUE(v.playing);
  EXPECT_TRUE(v.last.Looped);
  fon.Play(true);  // never waits on a loop
  EXPECT_EQ(clock.sleeps, 0);
}

TEST_F(WaveList, StopSilencesThePrimaryAndEveryCopy) {
  waves.LoadFromRecords({Sound("fon2", 0, true), Sound("muha", 0)}, output, clock, "Data/Music.dxw");
  waves.Find("fon2").Play();
  waves.Find("muha").Play();
  waves.Find("muha").Play();
  waves.Find("muha").Stop();
  waves.Find("fon2").Stop();
  ASSERT_EQ(output.voices.size(), 3u);
  for (const auto& [id, v] : output.voices) EXPECT_FALSE(v.playing) << id;
}

TEST_F(WaveList, WaitPollsEveryTenMillisecondsUntilTheCopyEnds) {
  auto& bottle = Load(Sound("bottle_up", 0));
  clock.onSleep = [&] {
    if (clock.sleeps == 3) output.FinishAll();
  };
  bottle.Play(true);
  EXPECT_EQ(clock.sleeps, 3);
  EXPECT_EQ(clock.now, 30u);
  EXPECT_FALSE(output.IsPlaying(bottle.ExtraVoices()[0]));
}

TEST_F(WaveList, SilentOutputKeepsTheItemsButPlaysNothing) {
  output.initialized = false;
  auto& kvak = Load(Sound("kvak", 0));
  EXPECT_EQ(waves.Count(), 1);
  EXPECT_TRUE(output.samples.empty());
  kvak.Play();
  kvak.Stop();
  EXPECT_TRUE(output.voices.empty());

  // Loaded while up, then the output goes down: nothing is started either.
  output.initialized = true;
  auto& life = Load(Sound("life", 0, true));
  output.initialized = false;
  life.Play();
  EXPECT_TRUE(output.startLog.empty());
}

TEST_F(WaveList, FindIgnoresCaseAndRenameRelinks) {
  waves.LoadFromRecords({Sound("Aist_Eat", 0), Sound("aist_eat", 0)}, output, clock, "x");
  EXPECT_EQ(&waves.Find("AIST_EAT"), &waves.Items(1));
  waves.Rename(waves.Items(1), "kroco");
  EXPECT_EQ(&waves.Find("aist_eat"), &waves.Items(0));
  EXPECT_EQ(&waves.Find("KROCO"), &waves.Items(1));
  try {
    waves.Find("pchel");
    FAIL() << "found a missing sound";
  } catch (const EGameError& e) {
    EXPECT_STREQ(e.what(), "Wave 'pchel' not found");
  }
}

TEST_F(WaveList, ClearAndFailedLoadsFreeEveryVoiceAndSample) {
  waves.LoadFromRecords({Sound("fon1", 0, true), Sound("dollar", 0)}, output, clock, "x");
  waves.Find("fon1").Play();
  waves.Find("dollar").Play();
  waves.Find("dollar").Play();
  waves.Clear();
  EXPECT_TRUE(output.voices.empty());
  EXPECT_TRUE(output.samples.empty());

  auto broken = Sound("brizg", 0);
  broken.Payload = {'W', 'A', 'V', 'E'};
  try {
    waves.LoadFromRecords({Sound("kvak", 0), broken}, output, clock, "Data/Music.dxw");
    FAIL() << "loaded a broken sound";
  } catch (const EDataFileError& e) {
    EXPECT_STREQ(e.what(), "Data/Music.dxw: item 2: 'brizg' is not a sound (not a WAV file)");
  }
  EXPECT_EQ(waves.Count(), 0);
  EXPECT_TRUE(output.samples.empty());
}

}  // namespace
}  // namespace pondaro
