#include "desktop/curl_http.h"

#include <curl/curl.h>

#include <mutex>

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

void GlobalInit() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

}  // namespace

std::string CurlHttpClient::UserAgent() { return std::string("PONDARO/") + PONDARO_VERSION + " (Linux)"; }

CurlHttpClient::CurlHttpClient(long connectTimeoutMs, long totalTimeoutMs, size_t maxBody) : maxBody_(maxBody) {
  GlobalInit();
  CURL* c = curl_easy_init();
  curl_ = c;
  if (!c) return;
  headers_ = curl_slist_append(nullptr, "Accept: text/html, */*");
  curl_easy_setopt(c, CURLOPT_HTTPHEADER, static_cast<curl_slist*>(headers_));
  const std::string agent = UserAgent();
  curl_easy_setopt(c, CURLOPT_USERAGENT, agent.c_str());  // curl keeps its own copy
  curl_easy_setopt(c, CURLOPT_COOKIEFILE, "");  // cookie engine on, nothing read from disk
  curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, connectTimeoutMs);
  curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, totalTimeoutMs);
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);  // time-outs without SIGALRM
  curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(c, CURLOPT_MAXREDIRS, 5L);
  curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, Collect);
}

CurlHttpClient::~CurlHttpClient() {
  if (curl_) curl_easy_cleanup(static_cast<CURL*>(curl_));
  if (headers_) curl_slist_free_all(static_cast<curl_slist*>(headers_));
}

std::optional<std::string> CurlHttpClient::Get(const std::string& url, std::string& error) {
  CURL* c = static_cast<CURL*>(curl_);
  if (!c) {
    error = "the HTTP client could not be set up";
    return std::nullopt;
  }
  Body body;
  body.limit = maxBody_;
  char message[CURL_ERROR_SIZE] = "";
  curl_easy_setopt(c, CURLOPT_URL, url.c_str());
  curl_easy_setopt(c, CURLOPT_WRITEDATA, &body);
  curl_easy_setopt(c, CURLOPT_ERRORBUFFER, message);
  const CURLcode rc = curl_easy_perform(c);
  curl_easy_setopt(c, CURLOPT_ERRORBUFFER, nullptr);
  curl_easy_setopt(c, CURLOPT_WRITEDATA, nullptr);
  if (rc != CURLE_OK && !(rc == CURLE_WRITE_ERROR && body.cut)) {
    error = url + ": " + (message[0] ? message : curl_easy_strerror(rc));
    return std::nullopt;
  }
  long status = 0;
  curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
  if (status < 200 || status > 299) {
    error = url + ": HTTP status " + std::to_string(status);
    return std::nullopt;
  }
  return std::move(body.text);
}

}  // namespace pondaro
