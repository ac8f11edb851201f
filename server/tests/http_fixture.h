// The service on a real socket for the tests, and a raw HTTP client that sends
// exactly the bytes it is given.
#pragma once
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <thread>

#include "fixtures.h"
#include "http_server.h"

namespace pondaro::scores::test {

struct RawReply {
  int status = 0;
  std::string head;  // status line and headers
  std::string body;
  std::string Header(const std::string& name) const {
    const size_t at = head.find("\r\n" + name + ": ");
    if (at == std::string::npos) return "";
    const size_t from = at + 4 + name.size();
    return head.substr(from, head.find("\r\n", from) - from);
  }
};

// Sends `request` as it stands and reads the answer: its Content-Length, or
// until the server closes.
inline RawReply RawHttp(int port, const std::string& request) {
  RawReply reply;
  const int s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = htons(static_cast<uint16_t>(port));
  timeval timeout{10, 0};
  setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  if (connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
    close(s);
    return reply;
  }
  (void)!send(s, request.data(), request.size(), MSG_NOSIGNAL);
  std::string in;
  char buf[16384];
  auto complete = [&] {
    const size_t end = in.find("\r\n\r\n");
    if (end == std::string::npos) return false;
    const size_t length = in.find("Content-Length: ");
    if (length == std::string::npos || length > end) return false;
    return in.size() >= end + 4 + std::strtoul(in.c_str() + length + 16, nullptr, 10);
  };
  for (ssize_t n; !complete() && (n = recv(s, buf, sizeof buf, 0)) > 0;) in.append(buf, static_cast<size_t>(n));
  close(s);
  const size_t end = in.find("\r\n\r\n");
  reply.head = in.substr(0, end);
  reply.body = end == std::string::npos ? "" : in.substr(end + 4);
  if (in.size() > 12) reply.status = std::atoi(in.c_str() + 9);
  return reply;
}

inline RawReply HttpGet(int port, const std::string& target, const std::string& extraHeaders = "") {
  return RawHttp(port, "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n" + extraHeaders + "\r\n");
}

// A service with an SQLite database in a temporary folder, serving on
// 127.0.0.1 at `port` (0: any free port) on a thread of its own.
class RunningService {
 public:
  explicit RunningService(ServiceOptions options = Quiet(), HttpOptions http = {}, int port = 0)
      : storage_(OpenSqlite(dir_ / "scores.db")), service_(*storage_, options), server_(service_, http) {
    port_ = server_.Bind("127.0.0.1", port);
    if (port_ > 0) thread_ = std::thread([this] { server_.Run(); });
  }
  ~RunningService() {
    if (thread_.joinable()) {
      server_.Stop();
      thread_.join();
    }
  }
  static ServiceOptions Quiet() {
    ServiceOptions o;
    o.quiet = true;
    return o;
  }
  int Port() const { return port_; }
  std::string Base() const { return "http://127.0.0.1:" + std::to_string(port_); }
  Storage& Scores() { return *storage_; }

 private:
  TempDir dir_;
  std::unique_ptr<Storage> storage_;
  ScoreService service_;
  HttpServer server_;
  int port_ = -1;
  std::thread thread_;
};

}  // namespace pondaro::scores::test
