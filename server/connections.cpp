#include "connections.h"

namespace pondaro::scores {

Connections::Connections(int perAddress, std::chrono::milliseconds requestTime, std::vector<Network> uncapped)
    : perAddress_(perAddress), requestTime_(requestTime), uncapped_(std::move(uncapped)) {}

bool Connections::MayOpen(const std::string& peer) {
  if (perAddress_ <= 0 || InAny(uncapped_, peer)) return true;
  std::lock_guard lock(mutex_);
  const auto it = open_.find(ClientKey(peer));
  return it == open_.end() || it->second < perAddress_;
}

Connections::Connection* Connections::Opened(const std::string& peer, int fd) {
  auto* c = new Connection{peer, ClientKey(peer), fd};
  {
    std::lock_guard lock(mutex_);
    ++open_[c->key];
    ++total_;
  }
  Arm(c);
  return c;
}

void Connections::Received(Connection* c) {
  if (c->deadline) deadlines_.Disarm(c->deadline);
  c->deadline = 0;
}

void Connections::Replied(Connection* c) {
  Received(c);
  Arm(c);
}

void Connections::Closed(Connection* c) {
  Received(c);
  {
    std::lock_guard lock(mutex_);
    if (--open_[c->key] <= 0) open_.erase(c->key);
    --total_;
  }
  delete c;
}

size_t Connections::Count() {
  std::lock_guard lock(mutex_);
  return total_;
}

void Connections::Arm(Connection* c) {
  if (requestTime_.count() > 0) c->deadline = deadlines_.Arm(c->fd, SocketDeadlines::Clock::now() + requestTime_);
}

}  // namespace pondaro::scores
