// What the service answers apart from storage: HEAD, caching, IPv6 clients.
#include <gtest/gtest.h>

#include "fixtures.h"

namespace pondaro::scores::test {
namespace {

struct Served {
  TempDir dir;
  std::unique_ptr<Storage> storage = OpenSqlite(dir / "scores.db");
  TestClock clock;
  std::unique_ptr<ScoreService> service;
  explicit Served(double rate = 0, double burst = 10) {
    ServiceOptions o;
    o.quiet = true;
    o.ratePerMinute = rate;
    o.burst = burst;
    service = std::make_unique<ScoreService>(*storage, o, clock.Fn());
  }
  Response Handle(const std::string& query, const std::string& method = "GET", const std::string& address = "10.0.0.1") {
    Request r = Get(query, address);
    r.method = method;
    return service->Handle(r);
  }
};

std::string CacheControl(const Response& r) {
  for (const auto& [name, value] : r.headers)
    if (name == "Cache-Control") return value;
  return "";
}

TEST(Service, HeadChangesNothing) {
  Served s;
  const Response head = s.Handle("prg=Pondaro", "HEAD");
  EXPECT_EQ(head.status, 200);
  EXPECT_EQ(s.storage->CountTokens(), 0) << "a link previewer got a token";
  const std::string token = TokenOf(s.Handle("prg=Pondaro"));
  const Response send = s.Handle(SubmissionQuery("Peek", 500, token), "HEAD");
  EXPECT_EQ(send.status, 405);
  EXPECT_EQ(s.storage->CountScores(), 0);
  EXPECT_EQ(s.Handle(SubmissionQuery("Real", 500, token)).status, 200) << "the token was spent";
  EXPECT_EQ(s.Handle("prg=Pondaro&type=0&show", "HEAD").status, 200);
}

TEST(Service, TheGamesExchangesAreNeverCached) {
  Served s(60, 2);
  const std::string token = TokenOf(s.Handle("prg=Pondaro"));
  const std::pair<const char*, std::string> exchanges[] = {
      {"version check", "prg=Pondaro"},
      {"stored", SubmissionQuery("Kept", 500, token)},
      {"refused token", SubmissionQuery("Again", 500, token)},
      {"rate limited", "prg=Pondaro"},
      {"malformed", "prg=Frogger"},
      {"too long", "prg=Pondaro&x=" + std::string(2000, 'a')},
  };
  for (const auto& [what, query] : exchanges) EXPECT_EQ(CacheControl(s.Handle(query)), "no-store") << what;
  EXPECT_EQ(CacheControl(s.Handle("prg=Pondaro&type=0&show")), "no-cache");
}

TEST(Service, AnIPv6SubscriberIsOneClient) {
  Served s(60, 2);
  EXPECT_EQ(s.Handle("prg=Pondaro", "GET", "2001:db8:1:2::1").status, 200);
  EXPECT_EQ(s.Handle("prg=Pondaro", "GET", "2001:db8:1:2::2").status, 200);
  EXPECT_EQ(s.Handle("prg=Pondaro", "GET", "2001:db8:1:2:ffff::3").status, 429) << "same /64";
  EXPECT_EQ(s.Handle("prg=Pondaro", "GET", "2001:db8:1:3::1").status, 200) << "the next /64";
}

}  // namespace
}  // namespace pondaro::scores::test
