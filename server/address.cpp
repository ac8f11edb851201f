#include "address.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <charconv>
#include <cstring>

namespace pondaro::scores {

namespace {

constexpr uint8_t kMapped[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff, 0xff};

std::string_view Trim(std::string_view s) {
  const size_t a = s.find_first_not_of(" \t");
  if (a == std::string_view::npos) return {};
  return s.substr(a, s.find_last_not_of(" \t") - a + 1);
}

IpAddress FromV6(const uint8_t* bytes) {
  IpAddress a;
  if (std::memcmp(bytes, kMapped, sizeof kMapped) == 0) {
    std::memcpy(a.bytes.data(), bytes + 12, 4);
  } else {
    a.v6 = true;
    std::memcpy(a.bytes.data(), bytes, 16);
  }
  return a;
}

}  // namespace

std::optional<IpAddress> ParseIp(std::string_view text) {
  // inet_pton wants a terminated string; no address is longer than this.
  char buf[INET6_ADDRSTRLEN + 1];
  if (text.empty() || text.size() >= sizeof buf) return std::nullopt;
  std::memcpy(buf, text.data(), text.size());
  buf[text.size()] = '\0';
  uint8_t bytes[16];
  if (inet_pton(AF_INET, buf, bytes) == 1) {
    IpAddress a;
    std::memcpy(a.bytes.data(), bytes, 4);
    return a;
  }
  if (inet_pton(AF_INET6, buf, bytes) == 1) return FromV6(bytes);
  return std::nullopt;
}

std::string FormatIp(const IpAddress& address) {
  char buf[INET6_ADDRSTRLEN];
  inet_ntop(address.v6 ? AF_INET6 : AF_INET, address.bytes.data(), buf, sizeof buf);
  return buf;
}

std::string PeerAddress(const sockaddr* address) {
  if (!address) return "";
  if (address->sa_family == AF_INET) {
    IpAddress a;
    std::memcpy(a.bytes.data(), &reinterpret_cast<const sockaddr_in*>(address)->sin_addr, 4);
    return FormatIp(a);
  }
  if (address->sa_family == AF_INET6)
    return FormatIp(FromV6(reinterpret_cast<const sockaddr_in6*>(address)->sin6_addr.s6_addr));
  return "";
}

bool Network::Contains(const IpAddress& address) const {
  if (address.v6 != base.v6) return false;
  const int whole = prefix / 8, rest = prefix % 8;
  if (std::memcmp(address.bytes.data(), base.bytes.data(), static_cast<size_t>(whole)) != 0) return false;
  if (rest == 0) return true;
  const uint8_t mask = static_cast<uint8_t>(0xff << (8 - rest));
  return (address.bytes[static_cast<size_t>(whole)] & mask) == (base.bytes[static_cast<size_t>(whole)] & mask);
}

std::optional<Network> ParseNetwork(std::string_view text) {
  text = Trim(text);
  const size_t slash = text.find('/');
  const auto ip = ParseIp(text.substr(0, slash));
  if (!ip) return std::nullopt;
  Network n{*ip, ip->v6 ? 128 : 32};
  if (slash != std::string_view::npos) {
    const std::string_view bits = text.substr(slash + 1);
    int prefix = -1;
    auto [p, ec] = std::from_chars(bits.data(), bits.data() + bits.size(), prefix);
    if (ec != std::errc() || p != bits.data() + bits.size() || bits.empty() || prefix < 0 || prefix > n.prefix)
      return std::nullopt;
    n.prefix = prefix;
  }
  return n;
}

bool ParseNetworks(std::string_view list, std::vector<Network>& out, std::string& error) {
  out.clear();
  for (size_t from = 0; from <= list.size();) {
    size_t comma = list.find(',', from);
    if (comma == std::string_view::npos) comma = list.size();
    const std::string_view entry = list.substr(from, comma - from);
    const auto n = ParseNetwork(entry);
    if (!n) {
      error = "\"" + std::string(Trim(entry)) + "\" is not an address or network (such as 10.0.0.0/8)";
      return false;
    }
    out.push_back(*n);
    from = comma + 1;
  }
  return true;
}

bool InAny(const std::vector<Network>& networks, const std::string& address) {
  const auto ip = ParseIp(address);
  if (!ip) return false;
  for (const Network& n : networks)
    if (n.Contains(*ip)) return true;
  return false;
}

std::string ClientAddress(const std::string& peer, const std::vector<std::string>& forwardedFor,
                          const std::vector<Network>& trusted) {
  if (forwardedFor.empty() || !InAny(trusted, peer)) return peer;
  std::vector<std::string_view> chain;
  for (const std::string& line : forwardedFor)
    for (size_t from = 0; from <= line.size();) {
      size_t comma = line.find(',', from);
      if (comma == std::string::npos) comma = line.size();
      chain.push_back(Trim(std::string_view(line).substr(from, comma - from)));
      from = comma + 1;
    }
  // Each proxy appends the address it was reached from: walk back past our own.
  // What lies beyond the client's address is the client's own writing and is
  // never read; were it, text there would move a client to the proxy's allowance.
  std::optional<IpAddress> last;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    last = ParseIp(*it);
    if (!last) return peer;
    bool proxy = false;
    for (const Network& n : trusted) proxy |= n.Contains(*last);
    if (!proxy) return FormatIp(*last);
  }
  return FormatIp(*last);
}

std::string ClientKey(const std::string& address) {
  auto ip = ParseIp(address);
  if (!ip || !ip->v6) return ip ? FormatIp(*ip) : address;
  std::fill(ip->bytes.begin() + 8, ip->bytes.end(), 0);
  return FormatIp(*ip) + "/64";
}

}  // namespace pondaro::scores
