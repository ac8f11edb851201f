// The service on a real socket for the tests; the raw HTTP client of testing/.
#pragma once
#include <thread>

#include "fixtures.h"
#include "http_server.h"
#include "testing/http_client.h"

namespace pondaro::scores::test {

// A service with an SQLite database in a temporary folder, serving on
// 127.0.0.1 at `port` (0: any free port) on a thread of its own.
class RunningService {
 public:
  explicit RunningService(ServiceOptions options = Quiet(), HttpOptions http = {}, int port = 0)
      : storage_(OpenSqlite(dir_ / "scores.db")), service_(*storage_, options), server_(service_, Hushed(http, options)) {
    port_ = server_.Bind("127.0.0.1", port);
    if (port_ > 0) thread_ = std::thread([this] { server_.Run(); });
  }
  ~RunningService() {
    if (thread_.joinable()) {
      server_.Stop();
      thread_.join();
    }
  }
  static HttpOptions Hushed(HttpOptions http, const ServiceOptions& options) {
    http.quiet |= options.quiet;
    return http;
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
