// The generated songs through the game's module player (libxmp), rendered
// offline: they load, play their orders in sequence, wrap back to order 0 when
// they should and keep looping; bad files give handle 0; freeing a song while
// the audio thread renders is safe. Runs in build/game, beside Music/.
#include "desktop/xmp_player.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

namespace pondaro {
namespace {

namespace fs = std::filesystem;

constexpr int kRate = 44100;
constexpr int kBlockFrames = 441;  // 10 ms: the wrap time is known to that precision

struct SongPlan {
  const char* Path;
  double MinSeconds, MaxSeconds;  // how long one round should last
};
// The menu theme plays a minute or more before it repeats; the pond theme runs
// under play; game over is short.
const SongPlan kSongs[] = {{"Music/1.xm", 60, 90}, {"Music/2.xm", 40, 90}, {"Music/3.xm", 10, 30}};

struct Round {
  double WrapSeconds = -1;  // when the order came back to 0 after moving on
  int HighestOrder = 0;
  bool InSequence = true;  // orders only ever stepped forward by one before the wrap
  double Peak = 0, SumSquares = 0;
  long Frames = 0;
  bool ExtraChannelsSilent = true;  // beyond left and right
};

// Renders from the current position until the order returns to 0, or `limit` seconds.
Round PlayOneRound(XmpModulePlayer& player, int handle, double limit, int channels = 2) {
  Round r;
  std::vector<int16_t> block(kBlockFrames * channels);
  int last = player.SongGetOrder(handle);
  bool moved = false;
  for (long frames = 0; frames < static_cast<long>(limit * kRate); frames += kBlockFrames) {
    player.Render(reinterpret_cast<uint8_t*>(block.data()), static_cast<int>(block.size() * 2));
    for (int16_t v : block) {
      r.Peak = std::max(r.Peak, std::abs(static_cast<double>(v)));
      r.SumSquares += static_cast<double>(v) * v;
    }
    r.Frames += kBlockFrames;
    for (size_t i = 0; i < block.size(); ++i)
      if (i % channels >= 2 && block[i] != 0) r.ExtraChannelsSilent = false;
    const int order = player.SongGetOrder(handle);
    if (order != last) {
      if (order == 0 && moved) {
        r.WrapSeconds = static_cast<double>(frames + kBlockFrames) / kRate;
        return r;
      }
      if (order != last + 1) r.InSequence = false;
      moved = true;
      r.HighestOrder = std::max(r.HighestOrder, order);
      last = order;
    }
  }
  return r;
}

TEST(XmpPlayerSongs, EachLoadsPlaysItsOrdersAndWrapsToTheStartOnTime) {
  for (const SongPlan& song : kSongs) {
    SCOPED_TRACE(song.Path);
    XmpModulePlayer player;
    const int handle = player.SongLoadFromFile(song.Path);
    ASSERT_NE(handle, 0);
    ASSERT_TRUE(player.StartOffline(handle, kRate, 2));
    EXPECT_EQ(player.SongGetOrder(handle), 0);

    const Round first = PlayOneRound(player, handle, 200);
    ASSERT_GT(first.WrapSeconds, 0) << "never came back to order 0";
    EXPECT_GE(first.HighestOrder, 1) << "a single order";
    EXPECT_TRUE(first.InSequence);
    EXPECT_GE(first.WrapSeconds, song.MinSeconds);
    EXPECT_LE(first.WrapSeconds, song.MaxSeconds);

    // Music, not silence, and the band's mix does not clip.
    const double rms = std::sqrt(first.SumSquares / (2.0 * first.Frames));
    EXPECT_GT(20 * std::log10(rms / 32768), -35.0);
    EXPECT_LT(first.Peak, 32767.0);

    // Just after the wrap the order stays 0 (it is the song's start, not a glitch),
    // and the next round lasts exactly as long: the song loops for ever.
    EXPECT_EQ(player.SongGetOrder(handle), 0);
    const Round second = PlayOneRound(player, handle, 200);
    EXPECT_NEAR(second.WrapSeconds, first.WrapSeconds, 0.03);
    EXPECT_EQ(second.HighestOrder, first.HighestOrder);
    player.SongFree(handle);
  }
}

// A device opened with more channels than two gets the same song at the same
// speed, on its front left and right.
TEST(XmpPlayerSongs, PlaysAtTheSameSpeedWhateverTheChannelCount) {
  XmpModulePlayer player;
  const int stereo = player.SongLoadFromFile("Music/3.xm");
  ASSERT_TRUE(player.StartOffline(stereo, kRate, 2));
  const Round two = PlayOneRound(player, stereo, 200);
  player.SongFree(stereo);
  for (int channels : {1, 6}) {
    const int handle = player.SongLoadFromFile("Music/3.xm");
    ASSERT_TRUE(player.StartOffline(handle, kRate, channels));
    const Round many = PlayOneRound(player, handle, 200, channels);
    EXPECT_NEAR(many.WrapSeconds, two.WrapSeconds, 0.03) << channels;
    EXPECT_TRUE(many.ExtraChannelsSilent) << channels;
    EXPECT_GT(many.Peak, two.Peak / 4) << channels;
    player.SongFree(handle);
  }
}

class XmpPlayerBadFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("pondaro_xmp_test_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    std::ifstream in("Music/1.xm", std::ios::binary);
    good_.assign(std::istreambuf_iterator<char>(in), {});
    ASSERT_GT(good_.size(), 1000u);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Write(const char* name, const std::vector<char>& bytes) {
    const fs::path path = dir_ / name;
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path.string();
  }

  fs::path dir_;
  std::vector<char> good_;
};

TEST_F(XmpPlayerBadFiles, MissingOrDamagedFilesGiveHandleZero) {
  XmpModulePlayer player;
  EXPECT_EQ(player.SongLoadFromFile((dir_ / "absent.xm").string()), 0);
  EXPECT_EQ(player.SongLoadFromFile(Write("empty.xm", {})), 0);
  EXPECT_EQ(player.SongLoadFromFile(Write("cut.xm", std::vector<char>(good_.begin(), good_.begin() + 400))), 0);
  std::vector<char> noMagic = good_;
  noMagic[0] = 'X';
  EXPECT_EQ(player.SongLoadFromFile(Write("magic.xm", noMagic)), 0);
  std::vector<char> noise(5000);
  for (size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>((i * 7919 + 13) % 251);
  EXPECT_EQ(player.SongLoadFromFile(Write("noise.xm", noise)), 0);

  // The player is still usable, and handle 0 asks nothing of it.
  EXPECT_EQ(player.SongGetOrder(0), 0);
  player.SongFree(0);
  const int handle = player.SongLoadFromFile(Write("copy.xm", good_));
  EXPECT_NE(handle, 0);
  player.SongFree(handle);
}

// The game frees and loads songs on its own thread while SDL's audio thread
// renders; a song freed mid-render must never be touched again.
TEST(XmpPlayerThreads, FreeingThePlayingSongWhileRenderingNeverCrashes) {
  XmpModulePlayer player;
  std::atomic<bool> stop{false};
  std::atomic<long> blocks{0};
  std::thread audio([&] {
    std::vector<uint8_t> buffer(1024 * 4);
    while (!stop) {
      player.Render(buffer.data(), static_cast<int>(buffer.size()));
      ++blocks;
    }
  });
  for (int i = 0; i < 30; ++i) {
    const int handle = player.SongLoadFromFile(kSongs[i % 3].Path);
    ASSERT_NE(handle, 0);
    ASSERT_TRUE(player.StartOffline(handle, kRate, 2));
    const long seen = blocks;
    while (blocks < seen + 2) std::this_thread::yield();  // let it render a little
    if (i % 10 == 0) {
      // Now and then, until the song has moved on: the order read here is the
      // one the other thread is playing. Read once: a second read, late on a busy
      // machine, can find a short song already wrapped back to order 0.
      const long started = blocks;
      int order = 0;
      while ((order = player.SongGetOrder(handle)) == 0 && blocks < started + 20000) std::this_thread::yield();
      EXPECT_GT(order, 0);
    }
    player.SongFree(handle);
    EXPECT_EQ(player.SongGetOrder(handle), 0);
  }
  stop = true;
  audio.join();

  // With nothing playing, the callback fills silence.
  std::vector<uint8_t> buffer(256, 0xAB);
  player.Render(buffer.data(), static_cast<int>(buffer.size()));
  EXPECT_TRUE(std::all_of(buffer.begin(), buffer.end(), [](uint8_t b) { return b == 0; }));
}

}  // namespace
}  // namespace pondaro
