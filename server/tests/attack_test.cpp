// pondaro-scores attacked over its socket the way one client could once it is
// public: bounded loops against the real program, then what is left of it.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "http_fixture.h"

namespace pondaro::scores::test {
namespace {

using Clock = std::chrono::steady_clock;

#if defined(__SANITIZE_ADDRESS__)
constexpr double kMemoryLimitMb = 300;  // the sanitizer's own bookkeeping
#else
constexpr double kMemoryLimitMb = 100;
#endif

const std::string kTable = "/cgi/version.pl?prg=Pondaro&type=0&show";
const std::string kVersion = "/cgi/version.pl?prg=Pondaro";

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

// Keeps sending `bytes` over and over, up to `limit` in all; how much went
// before the server stopped taking it.
size_t Flood(HttpConnection& c, const std::string& start, const std::string& bytes, size_t limit) {
  if (!c.Send(start)) return 0;
  size_t sent = start.size();
  std::string block;
  while (block.size() < 65536) block += bytes;
  while (sent < limit && c.Send(block)) sent += block.size();
  return sent;
}

// Rows 1 to 3: a reply built from many ranges, endless headers and endless
// bodies of each kind; the process stays small, alive and answering.
TEST(Attack, RangesHeadersAndBodiesKeepTheServiceSmall) {
  ServiceProcess s({"--quiet"});
  ASSERT_GT(s.Port(), 0) << s.Log();
  std::vector<StoredScore> seed;
  for (int i = 0; i < 100; ++i) seed.push_back({"P" + std::to_string(i), "NZ", 5 * (i + 1), 1'700'000'000});
  OpenSqlite(s.Database())->Insert(seed);
  const RawReply plain = HttpGet(s.Port(), kTable);
  ASSERT_EQ(plain.status, 200);

  std::string ranges = "bytes=0-";
  while (ranges.size() < 7800) ranges += ",0-";
  std::vector<std::thread> clients;
  std::atomic<int> whole{0}, refused{0};
  for (int t = 0; t < 16; ++t)
    clients.emplace_back([&] {
      for (int i = 0; i < 4; ++i) {
        const RawReply r = HttpGet(s.Port(), kTable, "Range: " + ranges + "\r\n");
        if (r.status == 200 && r.body == plain.body && r.Header("Content-Type").find("multipart") == std::string::npos)
          ++whole;
        // With one more header the request is over the limit.
        if (HttpGet(s.Port(), kTable, "Range: " + ranges + "\r\nX: " + std::string(500, 'x') + "\r\n").status == 431)
          ++refused;
      }
    });
  for (auto& t : clients) t.join();
  EXPECT_EQ(whole, 64) << "every ranged request gets the whole page, never parts";
  EXPECT_EQ(refused, 64);

  struct Flooding {
    const char* what;
    std::string start, bytes;
    size_t limit;
    int status;
  };
  const Flooding floods[] = {
      {"100 MB of headers", "GET / HTTP/1.1\r\nHost: x\r\n", "X-Filler: 0123456789\r\n", 100u << 20, 431},
      {"a chunked body", "POST /cgi/version.pl HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: chunked\r\n\r\n",
       "400\r\n" + std::string(1024, 'b') + "\r\n", 400u << 20, 413},
      {"a body on a GET", "GET / HTTP/1.1\r\nHost: x\r\nContent-Length: 400000000\r\n\r\n", std::string(1024, 'b'),
       400u << 20, 413},
      // No length: no body, so what follows is taken for the next request.
      {"a body without a length", "POST / HTTP/1.1\r\nHost: x\r\n\r\n", std::string(1024, 'b'), 400u << 20, 405},
  };
  for (const Flooding& f : floods) {
    HttpConnection c(s.Port());
    const size_t sent = Flood(c, f.start, f.bytes, f.limit);
    EXPECT_LT(sent, f.limit / 4) << f.what << ": the server kept reading";
    EXPECT_EQ(c.Read().status, f.status) << f.what;
  }
  EXPECT_TRUE(s.Running());
  EXPECT_LT(s.PeakMb(), kMemoryLimitMb);
  EXPECT_EQ(HttpGet(s.Port(), kTable).status, 200);
}

// Row 4: connections that trickle a request in a byte at a time, from 20
// addresses, 25 each.
struct Slowloris {
  std::vector<std::unique_ptr<HttpConnection>> connections;
  Slowloris(int port, int count) {
    for (int i = 0; i < count; ++i) {
      auto c = std::make_unique<HttpConnection>(port, "127.0.0." + std::to_string(2 + i % 20));
      if (c->Send("GET / HTTP/1.1\r\nX-Slow: ")) connections.push_back(std::move(c));
    }
  }
  // One more byte on each; how many still took it.
  int Trickle() {
    int alive = 0;
    for (auto& c : connections) alive += c->Send("a") ? 1 : 0;
    return alive;
  }
  int Closed() {
    int closed = 0;
    for (auto& c : connections) closed += c->ClosedWithin(0) ? 1 : 0;
    return closed;
  }
};

TEST(Attack, SlowClientsHoldNoOneUpAndAreCutOff) {
  ServiceProcess s({"--quiet", "--request-timeout", "3", "--idle-timeout", "2"});
  ASSERT_GT(s.Port(), 0) << s.Log();
  Slowloris slow(s.Port(), 500);
  ASSERT_EQ(slow.connections.size(), 500u);
  const auto start = Clock::now();
  double worst = 0;
  int served = 0;
  while (Seconds(start) < 2) {
    slow.Trickle();
    const auto t0 = Clock::now();
    served += HttpGet(s.Port(), kVersion).status == 200 ? 1 : 0;
    worst = std::max(worst, Seconds(t0));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  EXPECT_GE(served, 5);
  EXPECT_LT(worst, 1.0) << "a real player waited";
  // Trickling never stops the request's clock.
  while (Seconds(start) < 5 && slow.Closed() < 500) {
    slow.Trickle();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  EXPECT_EQ(slow.Closed(), 500);

  // One address holds 32 connections at most; the rest are closed at once.
  std::vector<std::unique_ptr<HttpConnection>> greedy;
  for (int i = 0; i < 40; ++i) greedy.push_back(std::make_unique<HttpConnection>(s.Port(), "127.0.0.99"));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  int cut = 0;
  for (auto& c : greedy) cut += c->ClosedWithin(0) ? 1 : 0;
  EXPECT_EQ(cut, 8);

  // Stopping does not wait for them.
  Slowloris again(s.Port(), 500);
  again.Trickle();
  const auto stop = Clock::now();
  EXPECT_EQ(s.Terminate(5000), 0);
  EXPECT_LT(Seconds(stop), 5.0);
}

// Row 5: a body on a request that takes none is refused and the connection
// closed, so it is never read as the next request.
TEST(Attack, ABodyIsNeverReadAsTheNextRequest) {
  ServiceProcess s({"--quiet"});
  ASSERT_GT(s.Port(), 0) << s.Log();
  const std::string smuggled = "GET " + kVersion + " HTTP/1.1\r\nHost: x\r\n\r\n";
  HttpConnection c(s.Port());
  ASSERT_TRUE(c.Send("GET " + kVersion + " HTTP/1.1\r\nHost: x\r\nContent-Length: " + std::to_string(smuggled.size()) +
                     "\r\n\r\n"));
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  c.Send(smuggled);
  EXPECT_EQ(c.Read().status, 413);
  EXPECT_EQ(c.Read().status, 0) << "a second reply";
  EXPECT_EQ(OpenSqlite(s.Database())->CountTokens(), 0);

  // Requests without bodies still follow one another on a kept connection.
  HttpConnection kept(s.Port());
  ASSERT_TRUE(kept.Send(smuggled + smuggled));
  EXPECT_EQ(kept.Read().status, 200);
  EXPECT_EQ(kept.Read().status, 200);
  EXPECT_EQ(OpenSqlite(s.Database())->CountTokens(), 2);
}

}  // namespace
}  // namespace pondaro::scores::test
