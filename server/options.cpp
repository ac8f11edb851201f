#include "options.h"

#include <charconv>
#include <functional>
#include <map>

#include "address.h"

namespace pondaro::scores {

namespace {

bool Number(const std::string& text, long long low, long long high, long long& out) {
  const char* end = text.data() + text.size();
  auto [p, ec] = std::from_chars(text.data(), end, out);
  return ec == std::errc() && p == end && !text.empty() && out >= low && out <= high;
}

}  // namespace

bool ParseOptions(const std::vector<std::string>& args, Options& o, std::string& error) {
  // Each option with a value, its range, and where the value goes.
  using Set = std::function<void(long long)>;
  struct Numeric {
    long long low, high;
    Set set;
  };
  const std::map<std::string, Numeric> numeric = {
      {"--port", {0, 65535, [&](long long v) { o.port = static_cast<int>(v); }}},
      {"--pool", {1, 64, [&](long long v) { o.pool = static_cast<int>(v); }}},
      {"--threads", {1, 256, [&](long long v) { o.http.threads = static_cast<int>(v); }}},
      {"--db-timeout", {1, 300, [&](long long v) { o.dbTimeout = static_cast<int>(v); }}},
      {"--max-connections", {1, 100'000, [&](long long v) { o.http.maxConnections = static_cast<int>(v); }}},
      {"--max-connections-per-address",
       {0, 100'000, [&](long long v) { o.http.maxConnectionsPerAddress = static_cast<int>(v); }}},
      {"--max-header-bytes", {1024, 65536, [&](long long v) { o.http.maxHeaderBytes = static_cast<size_t>(v); }}},
      {"--request-timeout", {1, 3600, [&](long long v) { o.http.requestSeconds = static_cast<int>(v); }}},
      {"--idle-timeout", {1, 3600, [&](long long v) { o.http.idleSeconds = static_cast<int>(v); }}},
      {"--max-score", {5, 1'000'000'000'000LL, [&](long long v) { o.service.maxScore = v; }}},
      {"--rate", {0, 1'000'000, [&](long long v) { o.service.ratePerMinute = static_cast<double>(v); }}},
      {"--burst", {1, 1'000'000, [&](long long v) { o.service.burst = static_cast<double>(v); }}},
  };
  std::string proxies;
  const std::map<std::string, std::string*> text = {{"--address", &o.address},
                                                    {"--database", &o.database},
                                                    {"--postgres", &o.postgres},
                                                    {"--secret-file", &o.secretFile},
                                                    {"--trust-proxy", &proxies}};
  const std::map<std::string, bool*> flags = {{"--quiet", &o.service.quiet},
                                              {"--help", &o.help},
                                              {"-h", &o.help},
                                              {"--version", &o.version}};

  for (size_t i = 0; i < args.size(); ++i) {
    std::string name = args[i], value;
    bool inlineValue = false;
    if (const size_t eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
      value = name.substr(eq + 1);
      name.resize(eq);
      inlineValue = true;
    }
    if (auto f = flags.find(name); f != flags.end() && !inlineValue) {
      *f->second = true;
      continue;
    }
    const bool takesValue = numeric.count(name) || text.count(name);
    if (!takesValue) {
      error = "unknown option " + args[i];
      return false;
    }
    if (!inlineValue) {
      if (i + 1 >= args.size()) {
        error = name + " needs a value";
        return false;
      }
      value = args[++i];
    }
    if (auto t = text.find(name); t != text.end()) {
      if (value.empty()) {
        error = name + " needs a value";
        return false;
      }
      *t->second = value;
      continue;
    }
    const Numeric& n = numeric.at(name);
    long long v = 0;
    if (!Number(value, n.low, n.high, v)) {
      error = name + " takes a whole number from " + std::to_string(n.low) + " to " + std::to_string(n.high) +
              ", not \"" + value + "\"";
      return false;
    }
    n.set(v);
  }
  if (!proxies.empty() && !ParseNetworks(proxies, o.http.trustedProxies, error)) {
    error = "--trust-proxy: " + error;
    return false;
  }
  o.http.quiet = o.service.quiet;
  return true;
}

std::string HelpText() {
  return R"(Usage: pondaro-scores [OPTION]...
The PONDARO score service: hands out one-time tokens to the game's version check,
stores the high scores the game sends and shows the online table of the best 100.

It answers on the path /cgi/version.pl:
  ?prg=Pondaro                    version check: "OK|Pondaro|VERSION|7200|TOKEN|"
  ?hs&prg=Pondaro&inf=RECORD      a score; the token is good for one score, for 2 hours
  ?prg=Pondaro&type=0&show        the table page
and / is the game's home page.

Listening:
  --address HOST     address to listen on (default 127.0.0.1; 0.0.0.0 or :: for
                     every interface)
  --port N           TCP port (default 8765, where the game looks; 0 picks a free one)
  --threads N        requests answered at once (default 16); the connections
                     themselves are all served by one thread
  --trust-proxy ADDR[,ADDR...]
                     the reverse proxies in front (addresses or networks such as
                     10.0.0.0/8): only their X-Forwarded-For is read, and the client
                     is its right-most address that is not one of them
  --max-connections N              open connections at most (default 1000)
  --max-connections-per-address N  from one client address (default 32; 0: no cap;
                     the trusted proxies have none)
  --max-header-bytes N  request line and headers at most (default 8192; larger: 431)
  --request-timeout S   a request must arrive within S seconds, however slowly it
                     trickles in (default 10)
  --idle-timeout S      a connection silent for S seconds is closed (default 5)
  No request carries a body: one is refused (413) and the connection closed.

Storage:
  --database FILE    SQLite database file, created when missing
                     (default pondaro-scores.db in the working directory)
  --postgres CONN    use PostgreSQL instead, with a libpq connection string such as
                     "host=/run/postgresql dbname=pondaro"; keep passwords in
                     ~/.pgpass or PGPASSWORD. Several instances may share the database.
  --pool N           PostgreSQL connections per instance (default 4)
  --db-timeout S     PostgreSQL: a request gives up on the database after S seconds
                     (waiting for a connection, connecting and the statements; one
                     more to make a connection afresh) and is answered 503 (default 3)
  --secret-file FILE the key the senders' addresses are hashed with before they are
                     stored, made when missing (default: the SQLite file's name plus
                     ".secret"; with --postgres it must be given, the same file for
                     every instance)

Limits:
  --max-score N      refuse scores of N or more (default 10000000); a score must
                     also be a positive multiple of 5
  --rate N           version checks and submissions per minute from one address
                     (default 30; 0 turns the limit off); past it the answer is 429
  --burst N          requests an address may make at once before the rate applies
                     (default 10)
  Names are 1 to 10 and countries 0 to 10 letters or digits, as the game types them;
  queries longer than 1024 characters are refused (414).

Moderation:
  pondaro-scores admin [--database FILE | --postgres CONN] [--secret-file FILE] COMMAND
  (see pondaro-scores admin --help)

Other:
  --quiet            log only failures (default: every refusal and stored score)
  --help             this text
  --version          the version

Stop it with Ctrl+C or SIGTERM.
)";
}

}  // namespace pondaro::scores
