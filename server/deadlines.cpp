#include "deadlines.h"

#include <sys/socket.h>

#include <algorithm>

namespace pondaro::scores {

SocketDeadlines::SocketDeadlines() : thread_([this] { Watch(); }) {}

SocketDeadlines::~SocketDeadlines() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

SocketDeadlines::Id SocketDeadlines::Arm(int fd, Clock::time_point deadline) {
  std::lock_guard lock(mutex_);
  const Id id = next_++;
  armed_.emplace(id, std::make_pair(fd, deadline));
  // Wake the watcher only when it would sleep past this deadline.
  if (deadline < wake_) {
    wake_ = deadline;
    changed_.notify_one();
  }
  return id;
}

bool SocketDeadlines::Disarm(Id id) {
  std::lock_guard lock(mutex_);
  return armed_.erase(id) == 1;
}

size_t SocketDeadlines::Armed() {
  std::lock_guard lock(mutex_);
  return armed_.size();
}

void SocketDeadlines::Watch() {
  std::unique_lock lock(mutex_);
  while (!stopping_) {
    const auto now = Clock::now();
    Clock::time_point next = Clock::time_point::max();
    for (auto it = armed_.begin(); it != armed_.end();) {
      if (it->second.second <= now) {
        shutdown(it->second.first, SHUT_RDWR);
        it = armed_.erase(it);
      } else {
        next = std::min(next, it->second.second);
        ++it;
      }
    }
    wake_ = next;
    if (next == Clock::time_point::max())
      changed_.wait(lock);
    else
      changed_.wait_until(lock, next);
  }
}

}  // namespace pondaro::scores
