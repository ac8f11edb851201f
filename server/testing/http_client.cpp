#include "http_client.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <strings.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>

namespace pondaro::scores::testing {

namespace {

sockaddr_in Loopback(const std::string& address, int port) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<uint16_t>(port));
  inet_pton(AF_INET, address.c_str(), &a.sin_addr);
  return a;
}

// A signal meant for another thread ends a blocking call on a socket with a
// time-out at once with EINTR, even one nobody handles: a child process that
// stops sends us SIGCHLD while a thread that blocks it is starting another. Such
// calls are made again; a connection attempt goes on by itself meanwhile.
bool Connect(int fd, const sockaddr_in& to, int timeoutMs) {
  if (connect(fd, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0) return true;
  if (errno != EINTR) return false;
  pollfd p{fd, POLLOUT, 0};
  int ready;
  do ready = poll(&p, 1, timeoutMs);
  while (ready < 0 && errno == EINTR);
  int error = 0;
  socklen_t length = sizeof error;
  return ready > 0 && getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
}

ssize_t Receive(int fd, char* into, size_t size) {
  ssize_t n;
  do n = recv(fd, into, size, 0);
  while (n < 0 && errno == EINTR);
  return n;
}

}  // namespace

std::string RawReply::Header(const std::string& name) const {
  for (size_t at = head.find("\r\n"); at != std::string::npos; at = head.find("\r\n", at + 2)) {
    const size_t colon = head.find(':', at + 2);
    const size_t end = head.find("\r\n", at + 2);
    if (colon == std::string::npos || (end != std::string::npos && colon > end)) continue;
    if (colon - at - 2 != name.size() || strncasecmp(head.c_str() + at + 2, name.c_str(), name.size()) != 0) continue;
    const size_t from = head.find_first_not_of(' ', colon + 1);
    return head.substr(from, (end == std::string::npos ? head.size() : end) - from);
  }
  return "";
}

HttpConnection::HttpConnection(int port, const std::string& from, int timeoutMs) {
  fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd_ < 0) return;
  timeval timeout{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
  setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  setsockopt(fd_, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
  const int on = 1;
  setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  sockaddr_in to = Loopback("127.0.0.1", port);
  if (!from.empty()) {
    sockaddr_in local = Loopback(from, 0);
    if (bind(fd_, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
      close(fd_);
      fd_ = -1;
      return;
    }
  }
  if (!Connect(fd_, to, timeoutMs)) {
    close(fd_);
    fd_ = -1;
  }
}

HttpConnection::~HttpConnection() {
  if (fd_ >= 0) close(fd_);
}

bool HttpConnection::Send(const std::string& bytes) {
  for (size_t sent = 0; sent < bytes.size();) {
    const ssize_t n = fd_ < 0 ? -1 : send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    sent += static_cast<size_t>(n);
  }
  return true;
}

RawReply HttpConnection::Read(bool head) {
  RawReply reply;
  char buf[16384];
  bool open = fd_ >= 0;
  auto more = [&] {
    const ssize_t n = open ? Receive(fd_, buf, sizeof buf) : 0;
    if (n > 0) in_.append(buf, static_cast<size_t>(n));
    open = n > 0;
    return open;
  };
  size_t end;
  while ((end = in_.find("\r\n\r\n")) == std::string::npos)
    if (!more()) return reply;
  reply.head = in_.substr(0, end);
  reply.status = std::atoi(reply.head.c_str() + 9);
  const std::string length = reply.Header("Content-Length");
  size_t want = head ? 0 : length.empty() ? std::string::npos : std::strtoul(length.c_str(), nullptr, 10);
  while (want != std::string::npos && in_.size() < end + 4 + want && more()) {}
  while (want == std::string::npos && more()) {}
  want = std::min(want, in_.size() - end - 4);
  reply.body = in_.substr(end + 4, want);
  in_.erase(0, end + 4 + want);
  return reply;
}

RawReply HttpConnection::Exchange(const std::string& request, bool head) {
  if (!Send(request)) return {};
  return Read(head);
}

bool HttpConnection::ClosedWithin(int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  char buf[4096];
  while (fd_ >= 0) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd p{fd_, POLLIN, 0};
    const int ready = poll(&p, 1, static_cast<int>(std::max<int64_t>(0, left.count())));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return false;
    if (Receive(fd_, buf, sizeof buf) <= 0) return true;
  }
  return true;
}

RawReply RawHttp(int port, const std::string& request, const std::string& from) {
  HttpConnection c(port, from);
  return c.Exchange(request, request.rfind("HEAD ", 0) == 0);
}

RawReply HttpGet(int port, const std::string& target, const std::string& extraHeaders, const std::string& from) {
  return RawHttp(port, "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n" + extraHeaders + "\r\n",
                 from);
}

}  // namespace pondaro::scores::testing
