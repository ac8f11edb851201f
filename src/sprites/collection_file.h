// The container of the image collection (Data/Graphic.dxg) and the sound
// collection (Data/Music.dxw). Written by tools/assetgen, read at start-up.
//
// Layout, all integers little-endian:
//
//   offset 0   4 bytes   magic "PNDC"
//          4   u16       version (1)
//          6   u8        kind: 1 images, 2 sounds
//          7   u8        reserved, 0
//          8   u32       item count (at most 65536)
//         12   items, one after another:
//                u16     name length (1..255), then the name's bytes
//                images: i32 PatternWidth, i32 PatternHeight, i32 SkipWidth, i32 SkipHeight,
//                        u8 Transparent, u8 SystemMemory, u32 TransparentColor (0x00BBGGRR)
//                sounds: u8 Looped, i32 MaxPlayingCount, i32 Frequency, i32 Pan, i32 Volume
//                u32     payload length (at most 64 MiB), then the payload:
//                        a PNG file (images) or a RIFF WAV file (sounds)
//   end - 4    u32       CRC-32 (IEEE) of every byte before it
//
// Nothing may follow the checksum. The reader checks every length against the
// bytes that remain, so a damaged file is reported, never read past its end.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace pondaro {

enum class CollectionKind : uint8_t { Images = 1, Sounds = 2 };

struct CollectionRecord {
  std::string Name;
  // Images.
  int32_t PatternWidth = 0, PatternHeight = 0, SkipWidth = 0, SkipHeight = 0;
  bool Transparent = true, SystemMemory = false;
  uint32_t TransparentColor = 0;
  // Sounds.
  bool Looped = false;
  int32_t MaxPlayingCount = 0, Frequency = 0, Pan = 0, Volume = 0;

  std::vector<uint8_t> Payload;
  // Read in place (ReadCollectionInPlace): Payload stays empty and the payload is
  // where it lies in the file's bytes, which must outlive the record.
  const uint8_t* InPlace = nullptr;
  size_t InPlaceSize = 0;
  const uint8_t* PayloadData() const { return InPlace ? InPlace : Payload.data(); }
  size_t PayloadSize() const { return InPlace ? InPlaceSize : Payload.size(); }
};

constexpr uint16_t kCollectionVersion = 1;

std::vector<uint8_t> WriteCollection(CollectionKind kind, const std::vector<CollectionRecord>& records);

// Parses a whole file's bytes. On failure returns false and sets `error` to what
// is wrong (without the file name, which the caller adds).
bool ReadCollection(const std::vector<uint8_t>& bytes, CollectionKind kind,
                    std::vector<CollectionRecord>& records, std::string& error);

// The same over bytes that outlive the records, without copying the payloads.
bool ReadCollectionInPlace(const uint8_t* bytes, size_t size, CollectionKind kind,
                           std::vector<CollectionRecord>& records, std::string& error);

uint32_t Crc32(const uint8_t* data, size_t size);

// A whole file's bytes, read only: mapped from the system's file cache where it
// can be, else read. Mapped, nothing is copied into fresh memory, which at
// start-up costs more than the reading itself. (A data file cut short in place
// while it is mapped would fault; installs and builds write new files.) Throws
// EDataFileError naming the file when it cannot be read.
class TFileBytes {
 public:
  explicit TFileBytes(const std::string& path);
  ~TFileBytes();
  TFileBytes(const TFileBytes&) = delete;
  TFileBytes& operator=(const TFileBytes&) = delete;
  const uint8_t* Data() const { return map_ ? static_cast<const uint8_t*>(map_) : read_.data(); }
  size_t Size() const { return map_ ? size_ : read_.size(); }
  // The bytes [at, at + n) will not be read again: mapped, their whole pages leave
  // the process's memory (the system's file cache keeps them).
  void Release(const uint8_t* at, size_t n);

 private:
  void* map_ = nullptr;
  size_t size_ = 0;
  std::vector<uint8_t> read_;
};

}  // namespace pondaro
