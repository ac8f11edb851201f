// Random damage to what the game sends, for a fixed time per target: the parsers
// never crash or throw, refuse with a reason, and accept only what the game
// itself could have written. PONDARO_FUZZ_SECONDS and PONDARO_FUZZ_SEED make a
// longer run or repeat one.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <random>

#include "fixtures.h"
#include "persist/codec.h"
#include "query.h"
#include "record.h"

namespace pondaro::scores::test {
namespace {

double Seconds(double fallback) {
  const char* s = std::getenv("PONDARO_FUZZ_SECONDS");
  return s ? std::atof(s) : fallback;
}

uint64_t Seed() {
  const char* s = std::getenv("PONDARO_FUZZ_SEED");
  const uint64_t seed = s ? std::strtoull(s, nullptr, 10) : std::random_device{}();
  std::printf("fuzz seed %llu (PONDARO_FUZZ_SEED repeats it)\n", static_cast<unsigned long long>(seed));
  return seed;
}

class Mutator {
 public:
  explicit Mutator(uint64_t seed) : rng_(seed) {}

  size_t Below(size_t n) { return n == 0 ? 0 : std::uniform_int_distribution<size_t>(0, n - 1)(rng_); }

  std::string Mutate(std::string s, const std::vector<std::string>& words) {
    const size_t steps = 1 + Below(4);
    for (size_t i = 0; i < steps; ++i) {
      const size_t at = Below(s.size() + 1);
      switch (Below(7)) {
        case 0: if (!s.empty()) s[Below(s.size())] = static_cast<char>(Below(256)); break;
        case 1: s.insert(at, 1, static_cast<char>(Below(256))); break;
        case 2: if (!s.empty()) s.erase(Below(s.size()), 1 + Below(8)); break;
        case 3: s.insert(at, words[Below(words.size())]); break;
        case 4: if (!s.empty()) { const size_t from = Below(s.size()); s.insert(at, s.substr(from, 1 + Below(16))); } break;
        case 5: s.resize(Below(s.size() + 1)); break;
        case 6: if (s.size() > 1) std::swap(s[Below(s.size())], s[Below(s.size())]); break;
      }
    }
    return s;
  }

 private:
  std::mt19937_64 rng_;
};

template <typename Body>
int RunFor(double seconds, Body&& body) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  int runs = 0;
  while (std::chrono::steady_clock::now() < end)
    for (int i = 0; i < 256; ++i, ++runs) body();
  return runs;
}

const std::string kToken = "0123456789abcdef0123456789abcdef";

TEST(Fuzz, QueryParser) {
  Mutator m(Seed());
  const std::vector<std::string> seeds = {"prg=Pondaro", "prg=Pondaro&type=0&show",
                                          SubmissionQuery("BOB", 450, kToken).substr(0), "hs&prg=Pondaro&inf=AAAAAAAA"};
  const std::vector<std::string> words = {"&", "=", "hs", "prg=Pondaro", "inf=", "show", "type=0", "%", "&&", "==",
                                          std::string(1, '\0'), std::string(300, 'A')};
  int accepted = 0;
  const int runs = RunFor(Seconds(1.5), [&] {
    const std::string q = m.Mutate(seeds[m.Below(seeds.size())], words);
    const ParsedQuery p = ParseQuery(q);
    if (p.ok) {
      ++accepted;
      ASSERT_TRUE(p.error.empty()) << q;
      if (p.kind == RequestKind::Submission) {
        ASSERT_FALSE(p.inf.empty()) << q;
      }
    } else {
      ASSERT_TRUE(p.status == 400 || p.status == 404 || p.status == 414) << p.status << " " << q;
      ASSERT_FALSE(p.error.empty()) << q;
    }
  });
  std::printf("%d queries, %d accepted\n", runs, accepted);
  EXPECT_GT(runs, 1000);
}

TEST(Fuzz, RecordParser) {
  Mutator m(Seed());
  const std::vector<std::string> records = {ScoreRecord("BOB", 450, kToken, ""),
                                            ScoreRecord("Zz9Zz9Zz9Z", 9999995, kToken, "NewZealand"),
                                            ScoreRecord("a", 5, kToken, "x")};
  const std::vector<std::string> words = {"|", "=", "|name=", "|score=", "|key=P", "|p=", "|add=", "|z=", "0",
                                          "5", "%", "<b>", std::string(1, '\0'), "\xff", "-"};
  int accepted = 0;
  const int runs = RunFor(Seconds(2.0), [&] {
    const std::string plain = records[m.Below(records.size())];
    // Half damage the record before it is encoded, half the encoded symbols.
    const std::string inf = m.Below(2) ? EncodeLine(m.Mutate(plain, words))
                                       : m.Mutate(EncodeRecord(plain), {"A", "9", "0", "I", "O", "Z", "AAAAAAAA"});
    const RecordCheck r = CheckRecord(inf, kDefaultMaxScore);
    if (!r.ok) {
      ASSERT_TRUE(r.status == 400 || r.status == 403 || r.status == 414) << r.status;
      ASSERT_FALSE(r.error.empty());
      return;
    }
    ++accepted;
    // Whatever passes is exactly what the game would send for these values.
    const Submission& s = r.submission;
    ASSERT_TRUE(s.score > 0 && s.score % 5 == 0 && s.score < kDefaultMaxScore) << s.score;
    ASSERT_EQ(EncodeRecord(ScoreRecord(s.name, static_cast<int32_t>(s.score), s.token, s.country)), inf)
        << DecodeLine(inf);
  });
  std::printf("%d records, %d accepted\n", runs, accepted);
  EXPECT_GT(runs, 1000);
  EXPECT_GT(accepted, 0) << "the mutations never leave a record valid: the test sees only one side";
}

// The whole service on a real database: never a throw, never a 5xx, and a score is
// stored only when the answer says so.
TEST(Fuzz, ServiceStoresOnlyWhatItAccepts) {
  Mutator m(Seed());
  TempDir dir;
  auto storage = OpenSqlite(dir / "fuzz.db");
  TestClock clock;
  ServiceOptions options;
  options.ratePerMinute = 0;
  options.quiet = true;
  ScoreService service(*storage, options, clock.Fn());
  const std::vector<std::string> words = {"&", "=", "hs", "prg=Pondaro", "inf=", "show", "A", "9", "|"};
  int64_t stored = 0;
  const int runs = RunFor(Seconds(1.5), [&] {
    const std::string token = TokenOf(service.Handle(Get("prg=Pondaro")));
    const std::string query = m.Mutate(SubmissionQuery("BOB", 450, token), words);
    const Response r = service.Handle(Get(query));
    ASSERT_LT(r.status, 500) << query;
    if (r.status == 200 && r.body == "OK: score stored\n") ++stored;
  });
  std::printf("%d submissions, %lld stored\n", runs, static_cast<long long>(stored));
  EXPECT_EQ(storage->CountScores(), stored);
}

}  // namespace
}  // namespace pondaro::scores::test
