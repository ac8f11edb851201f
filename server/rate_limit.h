// A per-address allowance of requests: a bucket of `burst` requests that refills
// at `perMinute`. Kept in the memory of one service instance.
#pragma once
#include <cstddef>
#include <mutex>
#include <string>
#include <unordered_map>

namespace pondaro::scores {

class RateLimiter {
 public:
  // `perMinute` 0 turns the limit off. At most `maxAddresses` are remembered; an
  // address whose bucket has filled up again is forgotten first.
  RateLimiter(double perMinute, double burst, size_t maxAddresses = 100000);

  // True when `address` may make a request at `now` (seconds), which uses one up;
  // otherwise `retryAfter` is set to the whole seconds until it may.
  bool Allow(const std::string& address, double now, int& retryAfter);
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
