// HttpClient with libcurl: one easy handle for the whole session, so cookies the
// score service sets are sent back on the next request.
#pragma once
#include <cstddef>
#include <optional>
#include <string>

#include "platform/services.h"

namespace pondaro {

class CurlHttpClient : public HttpClient {
 public:
  static constexpr long kConnectTimeoutMs = 5000;
  static constexpr long kTotalTimeoutMs = 10000;
  static constexpr size_t kMaxBody = 64 * 1024;

  // The time-outs keep a silent server from holding the game for ever (every
  // request blocks the game's one thread).
  explicit CurlHttpClient(long connectTimeoutMs = kConnectTimeoutMs, long totalTimeoutMs = kTotalTimeoutMs,
                          size_t maxBody = kMaxBody);
  ~CurlHttpClient() override;
  CurlHttpClient(const CurlHttpClient&) = delete;
  CurlHttpClient& operator=(const CurlHttpClient&) = delete;

  // Only http and https. A status outside 200..299 is a failure. A body longer
  // than maxBody is cut there.
  std::optional<std::string> Get(const std::string& url, std::string& error) override;

  static std::string UserAgent();

 private:
  void* curl_ = nullptr;  // CURL*
  void* headers_ = nullptr;  // curl_slist*
  size_t maxBody_;
};

}  // namespace pondaro
