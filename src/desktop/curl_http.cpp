#include "desktop/curl_http.h"

#include <curl/curl.h>

#include <atomic>
#include <thread>

#ifndef PONDARO_VERSION
#define PONDARO_VERSION "0"
#endif

namespace pondaro {

namespace {

struct Body {
  std::string text;
  size_t limit = 0;
  bool cut = false;
};

size_t Collect(char* data, size_t size, size_t count, void* user) {
  auto* body = static_cast<Body*>(user);
  const size_t n = size * count;
  const size_t room = body->limit - body->text.size();
  if (n > room) {
    // Enough: keep what fits and stop the transfer instead of reading on.
    body->text.append(data, room);
    body->cut = true;
    return 0;
  }
  body->text.append(data, n);
  return n;
}

int StopWhenAbandoned(void* abandoned, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  return static_cast<std::atomic<bool>*>(abandoned)->load() ? 1 : 0;
}

void GlobalInit() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

}  // namespace

// The worker owns the transfer; the game's thread only reads `done_` and, once it
// is set, the result. Abandoning sets `abandoned_` and wakes the worker's wait.
class CurlRequest : public HttpRequest {
 public:
  // With `upload`: a POST of it, of type `contentType`; a GET otherwise.
  CurlRequest(CurlHttpClient& client, std::string url, std::optional<std::string> upload = std::nullopt,
              const std::string& contentType = "")
      : client_(client), url_(std::move(url)), upload_(std::move(upload)), contentType_(contentType) {
    multi_ = curl_multi_init();
    worker_ = std::thread([this] { Run(); });
  }
  ~CurlRequest() override {
    abandoned_ = true;
    if (multi_) curl_multi_wakeup(multi_);
    if (worker_.joinable()) worker_.join();
    if (multi_) curl_multi_cleanup(multi_);
  }
  bool Done() const override { return done_.load(std::memory_order_acquire); }
  std::optional<std::string> Result(std::string& error) override {
    error = error_;
    return body_;
  }
  void Wait() { worker_.join(); }

 private:
  void Run() {
    std::lock_guard<std::mutex> busy(client_.busy_);
    Transfer();
    done_.store(true, std::memory_order_release);
  }

  void Transfer() {
    CURL* c = static_cast<CURL*>(client_.curl_);
    if (!c || !multi_) {
      error_ = "the HTTP client could not be set up";
      return;
    }
    Body body;
    body.limit = client_.maxBody_;
    char message[CURL_ERROR_SIZE] = "";
    curl_easy_setopt(c, CURLOPT_URL, url_.c_str());
    // The session's handle serves GETs and POSTs in turn: each sets its own kind.
    curl_slist* postHeaders = nullptr;
    if (upload_) {
      postHeaders = curl_slist_append(nullptr, "Accept: text/html, */*");
      postHeaders = curl_slist_append(postHeaders, ("Content-Type: " + contentType_).c_str());
      // The whole body at once, without a round trip to ask whether it may come.
      postHeaders = curl_slist_append(postHeaders, "Expect:");
      curl_easy_setopt(c, CURLOPT_HTTPHEADER, postHeaders);
      curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(upload_->size()));
      curl_easy_setopt(c, CURLOPT_POSTFIELDS, upload_->data());
    } else {
      curl_easy_setopt(c, CURLOPT_HTTPHEADER, static_cast<curl_slist*>(client_.headers_));
      curl_easy_setopt(c, CURLOPT_HTTPGET, 1L);
    }
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &body);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, message);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, &abandoned_);
    curl_multi_add_handle(multi_, c);
    CURLcode rc = CURLE_OK;
    for (int running = 1; running && !abandoned_;) {
      if (curl_multi_perform(multi_, &running) != CURLM_OK) break;
      if (running) curl_multi_poll(multi_, nullptr, 0, 1000, nullptr);
    }
    int left = 0;
    while (CURLMsg* m = curl_multi_info_read(multi_, &left))
      if (m->msg == CURLMSG_DONE) rc = m->data.result;
    const bool stopped = abandoned_.load();
    curl_multi_remove_handle(multi_, c);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, nullptr);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, nullptr);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, nullptr);
    if (postHeaders) {
      curl_easy_setopt(c, CURLOPT_HTTPHEADER, static_cast<curl_slist*>(client_.headers_));
      curl_easy_setopt(c, CURLOPT_POSTFIELDS, nullptr);
      curl_slist_free_all(postHeaders);
    }
    if (stopped) {
      error_ = url_ + ": abandoned";
      return;
    }
    if (rc != CURLE_OK && !(rc == CURLE_WRITE_ERROR && body.cut)) {
      error_ = url_ + ": " + (message[0] ? message : curl_easy_strerror(rc));
      return;
    }
    long status = 0;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
    if (status < 200 || status > 299) {
      error_ = url_ + ": HTTP status " + std::to_string(status);
      return;
    }
    body_ = std::move(body.text);
  }

  CurlHttpClient& client_;
  const std::string url_;
  const std::optional<std::string> upload_;
  const std::string contentType_;
  CURLM* multi_ = nullptr;
  std::atomic<bool> abandoned_{false}, done_{false};
  // Written by the worker before `done_`, read by the game only after it.
  std::optional<std::string> body_;
  std::string error_;
  std::thread worker_;
};

std::string CurlHttpClient::UserAgent() { return std::string("PONDARO/") + PONDARO_VERSION + " (Linux)"; }

CurlHttpClient::CurlHttpClient(long connectTimeoutMs, long totalTimeoutMs, size_t maxBody)
    : maxBody_(maxBody), connectTimeoutMs_(connectTimeoutMs), totalTimeoutMs_(totalTimeoutMs) {}

// At the first request, not at start-up: libcurl's start brings up the TLS
// library, 4 to 5 MB of resident memory that most games never use.
void CurlHttpClient::Prepare() {
  if (prepared_) return;
  prepared_ = true;
  GlobalInit();
  CURL* c = curl_easy_init();
  curl_ = c;
  if (!c) return;
  headers_ = curl_slist_append(nullptr, "Accept: text/html, */*");
  curl_easy_setopt(c, CURLOPT_HTTPHEADER, static_cast<curl_slist*>(headers_));
  const std::string agent = UserAgent();
  curl_easy_setopt(c, CURLOPT_USERAGENT, agent.c_str());  // curl keeps its own copy
  curl_easy_setopt(c, CURLOPT_COOKIEFILE, "");  // cookie engine on, nothing read from disk
  curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, connectTimeoutMs_);
  curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, totalTimeoutMs_);
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);  // time-outs without SIGALRM
  curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(c, CURLOPT_MAXREDIRS, 5L);
  curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, Collect);
  // Also stops a transfer that is busy, between the waits that a wake-up ends.
  curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, StopWhenAbandoned);
  curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
}

CurlHttpClient::~CurlHttpClient() {
  if (curl_) curl_easy_cleanup(static_cast<CURL*>(curl_));
  if (headers_) curl_slist_free_all(static_cast<curl_slist*>(headers_));
}

std::optional<std::string> CurlHttpClient::Get(const std::string& url, std::string& error) {
  Prepare();
  CurlRequest request(*this, url);
  request.Wait();
  return request.Result(error);
}

std::unique_ptr<HttpRequest> CurlHttpClient::Start(const std::string& url) {
  Prepare();
  return std::make_unique<CurlRequest>(*this, url);
}

std::unique_ptr<HttpRequest> CurlHttpClient::Post(const std::string& url, const std::string& body,
                                                  const std::string& contentType) {
  Prepare();
  return std::make_unique<CurlRequest>(*this, url, body, contentType);
}

}  // namespace pondaro
