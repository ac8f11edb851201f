// Damaged music modules: the generated songs with their headers, patterns and
// instruments broken or cut, through the game's module player (libxmp). Each one
// is refused with handle 0 or loads and plays; and a game whose songs are broken
// or gone shows its menu in silence. Run in build/game, beside Music/.
#include <unistd.h>

#include <chrono>
#include <cmath>

#include "desktop/xmp_player.h"
#include "fuzz/fuzz_kit.h"
#include "game/game_fixture.h"

namespace pondaro::test {
namespace {

std::vector<Bytes> Songs() {
  std::vector<Bytes> songs = Corpus("xm");
  for (const char* name : {"1.xm", "2.xm", "3.xm"}) songs.push_back(ReadBytes(std::string(PONDARO_GAME_DIR) + "/Music/" + name));
  return songs;
}

// Breaks mostly the part libxmp reads for its structures: the header, the
// pattern headers and the instrument headers near the start.
Bytes Damage(Mutator& mutate, const std::vector<Bytes>& songs) {
  const Bytes& song = songs[mutate.Pick(songs.size())];
  const size_t head = std::min(song.size(), 1 + mutate.Pick(mutate.Pick(4) == 0 ? song.size() : 8192));
  Bytes out = mutate.Mutate(Bytes(song.begin(), song.begin() + static_cast<long>(head)), songs);
  if (mutate.Pick(3) != 0) out.insert(out.end(), song.begin() + static_cast<long>(head), song.end());
  return out;
}

TEST(ModuleFuzz, DamagedModulesAreRefusedOrPlay) {
  const std::vector<Bytes> songs = Songs();
  ASSERT_GE(songs.size(), 4u);
  for (size_t i = songs.size() - 3; i < songs.size(); ++i) ASSERT_GT(songs[i].size(), 10000u) << "generated songs";
  const uint64_t seed = FuzzSeed(1998);
  Mutator mutate(seed);
  FuzzBudget budget;
  const std::string path = ::testing::TempDir() + "pondaro-fuzz-" + std::to_string(getpid()) + ".xm";
  XmpModulePlayer player;
  int loaded = 0, refused = 0;
  long n = 0;
  std::vector<int16_t> block(2 * 2205);
  for (; budget.More(n, static_cast<long>(songs.size()) + 100); ++n) {
    const Bytes input = n < static_cast<long>(songs.size()) ? songs[n] : Damage(mutate, songs);
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(input.data()), input.size());
    const auto start = std::chrono::steady_clock::now();
    const int handle = player.SongLoadFromFile(path);
    if (handle == 0) {
      ++refused;
      continue;
    }
    ++loaded;
    // A second of the song at a low rate, as the menu would play it.
    if (player.StartOffline(handle, 22050, 2))
      for (int b = 0; b < 10; ++b) {
        player.Render(reinterpret_cast<uint8_t*>(block.data()), static_cast<int>(block.size() * 2));
        (void)player.SongGetOrder(handle);
      }
    player.SongFree(handle);
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (s > 2) {
      ADD_FAILURE() << "case " << n << " (seed " << seed << ") took " << s << " s; kept in "
                    << KeepFailure("xm", seed, n, input);
      break;
    }
  }
  std::remove(path.c_str());
  std::printf("module fuzz: %ld modules in %.0f s, %d loaded, %d refused\n", n, budget.Seconds(), loaded, refused);
  EXPECT_GT(loaded, 3);
  EXPECT_GT(refused, 0);
}

// The game on its real module player, its songs replaced by broken files.
class BrokenSongs : public GameTest {
 protected:
  XmpModulePlayer player;
  TMainForm& MakeWithSongs(const std::vector<Bytes>& songs) {
    std::system(("rm " + dir + "/Music && mkdir " + dir + "/Music").c_str());
    for (size_t i = 0; i < songs.size(); ++i)
      std::ofstream(dir + "/Music/" + std::to_string(i + 1) + ".xm", std::ios::binary)
          .write(reinterpret_cast<const char*>(songs[i].data()), static_cast<std::streamsize>(songs[i].size()));
    form = std::make_unique<TMainForm>(
        FormServices{display, keyboard, sound, player, http, shell, messages, clock, decoder});
    form->DataDir = dir;
    form->FormCreate();
    app = std::make_unique<TApplication>(*form, events, clock);
    return *form;
  }
};

TEST_F(BrokenSongs, TheMenuPlaysOnInSilence) {
  const Bytes song = ReadBytes(std::string(PONDARO_GAME_DIR) + "/Music/1.xm");
  Bytes cut(song.begin(), song.begin() + 200), garbage(4000, 0xA5);
  Bytes empty;
  TMainForm& f = MakeWithSongs({cut, garbage, empty});
  Tick(100);  // the splash gives way to the menu
  EXPECT_EQ(f.Scene, 2);
  EXPECT_EQ(f.SongHandle, 0);
  f.ChangeScene(3);
  Tick(10);
  f.ChangeScene(9);
  Tick(10);
  EXPECT_EQ(f.SongHandle, 0);
  EXPECT_TRUE(messages.shown.empty());
  // No songs at all: the same.
  app.reset();
  form.reset();
  TMainForm& g = MakeWithSongs({});
  Tick(100);
  EXPECT_EQ(g.Scene, 2);
  EXPECT_EQ(g.SongHandle, 0);
  EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
}  // namespace pondaro::test
