#include "rate_limit.h"

#include <algorithm>
#include <cmath>

namespace pondaro::scores {

RateLimiter::RateLimiter(double perMinute, double burst, size_t maxAddresses)
    : perSecond_(perMinute / 60.0), burst_(std::max(1.0, burst)), maxAddresses_(std::max<size_t>(1, maxAddresses)) {}

bool RateLimiter::Allow(const std::string& address, double now, int& retryAfter) {
  if (perSecond_ <= 0) return true;
  std::lock_guard lock(mutex_);
  auto it = buckets_.find(address);
  if (it == buckets_.end()) {
    if (buckets_.size() >= maxAddresses_) Forget(now);
    it = buckets_.emplace(address, Bucket{burst_, now}).first;
  }
  Bucket& b = it->second;
  // A clock that stepped back refills nothing and takes nothing away.
  b.tokens = std::min(burst_, b.tokens + std::max(0.0, now - b.at) * perSecond_);
  b.at = std::max(b.at, now);
  if (b.tokens >= 1.0) {
    b.tokens -= 1.0;
    return true;
  }
  retryAfter = static_cast<int>(std::ceil((1.0 - b.tokens) / perSecond_));
  return false;
}

size_t RateLimiter::Remembered() {
  std::lock_guard lock(mutex_);
  return buckets_.size();
}

void RateLimiter::Forget(double now) {
  std::erase_if(buckets_, [&](const auto& kv) {
    return kv.second.tokens + std::max(0.0, now - kv.second.at) * perSecond_ >= burst_;
  });
  // Every remembered address is busy: make room anyway rather than grow without
  // bound. The forgotten one starts afresh, which errs on the side of the player.
  if (buckets_.size() >= maxAddresses_) buckets_.erase(buckets_.begin());
}

}  // namespace pondaro::scores
