// What the service answers, apart from sockets: a request in, a response out.
// The HTTP front end (http_server.h) and the tests both drive it.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "rate_limit.h"
#include "record.h"
#include "storage.h"

namespace pondaro::scores {

struct ServiceOptions {
  int64_t maxScore = kDefaultMaxScore;
  double ratePerMinute = 30;  // version checks and submissions, per address
  double burst = 10;
  bool quiet = false;         // log only failures of the service itself
  std::string secret;         // the key of the senders' hashes (sender.h)
};

inline constexpr int64_t kTokenLifetime = 2 * 60 * 60;

struct Request {
  std::string method = "GET";
  std::string path;
  std::string query;    // after "?", as it arrived
  std::string address;  // the client's
  std::string body;     // on a route that takes one (http_server.h); none do yet
};

struct Response {
  int status = 200;
  std::string contentType = "text/plain; charset=utf-8";
  std::string body;
  std::vector<std::pair<std::string, std::string>> headers;
};

class ScoreService {
 public:
  using Clock = std::function<int64_t()>;             // Unix milliseconds
  using TokenSource = std::function<std::string()>;  // kTokenLength small hex digits

  ScoreService(Storage& storage, ServiceOptions options, Clock clock = SystemClock,
               TokenSource tokens = RandomToken);

  // Never throws: a failing database answers 503.
  Response Handle(const Request& request);

  static int64_t SystemClock();
  static std::string RandomToken();

 private:
  Response Answer(const Request& request);
  Response VersionCheck(const Request& request);
  Response Submit(const Request& request, const std::string& inf);
  Response Table();
  bool Limited(const Request& request, Response& refusal);
  void Log(const std::string& line, bool always = false);

  Storage& storage_;
  ServiceOptions options_;
  Clock clock_;
  TokenSource tokens_;
  std::unique_ptr<Limiter> limiter_;
  std::mutex purgeMutex_;
  int64_t lastPurge_ = 0;
};

}  // namespace pondaro::scores
