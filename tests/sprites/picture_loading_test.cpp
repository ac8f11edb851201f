// Pictures decoded while the game goes on: what BeginLoad decodes at once, what
// the helpers leave for TakeDecoded to upload, what a lookup waits for, a damaged
// picture found late, and the helpers' allowance of decoded pixels.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>

#include "platform/raw_picture_decoder.h"
#include "platform/recording_display.h"
#include "sprites/errors.h"
#include "sprites/image_list.h"

namespace pondaro {
namespace {

using test::EncodeRawPicture;
using test::GatedPictureDecoder;
using test::RecordingDisplay;
using test::SolidPixels;

class PictureLoading : public ::testing::Test {
 protected:
  void SetUp() override { path = "/tmp/pondaro-pictures-" + std::to_string(getpid()) + ".dxg"; }
  void TearDown() override {
    decoder.Open();  // helpers waiting at the gate would hold the clear up
    images.Clear();
    std::remove(path.c_str());
  }
  // A collection of pictures w x h named p0, p1, ...; `broken` is not a picture.
  void Write(int count, int w, int h, int broken = -1) {
    std::vector<CollectionRecord> records(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
      records[i].Name = "p" + std::to_string(i);
      records[i].Payload = EncodeRawPicture(SolidPixels(w, h, Color{uint8_t(i), 0, 0, 255}));
      if (i == broken) records[i].Payload.resize(9);
    }
    const auto bytes = WriteCollection(CollectionKind::Images, records);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  }
  // Takes what is decoded until `done` holds (or two seconds have gone).
  template <class Done>
  void TakeUntil(Done done) {
    for (int i = 0; i < 2000 && !done(); ++i) {
      images.TakeDecoded();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }

  std::string path;
  GatedPictureDecoder decoder;
  RecordingDisplay display;
  TPictureCollection images;
};

TEST_F(PictureLoading, OnlyTheFirstPicturesAreThereAtOnceTheRestComeAsTheyAreDecoded) {
  Write(12, 8, 6);
  images.Restore(display);
  images.BeginLoad(path, decoder, {"P3"});
  ASSERT_EQ(images.Count(), 12);
  EXPECT_TRUE(images.Loading());
  EXPECT_EQ(display.textures.size(), 1u);  // p3, decoded here; the helpers start at the first take
  EXPECT_TRUE(images.Has("p11"));          // known by name before its pixels come
  images.TakeDecoded();
  EXPECT_EQ(display.textures.size(), 1u);

  decoder.Open();
  TakeUntil([&] { return display.textures.size() == 12; });
  EXPECT_EQ(display.textures.size(), 12u);
  EXPECT_FALSE(images.Loading());
  EXPECT_EQ(decoder.Decoded(), 12);  // each picture once
  const TPictureCollectionItem& p7 = images.Find("p7");
  EXPECT_TRUE(p7.Ready());
  EXPECT_EQ(p7.Width(), 8);
  EXPECT_EQ(display.textures.at(p7.Texture).Rgba[0], 7);
}

// The menu after a skipped splash: a lookup waits, helping, until every picture is in.
TEST_F(PictureLoading, ALookupOfAPictureStillMissingWaitsForTheLoading) {
  Write(40, 30, 20);
  images.Restore(display);
  images.BeginLoad(path, decoder, {"p0"});
  decoder.Open();
  TPictureCollectionItem& last = images.Find("p39");
  EXPECT_TRUE(last.Ready());
  EXPECT_EQ(last.Height(), 20);
  EXPECT_FALSE(images.Loading());
  EXPECT_EQ(display.textures.size(), 40u);
  for (int i = 0; i < images.Count(); ++i) EXPECT_TRUE(images.Items(i).Ready()) << i;
}

TEST_F(PictureLoading, ADamagedPictureFoundLateNamesItselfAndTheLoadingStops) {
  Write(6, 4, 4, 4);
  images.Restore(display);
  images.BeginLoad(path, decoder, {"p0"});
  decoder.Open();
  try {
    images.FinishLoading();
    FAIL() << "a damaged picture was taken in";
  } catch (const EDataFileError& e) {
    EXPECT_EQ(std::string(e.what()), path + ": item 5: 'p4' is not a picture (pixel data does not match the size)");
  }
  EXPECT_FALSE(images.Loading());
  EXPECT_TRUE(images.Find("p0").Ready());  // what was taken in stays
  EXPECT_FALSE(images.Find("p4").Ready());

  // Loaded whole, the same picture leaves nothing behind.
  EXPECT_THROW(images.LoadFromFile(path, decoder), EDataFileError);
  EXPECT_EQ(images.Count(), 0);
  EXPECT_TRUE(display.textures.empty());
}

// Left untaken (the window hidden during the splash), the helpers stop at their
// allowance instead of decoding every picture into memory; a clear stops them.
TEST_F(PictureLoading, TheHelpersHoldBackAtTheirAllowanceAndStopWhenCleared) {
  constexpr int kSide = 512;  // 1 MB a picture
  Write(16, kSide, kSide);
  images.Restore(display);
  images.BeginLoad(path, decoder, {});
  images.TakeDecoded();  // the helpers start, and nothing is taken from here on
  decoder.Open();
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  const size_t picture = size_t{kSide} * kSide * 4;
  const int helpers = static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 2u, 4u)) - 1;
  EXPECT_LE(decoder.Decoded(), static_cast<int>(TPictureLoader::kMaxWaiting / picture) + 1 + helpers);
  EXPECT_TRUE(display.textures.empty());
  images.Clear();
  EXPECT_EQ(images.Count(), 0);
  EXPECT_FALSE(images.Loading());
}

}  // namespace
}  // namespace pondaro
