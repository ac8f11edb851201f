// pondaro-scores-load: the service under load, on SQLite and on PostgreSQL.
//
// Clients on their own threads (8 by default) send 10,000 scores between them,
// each as the game does: a version check, then the submission with its token,
// over keep-alive connections to 127.0.0.1. Reported: submissions and requests
// per second, and the latency of each kind of request. Then the table page is
// timed with 100,000 scores stored.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <thread>

#include "http_server.h"
#include "persist/score_service.h"
#include "persist/submit.h"
#include "testing/http_client.h"
#include "testing/postgres_instance.h"

using namespace pondaro::scores;
using namespace pondaro::scores::testing;
using Clock = std::chrono::steady_clock;

namespace {

struct Settings {
  int submissions = 10000;
  int clients = 8;
  int tableScores = 100000;
  int pageLoads = 200;
  bool sqlite = true;
  bool postgres = true;
};

// A kept-alive GET, as a browser or the game's HTTP library sends it.
std::string Get(const std::string& target) { return "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n"; }

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Percentile(std::vector<double> v, double p) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[std::min(v.size() - 1, static_cast<size_t>(p * static_cast<double>(v.size())))];
}

// The service on a free port for as long as it lives.
class Served {
 public:
  explicit Served(Storage& storage) : service_(storage, Options()), server_(service_, Http()) {
    port_ = server_.Bind("127.0.0.1", 0);
    thread_ = std::thread([this] { server_.Run(); });
  }
  ~Served() {
    server_.Stop();
    thread_.join();
  }
  int Port() const { return port_; }

 private:
  static HttpOptions Http() {
    HttpOptions h;
    h.quiet = true;
    return h;
  }
  static ServiceOptions Options() {
    ServiceOptions o;
    o.ratePerMinute = 0;  // every client here shares one address
    o.quiet = true;
    return o;
  }
  ScoreService service_;
  HttpServer server_;
  int port_;
  std::thread thread_;
};

bool Submissions(const char* backend, Storage& storage, const Settings& s) {
  Served served(storage);
  std::vector<std::vector<double>> checks(s.clients), sends(s.clients);
  std::atomic<int> failures{0};
  const auto start = Clock::now();
  std::vector<std::thread> clients;
  for (int c = 0; c < s.clients; ++c)
    clients.emplace_back([&, c] {
      HttpConnection client(served.Port());
      const std::string versionTarget =
          pondaro::VersionCheckUrl().substr(std::string(pondaro::kVersionCheckBase).size());
      for (int i = c; i < s.submissions; i += s.clients) {
        auto t0 = Clock::now();
        const RawReply version = client.Exchange(Get(versionTarget));
        auto t1 = Clock::now();
        if (version.status != 200) {
          ++failures;
          continue;
        }
        const std::string record = pondaro::ScoreRecord("Load" + std::to_string(i % 1000), 5 * (1 + i % 20000),
                                                        pondaro::ServerValue(version.body), "Bench");
        const RawReply sent = client.Exchange(Get("/cgi/version.pl?hs&prg=Pondaro&inf=" + pondaro::EncodeRecord(record)));
        auto t2 = Clock::now();
        if (sent.status != 200) ++failures;
        checks[c].push_back(Ms(t1 - t0));
        sends[c].push_back(Ms(t2 - t1));
      }
    });
  for (auto& t : clients) t.join();
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  std::vector<double> check, send, both;
  for (int c = 0; c < s.clients; ++c) {
    check.insert(check.end(), checks[c].begin(), checks[c].end());
    send.insert(send.end(), sends[c].begin(), sends[c].end());
  }
  both = check;
  both.insert(both.end(), send.begin(), send.end());
  const int64_t stored = storage.CountScores();
  std::printf("%-10s %6d submissions from %d clients in %6.2f s: %7.0f submissions/s, %7.0f requests/s\n", backend,
              s.submissions, s.clients, seconds, s.submissions / seconds, 2 * s.submissions / seconds);
  std::printf("%-10s   latency ms      p50     p99     max\n", "");
  std::printf("%-10s   version check %6.2f  %6.2f  %6.2f\n", "", Percentile(check, 0.5), Percentile(check, 0.99),
              Percentile(check, 1.0));
  std::printf("%-10s   submission    %6.2f  %6.2f  %6.2f\n", "", Percentile(send, 0.5), Percentile(send, 0.99),
              Percentile(send, 1.0));
  std::printf("%-10s   any request   %6.2f  %6.2f  %6.2f\n", "", Percentile(both, 0.5), Percentile(both, 0.99),
              Percentile(both, 1.0));
  if (failures || stored != s.submissions) {
    std::printf("%-10s   FAILED: %d requests failed, %lld of %d scores stored\n", backend, failures.load(),
                static_cast<long long>(stored), s.submissions);
    return false;
  }
  return true;
}

