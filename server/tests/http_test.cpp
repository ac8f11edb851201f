// The service over a real socket: what travels on the wire.
#include <gtest/gtest.h>

#include "http_fixture.h"

namespace pondaro::scores::test {
namespace {

TEST(Http, TheGamesExchangeOverTheWire) {
  RunningService s;
  ASSERT_GT(s.Port(), 0);
  const RawReply version = HttpGet(s.Port(), "/cgi/version.pl?prg=Pondaro");
  ASSERT_EQ(version.status, 200) << version.head;
  EXPECT_EQ(version.Header("Content-Type"), "text/plain; charset=utf-8");
  EXPECT_EQ(version.Header("Cache-Control"), "no-store");
  const std::string token = pondaro::ServerValue(version.body);
  ASSERT_EQ(token.size(), kTokenLength) << version.body;

  const RawReply stored = HttpGet(s.Port(), "/cgi/version.pl?" + SubmissionQuery("Wire", 2500, token, "NZ"));
  EXPECT_EQ(stored.status, 200) << stored.body;
  EXPECT_EQ(s.Scores().CountScores(), 1);

  const RawReply page = HttpGet(s.Port(), "/cgi/version.pl?prg=Pondaro&type=0&show");
  EXPECT_EQ(page.status, 200);
  EXPECT_EQ(page.Header("Content-Type"), "text/html; charset=utf-8");
  EXPECT_EQ(page.Header("X-Content-Type-Options"), "nosniff");
  EXPECT_NE(page.Header("Content-Security-Policy").find("default-src 'none'"), std::string::npos);
  EXPECT_NE(page.body.find("Wire"), std::string::npos);

  const RawReply home = HttpGet(s.Port(), "/");
  EXPECT_EQ(home.status, 200);
  EXPECT_NE(home.body.find("href=\"/cgi/version.pl?prg=Pondaro&amp;type=0&amp;show\""), std::string::npos);
}

TEST(Http, RefusalsCarryTheirStatus) {
  RunningService s;
  struct Case {
    const char* what;
    std::string request;
    int status;
  };
  const std::string tail = " HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n";
  const std::string post = "POST /cgi/version.pl?prg=Pondaro HTTP/1.1\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
  const Case cases[] = {
      {"POST", post, 405},
      {"other page", "GET /admin" + tail, 404},
      {"escaped query", "GET /cgi/version.pl?prg=Pond%61ro" + tail, 400},
      {"other program", "GET /cgi/version.pl?prg=Frogger" + tail, 400},
      {"long query", "GET /cgi/version.pl?prg=Pondaro&x=" + std::string(2000, 'a') + tail, 414},
      {"very long target", "GET /cgi/version.pl?prg=Pondaro&x=" + std::string(9000, 'a') + tail, 414},
      {"no version", "GET /\r\n\r\n", 400},
      {"not HTTP", "HELLO\r\n\r\n", 0},  // closed without a word
  };
  for (const Case& c : cases) {
    const RawReply r = RawHttp(s.Port(), c.request);
    EXPECT_EQ(r.status, c.status) << c.what << "\n" << r.head << "\n" << r.body;
  }
  EXPECT_EQ(RawHttp(s.Port(), post).Header("Allow"), "GET, HEAD");
  EXPECT_EQ(s.Scores().CountScores(), 0);
  EXPECT_EQ(s.Scores().CountTokens(), 0);
}

// No route takes a body today; one given an allowance gets its body up to it.
TEST(Http, ABodyOnlyWhereAllowedAndNoLarger) {
  HttpOptions h;
  h.bodies = {{"POST", "/cgi/version.pl", 16}};
  RunningService s(RunningService::Quiet(), h);
  auto post = [&](const std::string& path, const std::string& framing, const std::string& body) {
    return RawHttp(s.Port(), "POST " + path + " HTTP/1.1\r\nHost: x\r\nConnection: close\r\n" + framing + "\r\n" + body)
        .status;
  };
  // 405 is the service's answer: the body got through to it.
  EXPECT_EQ(post("/cgi/version.pl", "Content-Length: 16\r\n", std::string(16, 'a')), 405);
  EXPECT_EQ(post("/cgi/version.pl", "Transfer-Encoding: chunked\r\n", "10\r\n" + std::string(16, 'a') + "\r\n0\r\n\r\n"), 405);
  EXPECT_EQ(post("/cgi/version.pl", "Content-Length: 17\r\n", std::string(17, 'a')), 413);
  // Found too large halfway through: closed without an answer.
  EXPECT_EQ(post("/cgi/version.pl", "Transfer-Encoding: chunked\r\n", "11\r\n" + std::string(17, 'a') + "\r\n0\r\n\r\n"), 0);
  EXPECT_EQ(post("/", "Content-Length: 1\r\n", "a"), 413);
}

TEST(Http, TheClientAddressComesFromAProxyOnlyWhenTrusted) {
  for (bool trusted : {false, true}) {
    ServiceOptions o = RunningService::Quiet();
    o.ratePerMinute = 1;
    o.burst = 1;
    HttpOptions h;
    if (trusted) h.trustedProxies = {*ParseNetwork("127.0.0.1")};
    RunningService s(o, h);
    EXPECT_EQ(HttpGet(s.Port(), "/cgi/version.pl?prg=Pondaro", "X-Forwarded-For: 1.1.1.1\r\n").status, 200);
    const RawReply second = HttpGet(s.Port(), "/cgi/version.pl?prg=Pondaro", "X-Forwarded-For: 2.2.2.2\r\n");
    EXPECT_EQ(second.status, trusted ? 200 : 429) << trusted;
    if (!trusted) {
      EXPECT_EQ(second.Header("Retry-After"), "60");
    }
  }
}

}  // namespace
}  // namespace pondaro::scores::test
