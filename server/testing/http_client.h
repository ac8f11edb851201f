// A plain HTTP/1.1 client for the tests and the benchmark: it sends exactly the
// bytes it is given, from a chosen loopback address, and reads replies one by one
// off a kept-alive connection.
#pragma once
#include <string>

namespace pondaro::scores::testing {

struct RawReply {
  int status = 0;    // 0: no reply
  std::string head;  // status line and headers
  std::string body;
  // The value of a header (the name as the server wrote it), or "".
  std::string Header(const std::string& name) const;
};

class HttpConnection {
 public:
  // To 127.0.0.1:port from `from` (another loopback address such as 127.0.0.2
  // poses as another client; empty: the usual one). Reads give up after `timeoutMs`.
  explicit HttpConnection(int port, const std::string& from = "", int timeoutMs = 10000);
  ~HttpConnection();
  HttpConnection(const HttpConnection&) = delete;
  HttpConnection& operator=(const HttpConnection&) = delete;

  bool Connected() const { return fd_ >= 0; }
  // False once the server has gone.
  bool Send(const std::string& bytes);
  // The next reply: its Content-Length (none after HEAD), or until the server closes.
  RawReply Read(bool head = false);
  RawReply Exchange(const std::string& request, bool head = false);
  // True when the server closes the connection within `timeoutMs` (whatever it
  // still sends is read and dropped).
  bool ClosedWithin(int timeoutMs);

 private:
  int fd_ = -1;
  std::string in_;
};

// One request on a connection of its own.
RawReply RawHttp(int port, const std::string& request, const std::string& from = "");
RawReply HttpGet(int port, const std::string& target, const std::string& extraHeaders = "",
                 const std::string& from = "");

}  // namespace pondaro::scores::testing
