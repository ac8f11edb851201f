// Damaged data files: every one must load or be reported as EDataFileError naming
// the file, never crash, hang or read out of bounds (run under `make asan` too).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <random>

#include "platform/raw_picture_decoder.h"
#include "platform/recording_display.h"
#include "platform/recording_sound.h"
#include "sprites/errors.h"
#include "sprites/image_list.h"
#include "sprites/wave_list.h"

#if __has_include("desktop/sdl_picture.h")
#include "desktop/sdl_picture.h"
#define PONDARO_HAVE_SDL_DECODER 1
#endif

namespace pondaro {
namespace {

using test::SolidPixels;

class NoClock : public Clock {
 public:
  uint64_t Milliseconds() const override { return 0; }
  void Sleep(int) override {}
};

void Reseal(std::vector<uint8_t>& b) {
  if (b.size() < 4) return;
  const uint32_t crc = Crc32(b.data(), b.size() - 4);
  for (int i = 0; i < 4; ++i) b[b.size() - 4 + i] = static_cast<uint8_t>(crc >> (8 * i));
}

std::vector<CollectionRecord> Pictures(std::function<std::vector<uint8_t>(const Pixels&)> encode) {
  std::vector<CollectionRecord> out;
  const char* names[] = {"frog", "menu", "iazik"};
  for (int i = 0; i < 3; ++i) {
    CollectionRecord r;
    r.Name = names[i];
    r.PatternWidth = 2;
    r.PatternHeight = 2;
    r.SkipWidth = i;
    r.Payload = encode(SolidPixels(2 + i, 2, Color{10, 20, static_cast<uint8_t>(30 * i), 200}));
    out.push_back(r);
  }
  return out;
}

std::vector<CollectionRecord> Sounds() {
  std::vector<CollectionRecord> out;
  for (const char* name : {"kvak", "fon1"}) {
    CollectionRecord r;
    r.Name = name;
    r.MaxPlayingCount = 2;
    r.Payload = {'R', 'I', 'F', 'F', 8, 0, 0, 0, 'W', 'A', 'V', 'E', 1, 2};
    out.push_back(r);
  }
  return out;
}

// Offsets of the item count and of every item's name and payload length fields.
std::vector<size_t> LengthFields(const std::vector<CollectionRecord>& records, CollectionKind kind) {
  std::vector<size_t> at = {8};
  size_t pos = 12;
  for (const auto& r : records) {
    at.push_back(pos);
    pos += 2 + r.Name.size() + (kind == CollectionKind::Images ? 22 : 17);
    at.push_back(pos);
    pos += 4 + r.Payload.size();
  }
  return at;
}

// Calls `check` on every truncation, on huge and off-by-one length fields, and on
// `randomCases` seeded byte flips of a valid file.
void ForEachMutant(const std::vector<uint8_t>& good, const std::vector<size_t>& lengthFields, uint32_t seed,
                   int randomCases,
                   const std::function<void(const std::vector<uint8_t>&, const std::string&)>& check) {
  for (size_t n = 0; n < good.size(); ++n) {
    std::vector<uint8_t> cut(good.begin(), good.begin() + n);
    check(cut, "cut at " + std::to_string(n));
    if (n >= 16) {  // cut, then a valid checksum on what is left
      Reseal(cut);
      check(cut, "resealed cut at " + std::to_string(n));
    }
  }
  const size_t body = good.size() - 4;
  for (size_t at : lengthFields)
    for (uint32_t v : {0u, 1u, 0xFFu, 0xFFFFu, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu,
                       static_cast<uint32_t>(good.size()), static_cast<uint32_t>(good.size() + 1)}) {
      auto b = good;
      for (int i = 0; i < 4 && at + i < body; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
      Reseal(b);
      check(b, "field at " + std::to_string(at) + " = " + std::to_string(v));
    }
  std::mt19937 rng(seed);
  for (int k = 0; k < randomCases; ++k) {
    auto b = good;
    const int flips = 1 + static_cast<int>(rng() % 4);
    for (int f = 0; f < flips; ++f) b[rng() % body] ^= static_cast<uint8_t>(1 + rng() % 255);
    if (k % 8 != 0) Reseal(b);  // mostly the parser, sometimes the checksum, must catch it
    if (k % 50 == 0) b.insert(b.end() - 4, rng() % 9, static_cast<uint8_t>(rng()));
    if (k % 50 == 0) Reseal(b);
    check(b, "mutant " + std::to_string(k));
  }
}

// Counts the outcomes, so a test can tell that mutants got past the checksum
// both into a successful load and into the parser's and decoder's own checks.
struct Outcomes {
  int loaded = 0, caughtPastChecksum = 0;
};

void ExpectLoadsOrReports(const std::function<void()>& load, const std::string& what, Outcomes& out) {
  try {
    load();
    ++out.loaded;
  } catch (const EDataFileError& e) {
    if (!std::strstr(e.what(), "checksum")) ++out.caughtPastChecksum;
    EXPECT_EQ(std::string(e.what()).rfind("Data/F.dat: ", 0), 0u) << what << ": " << e.what();
  } catch (const std::exception& e) {
    ADD_FAILURE() << what << ": unexpected " << e.what();
  }
}

void FuzzPictures(const PictureDecoder& decoder, const std::vector<CollectionRecord>& records, uint32_t seed,
                  int randomCases) {
  const auto good = WriteCollection(CollectionKind::Images, records);
  test::RecordingDisplay display;
  TPictureCollection images;
  images.Restore(display);
  images.LoadFromBytes(good, decoder, "Data/F.dat");
  ASSERT_EQ(images.Count(), 3);
  Outcomes outcomes;
  ForEachMutant(good, LengthFields(records, CollectionKind::Images), seed, randomCases,
                [&](const std::vector<uint8_t>& bytes, const std::string& what) {
                  ExpectLoadsOrReports(
                      [&] {
                        images.LoadFromBytes(bytes, decoder, "Data/F.dat");
                        for (int i = 0; i < images.Count(); ++i) {
                          const auto& item = images.Items(i);
                          for (int f = 0; f < item.FrameCount() && f < 64; ++f) {
                            const TRect r = item.FrameRectOf(f);
                            if (r.Width() > 0 && r.Height() > 0)
                              (void)item.SolidAt(r.Right - 1, r.Bottom - 1);  // in bounds
                            item.Draw(display, 0, 0, f);
                          }
                        }
                      },
                      what, outcomes);
                  EXPECT_EQ(display.textures.size(), static_cast<size_t>(images.Count())) << what;
                  display.calls.clear();
                });
  EXPECT_GT(outcomes.loaded, 0);
  EXPECT_GT(outcomes.caughtPastChecksum, 0);
}

TEST(CollectionFuzz, DamagedPictureFilesLoadOrAreReported) {
  FuzzPictures(test::RawPictureDecoder(), Pictures(test::EncodeRawPicture), 1234, 4000);
}

TEST(CollectionFuzz, DamagedSoundFilesLoadOrAreReported) {
  const auto records = Sounds();
  const auto good = WriteCollection(CollectionKind::Sounds, records);
  test::RecordingSoundOutput output;
  NoClock clock;
  TWaveCollection waves;
  Outcomes outcomes;
  ForEachMutant(good, LengthFields(records, CollectionKind::Sounds), 99, 4000,
                [&](const std::vector<uint8_t>& bytes, const std::string& what) {
                  ExpectLoadsOrReports(
                      [&] {
                        waves.LoadFromBytes(bytes, output, clock, "Data/F.dat");
                        for (int i = 0; i < waves.Count(); ++i) waves.Items(i).Play();
                      },
                      what, outcomes);
                  EXPECT_EQ(output.samples.size(), static_cast<size_t>(waves.Count())) << what;
                });
  EXPECT_GT(outcomes.loaded, 0);
  EXPECT_GT(outcomes.caughtPastChecksum, 0);
}

#ifdef PONDARO_HAVE_SDL_DECODER
// A genuine PNG (8-bit RGBA, stored deflate blocks), so SDL_image's decoder meets
// damaged real pictures too.
std::vector<uint8_t> EncodePng(const Pixels& p) {
  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  auto be32 = [](std::vector<uint8_t>& v, uint32_t x) {
    for (int i = 3; i >= 0; --i) v.push_back(static_cast<uint8_t>(x >> (8 * i)));
  };
  auto chunk = [&](const char* type, const std::vector<uint8_t>& data) {
    be32(png, static_cast<uint32_t>(data.size()));
    std::vector<uint8_t> typed(type, type + 4);
    typed.insert(typed.end(), data.begin(), data.end());
    png.insert(png.end(), typed.begin(), typed.end());
    be32(png, Crc32(typed.data(), typed.size()));
  };
  std::vector<uint8_t> ihdr;
  be32(ihdr, p.Width);
  be32(ihdr, p.Height);
  ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0});
  chunk("IHDR", ihdr);
  std::vector<uint8_t> raw;
  for (int y = 0; y < p.Height; ++y) {
    raw.push_back(0);
    auto row = p.Rgba.begin() + static_cast<size_t>(y) * p.Width * 4;
    raw.insert(raw.end(), row, row + p.Width * 4);
  }
  std::vector<uint8_t> z = {0x78, 0x01, 1, static_cast<uint8_t>(raw.size()), static_cast<uint8_t>(raw.size() >> 8),
                            static_cast<uint8_t>(~raw.size()), static_cast<uint8_t>(~raw.size() >> 8)};
  z.insert(z.end(), raw.begin(), raw.end());
  uint32_t a = 1, b = 0;
  for (uint8_t c : raw) a = (a + c) % 65521, b = (b + a) % 65521;
  be32(z, (b << 16) | a);
  chunk("IDAT", z);
  chunk("IEND", {});
  return png;
}

TEST(CollectionFuzz, DamagedRealPngPicturesLoadOrAreReported) {
  SdlPictureDecoder decoder;
  Pixels p = SolidPixels(3, 2, Color{1, 2, 3, 4});
  std::string error;
  const auto png = EncodePng(p);
  auto back = decoder.Decode(png.data(), png.size(), error);
  ASSERT_TRUE(back) << error;  // the encoder above makes pictures SDL_image accepts
  EXPECT_EQ(back->Rgba, p.Rgba);
  // Fewer random cases: a flipped chunk length makes libpng skip up to 2 GiB.
  FuzzPictures(decoder, Pictures(EncodePng), 777, 1000);
}
#endif

// Real files on disk: each failure names the file and empties the collection.
class CollectionFiles : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::string path = ::testing::TempDir() + name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    written_.push_back(path);
    return path;
  }
  void TearDown() override {
    for (const auto& p : written_) std::remove(p.c_str());
  }
  template <class Load>
  std::string Failure(Load load) {
    try {
      load();
    } catch (const EDataFileError& e) {
      return e.what();
    }
    return "(loaded)";
  }
  std::vector<std::string> written_;
};

