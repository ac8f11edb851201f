#include "http_server.h"

#include <microhttpd.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "connections.h"
#include "query.h"
#include "work_pool.h"

namespace pondaro::scores {

namespace {

// One request on its way: read by the library's thread, answered by a worker.
struct Exchange {
  MHD_Connection* connection = nullptr;
  Connections::Connection* socket = nullptr;
  Request request;
  size_t bodyAllowance = 0;
  bool refused = false;     // answered before the request was all in
  bool dispatched = false;  // handed to a worker
  std::atomic<bool> answered{false};
  Response response;
};

Response Line(int status, const std::string& text) {
  Response r;
  r.status = status;
  r.body = text + "\n";
  r.headers.emplace_back("Cache-Control", "no-store");
  return r;
}

const char* Header(MHD_Connection* c, const char* name) {
  return MHD_lookup_connection_value(c, MHD_HEADER_KIND, name);
}

}  // namespace

struct HttpServer::Impl {
  Impl(ScoreService& service, HttpOptions o)
      : service(service),
        options(std::move(o)),
        connections(options.maxConnectionsPerAddress, std::chrono::seconds(options.requestSeconds),
                    options.trustedProxies) {}

  ScoreService& service;
  HttpOptions options;
  Connections connections;
  int listenFd = -1;
  MHD_Daemon* daemon = nullptr;
  std::unique_ptr<WorkPool> workers;
  std::atomic<bool> refusing{false};
  std::atomic<int> exchanges{0};  // requests begun and not yet completed
  bool warnedNoForward = false;   // the library's thread only
  std::mutex mutex;
  std::condition_variable stopAsked;
  bool stop = false;

  void Log(const std::string& line) {
    if (!options.quiet) std::fprintf(stderr, "pondaro-scores: %s\n", line.c_str());
  }

  static Connections::Connection* SocketOf(MHD_Connection* c) {
    const MHD_ConnectionInfo* info = MHD_get_connection_info(c, MHD_CONNECTION_INFO_SOCKET_CONTEXT);
    return info ? static_cast<Connections::Connection*>(info->socket_context) : nullptr;
  }

  static MHD_Result Queue(MHD_Connection* c, const Response& r, bool close) {
    MHD_Response* m = MHD_create_response_from_buffer(r.body.size(), const_cast<char*>(r.body.data()),
                                                      MHD_RESPMEM_MUST_COPY);
    if (!m) return MHD_NO;
    MHD_add_response_header(m, "Content-Type", r.contentType.c_str());
    MHD_add_response_header(m, "X-Content-Type-Options", "nosniff");
    for (const auto& [name, value] : r.headers) MHD_add_response_header(m, name.c_str(), value.c_str());
    // Whatever follows a refused request on this connection cannot be trusted
    // to be the start of the next one.
    if (close) MHD_add_response_header(m, "Connection", "close");
    const MHD_Result queued = MHD_queue_response(c, static_cast<unsigned>(r.status), m);
    MHD_destroy_response(m);
    return queued;
  }

  MHD_Result Refuse(Exchange* ex, int status, const std::string& why) {
    ex->refused = true;
    Log(ex->request.address + " refused (" + std::to_string(status) + "): " + why);
    return Queue(ex->connection, Line(status, "Refused: " + why), true);
  }

