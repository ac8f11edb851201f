#include "service.h"

#include <sys/random.h>

#include <cerrno>
#include <chrono>
#include <stdexcept>
#include <cstdio>

#include "address.h"
#include "pages.h"
#include "persist/score_service.h"
#include "query.h"
#include "sender.h"

namespace pondaro::scores {

namespace {

// Old tokens are swept out at most this often, by whichever request comes.
constexpr int64_t kPurgeEvery = 10 * 60;

Response Plain(int status, std::string line) {
  Response r;
  r.status = status;
  r.body = std::move(line) + "\n";
  return r;
}

Response Refused(int status, const std::string& why) { return Plain(status, "Refused: " + why); }

Response Html(std::string page) {
  Response r;
  r.contentType = "text/html; charset=utf-8";
  r.body = std::move(page);
  // Nothing on the pages runs or loads: even a name that slipped past the escaping
  // could not bring a script in.
  r.headers = {{"Content-Security-Policy", "default-src 'none'; style-src 'unsafe-inline'; frame-ancestors 'none'"},
               {"Cache-Control", "no-cache"}};
  return r;
}

}  // namespace

ScoreService::ScoreService(Storage& storage, ServiceOptions options, Clock clock, TokenSource tokens)
    : storage_(storage),
      options_(options),
      clock_(std::move(clock)),
      tokens_(std::move(tokens)),
      limiter_(storage.SharedLimiter(options.ratePerMinute, options.burst)) {
  if (!limiter_) limiter_ = std::make_unique<RateLimiter>(options.ratePerMinute, options.burst);
}

int64_t ScoreService::SystemClock() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
      .count();
}

std::string ScoreService::RandomToken() {
  unsigned char bytes[kTokenLength / 2];
  size_t got = 0;
  while (got < sizeof bytes) {
    const ssize_t n = getrandom(bytes + got, sizeof bytes - got, 0);
    if (n > 0)
      got += static_cast<size_t>(n);
    else if (errno != EINTR)
      throw std::runtime_error("no random numbers from the system");
  }
  static constexpr char kHex[] = "0123456789abcdef";
  std::string token;
  for (unsigned char b : bytes) {
    token += kHex[b >> 4];
    token += kHex[b & 15];
  }
  return token;
}

Response ScoreService::Handle(const Request& request) {
  Response r = Answer(request);
  // The pages say how they may be kept; the game's exchanges never may.
  bool said = false;
  for (const auto& header : r.headers) said |= header.first == "Cache-Control";
  if (!said) r.headers.emplace_back("Cache-Control", "no-store");
  return r;
}

Response ScoreService::Answer(const Request& request) {
  try {
    if (request.method != "GET" && request.method != "HEAD") {
      Response r = Refused(405, "only GET is served");
      r.headers.emplace_back("Allow", "GET, HEAD");
      return r;
    }
    if (request.path == "/") return Html(HomePage());
    if (request.path != kScorePath) return Refused(404, "no such page");
    const ParsedQuery query = ParseQuery(request.query);
    if (!query.ok) {
      Log(request.address + " refused (" + std::to_string(query.status) + "): " + query.error);
      return Refused(query.status, query.error);
    }
    const bool head = request.method == "HEAD";
    switch (query.kind) {
      // A link previewer asking for the headers gets no token: a token is
      // handed out only to be used.
      case RequestKind::VersionCheck: return head ? Plain(200, "OK") : VersionCheck(request);
      case RequestKind::Submission: {
        if (!head) return Submit(request, query.inf);
        Response r = Refused(405, "a score is sent with GET");
        r.headers.emplace_back("Allow", "GET");
        return r;
      }
      case RequestKind::Table: return Table();
    }
    return Refused(400, "malformed query");
  } catch (const std::exception& e) {
    Log(std::string("storage failed: ") + e.what(), true);
    return Plain(503, "Unavailable: the score table cannot be reached, try again later");
  }
}

bool ScoreService::Limited(const Request& request, Response& refusal) {
  int retryAfter = 0;
  if (limiter_->Allow(ClientKey(request.address), static_cast<double>(clock_()) / 1000.0, retryAfter)) return false;
  refusal = Refused(429, "too many requests, try again in " + std::to_string(retryAfter) + " s");
  refusal.headers.emplace_back("Retry-After", std::to_string(retryAfter));
  return true;
}

Response ScoreService::VersionCheck(const Request& request) {
  Response refusal;
  if (Limited(request, refusal)) return refusal;
  const int64_t now = clock_() / 1000;
  {
    // One request in a while sweeps the expired tokens; the others go on.
    std::unique_lock lock(purgeMutex_, std::try_to_lock);
    if (lock && now - lastPurge_ >= kPurgeEvery) {
      lastPurge_ = now;
      storage_.PurgeTokens(now - kTokenLifetime);
    }
  }
  const std::string token = tokens_();
  storage_.AddToken(token, now);
  // The game takes the fifth "|"-separated field, "OK" counting as the first, and
  // needs the "|" after it to find its end.
  return Plain(200, "OK|Pondaro|" PONDARO_VERSION "|" + std::to_string(kTokenLifetime) + "|" + token + "|");
}

Response ScoreService::Submit(const Request& request, const std::string& inf) {
  Response refusal;
  if (Limited(request, refusal)) return refusal;
  const RecordCheck check = CheckRecord(inf, options_.maxScore);
  if (!check.ok) {
    Log(request.address + " submission refused (" + std::to_string(check.status) + "): " + check.error);
    return Refused(check.status, check.error);
  }
  const Submission& s = check.submission;
  const int64_t now = clock_() / 1000;
  const std::string sender = SenderOf(options_.secret, ClientKey(request.address));
  switch (storage_.Redeem(s.token, now, kTokenLifetime, {s.name, s.country, s.score, now}, sender)) {
    case Redeemed::Stored:
      Log(request.address + " stored " + s.name + " (" + s.country + ") " + std::to_string(s.score));
      return Plain(200, "OK: score stored");
    case Redeemed::Expired:
      Log(request.address + " submission refused (403): token expired");
      return Refused(403, "the token has expired: ask for a version again");
    case Redeemed::Banned:
      Log(request.address + " submission refused (403): banned");
      return Refused(403, "scores from this address are not accepted");
    case Redeemed::Unknown: break;
  }
  Log(request.address + " submission refused (403): token unknown or used");
  return Refused(403, "the token is unknown or already used");
}

Response ScoreService::Table() { return Html(TablePage(storage_.Best(kTableSize))); }

void ScoreService::Log(const std::string& line, bool always) {
  if (!always && options_.quiet) return;
  std::fprintf(stderr, "pondaro-scores: %s\n", line.c_str());
}

}  // namespace pondaro::scores
