// Test picture decoder for a tiny raw format, so loader tests need no PNG codec:
// "RAWP", u16 width, u16 height (little-endian), then width x height RGBA pixels.
#pragma once
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <optional>
#include <thread>
#include <string>
#include <vector>

#include "platform/services.h"

namespace pondaro::test {

inline Pixels SolidPixels(int w, int h, Color c) {
  Pixels p;
  p.Width = w;
  p.Height = h;
  for (int i = 0; i < w * h; ++i) p.Rgba.insert(p.Rgba.end(), {c.r, c.g, c.b, c.a});
  return p;
}

inline std::vector<uint8_t> EncodeRawPicture(const Pixels& p) {
  std::vector<uint8_t> out = {'R', 'A', 'W', 'P'};
  for (int v : {p.Width, p.Height}) {
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
  }
  out.insert(out.end(), p.Rgba.begin(), p.Rgba.end());
  return out;
}

class RawPictureDecoder : public PictureDecoder {
 public:
  std::optional<Pixels> Decode(const uint8_t* data, size_t size, std::string& error) const override {
    if (size < 8 || std::memcmp(data, "RAWP", 4) != 0) {
      error = "no RAWP signature";
      return std::nullopt;
    }
    Pixels p;
    p.Width = data[4] | (data[5] << 8);
    p.Height = data[6] | (data[7] << 8);
    const size_t bytes = static_cast<size_t>(p.Width) * p.Height * 4;
    if (p.Width == 0 || p.Height == 0 || size - 8 != bytes) {
      error = "pixel data does not match the size";
      return std::nullopt;
    }
    p.Rgba.assign(data + 8, data + size);
    return p;
  }
};

// The same on a gate: helper threads decode only once it is open (the thread that
// made the decoder always may), so that a test sees the loading half done.
class GatedPictureDecoder : public RawPictureDecoder {
 public:
  std::optional<Pixels> Decode(const uint8_t* data, size_t size, std::string& error) const override {
    {
      std::unique_lock<std::mutex> lock(mutex_);
      opened_.wait(lock, [&] { return open_ || std::this_thread::get_id() == owner_; });
      ++decoded_;
    }
    return RawPictureDecoder::Decode(data, size, error);
  }
  void Open() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      open_ = true;
    }
    opened_.notify_all();
  }
  int Decoded() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return decoded_;
  }

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable opened_;
  bool open_ = false;
  mutable int decoded_ = 0;
  std::thread::id owner_ = std::this_thread::get_id();
};

}  // namespace pondaro::test
