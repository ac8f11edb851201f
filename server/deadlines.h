// Sockets with a deadline: a thread shuts down (never closes) each socket whose
// deadline passes while it is armed. Whoever blocks on the socket, our HTTP
// library or libpq, then sees the connection end and gives up at once. The owner
// disarms a socket before closing it, so a shut-down descriptor number is never
// one reused by somebody else.
#pragma once
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <thread>

namespace pondaro::scores {

class SocketDeadlines {
 public:
  using Clock = std::chrono::steady_clock;
  using Id = uint64_t;

  SocketDeadlines();
  ~SocketDeadlines();
  SocketDeadlines(const SocketDeadlines&) = delete;
  SocketDeadlines& operator=(const SocketDeadlines&) = delete;

  // Arms `fd` to be shut down at `deadline`; the id disarms it.
  Id Arm(int fd, Clock::time_point deadline);
  // True when the deadline had not passed (the socket was not shut down).
  bool Disarm(Id id);
  size_t Armed();

 private:
  void Watch();

  std::mutex mutex_;
  std::condition_variable changed_;
  std::map<Id, std::pair<int, Clock::time_point>> armed_;
  Clock::time_point wake_ = Clock::time_point::max();
  Id next_ = 1;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace pondaro::scores
