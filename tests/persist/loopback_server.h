// A tiny HTTP server on 127.0.0.1 for the tests: it records every request's line
// and headers and answers with scripted replies, one per request, in order. And
// the HTTP client that sends the game's requests there.
#pragma once
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "persist/score_service.h"
#include "platform/services.h"

namespace pondaro::test {

struct ServerReply {
  enum Kind { Answer, Silent, Hangup, Raw } kind = Answer;
  int status = 200;
  std::string body;  // Raw: the whole reply, status line and headers included
  std::vector<std::string> headers;  // extra header lines, without CRLF
  size_t chunk = 0;  // Raw: sent this many bytes at a time (0: at once)...
  int pauseMs = 0;   // ...with this pause between them; then the connection closes

  static ServerReply Ok(std::string body, std::vector<std::string> headers = {}) {
    return {Answer, 200, std::move(body), std::move(headers)};
  }
  static ServerReply Status(int status, std::string body = "") { return {Answer, status, std::move(body), {}}; }
  static ServerReply NeverAnswers() { return {Silent, 0, "", {}}; }
  static ServerReply CloseAtOnce() { return {Hangup, 0, "", {}}; }
  // Exactly these bytes, perhaps trickled, then the connection closed.
  static ServerReply Bytes(std::string bytes, size_t chunk = 0, int pauseMs = 0) {
    return {Raw, 0, std::move(bytes), {}, chunk, pauseMs};
  }
};

struct ServerRequest {
  std::string line;                            // "GET /path?query HTTP/1.1"
  std::map<std::string, std::string> headers;  // names in lower case
  std::string Target() const {
    const size_t a = line.find(' '), b = line.rfind(' ');
    return a == std::string::npos || b <= a ? "" : line.substr(a + 1, b - a - 1);
  }
};

class LoopbackServer {
 public:
  LoopbackServer() {
    listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = 0;
    if (bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || listen(listener_, 16) != 0) return;
    socklen_t len = sizeof a;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &len);
    port_ = ntohs(a.sin_port);
    acceptor_ = std::thread([this] { AcceptLoop(); });
  }
  ~LoopbackServer() {
    stop_ = true;
    if (acceptor_.joinable()) acceptor_.join();
    for (std::thread& t : connections_) t.join();
    close(listener_);
  }
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  int Port() const { return port_; }
  std::string Base() const { return "http://127.0.0.1:" + std::to_string(port_); }

  // Replies for the coming requests; once they run out, 404.
  void Script(std::vector<ServerReply> replies) {
    std::lock_guard<std::mutex> lock(mutex_);
    replies_.assign(replies.begin(), replies.end());
  }
  std::vector<ServerRequest> Requests() {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
  }

  // A port on which nobody listens: bound, then let go.
  static int ClosedPort() {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t len = sizeof a;
    getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
    close(s);
    return ntohs(a.sin_port);
  }

 private:
  // Waits until fd is readable; false when the server stops first.
  bool WaitReadable(int fd) {
    while (!stop_) {
      pollfd p{fd, POLLIN, 0};
      if (poll(&p, 1, 20) > 0) return true;
    }
    return false;
  }

  void AcceptLoop() {
    while (WaitReadable(listener_)) {
      const int fd = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
      if (fd >= 0) connections_.emplace_back([this, fd] { Serve(fd); });
    }
  }

  void Serve(int fd) {
    std::string in;
    char buf[4096];
    for (;;) {  // one connection may carry several requests
      size_t end;
      while ((end = in.find("\r\n\r\n")) == std::string::npos) {
        if (!WaitReadable(fd)) return Close(fd);
        const ssize_t n = read(fd, buf, sizeof buf);
        if (n <= 0) return Close(fd);
        in.append(buf, static_cast<size_t>(n));
      }
      ServerRequest req = Parse(in.substr(0, end));
      in.erase(0, end + 4);
      ServerReply reply = ServerReply::Status(404);
      {
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back(req);
        if (!replies_.empty()) {
          reply = replies_.front();
          replies_.pop_front();
        }
      }
      if (reply.kind == ServerReply::Hangup) return Close(fd);
      if (reply.kind == ServerReply::Raw) {
        const std::string& out = reply.body;
        const size_t step = reply.chunk ? reply.chunk : out.size();
        for (size_t sent = 0; sent < out.size() && !stop_;) {
          const ssize_t n = send(fd, out.data() + sent, std::min(step, out.size() - sent), MSG_NOSIGNAL);
          if (n <= 0) break;  // the client gave up
          sent += static_cast<size_t>(n);
          if (reply.pauseMs > 0 && sent < out.size()) std::this_thread::sleep_for(std::chrono::milliseconds(reply.pauseMs));
        }
        return Close(fd);
      }
      if (reply.kind == ServerReply::Silent) {
        // Hold the connection, say nothing, until the client gives up.
        while (WaitReadable(fd))
          if (read(fd, buf, sizeof buf) <= 0) break;
        return Close(fd);
      }
      std::string out = "HTTP/1.1 " + std::to_string(reply.status) + " Scripted\r\nContent-Type: text/html\r\n" +
                        "Content-Length: " + std::to_string(reply.body.size()) + "\r\n";
      for (const std::string& h : reply.headers) out += h + "\r\n";
      out += "\r\n" + reply.body;
      for (size_t sent = 0; sent < out.size();) {
        const ssize_t n = send(fd, out.data() + sent, out.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return Close(fd);  // the client stopped reading
        sent += static_cast<size_t>(n);
      }
    }
  }

  static void Close(int fd) { close(fd); }

  static ServerRequest Parse(const std::string& head) {
    ServerRequest r;
    size_t pos = head.find("\r\n");
    r.line = head.substr(0, pos);
    while (pos != std::string::npos) {
      const size_t start = pos + 2;
      pos = head.find("\r\n", start);
      const std::string h = head.substr(start, pos == std::string::npos ? std::string::npos : pos - start);
      const size_t colon = h.find(':');
      if (colon == std::string::npos) continue;
      std::string name = h.substr(0, colon);
      for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      size_t v = colon + 1;
      while (v < h.size() && h[v] == ' ') ++v;
      r.headers[name] = h.substr(v);
    }
    return r;
  }

  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::thread acceptor_;
  std::vector<std::thread> connections_;  // touched by the acceptor only, then by the destructor
  std::mutex mutex_;
  std::deque<ServerReply> replies_;
  std::vector<ServerRequest> requests_;
};

// Sends the game's requests to a test's server instead of the configured one.
class Rebased : public HttpClient {
 public:
  Rebased(HttpClient& real, std::string to) : real_(real), to_(std::move(to)) {}
  std::optional<std::string> Get(const std::string& url, std::string& error) override {
    return real_.Get(Moved(url), error);
  }
  std::unique_ptr<HttpRequest> Start(const std::string& url) override { return real_.Start(Moved(url)); }

 private:
  std::string Moved(const std::string& url) {
    const std::string from = kVersionCheckBase;
    EXPECT_EQ(url.rfind(from, 0), 0u) << url;
    return to_ + url.substr(from.size());
  }
  HttpClient& real_;
  std::string to_;
};

}  // namespace pondaro::test
