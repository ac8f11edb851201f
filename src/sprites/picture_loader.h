// Pictures decoded on helper threads while the game goes on (the splash shows
// meanwhile). The collection takes each one in as it is done; when a picture
// still missing is needed, the thread that needs it decodes what is left itself
// and waits for the rest.
#pragma once
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/services.h"
#include "sprites/collection_file.h"

namespace pondaro {

class TPictureLoader {
 public:
  struct Result {
    size_t index = 0;  // into the records
    std::optional<Pixels> pixels;
    std::string error;
  };
  using Take = std::function<void(Result& result)>;

  // Decodes records[i] for every i in `todo`, in that order, on `helpers` threads.
  // The records must stay as they are until the loader is gone.
  TPictureLoader(const std::vector<CollectionRecord>& records, std::vector<size_t> todo,
                 const PictureDecoder& decoder, int helpers);
  // Stops the helpers (a picture being decoded is finished, the rest left) and
  // waits for them.
  ~TPictureLoader();
  TPictureLoader(const TPictureLoader&) = delete;
  TPictureLoader& operator=(const TPictureLoader&) = delete;

  // Hands over the pictures decoded so far, on the calling thread.
  void TakeDone(const Take& take);
  // Decodes what is left on this thread too and hands over everything.
  void Finish(const Take& take);

  // Decoded pixels waiting to be taken, at most about this many bytes (and a
  // picture a helper): the helpers pause beyond it, so that the decoded pictures
  // never pile up in memory beside their textures. Taken every 30 ms, that still
  // lets them decode 60 MB a second.
  static constexpr size_t kMaxWaiting = 2u << 20;

 private:
  void Help();
  // Under the lock: claims the next picture to decode; false when none is left
  // or the loader stops.
  bool Claim(size_t& slot);
  void Decode(std::unique_lock<std::mutex>& lock, size_t slot);

  const std::vector<CollectionRecord>& records_;
  const std::vector<size_t> todo_;
  const PictureDecoder& decoder_;

  std::mutex mutex_;
  std::condition_variable changed_;  // a picture is done, taken, or the loader stops
  size_t next_ = 0;                  // the next slot of todo_ to decode
  size_t finished_ = 0;              // slots decoded
  size_t waitingBytes_ = 0;          // of the pictures in done_
  bool stop_ = false;
  std::vector<Result> done_;  // decoded, not handed over yet
  std::vector<std::thread> helpers_;
};

}  // namespace pondaro
