// Services for places where the real ones are not wired yet or not wanted: HTTP
// and the browser report that they are unavailable instead of pretending.
#pragma once
#include <cstdio>

#include "platform/services.h"

namespace pondaro {

class UnavailableHttp : public HttpClient {
 public:
  std::optional<std::string> Get(const std::string&, std::string& error) override {
    error = "no HTTP client in this build";
    return std::nullopt;
  }
};

class UnavailableShell : public Shell {
 public:
  bool OpenUrl(const std::string& url) override {
    std::fprintf(stderr, "PONDARO: cannot open %s here\n", url.c_str());
    return false;
  }
};

}  // namespace pondaro
