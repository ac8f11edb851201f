// Verified scores: the replay a game sends after its score, kept with that score
// on each backend, and re-played with the game's own rules to mark it.
#include <gtest/gtest.h>

#include "http_fixture.h"

namespace pondaro::scores::test {
namespace {

// What a replay must be to verify the score it came with, and what each
// departure from it is told as.
TEST(Checker, OnlyTheGameThatScoredItVerifiesAScore) {
  const Golden& g = Golden::Keys();
  ReplayChecker checker(TestVerify().gameData);
  const std::string name = g.replay.Name;
  const int64_t score = g.replay.Score;
  auto rewritten = [&](auto change) {
    TReplay r = g.replay;
    change(r);
    const std::vector<uint8_t> file = WriteReplay(r);
    return std::string(file.begin(), file.end());
  };
  VerifyOptions quick = TestVerify(), shortGames = TestVerify();
  quick.cpuSeconds = 1e-6;  // asked after the first 4096 ticks
  shortGames.maxTicks = g.replay.Ticks - 1;
  struct Case {
    const char* what;
    std::string bytes, name;
    int64_t score;
    VerifyOptions limits;
    const char* reason;  // "" when verified
  };
  const Case cases[] = {
      {"the game itself", g.bytes, name, score, TestVerify(), ""},
      {"one key press changed", g.Tampered(), name, score, TestVerify(), "tick"},
      {"sent with another score", g.bytes, name, score + 5, TestVerify(), "the score sent is"},
      {"sent with another name", g.bytes, "Thief", score, TestVerify(), "sent as \"Thief\""},
      {"cut short", g.bytes.substr(0, g.bytes.size() / 2), name, score, TestVerify(), "not a replay"},
      {"of another version", rewritten([](TReplay& r) { r.GameVersion = "0.9"; }), name, score, TestVerify(),
       "PONDARO 0.9"},
      {"with other pictures", rewritten([](TReplay& r) { r.DataChecksum ^= 1; }), name, score, TestVerify(),
       "other pictures"},
      {"over the CPU limit", g.bytes, name, score, quick, "CPU time"},
      {"over the tick cap", g.bytes, name, score, shortGames, "ticks, more than"},
  };
  for (const Case& c : cases) {
    const ReplayVerdict v = checker.Check(c.bytes, c.name, c.score, c.limits);
    EXPECT_EQ(v.verified, std::string(c.reason).empty()) << c.what << ": " << v.reason;
    EXPECT_NE(v.reason.find(c.reason), std::string::npos) << c.what << ": " << v.reason;
    EXPECT_FALSE(v.interrupted) << c.what;
  }
  // A stop ends the re-play at once and is no verdict on the replay.
  const std::atomic<bool> stop{true};
  EXPECT_TRUE(checker.Check(g.bytes, name, score, TestVerify(), &stop).interrupted);
  EXPECT_TRUE(checker.Check(g.bytes, name, score, TestVerify()).verified) << "the checker is used again";
}

class Replays : public OnEachBackend {
 protected:
  void SetUp() override {
    OnEachBackend::SetUp();
    if (IsSkipped()) return;
    ServiceOptions o;
    o.quiet = true;
    o.ratePerMinute = 0;
    service = std::make_unique<ScoreService>(*storage, o, clock.Fn());
    service->OnReplayStored([this] { ++woken; });
  }
  // A score sent as the game sends it; its token.
  std::string Sent(const std::string& name, int64_t score) {
    const std::string token = TokenOf(service->Handle(Get("prg=Pondaro")));
    EXPECT_EQ(service->Handle(Get(SubmissionQuery(name, score, token))).status, 200);
    return token;
  }
  std::string ReplayColumn(const std::string& name) {
    for (const ListedScore& s : storage->List(100))
      if (s.score.name == name) return s.replay;
    return "<no score " + name + ">";
  }

