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
};

constexpr uint16_t kCollectionVersion = 1;

std::vector<uint8_t> WriteCollection(CollectionKind kind, const std::vector<CollectionRecord>& records);

// Parses a whole file's bytes. On failure returns false and sets `error` to what
// is wrong (without the file name, which the caller adds).
bool ReadCollection(const std::vector<uint8_t>& bytes, CollectionKind kind,
                    std::vector<CollectionRecord>& records, std::string& error);

uint32_t Crc32(const uint8_t* data, size_t size);

}  // namespace pondaro
