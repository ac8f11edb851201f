// The per-address allowance.
#include <gtest/gtest.h>

#include "rate_limit.h"

namespace pondaro::scores::test {
namespace {

TEST(RateLimit, ABurstThenTheRate) {
  RateLimiter limit(30, 3);  // one every 2 s after three at once
  int retry = 0;
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(limit.Allow("a", 100.0, retry)) << i;
  EXPECT_FALSE(limit.Allow("a", 100.0, retry));
  EXPECT_EQ(retry, 2);
  // Other addresses have their own allowance.
  EXPECT_TRUE(limit.Allow("b", 100.0, retry));
  EXPECT_FALSE(limit.Allow("a", 101.0, retry));
  EXPECT_EQ(retry, 1);
  EXPECT_TRUE(limit.Allow("a", 102.0, retry));
  EXPECT_FALSE(limit.Allow("a", 102.5, retry));
  // Refills no higher than the burst.
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(limit.Allow("a", 1000.0, retry)) << i;
  EXPECT_FALSE(limit.Allow("a", 1000.0, retry));
  // A clock that steps back gives nothing.
  EXPECT_FALSE(limit.Allow("a", 900.0, retry));
}

TEST(RateLimit, ZeroMeansNoLimit) {
  RateLimiter limit(0, 1);
  int retry = 0;
  for (int i = 0; i < 1000; ++i) ASSERT_TRUE(limit.Allow("a", 0.0, retry));
}

TEST(RateLimit, MemoryStaysBounded) {
  RateLimiter limit(60, 2, 100);
  int retry = 0;
  for (int i = 0; i < 1000; ++i) limit.Allow("10.0." + std::to_string(i), 1000.0 + i * 0.001, retry);
  EXPECT_LE(limit.Remembered(), 100u);
  // Addresses whose allowance has filled up again are the ones let go; the busy
  // ones are remembered, and stay refused.
  for (int round = 0; round < 2; ++round)
    for (int i = 0; i < 60; ++i) limit.Allow("busy" + std::to_string(i), 5000.0, retry);
  EXPECT_EQ(limit.Remembered(), 60u);
  for (int i = 0; i < 60; ++i) EXPECT_FALSE(limit.Allow("busy" + std::to_string(i), 5000.0, retry)) << i;
}

}  // namespace
}  // namespace pondaro::scores::test
