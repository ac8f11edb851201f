// The command line.
#include <gtest/gtest.h>

#include "options.h"

namespace pondaro::scores::test {
namespace {

TEST(Options, DefaultsAreTheGamesAddress) {
  Options o;
  std::string error;
  ASSERT_TRUE(ParseOptions({}, o, error)) << error;
  EXPECT_EQ(o.address, "127.0.0.1");
  EXPECT_EQ(o.port, 8765);
  EXPECT_TRUE(o.postgres.empty());
}

TEST(Options, ValuesAndTheirLimits) {
  Options o;
  std::string error;
  ASSERT_TRUE(ParseOptions({"--port", "0", "--database=x.db", "--max-score", "1000", "--rate=0", "--burst", "5",
                            "--postgres", "dbname=p", "--pool", "8", "--threads", "4", "--trust-proxy", "10.0.0.0/8, ::1", "--quiet",
                            "--address", "::1"},
                           o, error))
      << error;
  EXPECT_EQ(o.port, 0);
  EXPECT_EQ(o.database, "x.db");
  EXPECT_EQ(o.service.maxScore, 1000);
  EXPECT_EQ(o.service.ratePerMinute, 0);
  EXPECT_EQ(o.service.burst, 5);
  EXPECT_EQ(o.postgres, "dbname=p");
  EXPECT_EQ(o.pool, 8);
  EXPECT_EQ(o.http.threads, 4);
  ASSERT_EQ(o.http.trustedProxies.size(), 2u);
  EXPECT_TRUE(InAny(o.http.trustedProxies, "10.9.8.7"));
  EXPECT_TRUE(InAny(o.http.trustedProxies, "::1"));
  EXPECT_FALSE(InAny(o.http.trustedProxies, "11.0.0.1"));
  EXPECT_TRUE(o.service.quiet);
  EXPECT_EQ(o.address, "::1");

  const std::vector<std::vector<std::string>> bad = {
      {"--port", "65536"}, {"--port", "-1"}, {"--port", "80x"}, {"--port"}, {"--max-score", "0"},
      {"--pool", "0"},     {"--database", ""}, {"--frobnicate"}, {"--quiet=yes"}, {"8765"},
      {"--trust-proxy", "10.0.0.0/33"}, {"--trust-proxy", "proxy.example.org"}, {"--max-header-bytes", "100"}};
  for (const auto& args : bad) {
    Options b;
    error.clear();
    EXPECT_FALSE(ParseOptions(args, b, error)) << args[0];
    EXPECT_FALSE(error.empty()) << args[0];
  }
}

TEST(Options, HelpNamesEveryOption) {
  const std::string help = HelpText();
  for (const char* name : {"--address", "--port", "--database", "--postgres", "--pool", "--threads", "--max-score",
                           "--rate", "--burst", "--trust-proxy", "--quiet", "--help", "--version", "--db-timeout", "--secret-file",
                           "--max-connections", "--max-connections-per-address", "--max-header-bytes",
                           "--request-timeout", "--idle-timeout", "admin"})
    EXPECT_NE(help.find(name), std::string::npos) << name;
}

}  // namespace
}  // namespace pondaro::scores::test
