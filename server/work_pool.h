// A fixed set of threads running jobs from a bounded queue. The HTTP front hands
// every request here, so a request that waits on the database holds a worker,
// never the thread that serves the sockets.
#pragma once
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace pondaro::scores {

class WorkPool {
 public:
  struct Job {
    std::function<void()> run;
    std::function<void()> cancel;  // instead of run, when the pool stops first
  };

  WorkPool(int threads, size_t maxQueued);
  ~WorkPool();  // Stop()
  WorkPool(const WorkPool&) = delete;
  WorkPool& operator=(const WorkPool&) = delete;

  // False, and the job untouched, when the queue is full or the pool has stopped.
  bool Post(Job job);
  // Cancels the queued jobs, waits for the running ones and ends the threads.
  void Stop();

 private:
  void Work();

  size_t maxQueued_;
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<Job> queue_;
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace pondaro::scores
