#include "work_pool.h"

namespace pondaro::scores {

WorkPool::WorkPool(int threads, size_t maxQueued) : maxQueued_(maxQueued) {
  for (int i = 0; i < (threads < 1 ? 1 : threads); ++i) threads_.emplace_back([this] { Work(); });
}

WorkPool::~WorkPool() { Stop(); }

bool WorkPool::Post(Job job) {
  {
    std::lock_guard lock(mutex_);
    if (stopping_ || queue_.size() >= maxQueued_) return false;
    queue_.push_back(std::move(job));
  }
  ready_.notify_one();
  return true;
}

void WorkPool::Stop() {
  std::deque<Job> cancelled;
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    cancelled.swap(queue_);
  }
  ready_.notify_all();
  for (Job& job : cancelled) job.cancel();
  for (std::thread& t : threads_)
    if (t.joinable()) t.join();
}

void WorkPool::Work() {
  for (;;) {
    Job job;
    {
      std::unique_lock lock(mutex_);
      ready_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
      if (queue_.empty()) return;
      job = std::move(queue_.front());
      queue_.pop_front();
    }
    job.run();
  }
}

}  // namespace pondaro::scores
