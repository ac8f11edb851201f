// The service on a TCP socket, through libmicrohttpd: one thread serves every
// socket, a pool of workers answers the requests. This file and its .cpp are the
// only ones that know the library.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "address.h"
#include "service.h"

namespace pondaro::scores {

// A route that takes a request body, and how large. Every other route refuses one.
struct BodyAllowance {
  std::string method;
  std::string path;
  size_t maxBytes = 0;
};

struct HttpOptions {
  int threads = 16;                   // requests answered at once
  std::vector<Network> trustedProxies;  // whose X-Forwarded-For is believed
  size_t maxHeaderBytes = 8192;       // request line and headers
  int maxConnections = 1000;
  int maxConnectionsPerAddress = 32;  // 0: no cap; trusted proxies have none
  int requestSeconds = 10;            // for a whole request to arrive, however it trickles
  int idleSeconds = 5;                // a connection silent this long is closed
  std::vector<BodyAllowance> bodies;
  bool quiet = false;                 // no lines about clients' protocol errors
};

class HttpServer {
 public:
  HttpServer(ScoreService& service, HttpOptions options);
  ~HttpServer();
  HttpServer(const HttpServer&) = delete;
  HttpServer& operator=(const HttpServer&) = delete;

  // Binds the address; port 0 picks a free one. Returns the port, or -1.
  int Bind(const std::string& host, int port);
  // Serves until Stop(); false when the server could not run.
  bool Run();
  // From any thread, also before Run has begun. Run then refuses new requests,
  // answers the ones waiting for a worker with 503, lets the running ones finish,
  // closes every connection and returns.
  void Stop();

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace pondaro::scores
