// The replay file: one recorded game, small enough to keep and to send.
//
// Layout (numbers little-endian):
//   8   magic "PONDREPL"
//   2   format version (1)
//   var game version, a text (a varint length, then the bytes; at most 32)
//   4   CRC-32 of Data/Graphic.dxg as the recording game read it
//   8   start date, seconds since 1970 (UTC)
//   4   final score (signed)    4  level reached (signed)
//   4   frame ticks the game lasted
//   var the name entered at the end ("" when the score did not enter the table)
//   8   state digest at the game's end
//   4   stream size before compression (at most 16 MiB)
//   4   compressed size n       n  zlib stream: the start state, then the records
//   4   digest count d (ticks / 100)   8d  the state digest after every 100th tick
//   4   CRC-32 of everything before it
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "replay/start_state.h"
#include "replay/stream.h"

namespace pondaro {

inline constexpr uint16_t kReplayFormatVersion = 1;
// Far beyond a 10-minute game (a few KiB): what a reader accepts at all.
inline constexpr size_t kMaxReplayFileBytes = 1 << 20;
inline constexpr uint32_t kMaxReplayTicks = 2'000'000;  // 16 hours of play, pauses included
inline constexpr int kDigestEvery = 100;

struct TReplay {
  std::string GameVersion;
  uint32_t DataChecksum = 0;
  int64_t StartDate = 0;
  int32_t Score = 0, Level = 0;
  uint32_t Ticks = 0;
  std::string Name;
  uint64_t FinalDigest = 0;
  TReplayStart Start;
  std::vector<TRecord> Records;
  std::vector<uint64_t> Digests;  // after ticks 100, 200, ...
};

std::vector<uint8_t> WriteReplay(const TReplay& replay);
// False with `error` saying what is wrong when the bytes are not a whole, sound
// replay: damaged, cut short, too large, or holding what no game could hold.
bool ReadReplay(const std::vector<uint8_t>& bytes, TReplay& replay, std::string& error);

bool SaveReplay(const std::string& path, const TReplay& replay, std::string& error);
bool LoadReplay(const std::string& path, TReplay& replay, std::string& error);

// CRC-32 of a file's bytes (0 with `error` set when it cannot be read).
uint32_t FileChecksum(const std::string& path, std::string& error);

}  // namespace pondaro
