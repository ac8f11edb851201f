// Sound voices on SDL2_mixer under the dummy (and disk) audio drivers.
#include "desktop/sdl_sound.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>

namespace pondaro {
namespace {

// A 16-bit 44.1 kHz RIFF WAV of a tone, mono; or stereo with the tone on the right
// and silence on the left.
std::vector<uint8_t> ToneWav(int milliseconds, int amplitude = 10000, int channels = 1) {
  const uint32_t frames = 44100u * milliseconds / 1000;
  const uint32_t bytes = frames * 2 * channels;
  std::vector<uint8_t> w;
  auto u32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) w.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  auto u16 = [&](uint16_t v) {
    for (int i = 0; i < 2; ++i) w.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  auto tag = [&](const char* t) { w.insert(w.end(), t, t + 4); };
  tag("RIFF"), u32(36 + bytes), tag("WAVE");
  tag("fmt "), u32(16), u16(1), u16(static_cast<uint16_t>(channels)), u32(44100), u32(44100 * 2 * channels),
      u16(static_cast<uint16_t>(2 * channels)), u16(16);
  tag("data"), u32(bytes);
  for (uint32_t i = 0; i < frames; ++i) {
    if (channels == 2) u16(0);
    u16(static_cast<uint16_t>(static_cast<int16_t>(amplitude * std::sin(i * 0.0626))));
  }
  return w;
}

bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
  for (int waited = 0; waited < timeoutMs; waited += 10) {
    if (done()) return true;
    SDL_Delay(10);
  }
  return done();
}

TEST(SoundLevels, DecibelsMapToMixerLevels) {
  EXPECT_EQ(MixerVolume(0), 128);
  EXPECT_EQ(MixerVolume(-10000), 0);
  EXPECT_NEAR(MixerVolume(-602), 64, 1);  // -6 dB is half the amplitude
  EXPECT_NEAR(MixerVolume(-2000), 13, 1);
  EXPECT_LT(MixerVolume(-3000), MixerVolume(-2000));

  int left = 0, right = 0;
  MixerPanning(0, left, right);
  EXPECT_EQ(left, 255);
  EXPECT_EQ(right, 255);
  MixerPanning(-10000, left, right);  // hard left
  EXPECT_EQ(left, 255);
  EXPECT_EQ(right, 0);
  MixerPanning(2000, left, right);  // right of centre: the left side is 20 dB down
  EXPECT_NEAR(left, 26, 1);
  EXPECT_EQ(right, 255);
}

class SdlSoundTest : public testing::Test {
 protected:
  void SetUp() override {
    SDL_setenv("SDL_AUDIODRIVER", "dummy", 0);
    std::string error;
    ASSERT_TRUE(sound_.Open(error)) << error;
    ASSERT_TRUE(sound_.Initialized());
    shortTone_ = Load(ToneWav(60));
    longTone_ = Load(ToneWav(2000));
  }
  SampleId Load(const std::vector<uint8_t>& wav) {
    std::string error;
    const SampleId id = sound_.LoadSample(wav.data(), wav.size(), error);
    EXPECT_NE(id, 0) << error;
    return id;
  }
  SdlSoundOutput sound_;
  SampleId shortTone_ = 0, longTone_ = 0;
};

TEST_F(SdlSoundTest, VoicesStartStopAndRunOut) {
  const VoiceId voice = sound_.CreateVoice(longTone_);
  ASSERT_NE(voice, 0);
  EXPECT_FALSE(sound_.IsPlaying(voice));
  sound_.Start(voice, VoiceSettings{});
  EXPECT_TRUE(sound_.IsPlaying(voice));
  sound_.Stop(voice);
  EXPECT_FALSE(sound_.IsPlaying(voice));

  const VoiceId once = sound_.CreateVoice(shortTone_);
  sound_.Start(once, VoiceSettings{false, 0, 0, -600});
  EXPECT_TRUE(sound_.IsPlaying(once));
  EXPECT_TRUE(WaitUntil([&] { return !sound_.IsPlaying(once); }, 1000)) << "60 ms tone never ended";

  const VoiceId looped = sound_.CreateVoice(shortTone_);
  sound_.Start(looped, VoiceSettings{true, 0, 5000, 0});
  SDL_Delay(250);
  EXPECT_TRUE(sound_.IsPlaying(looped)) << "a looping voice plays on";
  sound_.Stop(looped);
  EXPECT_FALSE(sound_.IsPlaying(looped));
}

TEST_F(SdlSoundTest, RestartRewindsOnTheSameVoice) {
  const VoiceId voice = sound_.CreateVoice(longTone_);
  sound_.Start(voice, VoiceSettings{});
  sound_.Start(voice, VoiceSettings{});
  sound_.Start(voice, VoiceSettings{});
  EXPECT_TRUE(sound_.IsPlaying(voice));
  EXPECT_EQ(sound_.PlayingChannels(), 1);
}

TEST_F(SdlSoundTest, ChannelTakenByAnotherVoiceIsNoLongerTheFirstOnes) {
  const VoiceId a = sound_.CreateVoice(longTone_);
  const VoiceId b = sound_.CreateVoice(longTone_);
  const VoiceId c = sound_.CreateVoice(shortTone_);
  sound_.Start(a, VoiceSettings{true});
  sound_.Start(b, VoiceSettings{true});
  sound_.Stop(a);
  sound_.Start(c, VoiceSettings{true});  // gets the channel a played on
  EXPECT_FALSE(sound_.IsPlaying(a));
  EXPECT_TRUE(sound_.IsPlaying(b));
  EXPECT_TRUE(sound_.IsPlaying(c));
  // Stopping a again must not silence c on its old channel.
  sound_.Stop(a);
  EXPECT_TRUE(sound_.IsPlaying(c));
  EXPECT_EQ(sound_.PlayingChannels(), 2);

  // A voice whose sound ran out loses its channel to the next one too.
  const VoiceId shortOne = sound_.CreateVoice(shortTone_);
  const VoiceId next = sound_.CreateVoice(longTone_);
  sound_.Start(shortOne, VoiceSettings{});
  ASSERT_TRUE(WaitUntil([&] { return Mix_Playing(-1) == 2; }, 1000));
  sound_.Start(next, VoiceSettings{});
  EXPECT_FALSE(sound_.IsPlaying(shortOne));
  EXPECT_TRUE(sound_.IsPlaying(next));
}

TEST_F(SdlSoundTest, ManyCopiesGetMoreChannels) {
  std::vector<VoiceId> voices;
  for (int i = 0; i < 40; ++i) {
    voices.push_back(sound_.CreateVoice(longTone_));
    sound_.Start(voices.back(), VoiceSettings{true});
  }
  EXPECT_GE(sound_.Channels(), 40);
  for (VoiceId v : voices) EXPECT_TRUE(sound_.IsPlaying(v)) << v;
  EXPECT_EQ(sound_.PlayingChannels(), 40);
}

TEST_F(SdlSoundTest, BadSamplesAndVoicesAreRefused) {
  const uint8_t garbage[] = "RIFF....WAVEnot really";
  std::string error;
  EXPECT_EQ(sound_.LoadSample(garbage, sizeof garbage, error), 0);
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(sound_.CreateVoice(9999), 0);
  sound_.Start(9999, VoiceSettings{});  // unknown voices are ignored
  EXPECT_FALSE(sound_.IsPlaying(9999));

  // Freeing a sample silences its voices for good.
  const VoiceId voice = sound_.CreateVoice(longTone_);
  sound_.Start(voice, VoiceSettings{true});
  sound_.FreeSample(longTone_);
  EXPECT_FALSE(sound_.IsPlaying(voice));
  sound_.Start(voice, VoiceSettings{true});
  EXPECT_FALSE(sound_.IsPlaying(voice));
  EXPECT_EQ(sound_.PlayingChannels(), 0);
}

TEST(SdlSoundClosed, ClosedOutputLoadsNothing) {
  SdlSoundOutput sound;
  EXPECT_FALSE(sound.Initialized());
  const auto wav = ToneWav(10);
  std::string error;
  EXPECT_EQ(sound.LoadSample(wav.data(), wav.size(), error), 0);
  EXPECT_FALSE(error.empty());
}

// The disk driver writes what is mixed to a file: a tone panned hard left must
// land on the left channel only, at the level asked for, and a stereo sound keeps
// its sides.
TEST(SdlSoundDisk, PanAndVolumeReachTheOutput) {
  if (SDL_WasInit(SDL_INIT_AUDIO)) GTEST_SKIP() << "audio already started by another test";
  const std::string path = testing::TempDir() + "pondaro_disk_audio.raw";
  const char* before = SDL_getenv("SDL_AUDIODRIVER");
  const std::string saved = before ? before : "";
  SDL_setenv("SDL_AUDIODRIVER", "disk", 1);
  SDL_setenv("SDL_DISKAUDIOFILE", path.c_str(), 1);
  {
    SdlSoundOutput sound;
    std::string error;
    const bool opened = sound.Open(error);
    if (saved.empty())
      unsetenv("SDL_AUDIODRIVER");
    else
      SDL_setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    ASSERT_TRUE(opened) << error;
    int freq = 0, channels = 0;
    Uint16 format = 0;
    ASSERT_TRUE(Mix_QuerySpec(&freq, &format, &channels));
    ASSERT_EQ(format, AUDIO_S16SYS);
    ASSERT_EQ(channels, 2);
    const auto wav = ToneWav(100, 10000);
    const SampleId tone = sound.LoadSample(wav.data(), wav.size(), error);
    ASSERT_NE(tone, 0) << error;
    const VoiceId voice = sound.CreateVoice(tone);
    sound.Start(voice, VoiceSettings{true, 0, -10000, -602});  // hard left, half amplitude
    const auto right = ToneWav(100, 8000, 2);
    const SampleId rightTone = sound.LoadSample(right.data(), right.size(), error);
    ASSERT_NE(rightTone, 0) << error;
    sound.Start(sound.CreateVoice(rightTone), VoiceSettings{true});
    SDL_Delay(300);
  }
  std::ifstream in(path, std::ios::binary);
  const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  std::remove(path.c_str());
  ASSERT_GT(bytes.size(), 44100u);
  int peakLeft = 0, peakRight = 0;
  const auto* samples = reinterpret_cast<const int16_t*>(bytes.data());
  for (size_t i = 0; i + 1 < bytes.size() / 2; i += 2) {
    peakLeft = std::max(peakLeft, std::abs(static_cast<int>(samples[i])));
    peakRight = std::max(peakRight, std::abs(static_cast<int>(samples[i + 1])));
  }
  EXPECT_NEAR(peakLeft, 5000, 250);
  EXPECT_NEAR(peakRight, 8000, 250);
}

}  // namespace
}  // namespace pondaro
