#include "replay/replay_file.h"

#include <zlib.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "persist/settings_file.h"
#include "sprites/collection_file.h"

namespace pondaro {

namespace {

constexpr char kMagic[8] = {'P', 'O', 'N', 'D', 'R', 'E', 'P', 'L'};
constexpr size_t kMaxStream = 16u << 20;
constexpr size_t kMaxVersionText = 32, kMaxName = 64;

}  // namespace

std::vector<uint8_t> WriteReplay(const TReplay& r) {
  ByteWriter payload;
  ByteWriter start;
  EncodeStart(r.Start, start);
  payload.Text(std::string(start.bytes.begin(), start.bytes.end()));
  payload.Append(EncodeRecords(r.Records));

  uLongf packedSize = compressBound(static_cast<uLong>(payload.bytes.size()));
  std::vector<uint8_t> packed(packedSize);
  if (compress2(packed.data(), &packedSize, payload.bytes.data(), static_cast<uLong>(payload.bytes.size()), 9) !=
      Z_OK)
    packedSize = 0;  // cannot happen with a buffer of compressBound's size
  packed.resize(packedSize);

  ByteWriter w;
  w.bytes.insert(w.bytes.end(), std::begin(kMagic), std::end(kMagic));
  w.Fixed(kReplayFormatVersion, 2);
  w.Text(r.GameVersion);
  w.U32(r.DataChecksum);
  w.U64(static_cast<uint64_t>(r.StartDate));
  w.U32(static_cast<uint32_t>(r.Score));
  w.U32(static_cast<uint32_t>(r.Level));
  w.U32(r.Ticks);
  w.Text(r.Name);
  w.U64(r.FinalDigest);
  w.U32(static_cast<uint32_t>(payload.bytes.size()));
  w.U32(static_cast<uint32_t>(packed.size()));
  w.Append(packed);
  w.U32(static_cast<uint32_t>(r.Digests.size()));
  for (uint64_t d : r.Digests) w.U64(d);
  w.U32(Crc32(w.bytes.data(), w.bytes.size()));
  return std::move(w.bytes);
}

bool ReadReplay(const std::vector<uint8_t>& bytes, TReplay& r, std::string& error) {
  r = TReplay{};
  if (bytes.size() > kMaxReplayFileBytes) {
    error = "too large for a replay (" + std::to_string(bytes.size()) + " bytes)";
    return false;
  }
  if (bytes.size() < sizeof kMagic || !std::equal(std::begin(kMagic), std::end(kMagic), bytes.begin())) {
    error = "not a PONDARO replay";
    return false;
  }
  ByteReader in(bytes);
  in.Skip(sizeof kMagic);
  const uint64_t version = in.Fixed(2);
  if (in.ok && version != kReplayFormatVersion) {
    error = "replay format " + std::to_string(version) + " (this game reads format " +
            std::to_string(kReplayFormatVersion) + ")";
    return false;
  }
  if (bytes.size() < sizeof kMagic + 2 + 4 ||
      Crc32(bytes.data(), bytes.size() - 4) !=
          ByteReader(bytes.data() + bytes.size() - 4, 4).U32()) {
    error = "damaged or cut short (its checksum does not match)";
    return false;
  }
  auto fail = [&](const std::string& why) {
    error = why;
    r = TReplay{};
    return false;
  };
  r.GameVersion = in.Text(kMaxVersionText);
  r.DataChecksum = in.U32();
  r.StartDate = static_cast<int64_t>(in.U64());
  r.Score = static_cast<int32_t>(in.U32());
  r.Level = static_cast<int32_t>(in.U32());
  r.Ticks = in.U32();
  r.Name = in.Text(kMaxName);
  r.FinalDigest = in.U64();
  const uint32_t streamSize = in.U32(), packedSize = in.U32();
  if (!in.ok) return fail("cut short in its header");
  if (r.Ticks > kMaxReplayTicks) return fail("a game of " + std::to_string(r.Ticks) + " ticks is too long");
  if (streamSize > kMaxStream) return fail("its stream is too large (" + std::to_string(streamSize) + " bytes)");
  if (packedSize > in.Left()) return fail("cut short in its stream");

  std::vector<uint8_t> stream(streamSize);
  uLongf unpacked = streamSize;
  const int z = uncompress(stream.data(), &unpacked, in.Here(), packedSize);
  if (z != Z_OK || unpacked != streamSize) return fail("its stream is damaged");
  in.Skip(packedSize);

  ByteReader s(stream);
  const std::string start = s.Text(stream.size());
  ByteReader startIn(reinterpret_cast<const uint8_t*>(start.data()), start.size());
  if (!s.ok || !DecodeStart(startIn, r.Start) || !startIn.AtEnd()) return fail("its start state is damaged");
  std::string why;
  if (!DecodeRecords(s, r.Records, why)) return fail("its stream is damaged: " + why);

  const uint32_t digests = in.U32();
  if (!in.ok || digests != r.Ticks / kDigestEvery || in.Left() != 8ull * digests + 4)
    return fail("its digests do not fit its ticks");
  r.Digests.resize(digests);
  for (uint64_t& d : r.Digests) d = in.U64();

  // The stream has to be one game of the ticks it claims, starting with a drive.
  uint64_t ticks = 0;
  for (const TRecord& rec : r.Records)
    if (rec.Kind == TRecordKind::Ticks) ticks += rec.Count;
  if (r.Records.empty() || !r.Records.front().IsDrive()) return fail("its stream does not start with an input");
  if (ticks != r.Ticks) return fail("its stream holds " + std::to_string(ticks) + " ticks, not " +
                                    std::to_string(r.Ticks));
  return true;
}

bool SaveReplay(const std::string& path, const TReplay& replay, std::string& error) {
  const std::vector<uint8_t> bytes = WriteReplay(replay);
  return WriteFileAtomically(path, std::string(bytes.begin(), bytes.end()), error);
}

bool LoadReplay(const std::string& path, TReplay& replay, std::string& error) {
  std::ifstream f(path, std::ios::binary);
  if (!f) {
    error = path + ": cannot be read (" + std::strerror(errno) + ")";
    return false;
  }
  std::vector<uint8_t> bytes;
  char buffer[65536];
  while (f.read(buffer, sizeof buffer) || f.gcount() > 0) {
    bytes.insert(bytes.end(), buffer, buffer + f.gcount());
    if (bytes.size() > kMaxReplayFileBytes) break;  // refused below without reading on
  }
  if (!ReadReplay(bytes, replay, error)) {
    error = path + ": " + error;
    return false;
  }
  return true;
}

uint32_t FileChecksum(const std::string& path, std::string& error) {
  std::ifstream f(path, std::ios::binary);
  if (!f) {
    error = path + ": cannot be read (" + std::strerror(errno) + ")";
    return 0;
  }
  uLong crc = crc32(0L, Z_NULL, 0);
  char buffer[65536];
  while (f.read(buffer, sizeof buffer) || f.gcount() > 0)
    crc = crc32(crc, reinterpret_cast<const Bytef*>(buffer), static_cast<uInt>(f.gcount()));
  return static_cast<uint32_t>(crc);
}

}  // namespace pondaro