  // Request line and headers are in: check what can be checked before any body.
  MHD_Result Begin(MHD_Connection* c, const char* method, void** context) {
    auto* ex = new Exchange;
    *context = ex;
    ++exchanges;
    ex->connection = c;
    ex->socket = SocketOf(c);
    const std::string target = ex->socket ? ex->socket->target : "";
    ex->request.method = method;
    const size_t question = target.find('?');
    ex->request.path = target.substr(0, question);
    // The raw query, not the library's decoded arguments: the service checks it
    // as the game sent it.
    ex->request.query = question == std::string::npos ? "" : target.substr(question + 1);
    if (ex->request.query.size() > kMaxQueryLength) ex->request.query.resize(kMaxQueryLength + 1);
    std::vector<std::string> forwardedFor;
    MHD_get_connection_values(
        c, MHD_HEADER_KIND,
        [](void* out, MHD_ValueKind, const char* key, const char* value) {
          if (strcasecmp(key, "X-Forwarded-For") == 0) static_cast<std::vector<std::string>*>(out)->push_back(value);
          return MHD_YES;
        },
        &forwardedFor);
    const std::string peer = ex->socket ? ex->socket->peer : "";
    ex->request.address = ClientAddress(peer, forwardedFor, options.trustedProxies);
    if (forwardedFor.empty() && !warnedNoForward && InAny(options.trustedProxies, peer)) {
      warnedNoForward = true;
      std::fprintf(stderr, "pondaro-scores: a request from the trusted proxy %s has no X-Forwarded-For: every "
                   "client behind it shares its allowance\n", peer.c_str());
    }

    if (target.size() > options.maxHeaderBytes) return Refuse(ex, 414, "the address is too long");
    const MHD_ConnectionInfo* size = MHD_get_connection_info(c, MHD_CONNECTION_INFO_REQUEST_HEADER_SIZE);
    if (size && size->header_size > options.maxHeaderBytes) return Refuse(ex, 431, "the request headers are too large");
    for (const BodyAllowance& b : options.bodies)
      if (b.method == ex->request.method && b.path == ex->request.path) ex->bodyAllowance = b.maxBytes;
    const char* length = Header(c, "Content-Length");
    if (Header(c, "Transfer-Encoding") && ex->bodyAllowance == 0)
      return Refuse(ex, 413, "no request body is accepted here");
    if (length && std::strtoull(length, nullptr, 10) > ex->bodyAllowance)
      return Refuse(ex, 413, ex->bodyAllowance ? "the request body is too large" : "no request body is accepted here");
    return MHD_YES;
  }

  void Answered(Exchange* ex) {
    // The connection is suspended until this call: nothing else reads the exchange.
    MHD_Connection* c = ex->connection;
    ex->answered = true;
    MHD_resume_connection(c);
  }

  // The whole request is in: a worker answers it while the connection waits.
  MHD_Result Dispatch(Exchange* ex) {
    if (ex->socket) connections.Received(ex->socket);
    if (refusing) return Queue(ex->connection, Line(503, "Unavailable: the service is stopping"), true);
    ex->dispatched = true;
    MHD_suspend_connection(ex->connection);
    WorkPool::Job job{[this, ex] {
                        ex->response = service.Handle(ex->request);
                        Answered(ex);
                      },
                      [this, ex] {
                        ex->response = Line(503, "Unavailable: the service is stopping");
                        Answered(ex);
                      }};
    if (!workers->Post(job)) job.cancel();
    return MHD_YES;
  }

  static MHD_Result Access(void* cls, MHD_Connection* c, const char*, const char* method, const char*,
                           const char* upload, size_t* uploadSize, void** context) {
    auto* self = static_cast<Impl*>(cls);
    auto* ex = static_cast<Exchange*>(*context);
    if (!ex) return self->Begin(c, method, context);
    if (ex->refused) {
      *uploadSize = 0;
      return MHD_YES;
    }
    if (*uploadSize > 0) {
      if (ex->request.body.size() + *uploadSize > ex->bodyAllowance) {
        // A chunked body outgrew its allowance: the library answers nothing
        // halfway through a body, so the connection is closed without a word.
        self->Log(ex->request.address + " refused: the request body is too large");
        return MHD_NO;
      }
      ex->request.body.append(upload, *uploadSize);
      *uploadSize = 0;
      return MHD_YES;
    }
    if (ex->answered) return Queue(c, ex->response, false);
    if (ex->dispatched) return MHD_YES;
    return self->Dispatch(ex);
  }

  static MHD_Result Accept(void* cls, const sockaddr* address, socklen_t) {
    auto* self = static_cast<Impl*>(cls);
    return !self->refusing && self->connections.MayOpen(PeerAddress(address)) ? MHD_YES : MHD_NO;
  }

