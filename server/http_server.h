// The service on a TCP socket, through cpp-httplib.
#pragma once
#include <atomic>
#include <memory>
#include <string>

#include "service.h"

namespace pondaro::scores {

class Listener;

struct HttpOptions {
  int threads = 16;
  // Behind a reverse proxy every client would share the proxy's address: take the
  // last address of X-Forwarded-For, the one the proxy itself added.
  bool trustProxy = false;
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
  // From any thread, also before Run has begun; Run returns soon after.
  void Stop();

 private:
  ScoreService& service_;
  HttpOptions options_;
  std::unique_ptr<Listener> server_;
  std::atomic<bool> stopping_{false};
  enum State { Idle, Running, Ended };
  std::atomic<State> state_{Idle};
};

// The client's address of a request as the service should see it.
std::string ClientAddress(const std::string& peer, const std::string& forwardedFor, bool trustProxy);

}  // namespace pondaro::scores
