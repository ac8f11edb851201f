#include "chromium.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

namespace pondaro::scores::testing {

using nlohmann::json;

namespace {

constexpr const char* kBrowser = "/usr/bin/chromium";
constexpr int kCallTimeoutMs = 30000;

}  // namespace

std::unique_ptr<Chromium> Chromium::Start(std::string& reason) {
  if (access(kBrowser, X_OK) != 0) {
    reason = std::string(kBrowser) + " is not installed";
    return nullptr;
  }
  std::unique_ptr<Chromium> c(new Chromium);
  c->profile_ = std::make_unique<TempDir>("pondaro-chromium");
  int in[2], out[2];
  if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0) {
    reason = "pipe failed";
    return nullptr;
  }
  SpawnOptions o;
  o.log = *c->profile_ / "chromium.log";
  o.fds = {{in[0], 3}, {out[1], 4}};
  // No network here: every flag that would make the browser phone home stays on.
  const std::vector<std::string> args = {kBrowser, "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                                         "--no-first-run", "--disable-background-networking",
                                         "--disable-component-update", "--disable-sync", "--disable-dev-shm-usage",
                                         "--disable-extensions", "--hide-scrollbars", "--mute-audio",
                                         "--user-data-dir=" + (*c->profile_ / "profile"),
                                         "--remote-debugging-pipe", "about:blank"};
  std::string error;
  c->pid_ = Spawn(args, o, error);
  close(in[0]);
  close(out[1]);
  c->toBrowser_ = in[1];
  c->fromBrowser_ = out[0];
  if (c->pid_ < 0) {
    reason = "chromium did not start: " + error;
    return nullptr;
  }
  try {
    const json target = c->Call("Target.createTarget", {{"url", "about:blank"}});
    const json attached = c->Call("Target.attachToTarget", {{"targetId", target["targetId"]}, {"flatten", true}});
    c->session_ = attached["sessionId"];
    c->Call("Page.enable");
  } catch (const std::exception& e) {
    reason = std::string("chromium does not answer: ") + e.what() + "\n" + Tail(*c->profile_ / "chromium.log");
    return nullptr;
  }
  return c;
}

Chromium::~Chromium() {
  if (toBrowser_ >= 0) close(toBrowser_);  // the browser quits when its pipe closes
  if (pid_ > 0) Stop(pid_, SIGTERM, 5000);
  if (fromBrowser_ >= 0) close(fromBrowser_);
}

void Chromium::Send(const json& message) {
  const std::string text = message.dump() + '\0';
  for (size_t sent = 0; sent < text.size();) {
    const ssize_t n = write(toBrowser_, text.data() + sent, text.size() - sent);
    if (n <= 0) throw std::runtime_error("chromium's pipe is closed");
    sent += static_cast<size_t>(n);
  }
}

json Chromium::Next(int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    const size_t end = buffer_.find('\0');
    if (end != std::string::npos) {
      json message = json::parse(buffer_.substr(0, end));
      buffer_.erase(0, end + 1);
      return message;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) throw std::runtime_error("chromium did not answer in time");
    pollfd p{fromBrowser_, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
    char chunk[65536];
    const ssize_t n = read(fromBrowser_, chunk, sizeof chunk);
    if (n <= 0) throw std::runtime_error("chromium closed its pipe");
    buffer_.append(chunk, static_cast<size_t>(n));
  }
}

json Chromium::Call(const std::string& method, const json& params) {
  const int id = nextId_++;
  json message = {{"id", id}, {"method", method}, {"params", params}};
  if (!session_.empty()) message["sessionId"] = session_;
  Send(message);
  for (;;) {
    json reply = Next(kCallTimeoutMs);
    if (!reply.contains("id")) {
      events_.push_back(std::move(reply));
      continue;
    }
    if (reply["id"] != id) continue;
    if (reply.contains("error")) throw std::runtime_error(method + ": " + reply["error"].dump());
    return reply["result"];
  }
}

void Chromium::Open(const std::string& url, int width, int height, bool mobile) {
  width_ = width;
  height_ = height;
  mobile_ = mobile;
  Call("Emulation.setDeviceMetricsOverride",
       {{"width", width}, {"height", height}, {"deviceScaleFactor", 1}, {"mobile", mobile}});
  events_.clear();
  const json navigated = Call("Page.navigate", {{"url", url}});
  if (navigated.contains("errorText")) throw std::runtime_error("cannot load " + url + ": " + navigated["errorText"].dump());
  for (;;) {
    while (!events_.empty()) {
      const json event = std::move(events_.front());
      events_.pop_front();
      if (event.value("method", "") == "Page.loadEventFired") return;
    }
    events_.push_back(Next(kCallTimeoutMs));
  }
}

json Chromium::Evaluate(const std::string& expression) {
  const json r = Call("Runtime.evaluate", {{"expression", expression}, {"returnByValue", true}});
  if (r.contains("exceptionDetails")) throw std::runtime_error("script failed: " + r["exceptionDetails"].dump());
  return r["result"].value("value", json());
}

std::string Chromium::Screenshot() {
  const int full = Evaluate("document.documentElement.scrollHeight").get<int>();
  Call("Emulation.setDeviceMetricsOverride",
       {{"width", width_}, {"height", std::max(height_, full)}, {"deviceScaleFactor", 1}, {"mobile", mobile_}});
  const json shot = Call("Page.captureScreenshot", {{"format", "png"}});
  Call("Emulation.setDeviceMetricsOverride",
       {{"width", width_}, {"height", height_}, {"deviceScaleFactor", 1}, {"mobile", mobile_}});
  return Base64Decode(shot["data"]);
}

std::string Base64Decode(const std::string& text) {
  auto value = [](char c) -> int {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
  };
  std::string out;
  unsigned bits = 0;
  int count = 0;
  for (char c : text) {
    const int v = value(c);
    if (v < 0) continue;
    bits = (bits << 6) | static_cast<unsigned>(v);
    count += 6;
    if (count >= 8) {
      count -= 8;
      out.push_back(static_cast<char>((bits >> count) & 0xff));
    }
  }
  return out;
}

}  // namespace pondaro::scores::testing