  static void Notify(void* cls, MHD_Connection* c, void** socketContext, MHD_ConnectionNotificationCode code) {
    auto* self = static_cast<Impl*>(cls);
    if (code == MHD_CONNECTION_NOTIFY_STARTED) {
      const MHD_ConnectionInfo* address = MHD_get_connection_info(c, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
      const MHD_ConnectionInfo* fd = MHD_get_connection_info(c, MHD_CONNECTION_INFO_CONNECTION_FD);
      *socketContext = self->connections.Opened(address ? PeerAddress(address->client_addr) : "",
                                                fd ? fd->connect_fd : -1);
    } else if (*socketContext) {
      // Before the library closes the socket: its deadline is disarmed in time.
      self->connections.Closed(static_cast<Connections::Connection*>(*socketContext));
      *socketContext = nullptr;
    }
  }

  static void* Uri(void*, const char* uri, MHD_Connection* c) {
    if (Connections::Connection* s = SocketOf(c)) s->target = uri;
    return nullptr;
  }

  static void Completed(void* cls, MHD_Connection*, void** context, MHD_RequestTerminationCode) {
    auto* self = static_cast<Impl*>(cls);
    auto* ex = static_cast<Exchange*>(*context);
    if (!ex) return;
    if (ex->socket) self->connections.Replied(ex->socket);
    delete ex;
    *context = nullptr;
    --self->exchanges;
  }

  static void Logger(void* cls, const char* format, va_list args) {
    char line[512];
    std::vsnprintf(line, sizeof line, format, args);
    std::string text = line;
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    static_cast<Impl*>(cls)->Log(text);
  }
};

HttpServer::HttpServer(ScoreService& service, HttpOptions options)
    : impl_(std::make_unique<Impl>(service, std::move(options))) {}

HttpServer::~HttpServer() {
  if (impl_->listenFd >= 0) close(impl_->listenFd);
}

int HttpServer::Bind(const std::string& host, int port) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE;
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0 || !found) return -1;
  const int fd = socket(found->ai_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const int on = 1, off = 0;
  // No SO_REUSEPORT: a second service on the same port must fail, not share it.
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  if (found->ai_family == AF_INET6) setsockopt(fd, IPPROTO_IPV6, IPV6_V6ONLY, &off, sizeof off);
  const bool bound = fd >= 0 && bind(fd, found->ai_addr, found->ai_addrlen) == 0 && listen(fd, SOMAXCONN) == 0;
  freeaddrinfo(found);
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  if (!bound || getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    if (fd >= 0) close(fd);
    return -1;
  }
  if (impl_->listenFd >= 0) close(impl_->listenFd);
  impl_->listenFd = fd;
  return ntohs(address.ss_family == AF_INET6 ? reinterpret_cast<sockaddr_in6*>(&address)->sin6_port
                                             : reinterpret_cast<sockaddr_in*>(&address)->sin_port);
}

bool HttpServer::Run() {
  Impl& s = *impl_;
  if (s.listenFd < 0) return false;
  {
    std::lock_guard lock(s.mutex);
    if (s.stop) return true;
  }
  // One request a connection at a time: a queue as long as the connections
  // never turns one away.
  s.workers = std::make_unique<WorkPool>(s.options.threads, static_cast<size_t>(s.options.maxConnections));
  s.daemon = MHD_start_daemon(
      MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_EPOLL | MHD_ALLOW_SUSPEND_RESUME | MHD_USE_ERROR_LOG, 0,
      &Impl::Accept, &s, &Impl::Access, &s, MHD_OPTION_EXTERNAL_LOGGER, &Impl::Logger, &s,
      MHD_OPTION_LISTEN_SOCKET, s.listenFd,
      // Room for the request line and headers we accept and the reply's headers;
      // the library refuses anything larger itself.
      MHD_OPTION_CONNECTION_MEMORY_LIMIT, static_cast<size_t>(2 * s.options.maxHeaderBytes + 4096),
      MHD_OPTION_CONNECTION_LIMIT, static_cast<unsigned>(s.options.maxConnections),
      MHD_OPTION_CONNECTION_TIMEOUT, static_cast<unsigned>(s.options.idleSeconds),
      MHD_OPTION_NOTIFY_CONNECTION, &Impl::Notify, &s, MHD_OPTION_NOTIFY_COMPLETED, &Impl::Completed, &s,
      MHD_OPTION_URI_LOG_CALLBACK, &Impl::Uri, &s, MHD_OPTION_END);
  if (!s.daemon) {
    s.workers.reset();
    return false;
  }
  {
    std::unique_lock lock(s.mutex);
    s.stopAsked.wait(lock, [&] { return s.stop; });
  }
  s.refusing = true;
  // Every suspended connection is resumed with its answer before the library
  // may stop; then a moment for those answers to go out.
  s.workers->Stop();
  for (int i = 0; i < 100 && s.exchanges > 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  MHD_stop_daemon(s.daemon);
  s.daemon = nullptr;
  s.listenFd = -1;  // closed by the library
  s.workers.reset();
  return true;
}

void HttpServer::Stop() {
  {
    std::lock_guard lock(impl_->mutex);
    impl_->stop = true;
  }
  impl_->stopAsked.notify_all();
}

}  // namespace pondaro::scores
