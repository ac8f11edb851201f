// contrib/nginx/pondaro-scores.conf in front of two instances on one database,
// served by Debian's nginx as an unprivileged process in a temporary folder: the
// game's whole protocol through it, and each real client with its own allowance
// whatever it writes in X-Forwarded-For.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <regex>

#include "http_fixture.h"
#include "persist/submit.h"

namespace pondaro::scores::test {
namespace {

constexpr const char* kNginx = "/usr/sbin/nginx";

// The contrib file with what only a real site has (TLS, public ports, the
// instances' ports) replaced; empty with `why` set when a part was not found.
std::string SiteForTest(int httpsPort, int httpPort, int first, int second, std::string& why) {
  std::string conf = ReadFile(PONDARO_CONTRIB_DIR "/nginx/pondaro-scores.conf");
  struct Change {
    const char* pattern;
    std::string replacement;
  };
  const Change changes[] = {
      {R"(\n\s*server 127\.0\.0\.1:8765;)", "\n    server 127.0.0.1:" + std::to_string(first) + ";"},
      {R"(\n\s*server 127\.0\.0\.1:8766;)", "\n    server 127.0.0.1:" + std::to_string(second) + ";"},
      {R"(\n\s*listen 443 ssl http2;)", "\n    listen 127.0.0.1:" + std::to_string(httpsPort) + ";"},
      {R"(\n\s*listen 80;)", "\n    listen 127.0.0.1:" + std::to_string(httpPort) + ";"},
      {R"(\n\s*listen \[::\]:\d+[^;]*;)", ""},
      {R"(\n\s*ssl_[a-z_]+ [^;]*;)", ""},
  };
  for (const Change& c : changes) {
    const std::regex re(c.pattern);
    if (!std::regex_search(conf, re)) {
      why = std::string("the configuration has nothing like ") + c.pattern;
      return "";
    }
    conf = std::regex_replace(conf, re, c.replacement);
  }
  return conf;
}

class Nginx {
 public:
  // nullptr with `why` set when nginx is not installed or does not start.
  static std::unique_ptr<Nginx> Start(const std::string& site, int port, std::string& why) {
    if (access(kNginx, X_OK) != 0) {
      why = std::string(kNginx) + " is not installed";
      return nullptr;
    }
    auto n = std::unique_ptr<Nginx>(new Nginx);
    const std::string user = UnprivilegedUser();
    const std::string d = n->dir_.Path();
    if (!user.empty() && std::system(("chown " + user + " " + d).c_str()) != 0) {
      why = "cannot give " + d + " to " + user;
      return nullptr;
    }
    WriteFile(d + "/pondaro-scores.conf", site);
    WriteFile(d + "/nginx.conf", "worker_processes 1;\npid " + d + "/nginx.pid;\nerror_log " + d +
                                     "/error.log info;\nevents { worker_connections 256; }\nhttp {\n  access_log " + d +
                                     "/access.log;\n  client_body_temp_path " + d + "/body;\n  proxy_temp_path " + d +
                                     "/proxy;\n  fastcgi_temp_path " + d + "/fastcgi;\n  uwsgi_temp_path " + d +
                                     "/uwsgi;\n  scgi_temp_path " + d + "/scgi;\n  include " + d +
                                     "/pondaro-scores.conf;\n}\n");
    SpawnOptions o;
    o.runAs = user;
    o.log = d + "/out.log";
    o.parentDeathSignal = SIGTERM;
    n->pid_ = Spawn({kNginx, "-p", d, "-c", d + "/nginx.conf", "-e", d + "/error.log", "-g", "daemon off;"}, o, why);
    if (n->pid_ < 0) return nullptr;
    for (int i = 0; i < 500 && PortFree(port); ++i) {
      if (WaitExit(n->pid_, 0) != -1) {
        n->pid_ = -1;
        why = "nginx stopped: " + Tail(d + "/out.log") + Tail(d + "/error.log");
        return nullptr;
      }
      usleep(10000);
    }
    return n;
  }
  ~Nginx() {
    if (pid_ > 0) Stop(pid_, SIGTERM, 5000);
  }
  std::string ErrorLog() const { return Tail(dir_ / "error.log"); }

 private:
  Nginx() = default;
  TempDir dir_{"pondaro-nginx", "/tmp"};
  pid_t pid_ = -1;
};

TEST(Proxy, TheGamesProtocolThroughNginx) {
  TempDir data;
  const std::string database = data / "scores.db";
  // Each instance keeps its own allowance on SQLite: a client has 2 x 3 at once.
  const std::vector<std::string> args = {"--trust-proxy", "127.0.0.1", "--rate", "6", "--burst", "3", "--quiet"};
  ServiceProcess first(args, database), second(args, database);
  ASSERT_GT(first.Port(), 0) << first.Log();
  ASSERT_GT(second.Port(), 0) << second.Log();
  const int port = FreePort(), httpPort = FreePort();
  std::string why;
  const std::string site = SiteForTest(port, httpPort, first.Port(), second.Port(), why);
  ASSERT_FALSE(site.empty()) << why;
  auto nginx = Nginx::Start(site, port, why);
  if (!nginx) GTEST_SKIP() << "nginx cannot run here: " << why;

  // A player at 127.0.0.2: version check, score, table; the token crosses instances.
  const std::string player = "127.0.0.2";
  const RawReply version = HttpGet(port, "/cgi/version.pl?prg=Pondaro", "", player);
  ASSERT_EQ(version.status, 200) << version.head << nginx->ErrorLog();
  EXPECT_EQ(version.Header("Cache-Control"), "no-store");
  const std::string token = pondaro::ServerValue(version.body);
  ASSERT_EQ(token.size(), kTokenLength) << version.body;
  EXPECT_EQ(HttpGet(port, "/cgi/version.pl?" + SubmissionQuery("Proxied", 4500, token), "", player).status, 200);
  const RawReply page = HttpGet(port, "/cgi/version.pl?prg=Pondaro&type=0&show", "", player);
  EXPECT_EQ(page.status, 200);
  EXPECT_NE(page.body.find("Proxied"), std::string::npos);
  EXPECT_EQ(HttpGet(port, "/", "", player).status, 200);
  EXPECT_EQ(HttpGet(httpPort, "/", "", player).status, 301) << "plain http goes to https";

  // Another player spends its allowance; writing someone else's address in
  // X-Forwarded-For wins it nothing, and the first player still has its own.
  const std::string greedy = "127.0.0.3";
  int allowed = 0;
  for (int i = 0; i < 12; ++i) allowed += HttpGet(port, "/cgi/version.pl?prg=Pondaro", "", greedy).status == 200;
  EXPECT_EQ(allowed, 6);
  for (const char* spoof : {"9.9.9.9", "127.0.0.2", "9.9.9.9, 8.8.8.8", "garbage"})
    EXPECT_EQ(HttpGet(port, "/cgi/version.pl?prg=Pondaro", std::string("X-Forwarded-For: ") + spoof + "\r\n", greedy).status,
              429)
        << spoof;
  EXPECT_EQ(HttpGet(port, "/cgi/version.pl?prg=Pondaro", "", player).status, 200);
}

}  // namespace
}  // namespace pondaro::scores::test
