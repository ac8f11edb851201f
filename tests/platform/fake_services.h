// Test doubles of the small platform services.
#pragma once
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/events.h"
#include "platform/services.h"

namespace pondaro::test {

class FakeClock : public Clock {
 public:
  uint64_t now = 1000;
  int sleeps = 0;
  uint64_t Milliseconds() const override { return now; }
  void Sleep(int ms) override {
    ++sleeps;
    now += ms > 0 ? ms : 1;
  }
};

class FakeKeyboard : public Keyboard {
 public:
  std::set<int> down;
  JoystickState stick;
  bool IsDown(int key) const override { return down.count(key) != 0; }
  JoystickState Joystick() const override { return stick; }
};

class FakeModulePlayer : public ModulePlayer {
 public:
  std::vector<std::string> loaded;  // every path asked for
  std::set<int> playing;
  std::map<int, int> order;  // by handle
  bool failLoads = false;
  int frees = 0;
  int SongLoadFromFile(const std::string& path) override {
    loaded.push_back(path);
    if (failLoads) return 0;
    int h = next_++;
    order[h] = 0;
    return h;
  }
  void SongPlay(int h) override { playing.insert(h); }
  int SongGetOrder(int h) override { return order.count(h) ? order[h] : 0; }
  void SongFree(int h) override {
    ++frees;
    playing.erase(h);
    order.erase(h);
  }

 private:
  int next_ = 1;
};

class RecordingMessageBox : public MessageBox {
 public:
  std::vector<std::string> shown;
  void Show(const std::string& m) override { shown.push_back(m); }
};

class FakeHttp : public HttpClient {
 public:
  std::vector<std::string> requests;
  std::deque<std::optional<std::string>> replies;
  std::optional<std::string> Get(const std::string& url, std::string& error) override {
    requests.push_back(url);
    if (replies.empty() || !replies.front()) {
      if (!replies.empty()) replies.pop_front();
      error = "connection refused";
      return std::nullopt;
    }
    auto r = replies.front();
    replies.pop_front();
    return r;
  }
  // A POST is answered as a GET of its address is, and kept with its body.
  struct Sent {
    std::string url, body, contentType;
  };
  std::vector<Sent> posts;
  std::unique_ptr<HttpRequest> Post(const std::string& url, const std::string& body,
                                    const std::string& contentType) override {
    posts.push_back({url, body, contentType});
    std::string error;
    auto reply = Get(url, error);
    return std::make_unique<FinishedRequest>(std::move(reply), std::move(error));
  }
};

class FakeShell : public Shell {
 public:
  std::vector<std::string> opened;
  bool OpenUrl(const std::string& url) override {
    opened.push_back(url);
    return true;
  }
};

class ScriptedEvents : public EventSource {
 public:
  std::deque<InputEvent> queue;
  Clock* clock = nullptr;  // advanced by waits when set
  std::vector<int> waits;
  bool WaitEvent(int timeoutMs, InputEvent& e) override {
    waits.push_back(timeoutMs);
    if (!queue.empty()) {
      e = queue.front();
      queue.pop_front();
      return true;
    }
    if (clock && timeoutMs > 0) clock->Sleep(timeoutMs);
    return false;
  }
};

}  // namespace pondaro::test
