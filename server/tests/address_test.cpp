// Client addresses behind proxies, and what an address is limited by.
#include <gtest/gtest.h>

#include "address.h"
#include "connections.h"

namespace pondaro::scores::test {
namespace {

TEST(Address, TheClientBehindTrustedProxies) {
  std::vector<Network> trusted;
  std::string error;
  ASSERT_TRUE(ParseNetworks("127.0.0.1, 10.0.0.0/8,::1", trusted, error)) << error;
  struct Case {
    const char* what;
    std::string peer;
    std::vector<std::string> forwardedFor;
    std::string client;
  };
  const Case cases[] = {
      {"no header", "127.0.0.1", {}, "127.0.0.1"},
      {"a peer that is no proxy", "192.0.2.9", {"1.2.3.4"}, "192.0.2.9"},
      {"the proxy's entry", "127.0.0.1", {"1.2.3.4"}, "1.2.3.4"},
      {"the client's own entry before it", "127.0.0.1", {"6.6.6.6, 1.2.3.4"}, "1.2.3.4"},
      {"a chain of our proxies", "127.0.0.1", {"1.2.3.4, 10.1.2.3,10.9.9.9"}, "1.2.3.4"},
      {"two header lines", "127.0.0.1", {"6.6.6.6", "1.2.3.4"}, "1.2.3.4"},
      {"IPv6 behind an IPv6 proxy", "::1", {"2001:db8::7"}, "2001:db8::7"},
      {"IPv4 as IPv6", "127.0.0.1", {"::ffff:1.2.3.4"}, "1.2.3.4"},
      {"only proxies", "127.0.0.1", {"10.0.0.1"}, "10.0.0.1"},
      {"the client's own text", "127.0.0.1", {"evil, 1.2.3.4"}, "1.2.3.4"},
      {"text where the client's address belongs", "127.0.0.1", {"1.2.3.4, evil"}, "127.0.0.1"},
      {"text after our proxy's entry", "127.0.0.1", {"1.2.3.4, evil, 10.0.0.5"}, "127.0.0.1"},
      {"a port", "127.0.0.1", {"1.2.3.4:80"}, "127.0.0.1"},
      {"brackets", "127.0.0.1", {"[2001:db8::7]"}, "127.0.0.1"},
      {"empty entries", "127.0.0.1", {" , "}, "127.0.0.1"},
      {"a line of log", "127.0.0.1", {"1.2.3.4\nstored Admin 999"}, "127.0.0.1"},
      {"a long one", "127.0.0.1", {std::string(5000, '1')}, "127.0.0.1"},
  };
  for (const Case& c : cases) EXPECT_EQ(ClientAddress(c.peer, c.forwardedFor, trusted), c.client) << c.what;
}

TEST(Address, NetworksAndKeys) {
  const auto net = ParseNetwork("10.0.0.0/8");
  ASSERT_TRUE(net);
  EXPECT_TRUE(net->Contains(*ParseIp("10.255.1.1")));
  EXPECT_FALSE(net->Contains(*ParseIp("11.0.0.0")));
  EXPECT_FALSE(net->Contains(*ParseIp("::ffff:b00:1")));
  EXPECT_TRUE(ParseNetwork("fd00::/7")->Contains(*ParseIp("fdff::1")));
  EXPECT_FALSE(ParseNetwork("fd00::/7")->Contains(*ParseIp("fe00::1")));
  for (const char* bad : {"10.0.0.0/33", "10.0.0.0/", "::1/129", "host.example.org", "", "1.2.3.4/8x"})
    EXPECT_FALSE(ParseNetwork(bad)) << bad;

  // A subscriber's whole IPv6 /64 is one client; an IPv4 address is itself.
  EXPECT_EQ(ClientKey("2001:db8:1:2:3:4:5:6"), "2001:db8:1:2::/64");
  EXPECT_EQ(ClientKey("2001:db8:1:2::9"), "2001:db8:1:2::/64");
  EXPECT_EQ(ClientKey("2001:db8:1:3::9"), "2001:db8:1:3::/64");
  EXPECT_EQ(ClientKey("192.0.2.1"), "192.0.2.1");
  EXPECT_EQ(ClientKey("::ffff:192.0.2.1"), "192.0.2.1");
}

TEST(Address, ConnectionsAreCappedPerClient) {
  Connections open(2, std::chrono::milliseconds(0), {*ParseNetwork("10.0.0.0/8")});
  std::vector<Connections::Connection*> held;
  for (const char* peer : {"2001:db8::1", "2001:db8::2", "192.0.2.1", "192.0.2.1", "10.0.0.1", "10.0.0.1"})
    held.push_back(open.Opened(peer, -1));
  EXPECT_FALSE(open.MayOpen("2001:db8::3")) << "another address of the same /64";
  EXPECT_TRUE(open.MayOpen("2001:db8:0:1::1"));
  EXPECT_FALSE(open.MayOpen("192.0.2.1"));
  EXPECT_TRUE(open.MayOpen("192.0.2.2"));
  EXPECT_TRUE(open.MayOpen("10.0.0.1")) << "a trusted proxy carries everybody's";
  open.Closed(held[2]);
  EXPECT_TRUE(open.MayOpen("192.0.2.1"));
  for (size_t i = 0; i < held.size(); ++i)
    if (i != 2) open.Closed(held[i]);
  EXPECT_EQ(open.Count(), 0u);
}

}  // namespace
}  // namespace pondaro::scores::test
