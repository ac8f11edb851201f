// A per-address allowance of requests: a bucket of `burst` requests that refills
// at `perMinute`. RateLimiter keeps it in the memory of one service instance;
// PostgreSQL keeps it in the database for all instances (storage.h).
#pragma once
#include <cstddef>
#include <mutex>
#include <string>
#include <unordered_map>

namespace pondaro::scores {

// Decides whether a client (by its key) may make one more request.
class Limiter {
 public:
  virtual ~Limiter() = default;
  // True when `key` may make a request at `now` (seconds), which uses one up;
  // otherwise `retryAfter` is set to the whole seconds until it may.
  virtual bool Allow(const std::string& key, double now, int& retryAfter) = 0;
};

class RateLimiter : public Limiter {
 public:
  // `perMinute` 0 turns the limit off. At most `maxAddresses` are remembered; an
  // address whose bucket has filled up again is forgotten first.
  RateLimiter(double perMinute, double burst, size_t maxAddresses = 100000);

  bool Allow(const std::string& address, double now, int& retryAfter) override;
  size_t Remembered();

 private:
  struct Bucket {
    double tokens;
    double at;
  };
  void Forget(double now);

  double perSecond_;
  double burst_;
  size_t maxAddresses_;
  std::mutex mutex_;
  std::unordered_map<std::string, Bucket> buckets_;
};

}  // namespace pondaro::scores
