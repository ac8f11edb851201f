// HttpClient with libcurl: one easy handle for the whole session, so cookies the
// score service sets are sent back on the next request (GET or POST). Every request runs on a
// thread of its own through a multi handle, so the game can abandon it at any
// moment: the thread is woken and ends at once, even while the server is silent.
#pragma once
#include <cstddef>
#include <mutex>
#include <optional>
#include <string>

#include "platform/services.h"

namespace pondaro {

class CurlHttpClient : public HttpClient {
 public:
  static constexpr long kConnectTimeoutMs = 5000;
  static constexpr long kTotalTimeoutMs = 10000;
  static constexpr size_t kMaxBody = 64 * 1024;

  // The time-outs keep a silent server from keeping a request alive for ever.
  explicit CurlHttpClient(long connectTimeoutMs = kConnectTimeoutMs, long totalTimeoutMs = kTotalTimeoutMs,
                          size_t maxBody = kMaxBody);
  ~CurlHttpClient() override;
  CurlHttpClient(const CurlHttpClient&) = delete;
  CurlHttpClient& operator=(const CurlHttpClient&) = delete;

  // Only http and https. A status outside 200..299 is a failure. A body longer
  // than maxBody is cut there.
  std::optional<std::string> Get(const std::string& url, std::string& error) override;
  std::unique_ptr<HttpRequest> Start(const std::string& url) override;
  std::unique_ptr<HttpRequest> Post(const std::string& url, const std::string& body,
                                    const std::string& contentType) override;

  static std::string UserAgent();

 private:
  friend class CurlRequest;
  void Prepare();
  void* curl_ = nullptr;     // CURL*
  void* headers_ = nullptr;  // curl_slist*
  size_t maxBody_;
  long connectTimeoutMs_, totalTimeoutMs_;
  bool prepared_ = false;  // on the game's thread, at its first request
  // The easy handle serves one request at a time.
  std::mutex busy_;
};

}  // namespace pondaro
