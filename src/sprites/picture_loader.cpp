#include "sprites/picture_loader.h"

namespace pondaro {

TPictureLoader::TPictureLoader(const std::vector<CollectionRecord>& records, std::vector<size_t> todo,
                               const PictureDecoder& decoder, int helpers)
    : records_(records), todo_(std::move(todo)), decoder_(decoder) {
  for (int h = 0; h < helpers && static_cast<size_t>(h) < todo_.size(); ++h) helpers_.emplace_back([this] { Help(); });
}

TPictureLoader::~TPictureLoader() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  changed_.notify_all();
  for (auto& t : helpers_) t.join();
}

bool TPictureLoader::Claim(size_t& slot) {
  if (stop_ || next_ >= todo_.size()) return false;
  slot = next_++;
  return true;
}

// Decodes without the lock; the result joins done_ under it.
void TPictureLoader::Decode(std::unique_lock<std::mutex>& lock, size_t slot) {
  lock.unlock();
  Result r;
  r.index = todo_[slot];
  const CollectionRecord& record = records_[r.index];
  r.pixels = decoder_.Decode(record.PayloadData(), record.PayloadSize(), r.error);
  lock.lock();
  if (r.pixels) waitingBytes_ += r.pixels->Rgba.size();
  done_.push_back(std::move(r));
  ++finished_;
  changed_.notify_all();
}

void TPictureLoader::Help() {
  decoder_.ThreadBegins();
  std::unique_lock<std::mutex> lock(mutex_);
  for (size_t slot;;) {
    changed_.wait(lock, [&] { return stop_ || next_ >= todo_.size() || waitingBytes_ <= kMaxWaiting; });
    if (!Claim(slot)) break;
    Decode(lock, slot);
  }
}

void TPictureLoader::TakeDone(const Take& take) {
  std::vector<Result> batch;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    batch.swap(done_);
    waitingBytes_ = 0;
  }
  changed_.notify_all();
  for (Result& r : batch) take(r);
}

void TPictureLoader::Finish(const Take& take) {
  for (;;) {
    TakeDone(take);
    std::unique_lock<std::mutex> lock(mutex_);
    size_t slot;
    if (Claim(slot)) {
      Decode(lock, slot);
      continue;
    }
    // The helpers' last pictures.
    changed_.wait(lock, [&] { return !done_.empty() || finished_ == todo_.size() || stop_; });
    if (done_.empty()) return;
  }
}

}  // namespace pondaro
