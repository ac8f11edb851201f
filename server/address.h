// Client addresses: parsing, networks of trusted proxies, the address behind a
// proxy, and the key an address is limited and banned by.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct sockaddr;

namespace pondaro::scores {

struct IpAddress {
  bool v6 = false;
  std::array<uint8_t, 16> bytes{};  // an IPv4 address in the first four
};

// Only a plain IPv4 or IPv6 address (no port, no brackets, no zone); an
// IPv4-mapped IPv6 address is the IPv4 address.
std::optional<IpAddress> ParseIp(std::string_view text);
std::string FormatIp(const IpAddress& address);
// The address of a socket peer as text, IPv4-mapped addresses as IPv4; empty for
// anything but IPv4 and IPv6.
std::string PeerAddress(const sockaddr* address);

struct Network {
  IpAddress base;
  int prefix = 0;  // leading bits that must match
  bool Contains(const IpAddress& address) const;
};

// "192.0.2.7", "10.0.0.0/8", "::1", "fd00::/8"; nullopt when malformed.
std::optional<Network> ParseNetwork(std::string_view text);
// A comma-separated list of networks; false with `error` naming the bad entry.
bool ParseNetworks(std::string_view list, std::vector<Network>& out, std::string& error);
bool InAny(const std::vector<Network>& networks, const std::string& address);

// The client of a request. Only when the peer is a trusted proxy is
// X-Forwarded-For read (`forwardedFor`: every header line, in order): the client
// is the right-most entry that is not itself a trusted proxy. When an entry up to
// that one is not an address, the peer counts, as it does without the header.
std::string ClientAddress(const std::string& peer, const std::vector<std::string>& forwardedFor,
                          const std::vector<Network>& trusted);

// What an address is limited and banned by: an IPv4 address itself, an IPv6
// address's /64 ("2001:db8:1:2::/64"), since one subscriber gets a whole /64.
// Anything else is returned as it is.
std::string ClientKey(const std::string& address);

}  // namespace pondaro::scores
