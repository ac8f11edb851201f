// Little-endian numbers, varints and short strings in a byte buffer: what the
// replay file and its stream are written in. The reader never reads past its end:
// a short buffer sets `ok` to false and yields zeros.
#pragma once
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace pondaro {

class ByteWriter {
 public:
  std::vector<uint8_t> bytes;

  void U8(uint8_t v) { bytes.push_back(v); }
  void Fixed(uint64_t v, int size) {
    for (int i = 0; i < size; ++i) bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }
  void U32(uint32_t v) { Fixed(v, 4); }
  void U64(uint64_t v) { Fixed(v, 8); }
  void Double(double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    U64(bits);
  }
  void Var(uint64_t v) {
    while (v >= 0x80) {
      bytes.push_back(static_cast<uint8_t>(v | 0x80));
      v >>= 7;
    }
    bytes.push_back(static_cast<uint8_t>(v));
  }
  // Small magnitudes of either sign in few bytes.
  void Signed(int64_t v) { Var((static_cast<uint64_t>(v) << 1) ^ static_cast<uint64_t>(v >> 63)); }
  void Bool(bool b) { U8(b ? 1 : 0); }
  void Text(const std::string& s) {
    Var(s.size());
    bytes.insert(bytes.end(), s.begin(), s.end());
  }
  void Append(const std::vector<uint8_t>& b) { bytes.insert(bytes.end(), b.begin(), b.end()); }
};

class ByteReader {
 public:
  ByteReader(const uint8_t* data, size_t size) : p_(data), end_(data + size) {}
  explicit ByteReader(const std::vector<uint8_t>& b) : ByteReader(b.data(), b.size()) {}

  bool ok = true;
  size_t Left() const { return static_cast<size_t>(end_ - p_); }
  const uint8_t* Here() const { return p_; }
  bool AtEnd() const { return p_ == end_; }

  uint8_t U8() { return Need(1) ? *p_++ : 0; }
  uint64_t Fixed(int size) {
    if (!Need(static_cast<size_t>(size))) return 0;
    uint64_t v = 0;
    for (int i = 0; i < size; ++i) v |= static_cast<uint64_t>(*p_++) << (8 * i);
    return v;
  }
  uint32_t U32() { return static_cast<uint32_t>(Fixed(4)); }
  uint64_t U64() { return Fixed(8); }
  double Double() {
    const uint64_t bits = U64();
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
  }
  uint64_t Var() {
    uint64_t v = 0;
    for (int shift = 0; shift < 64; shift += 7) {
      const uint8_t b = U8();
      if (!ok) return 0;
      v |= static_cast<uint64_t>(b & 0x7F) << shift;
      if ((b & 0x80) == 0) return v;
    }
    ok = false;  // more than ten bytes: not a number we wrote
    return 0;
  }
  int64_t Signed() {
    const uint64_t v = Var();
    return static_cast<int64_t>(v >> 1) ^ -static_cast<int64_t>(v & 1);
  }
  // 0 or 1; anything else is damage.
  bool Bool() {
    const uint8_t b = U8();
    if (b > 1) ok = false;
    return b == 1;
  }
  std::string Text(size_t maxSize) {
    const uint64_t n = Var();
    if (n > maxSize || !Need(static_cast<size_t>(n))) {
      ok = false;
      return "";
    }
    std::string s(reinterpret_cast<const char*>(p_), static_cast<size_t>(n));
    p_ += n;
    return s;
  }
  bool Skip(size_t n) {
    if (!Need(n)) return false;
    p_ += n;
    return true;
  }

 private:
  bool Need(size_t n) {
    if (ok && Left() >= n) return true;
    ok = false;
    return false;
  }
  const uint8_t* p_;
  const uint8_t* end_;
};

}  // namespace pondaro
