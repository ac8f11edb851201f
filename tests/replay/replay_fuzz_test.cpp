// Replays come from anywhere (the score service takes them from anyone): damaged
// files are refused with a message, and a hostile one, made whole again around a
// changed stream so that the reader has to judge what is inside, is either refused
// or re-played to an end under the sanitizers, never a crash or a hang.
#include <zlib.h>

#include "fuzz/fuzz_kit.h"
#include "replay/byte_io.h"
#include "replay/headless.h"

namespace pondaro::test {
namespace {

// The file with its compressed stream replaced by `stream`, sizes and checksum made good.
Bytes Resealed(const Bytes& file, const Bytes& stream, Bytes* original = nullptr) {
  ByteReader in(file);
  in.Skip(10);
  in.Text(32);
  in.Skip(4 + 8 + 4 + 4 + 4);
  in.Text(64);
  in.Skip(8);
  const size_t sizes = static_cast<size_t>(in.Here() - file.data());
  in.U32();
  const uint32_t packed = in.U32();
  const size_t packedAt = static_cast<size_t>(in.Here() - file.data());
  if (original) {
    original->resize(16u << 20);
    uLongf n = original->size();
    uncompress(original->data(), &n, file.data() + packedAt, packed);
    original->resize(n);
  }
  uLongf n = compressBound(static_cast<uLong>(stream.size()));
  Bytes repacked(n);
  compress2(repacked.data(), &n, stream.data(), static_cast<uLong>(stream.size()), 1);
  repacked.resize(n);
  ByteWriter w;
  w.bytes.assign(file.begin(), file.begin() + static_cast<long>(sizes));
  w.U32(static_cast<uint32_t>(stream.size()));
  w.U32(static_cast<uint32_t>(repacked.size()));
  w.Append(repacked);
  w.bytes.insert(w.bytes.end(), file.begin() + static_cast<long>(packedAt + packed), file.end() - 4);
  w.U32(static_cast<uint32_t>(crc32(0, w.bytes.data(), static_cast<uInt>(w.bytes.size()))));
  return w.bytes;
}

TEST(ReplayFuzz, DamagedAndHostileReplaysAreRefusedOrReplayedSafely) {
  const std::vector<Bytes> corpus = Corpus("replays");
  ASSERT_GE(corpus.size(), 2u);
  THeadlessGame game(PONDARO_GAME_DIR);
  std::vector<Bytes> streams;
  for (const Bytes& file : corpus) {
    Bytes stream;
    Resealed(file, {}, &stream);
    streams.push_back(stream);
  }
  const uint64_t seed = FuzzSeed(20261224);
  Mutator mutate(seed);
  FuzzBudget budget;
  long n = 0, accepted = 0, replayed = 0;
  for (; budget.More(n, 300); ++n) {
    const size_t pick = mutate.Pick(corpus.size());
    Bytes input;
    if (n < static_cast<long>(corpus.size()))
      input = corpus[n];
    else if (n % 3 == 0)
      input = mutate.Mutate(corpus[pick], corpus);  // damage: the checksum catches nearly all
    else
      input = Resealed(corpus[pick], mutate.Mutate(streams[pick], streams));
    TReplay r;
    std::string error;
    const bool read = ReadReplay(input, r, error);
    std::string problem;
    if (!read && error.empty()) problem = "refused without a word";
    if (!read && n < static_cast<long>(corpus.size())) problem = "the corpus cannot be read: " + error;
    if (read) {
      ++accepted;
      const TVerdict v = game.Verify(r);
      replayed += v.Ticks > 0;
      if (n < static_cast<long>(corpus.size()) && !v.Verified) problem = "the corpus does not verify: " + v.Problem;
      if (!v.Verified && v.Problem.empty()) problem = "not verified, and no reason given";
    }
    if (!problem.empty()) {
      ADD_FAILURE() << "case " << n << " (seed " << seed << "): " << problem << "; input kept in "
                    << KeepFailure("replays", seed, n, input);
      break;
    }
  }
  std::printf("replay fuzz: %ld inputs in %.0f s, %ld read, %ld re-played\n", n, budget.Seconds(), accepted,
              replayed);
  EXPECT_GT(replayed, 10) << "the mutants reach the player";
}

}  // namespace
}  // namespace pondaro::test
