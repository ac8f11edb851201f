#include "sprites/collection_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "sprites/errors.h"
#include "sprites/wave_list.h"

namespace pondaro {

namespace {

constexpr char kMagic[4] = {'P', 'N', 'D', 'C'};
constexpr uint32_t kMaxItems = 65536;
constexpr uint32_t kMaxPayload = 64u << 20;

class Writer {
 public:
  void U8(uint8_t v) { out_.push_back(v); }
  void U16(uint16_t v) {
    U8(v & 0xFF);
    U8(v >> 8);
  }
  void U32(uint32_t v) {
    for (int i = 0; i < 4; ++i) U8((v >> (8 * i)) & 0xFF);
  }
  void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
  void Bytes(const void* p, size_t n) {
    auto b = static_cast<const uint8_t*>(p);
    out_.insert(out_.end(), b, b + n);
  }
  std::vector<uint8_t>& Out() { return out_; }

 private:
  std::vector<uint8_t> out_;
};

// Reads within [pos, end); every read checks what remains first.
class Reader {
 public:
  Reader(const uint8_t* p, size_t n) : p_(p), n_(n) {}
  bool U8(uint8_t& v) {
    if (n_ - pos_ < 1) return false;
    v = p_[pos_++];
    return true;
  }
  bool U16(uint16_t& v) {
    if (n_ - pos_ < 2) return false;
    v = static_cast<uint16_t>(p_[pos_] | (p_[pos_ + 1] << 8));
    pos_ += 2;
    return true;
  }
  bool U32(uint32_t& v) {
    if (n_ - pos_ < 4) return false;
    v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(p_[pos_ + i]) << (8 * i);
    pos_ += 4;
    return true;
  }
  bool I32(int32_t& v) {
    uint32_t u;
    if (!U32(u)) return false;
    v = static_cast<int32_t>(u);
    return true;
  }
  bool Bytes(size_t count, const uint8_t*& at) {
    if (n_ - pos_ < count) return false;
    at = p_ + pos_;
    pos_ += count;
    return true;
  }
  size_t Pos() const { return pos_; }
  size_t Remaining() const { return n_ - pos_; }

