#include "http_server.h"

#include <httplib.h>

#include <chrono>
#include <thread>

#include "query.h"

namespace pondaro::scores {

// httplib listens with a backlog of 5: a burst of players connecting at once
// would see their connections dropped and retried a second later. Linux lets a
// second listen() on the socket raise it.
class Listener : public httplib::Server {
 public:
  void RaiseBacklog() { ::listen(svr_sock_, SOMAXCONN); }
};

std::string ClientAddress(const std::string& peer, const std::string& forwardedFor, bool trustProxy) {
  if (!trustProxy || forwardedFor.empty()) return peer;
  const size_t comma = forwardedFor.rfind(',');
  std::string last = forwardedFor.substr(comma == std::string::npos ? 0 : comma + 1);
  const size_t a = last.find_first_not_of(" \t"), b = last.find_last_not_of(" \t");
  return a == std::string::npos ? peer : last.substr(a, b - a + 1);
}

HttpServer::HttpServer(ScoreService& service, HttpOptions options)
    : service_(service), options_(options), server_(std::make_unique<Listener>()) {
  const int threads = options_.threads < 1 ? 1 : options_.threads;
  server_->new_task_queue = [threads] { return new httplib::ThreadPool(static_cast<size_t>(threads)); };
  // A client that opens a connection and says nothing holds a thread: let go soon.
  server_->set_read_timeout(5, 0);
  server_->set_write_timeout(5, 0);
  server_->set_keep_alive_timeout(2);
  server_->set_payload_max_length(4096);
  // Headers and body go out in two writes; without this the body waits for the
  // client's delayed acknowledgement, 40 ms a request.
  server_->set_tcp_nodelay(true);
  // httplib's default adds SO_REUSEPORT, with which a second service on the same
  // port would start without a word and take half the requests.
  server_->set_socket_options([](socket_t sock) {
    const int on = 1;
    setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  });

  auto handle = [this](const httplib::Request& req, httplib::Response& res) {
    Request r;
    r.method = req.method;
    // The raw target, not httplib's decoded parameters: the query is checked as
    // the game sent it.
    const size_t question = req.target.find('?');
    r.path = req.path;
    r.query = question == std::string::npos ? "" : req.target.substr(question + 1);
    if (r.query.size() > kMaxQueryLength) r.query.resize(kMaxQueryLength + 1);
    r.address = ClientAddress(req.remote_addr, req.get_header_value("X-Forwarded-For"), options_.trustProxy);
    Response out = service_.Handle(r);
    res.status = out.status;
    for (auto& [name, value] : out.headers) res.set_header(name, value);
    res.set_header("X-Content-Type-Options", "nosniff");
    res.set_content(std::move(out.body), out.contentType.c_str());
  };
  // Every method reaches the service, which answers 405 to all but GET and HEAD.
  const httplib::Server::Handler h = handle;
  server_->Get(".*", h).Post(".*", h).Put(".*", h).Patch(".*", h).Delete(".*", h).Options(".*", h);
  server_->set_exception_handler([](const httplib::Request&, httplib::Response& res, std::exception_ptr) {
    res.status = 500;
    res.set_content("Failed: internal error\n", "text/plain; charset=utf-8");
  });
}

HttpServer::~HttpServer() = default;

int HttpServer::Bind(const std::string& host, int port) {
  const int bound = port == 0 ? server_->bind_to_any_port(host) : server_->bind_to_port(host, port) ? port : -1;
  if (bound > 0) server_->RaiseBacklog();
  return bound;
}

bool HttpServer::Run() {
  state_ = Running;
  bool ok = true;
  if (!stopping_) ok = server_->listen_after_bind();
  state_ = Ended;
  return ok;
}

void HttpServer::Stop() {
  stopping_ = true;
  // httplib ignores a stop that comes before its loop runs: wait for the loop.
  while (state_ == Running && !server_->is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  server_->stop();
}

}  // namespace pondaro::scores