bool TablePage(const char* backend, Storage& storage, const Settings& s) {
  std::mt19937 rng(11);
  std::vector<StoredScore> scores;
  const int64_t have = storage.CountScores();
  for (int64_t i = have; i < s.tableScores; ++i)
    scores.push_back({"Seed" + std::to_string(i % 100000), "X", 5 * static_cast<int64_t>(1 + rng() % 2'000'000),
                      1'700'000'000 + i});
  storage.Insert(scores);
  Served served(storage);
  HttpConnection client(served.Port());
  std::vector<double> times;
  size_t bytes = 0;
  for (int i = 0; i < s.pageLoads; ++i) {
    const auto t0 = Clock::now();
    const RawReply page = client.Exchange(Get("/cgi/version.pl?prg=Pondaro&type=0&show"));
    times.push_back(Ms(Clock::now() - t0));
    if (page.status != 200) {
      std::printf("%-10s   FAILED: the table page did not load\n", backend);
      return false;
    }
    bytes = page.body.size();
  }
  std::printf("%-10s table page with %lld scores stored (%zu bytes): p50 %.2f ms, p99 %.2f ms over %d loads\n",
              backend, static_cast<long long>(storage.CountScores()), bytes, Percentile(times, 0.5),
              Percentile(times, 0.99), s.pageLoads);
  return true;
}

bool Number(const char* text, int& out) {
  char* end = nullptr;
  const long v = std::strtol(text, &end, 10);
  if (!end || *end || v < 1 || v > 10'000'000) return false;
  out = static_cast<int>(v);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Settings s;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool hasValue = i + 1 < argc;
    if (a == "--submissions" && hasValue && Number(argv[++i], s.submissions)) continue;
    if (a == "--clients" && hasValue && Number(argv[++i], s.clients)) continue;
    if (a == "--table-scores" && hasValue && Number(argv[++i], s.tableScores)) continue;
    if (a == "--sqlite-only") { s.postgres = false; continue; }
    if (a == "--postgres-only") { s.sqlite = false; continue; }
    std::fprintf(stderr,
                 "usage: pondaro-scores-load [--submissions N] [--clients N] [--table-scores N] "
                 "[--sqlite-only | --postgres-only]\n");
    return 2;
  }
  std::printf("pondaro-scores-load: %u cores; service with 16 request threads, no rate limit\n",
              std::thread::hardware_concurrency());
  bool ok = true;
  if (s.sqlite) {
    TempDir dir;
    auto storage = OpenSqlite(dir / "load.db");
    ok &= Submissions("SQLite", *storage, s);
    ok &= TablePage("SQLite", *storage, s);
  }
  if (s.postgres) {
    // As durable as SQLite's WAL with synchronous=NORMAL: a crash of the service
    // or of the database loses nothing, a power cut may lose the last commits.
    std::string reason;
    auto pg = PostgresInstance::Start(reason, {"synchronous_commit=off"});
    if (!pg) {
      std::printf("PostgreSQL skipped: %s\n", reason.c_str());
    } else {
      // Seeding 100,000 scores takes longer than a request may.
      auto storage = OpenPostgres(pg->NewDatabase(), 4, 120);
      ok &= Submissions("PostgreSQL", *storage, s);
      ok &= TablePage("PostgreSQL", *storage, s);
    }
  }
  return ok ? 0 : 1;
}