 private:
  const uint8_t* p_;
  size_t n_, pos_ = 0;
};

std::string ItemError(uint32_t index, const std::string& what) {
  return "item " + std::to_string(index + 1) + ": " + what;
}

}  // namespace

// zlib's: the check runs over every byte of both collections at each start,
// at twice the speed of a plain table-driven loop.
uint32_t Crc32(const uint8_t* data, size_t size) {
  uLong crc = crc32(0L, Z_NULL, 0);
  for (constexpr size_t kStep = 1u << 30; size > 0;) {
    const size_t n = std::min(size, kStep);
    crc = crc32(crc, data, static_cast<uInt>(n));
    data += n;
    size -= n;
  }
  return static_cast<uint32_t>(crc);
}

std::vector<uint8_t> WriteCollection(CollectionKind kind, const std::vector<CollectionRecord>& records) {
  Writer w;
  w.Bytes(kMagic, 4);
  w.U16(kCollectionVersion);
  w.U8(static_cast<uint8_t>(kind));
  w.U8(0);
  w.U32(static_cast<uint32_t>(records.size()));
  for (const auto& r : records) {
    w.U16(static_cast<uint16_t>(r.Name.size()));
    w.Bytes(r.Name.data(), r.Name.size());
    if (kind == CollectionKind::Images) {
      w.I32(r.PatternWidth);
      w.I32(r.PatternHeight);
      w.I32(r.SkipWidth);
      w.I32(r.SkipHeight);
      w.U8(r.Transparent ? 1 : 0);
      w.U8(r.SystemMemory ? 1 : 0);
      w.U32(r.TransparentColor);
    } else {
      w.U8(r.Looped ? 1 : 0);
      w.I32(r.MaxPlayingCount);
      w.I32(r.Frequency);
      w.I32(r.Pan);
      w.I32(r.Volume);
    }
    w.U32(static_cast<uint32_t>(r.PayloadSize()));
    w.Bytes(r.PayloadData(), r.PayloadSize());
  }
  auto& out = w.Out();
  w.U32(Crc32(out.data(), out.size()));
  return out;
}

bool ReadCollection(const std::vector<uint8_t>& bytes, CollectionKind kind,
                    std::vector<CollectionRecord>& records, std::string& error) {
  if (!ReadCollectionInPlace(bytes.data(), bytes.size(), kind, records, error)) return false;
  for (CollectionRecord& r : records) {
    r.Payload.assign(r.InPlace, r.InPlace + r.InPlaceSize);
    r.InPlace = nullptr;
    r.InPlaceSize = 0;
  }
  return true;
}

bool ReadCollectionInPlace(const uint8_t* data, size_t size, CollectionKind kind,
                           std::vector<CollectionRecord>& records, std::string& error) {
  records.clear();
  if (size == 0) {
    error = "the file is empty";
    return false;
  }
  if (size < 16 || std::memcmp(data, kMagic, 4) != 0) {
    error = "not a PONDARO data file (bad signature)";
    return false;
  }
  Reader head(data + 4, 8);
  uint16_t version = 0;
  uint8_t fileKind = 0, reserved = 0;
  uint32_t count = 0;
  head.U16(version);
  head.U8(fileKind);
  head.U8(reserved);
  head.U32(count);
  if (version != kCollectionVersion) {
    error = "unsupported version " + std::to_string(version) + " (expected " +
            std::to_string(kCollectionVersion) + ")";
    return false;
  }
  if (fileKind != static_cast<uint8_t>(kind)) {
    error = kind == CollectionKind::Images ? "holds sounds, not pictures" : "holds pictures, not sounds";
    return false;
  }
  const size_t bodyEnd = size - 4;
  uint32_t stored = 0;
  Reader tail(data + bodyEnd, 4);
  tail.U32(stored);
  if (Crc32(data, bodyEnd) != stored) {
    error = "damaged (checksum mismatch) or truncated";
    return false;
  }
  if (count > kMaxItems) {
    error = "implausible item count " + std::to_string(count);
    return false;
  }

  Reader r(data, bodyEnd);
  const uint8_t* skip;
  r.Bytes(12, skip);
  std::vector<CollectionRecord> out;
  out.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    CollectionRecord rec;
    uint16_t nameLen = 0;
    const uint8_t* at = nullptr;
    if (!r.U16(nameLen) || nameLen == 0 || nameLen > 255 || !r.Bytes(nameLen, at)) {
      error = ItemError(i, "bad or truncated name");
      return false;
    }
    rec.Name.assign(reinterpret_cast<const char*>(at), nameLen);
    bool ok;
    if (kind == CollectionKind::Images) {
      uint8_t transparent = 0, sysmem = 0;
      ok = r.I32(rec.PatternWidth) && r.I32(rec.PatternHeight) && r.I32(rec.SkipWidth) &&
           r.I32(rec.SkipHeight) && r.U8(transparent) && r.U8(sysmem) && r.U32(rec.TransparentColor);
      rec.Transparent = transparent != 0;
      rec.SystemMemory = sysmem != 0;
    } else {
      uint8_t looped = 0;
      ok = r.U8(looped) && r.I32(rec.MaxPlayingCount) && r.I32(rec.Frequency) && r.I32(rec.Pan) &&
           r.I32(rec.Volume);
      rec.Looped = looped != 0;
    }
    if (!ok) {
      error = ItemError(i, "'" + rec.Name + "' has truncated attributes");
      return false;
    }
    uint32_t payloadLen = 0;
    if (!r.U32(payloadLen) || payloadLen == 0 || payloadLen > kMaxPayload || !r.Bytes(payloadLen, at)) {
      error = ItemError(i, "'" + rec.Name + "' has a bad or truncated payload");
      return false;
    }
    rec.InPlace = at;
    rec.InPlaceSize = payloadLen;
    out.push_back(std::move(rec));
  }
  if (r.Remaining() != 0) {
    error = "unexpected bytes after the last item";
    return false;
  }
  records = std::move(out);
  return true;
}

TFileBytes::TFileBytes(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw EDataFileError(path + ": cannot open (" + std::strerror(errno) + ")");
  struct stat st {};
  if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
    size_ = static_cast<size_t>(st.st_size);
    // Populated at once: one call instead of a fault a page.
    void* map = mmap(nullptr, size_, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
    if (map != MAP_FAILED) map_ = map;
  }
  close(fd);
  if (!map_) read_ = ReadWholeFile(path);  // empty, not a plain file, or not mappable
}

void TFileBytes::Release(const uint8_t* at, size_t n) {
  if (!map_ || n == 0) return;
  const auto page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
  const uintptr_t from = (reinterpret_cast<uintptr_t>(at) + page - 1) / page * page;
  const uintptr_t to = (reinterpret_cast<uintptr_t>(at) + n) / page * page;
  if (to > from) madvise(reinterpret_cast<void*>(from), to - from, MADV_DONTNEED);
}

TFileBytes::~TFileBytes() {
  if (map_) munmap(map_, size_);
}

}  // namespace pondaro