  TestClock clock;
  std::unique_ptr<ScoreService> service;
  int woken = 0;
};

TEST_P(Replays, AReplayGoesWithItsScoreOnceAndIsTakenForItsCheckOnce) {
  const std::string token = Sent("Frog", 450), late = Sent("Late", 300), never = Sent("Never", 200);
  EXPECT_EQ(ReplayColumn("Never"), "");

  const std::string bytes("REPLAY\x00\xff", 8);
  const Response stored = service->Handle(Upload(token, bytes));
  EXPECT_EQ(stored.status, 202) << stored.body;
  EXPECT_EQ(woken, 1);
  EXPECT_EQ(ReplayColumn("Frog"), "pending");
  struct Case {
    const char* what;
    Request request;
    int status;
  };
  clock.Advance(kTokenLifetime);
  const Case refused[] = {
      {"the same token again", Upload(token, "again"), 403},
      {"a token no score was sent with", Upload(std::string(32, 'e'), "x"), 403},
      {"a score's token after two hours", Upload(late, "x"), 403},
      {"no token", Upload("", "x"), 400},
      {"no replay", Upload(never, ""), 400},
      {"too large", Upload(never, std::string(kMaxReplayUpload + 1, 'x')), 413},
  };
  for (const Case& c : refused) {
    const Response r = service->Handle(c.request);
    EXPECT_EQ(r.status, c.status) << c.what << ": " << r.body;
    EXPECT_EQ(r.body.rfind("Refused: ", 0), 0u) << c.what;
  }
  EXPECT_EQ(woken, 1);
  Request get = Upload(never, "x");
  get.method = "GET";
  EXPECT_EQ(service->Handle(get).status, 405);

  // Taken once, with what it must match; given to another checker only when
  // the first never reported, and failed after the last try.
  const int64_t now = clock.ms / 1000;
  const std::optional<PendingReplay> claimed = storage->ClaimReplay(now);
  ASSERT_TRUE(claimed);
  EXPECT_EQ(claimed->name, "Frog");
  EXPECT_EQ(claimed->score, 450);
  EXPECT_EQ(claimed->data, bytes);
  EXPECT_FALSE(storage->ClaimReplay(now));
  for (int attempt = 2; attempt <= kReplayAttempts; ++attempt)
    EXPECT_TRUE(storage->ClaimReplay(now + (attempt - 1) * (kReplayClaimSeconds + 1))) << attempt;
  EXPECT_FALSE(storage->ClaimReplay(now + kReplayAttempts * (kReplayClaimSeconds + 1)));
  EXPECT_EQ(ReplayColumn("Frog"), "failed: the re-play never finished (3 tries)");
}

TEST_P(Replays, AVerifiedScoreIsMarkedAndServesItsReplay) {
  Sent("Forger", 9'999'995);  // and no replay
  const std::string honest = Sent("Honest", 700), cheat = Sent("Cheat", 600);
  ASSERT_EQ(service->Handle(Upload(honest, "good")).status, 202);
  ASSERT_EQ(service->Handle(Upload(cheat, "bad")).status, 202);
  for (std::optional<PendingReplay> p; (p = storage->ClaimReplay(clock.ms / 1000));)
    storage->SetReplayState(p->scoreId, p->name == "Honest" ? ReplayState::Verified : ReplayState::Failed,
                            p->name == "Honest" ? "" : "the game went another way");

  const std::vector<TableRow> verified = storage->Table(100, true);
  ASSERT_EQ(verified.size(), 1u);
  EXPECT_EQ(verified[0].score.name, "Honest");
  EXPECT_EQ(verified[0].score.score, 700);
  EXPECT_TRUE(verified[0].verified);
  EXPECT_EQ(storage->Table(100, false).size(), 3u);
  EXPECT_EQ(ReplayColumn("Cheat"), "failed: the game went another way");

  Request file = Get("");
  file.path = std::string(kReplayPath) + "/" + std::to_string(verified[0].id);
  const Response r = service->Handle(file);
  EXPECT_EQ(r.status, 200);
  EXPECT_EQ(r.body, "good");
  EXPECT_EQ(r.contentType, "application/octet-stream");
  EXPECT_EQ(r.headers, (std::vector<std::pair<std::string, std::string>>{
                           {"Content-Disposition", "attachment; filename=\"pondaro-" + std::to_string(verified[0].id) +
                                                       ".pdr\""},
                           {"Cache-Control", "public, max-age=86400"}}));
  // Only a verified score's replay is served.
  for (const std::string& other : std::vector<std::string>{std::to_string(verified[0].id + 1),
                                                           "0" + std::to_string(verified[0].id), "-1", "x",
                                                           "99999999999999999999"}) {
    file.path = std::string(kReplayPath) + "/" + other;
    EXPECT_EQ(service->Handle(file).status, 404) << other;
  }
  // A removed score takes its replay with it.
  EXPECT_TRUE(storage->Remove(verified[0].id));
  EXPECT_FALSE(storage->VerifiedReplay(verified[0].id));
  EXPECT_TRUE(storage->Table(100, true).empty());
}

INSTANTIATE_TEST_SUITE_P(Backends, Replays, ::testing::Values(Backend::Sqlite, Backend::Postgres), BackendName);

// The upload over the wire: the one route with a body, and no more than 256 KiB.
TEST(Http, TheReplayRouteTakes256KiBAndNoMore) {
  RunningService s;
  auto post = [&](size_t bytes) {
    return RawHttp(s.Port(), std::string("POST ") + kReplayPath + "?token=" + std::string(32, 'a') +
                                 " HTTP/1.1\r\nHost: x\r\nConnection: close\r\nContent-Type: application/octet-stream\r\n"
                                 "Content-Length: " + std::to_string(bytes) + "\r\n\r\n" + std::string(bytes, 'r'));
  };
  // 403 is the service's answer: the whole body got through to it.
  EXPECT_EQ(post(kMaxReplayUpload).status, 403);
  EXPECT_EQ(post(kMaxReplayUpload + 1).status, 413);
  EXPECT_EQ(HttpGet(s.Port(), kReplayPath).status, 405);
}

}  // namespace
}  // namespace pondaro::scores::test