TEST_F(CollectionFiles, EachFailureNamesTheFileAndLeavesTheCollectionEmpty) {
  test::RawPictureDecoder decoder;
  test::RecordingSoundOutput output;
  NoClock clock;
  TPictureCollection images;
  TWaveCollection waves;
  const auto pictures = WriteCollection(CollectionKind::Images, Pictures(test::EncodeRawPicture));
  const auto sounds = WriteCollection(CollectionKind::Sounds, Sounds());
  const std::string graphic = Write("pondaro_Graphic.dxg", pictures);
  const std::string music = Write("pondaro_Music.dxw", sounds);
  images.LoadFromFile(graphic, decoder);
  waves.LoadFromFile(music, output, clock);
  ASSERT_EQ(images.Count(), 3);
  ASSERT_EQ(waves.Count(), 2);

  const std::string missing = ::testing::TempDir() + "pondaro_none.dxg";
  EXPECT_EQ(Failure([&] { images.LoadFromFile(missing, decoder); }),
            missing + ": cannot open (No such file or directory)");
  EXPECT_EQ(images.Count(), 0);
  EXPECT_EQ(Failure([&] { waves.LoadFromFile(missing, output, clock); }),
            missing + ": cannot open (No such file or directory)");
  EXPECT_EQ(waves.Count(), 0);
  EXPECT_TRUE(output.samples.empty());

  const std::string empty = Write("pondaro_empty.dxg", {});
  EXPECT_EQ(Failure([&] { images.LoadFromFile(empty, decoder); }), empty + ": the file is empty");
  EXPECT_EQ(Failure([&] { images.LoadFromFile(music, decoder); }), music + ": holds sounds, not pictures");
  EXPECT_EQ(Failure([&] { waves.LoadFromFile(graphic, output, clock); }),
            graphic + ": holds pictures, not sounds");
  auto future = pictures;
  future[4] = 2;
  const std::string newer = Write("pondaro_v2.dxg", future);
  EXPECT_EQ(Failure([&] { images.LoadFromFile(newer, decoder); }),
            newer + ": unsupported version 2 (expected 1)");
  EXPECT_EQ(Failure([&] { images.LoadFromFile(::testing::TempDir(), decoder); }).rfind(::testing::TempDir() + ": cannot", 0),
            0u);
  EXPECT_EQ(images.Count(), 0);
}

}  // namespace
}  // namespace pondaro
