// The replay file: what is written comes back whole, and a damaged, cut, oversized
// or hostile file is refused with a message that says what is wrong.
#include <gtest/gtest.h>

#include <zlib.h>

#include "replay/replay_file.h"

namespace pondaro::test {
namespace {

TRecord Drive(TRecordKind kind, uint32_t count = 1) {
  TRecord r;
  r.Kind = kind;
  r.Count = count;
  return r;
}

TRecord Event(EventType type, int key = 0, int x = 0, int y = 0) {
  TRecord r = Drive(TRecordKind::Event);
  r.Event.Type = type;
  r.Event.Key = key;
  r.Event.X = x;
  r.Event.Y = y;
  return r;
}

TRecord Answer(TRecordKind kind, int64_t value, bool down = false) {
  TRecord r = Drive(kind);
  r.Value = value;
  r.Down = down;
  return r;
}

// A small replay with one of every record kind.
TReplay Sample() {
  TReplay r;
  r.GameVersion = "1.0.0";
  r.DataChecksum = 0xDEADBEEF;
  r.StartDate = 1767225600;
  r.Score = 1234;
  r.Level = 3;
  r.Name = "Froggy";
  r.FinalDigest = 0x0123456789ABCDEFull;
  r.Start.HighScores[4] = {"Tadpole", 777};
  r.Start.Edit2 = "Froggy";
  r.Start.MouseX = -5;
  r.Start.Menus.SwallowedKeys.set(13);
  r.Start.Pond.LilyGrid.SetKind(2, 3, kind::Crocodile);
  r.Start.AimAngleOffset = -12.5;
  TRecord down = Event(EventType::KeyDown, vk::Return);
  down.Event.Alt = down.Event.Repeat = true;
  TRecord press = Event(EventType::MouseDown, 0, 640, -200);
  press.Event.Button = MouseButton::Right;
  TRecord pad = Drive(TRecordKind::Pad);
  pad.Pad = {-1000, 250, 0x85};
  r.Records = {down,
               Answer(TRecordKind::Clock, 123456789),
               Answer(TRecordKind::Key, vk::Space, true),
               pad,
               Drive(TRecordKind::Ticks, 250),
               Drive(TRecordKind::Timer1),
               Drive(TRecordKind::LevelTimer),
               Event(EventType::MouseMove, 0, 17, 599),
               press,
               Answer(TRecordKind::Clock, 123456000),  // a clock may step back
               Answer(TRecordKind::CanDraw, 0),
               Answer(TRecordKind::Maximized, 1),
               Answer(TRecordKind::FullScreen, 0),
               Answer(TRecordKind::TextWidth, 212),
               Event(EventType::FocusLost),
               Drive(TRecordKind::Ticks, 50)};
  r.Ticks = 300;
  r.Digests = {1, 2, 3};
  return r;
}

bool SameRecords(const std::vector<TRecord>& a, const std::vector<TRecord>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const TRecord &x = a[i], &y = b[i];
    const InputEvent &e = x.Event, &f = y.Event;
    if (x.Kind != y.Kind || (x.Kind == TRecordKind::Ticks && x.Count != y.Count)) return false;
    if (x.IsDrive() ? (e.Type != f.Type || e.Key != f.Key || e.Shift != f.Shift || e.Ctrl != f.Ctrl ||
                       e.Alt != f.Alt || e.Repeat != f.Repeat || e.X != f.X || e.Y != f.Y || e.Button != f.Button)
                    : !x.SameAnswer(y))
      return false;
  }
  return true;
}

TEST(ReplayFile, WhatIsWrittenIsReadBack) {
  const TReplay r = Sample();
  TReplay back;
  std::string error;
  ASSERT_TRUE(ReadReplay(WriteReplay(r), back, error)) << error;
  EXPECT_EQ(back.GameVersion, r.GameVersion);
  EXPECT_EQ(back.DataChecksum, r.DataChecksum);
  EXPECT_EQ(back.StartDate, r.StartDate);
  EXPECT_EQ(back.Score, r.Score);
  EXPECT_EQ(back.Level, r.Level);
  EXPECT_EQ(back.Ticks, r.Ticks);
  EXPECT_EQ(back.Name, r.Name);
  EXPECT_EQ(back.FinalDigest, r.FinalDigest);
  EXPECT_EQ(back.Digests, r.Digests);
  EXPECT_TRUE(SameRecords(back.Records, r.Records));
  EXPECT_EQ(back.Start.HighScores, r.Start.HighScores);
  EXPECT_EQ(back.Start.Edit2, "Froggy");
  EXPECT_EQ(back.Start.MouseX, -5);
  EXPECT_TRUE(back.Start.Menus.SwallowedKeys.test(13));
  EXPECT_EQ(back.Start.Pond.LilyGrid.Kind(2, 3), kind::Crocodile);
  EXPECT_EQ(back.Start.AimAngleOffset, -12.5);
}

// Rebuilds a file around a changed header or stream, checksums made good: the
// reader has to judge what is inside, not just notice damage.
std::vector<uint8_t> Resealed(TReplay r, const std::function<void(TReplay&)>& change) {
  change(r);
  return WriteReplay(r);
}

TEST(ReplayFile, RefusesWhatNoGameWrote) {
  const std::vector<uint8_t> good = WriteReplay(Sample());
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    const char* says;
  };
  std::vector<Case> cases = {
      {"empty", {}, "not a PONDARO replay"},
      {"another file", {'P', 'K', 3, 4, 0, 0, 0, 0, 0, 0}, "not a PONDARO replay"},
      {"cut short", {good.begin(), good.end() - 9}, "checksum"},
      {"one bit flipped", good, "checksum"},
      {"too large", std::vector<uint8_t>(kMaxReplayFileBytes + 1, 'P'), "too large"},
      {"a later format", good, "format 2"},
      {"ticks the stream does not hold", Resealed(Sample(), [](TReplay& r) { r.Ticks = 301; }), "holds 300 ticks"},
      {"digests that do not fit", Resealed(Sample(), [](TReplay& r) { r.Digests.pop_back(); }), "digests"},
      {"an endless game", Resealed(Sample(), [](TReplay& r) { r.Ticks = kMaxReplayTicks + 1; }), "too long"},
      {"a request to end the program",
       Resealed(Sample(), [](TReplay& r) { r.Records[0] = Event(EventType::Terminate); }), "end the program"},
      {"an answer first",
       Resealed(Sample(), [](TReplay& r) { std::swap(r.Records[0], r.Records[1]); }), "does not start with an input"},
      {"a pointer far outside",
       Resealed(Sample(), [](TReplay& r) { r.Records[7].Event.X = 5'000'000; }), "pointer out of range"},
      {"a frog outside the pond", Resealed(Sample(), [](TReplay& r) { r.Start.Frog.FrogColumn = 7; }),
       "start state"},
      {"a lily no pond grows",
       Resealed(Sample(), [](TReplay& r) { r.Start.Pond.LilyGrid.SetKind(1, 1, 99); }), "start state"},
  };
  cases[3].bytes[good.size() / 2] ^= 0x10;
  cases[5].bytes[8] = 2;
  for (const Case& c : cases) {
    TReplay r;
    std::string error;
    EXPECT_FALSE(ReadReplay(c.bytes, r, error)) << c.what;
    EXPECT_NE(error.find(c.says), std::string::npos) << c.what << ": " << error;
    EXPECT_TRUE(r.Records.empty()) << c.what;
  }
}

TEST(ReplayFile, AFileOnDiskAndItsChecksum) {
  const std::string path = ::testing::TempDir() + "/pondaro-replay-test.pdr";
  std::string error;
  ASSERT_TRUE(SaveReplay(path, Sample(), error)) << error;
  TReplay back;
  ASSERT_TRUE(LoadReplay(path, back, error)) << error;
  EXPECT_EQ(back.Score, 1234);
  const std::vector<uint8_t> bytes = WriteReplay(Sample());
  EXPECT_EQ(FileChecksum(path, error), crc32(0, bytes.data(), static_cast<uInt>(bytes.size())));
  EXPECT_FALSE(LoadReplay(path + ".missing", back, error));
  EXPECT_NE(error.find("cannot be read"), std::string::npos) << error;
  std::remove(path.c_str());
}

}  // namespace
}  // namespace pondaro::test
