// Headless Chromium driven over its DevTools pipe (file descriptors 3 and 4), so
// that tests see pages as a browser renders them: text as shown, layout sizes,
// screenshots. No driver program and no debugging port are needed.
#pragma once
#include <sys/types.h>

#include <deque>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "processes.h"

namespace pondaro::scores::testing {

class Chromium {
 public:
  // nullptr with `reason` set when Chromium is not installed or does not start.
  static std::unique_ptr<Chromium> Start(std::string& reason);
  ~Chromium();

  // Loads `url` in a viewport of width x height CSS pixels (a phone's when
  // `mobile`) and waits for the load event. Throws std::runtime_error.
  void Open(const std::string& url, int width, int height, bool mobile = false);
  // The value of a JavaScript expression in the page.
  nlohmann::json Evaluate(const std::string& expression);
  // The whole page as PNG bytes.
  std::string Screenshot();

 private:
  Chromium() = default;
  nlohmann::json Call(const std::string& method, const nlohmann::json& params = nlohmann::json::object());
  nlohmann::json Next(int timeoutMs);
  void Send(const nlohmann::json& message);

  std::unique_ptr<TempDir> profile_;
  pid_t pid_ = -1;
  int toBrowser_ = -1;
  int fromBrowser_ = -1;
  std::string buffer_;
  std::deque<nlohmann::json> events_;
  int nextId_ = 1;
  std::string session_;
  int width_ = 0, height_ = 0;
  bool mobile_ = false;
};

std::string Base64Decode(const std::string& text);

}  // namespace pondaro::scores::testing
