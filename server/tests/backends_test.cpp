// The service's behaviour on each storage backend: the same tests, run on SQLite
// and on a real PostgreSQL server.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <thread>

#include "fixtures.h"
#include "pages.h"
#include "persist/codec.h"

namespace pondaro::scores::test {
namespace {

class Behaviour : public OnEachBackend {
 protected:
  void SetUp() override {
    OnEachBackend::SetUp();
    if (IsSkipped()) return;
    options.quiet = true;
    options.ratePerMinute = 0;  // EachAddressIsLimited sets its own
    service = std::make_unique<ScoreService>(*storage, options, clock.Fn());
  }

  std::string Token(ScoreService& s, const std::string& address = "10.0.0.1") {
    const Response r = s.Handle(Get("prg=Pondaro", address));
    EXPECT_EQ(r.status, 200) << r.body;
    return TokenOf(r);
  }
  Response Send(ScoreService& s, const std::string& name, int64_t score, const std::string& token,
                const std::string& country = "") {
    return s.Handle(Get(SubmissionQuery(name, score, token, country)));
  }

  TestClock clock;
  ServiceOptions options;
  std::unique_ptr<ScoreService> service;
};

TEST_P(Behaviour, AScoreFromTheGameIsStoredAndShown) {
  const Response version = service->Handle(Get("prg=Pondaro"));
  ASSERT_EQ(version.status, 200);
  // Read the way the game reads it.
  ASSERT_TRUE(pondaro::VersionAccepted(version.body)) << version.body;
  const std::string token = TokenOf(version);
  ASSERT_EQ(token.size(), kTokenLength) << version.body;
  EXPECT_EQ(version.body, "OK|Pondaro|" PONDARO_VERSION "|7200|" + token + "|\n");
  EXPECT_NE(Token(*service), token);

  const Response stored = Send(*service, "Froggy", 12345, token, "Oz");
  EXPECT_EQ(stored.status, 200);
  EXPECT_EQ(stored.body, "OK: score stored\n");
  EXPECT_EQ(storage->Best(10), (std::vector<StoredScore>{{"Froggy", "Oz", 12345, clock.ms / 1000}}));

  const Response page = service->Handle(Get("prg=Pondaro&type=0&show"));
  EXPECT_EQ(page.status, 200);
  EXPECT_EQ(page.contentType, "text/html; charset=utf-8");
  EXPECT_NE(page.body.find("Froggy"), std::string::npos);
  EXPECT_NE(page.body.find(GroupDigits(12345)), std::string::npos);
}

TEST_P(Behaviour, ForgedSubmissionsAreRefusedAndNothingOfThemIsStored) {
  const std::string used = Token(*service);
  ASSERT_EQ(Send(*service, "First", 1000, used).status, 200);
  const std::string fresh = Token(*service);
  const std::string garbage = "hs&prg=Pondaro&inf=" + std::string(72, 'Q');
  std::string forged = ScoreRecord("BOB", 450, fresh, "");
  forged.replace(forged.find("|key=") + 5, 1, "X");
  const std::string badKey = "hs&prg=Pondaro&inf=" + EncodeRecord(forged);
  struct Case {
    const char* what;
    std::string query;
    int status;
  };
  const Case cases[] = {
      {"no token", SubmissionQuery("Eve", 450, ""), 403},
      {"made-up token", SubmissionQuery("Eve", 450, std::string(32, 'f')), 403},
      {"reused token", SubmissionQuery("Eve", 450, used), 403},
      {"bad key", badKey, 403},
      {"score not a multiple of 5", SubmissionQuery("Eve", 451, fresh), 400},
      {"score too high", SubmissionQuery("Eve", 10000000, fresh), 400},
      {"oversized name", SubmissionQuery("EveEveEveEve", 450, fresh), 400},
      {"markup as a name", SubmissionQuery("<b>x", 450, fresh), 400},
      {"garbage record", garbage, 400},
      {"over-long query", SubmissionQuery("Eve", 450, fresh) + std::string(1100, 'A'), 414},
  };
  for (const Case& c : cases) {
    const Response r = service->Handle(Get(c.query));
    EXPECT_EQ(r.status, c.status) << c.what << ": " << r.body;
    EXPECT_EQ(r.body.rfind("Refused: ", 0), 0u) << c.what << ": " << r.body;
    EXPECT_EQ(std::count(r.body.begin(), r.body.end(), '\n'), 1) << c.what;
  }
  EXPECT_EQ(storage->CountScores(), 1);
  // A record refused for its content leaves its token good for a proper one.
  EXPECT_EQ(Send(*service, "Second", 900, fresh).status, 200);
  EXPECT_EQ(storage->CountScores(), 2);
}

TEST_P(Behaviour, ATokenLastsTwoHours) {
  const std::string young = Token(*service), old = Token(*service);
  clock.Advance(2 * 3600 - 1);
  EXPECT_EQ(Send(*service, "Young", 500, young).status, 200);
  clock.Advance(1);
  const Response r = Send(*service, "Old", 500, old);
  EXPECT_EQ(r.status, 403);
  EXPECT_NE(r.body.find("expired"), std::string::npos) << r.body;
  EXPECT_EQ(storage->Best(10).size(), 1u);
}

TEST_P(Behaviour, ExpiredTokensAreSweptOut) {
  for (int i = 0; i < 5; ++i) Token(*service);
  EXPECT_EQ(storage->CountTokens(), 5);
  clock.Advance(2 * 3600 + 1);
  Token(*service);  // sweeps, then hands out one
  EXPECT_EQ(storage->CountTokens(), 1);
}

TEST_P(Behaviour, InstancesSharingADatabaseShareTheTokens) {
  auto otherStorage = db->Open();
  ScoreService other(*otherStorage, options, clock.Fn());
  const std::string token = Token(*service);
  EXPECT_EQ(Send(other, "Across", 700, token).status, 200);
  EXPECT_EQ(Send(*service, "Again", 700, token).status, 403);
  EXPECT_EQ(Send(other, "Again", 700, token).status, 403);
  EXPECT_EQ(otherStorage->CountScores(), 1);
}

TEST_P(Behaviour, ATokenRedeemedByManyAtOnceStoresOneScore) {
  auto otherStorage = db->Open();
  ScoreService other(*otherStorage, options, clock.Fn());
  for (int round = 0; round < 5; ++round) {
    const std::string token = Token(*service);
    std::atomic<int> ok{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t)
      threads.emplace_back([&, t] {
        const Response r = Send(t % 2 ? other : *service, "Racer" + std::to_string(t), 100, token);
        if (r.status == 200) ++ok;
      });
    for (auto& t : threads) t.join();
    EXPECT_EQ(ok, 1) << "round " << round;
  }
  EXPECT_EQ(storage->CountScores(), 5);
}

TEST_P(Behaviour, TheTableShowsTheBest100HighestFirst) {
  std::vector<StoredScore> scores;
  std::mt19937 rng(7);
  for (int i = 0; i < 250; ++i) scores.push_back({"P" + std::to_string(i), "", static_cast<int64_t>(5 * (1 + rng() % 400)), 1000 + i});
  storage->Insert(scores);
  const std::vector<StoredScore> best = storage->Best(kTableSize);
  ASSERT_EQ(best.size(), 100u);
  // Highest first; among equal scores, the one stored first.
  std::vector<StoredScore> expected = scores;
  std::stable_sort(expected.begin(), expected.end(), [](auto& a, auto& b) { return a.score > b.score; });
  expected.resize(100);
  EXPECT_EQ(best, expected);
  const std::string page = service->Handle(Get("prg=Pondaro&type=0&show")).body;
  size_t rows = 0;
  for (size_t at = page.find("<tr"); at != std::string::npos; at = page.find("<tr", at + 1)) ++rows;
  EXPECT_EQ(rows, 101u);  // the heading's and the hundred's
}

TEST_P(Behaviour, ScoresOutliveTheService) {
  ASSERT_EQ(Send(*service, "Kept", 300, Token(*service)).status, 200);
  const std::string pending = Token(*service);
  service.reset();
  storage.reset();
  storage = db->Open();  // the schema is there: nothing to migrate, nothing lost
  service = std::make_unique<ScoreService>(*storage, options, clock.Fn());
  EXPECT_EQ(Send(*service, "Later", 200, pending).status, 200);
  EXPECT_EQ(storage->CountScores(), 2);
}

TEST_P(Behaviour, EachAddressIsLimited) {
  options.ratePerMinute = 6;
  options.burst = 3;
  ScoreService limited(*storage, options, clock.Fn());
  std::vector<std::string> tokens;
  for (int i = 0; i < 3; ++i) tokens.push_back(Token(limited, "10.1.1.1"));
  Response r = limited.Handle(Get("prg=Pondaro", "10.1.1.1"));
  EXPECT_EQ(r.status, 429);
  ASSERT_EQ(r.headers.size(), 2u);
  EXPECT_EQ(r.headers[0], (std::pair<std::string, std::string>{"Retry-After", "10"}));
  EXPECT_EQ(r.headers[1], (std::pair<std::string, std::string>{"Cache-Control", "no-store"}));
  // The submission counts as well; other players and the table go on.
  EXPECT_EQ(limited.Handle(Get(SubmissionQuery("Busy", 100, tokens[0]), "10.1.1.1")).status, 429);
  EXPECT_EQ(Token(limited, "10.2.2.2").size(), kTokenLength);
  EXPECT_EQ(limited.Handle(Get("prg=Pondaro&type=0&show", "10.1.1.1")).status, 200);
  clock.Advance(10);
  EXPECT_EQ(limited.Handle(Get(SubmissionQuery("Busy", 100, tokens[0]), "10.1.1.1")).status, 200);
  EXPECT_EQ(storage->CountScores(), 1);
}

INSTANTIATE_TEST_SUITE_P(Backends, Behaviour, ::testing::Values(Backend::Sqlite, Backend::Postgres), BackendName);

}  // namespace
}  // namespace pondaro::scores::test
