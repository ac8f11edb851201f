#include "sprites/image_list.h"

#include <gtest/gtest.h>

#include "platform/raw_picture_decoder.h"
#include "platform/recording_display.h"
#include "sprites/errors.h"

namespace pondaro {
namespace {

using test::DrawCall;
using test::RecordingDisplay;
using test::SolidPixels;

const Color kRed{255, 0, 0, 255};

TPictureCollectionItem Grid(int w, int h, int pw, int ph, int sw, int sh) {
  TPictureCollectionItem item;
  item.Picture = SolidPixels(w, h, kRed);
  item.PatternWidth = pw;
  item.PatternHeight = ph;
  item.SkipWidth = sw;
  item.SkipHeight = sh;
  return item;
}

TEST(ImageList, NameBucketFollowsTheLowerCasedNameRule) {
  EXPECT_EQ(NameBucket(""), 0);
  EXPECT_EQ(NameBucket("A"), 16);                           // one character: length only
  EXPECT_EQ(NameBucket("frog"), (64 + 'o' + 'f') % 256);    // second-to-last + first
  EXPECT_EQ(NameBucket("FROG"), NameBucket("frog"));
  EXPECT_EQ(NameBucket("Start Game_n"), (12 * 16 + '_' + 's') % 256);
}

TEST(ImageList, FrameCountCountsWholeStepsPlusAnExactLastPattern) {
  EXPECT_EQ(Grid(200, 10, 50, 10, 0, 0).FrameCount(), 4);
  EXPECT_EQ(Grid(200, 10, 48, 10, 2, 0).FrameCount(), 4);
  EXPECT_EQ(Grid(148, 10, 48, 10, 2, 0).FrameCount(), 3);
  EXPECT_EQ(Grid(147, 10, 48, 10, 2, 0).FrameCount(), 2);  // 47 left: not a whole frame
  // Rows follow the same rule, and the count is columns x rows.
  EXPECT_EQ(Grid(148, 148, 48, 48, 2, 2).FrameCount(), 9);
  EXPECT_EQ(Grid(200, 148, 50, 48, 0, 2).FrameCount(), 12);
  // No pattern size (or a skip that eats the step): the whole picture is one frame across.
  EXPECT_EQ(Grid(200, 100, 0, 0, 0, 0).FrameCount(), 1);
  EXPECT_EQ(Grid(200, 100, -5, 50, 0, 0).FrameCount(), 2);
  EXPECT_EQ(Grid(200, 100, 50, 100, -50, 0).FrameCount(), 1);
  // A picture smaller than one frame has none.
  EXPECT_EQ(Grid(40, 40, 50, 50, 0, 0).FrameCount(), 0);
}

TEST(ImageList, FramesRunRowByRowAndStayInsideThePicture) {
  auto item = Grid(148, 100, 48, 50, 2, 0);  // 3 columns x 2 rows
  EXPECT_EQ(item.FrameRectOf(0), Bounds(0, 0, 48, 50));
  EXPECT_EQ(item.FrameRectOf(2), Bounds(100, 0, 48, 50));
  EXPECT_EQ(item.FrameRectOf(4), Bounds(50, 50, 48, 50));
  EXPECT_EQ(item.FrameRectOf(6), TRect{});
  EXPECT_EQ(item.FrameRectOf(-1), TRect{});
  EXPECT_EQ(Grid(60, 30, 0, 0, 0, 0).FrameRectOf(0), Bounds(0, 0, 60, 30));
  // Overlapping frames (negative skip) are clipped at the picture's edge.
  EXPECT_EQ(Grid(80, 10, 50, 10, -10, 0).FrameRectOf(1), Bounds(40, 0, 40, 10));
}

TEST(ImageList, FindIgnoresCaseAndTheLatestLinkedNameWins) {
  TPictureCollection images;
  auto& first = images.Add("Game_Word", SolidPixels(1, 1, kRed));
  auto& second = images.Add("game_word", SolidPixels(2, 2, kRed));
  EXPECT_EQ(&images.Find("GAME_WORD"), &second);  // head of the chain
  // "abc" and "bac" share a bucket; each is still found.
  auto& abc = images.Add("abc", SolidPixels(1, 1, kRed));
  auto& bac = images.Add("bac", SolidPixels(1, 1, kRed));
  ASSERT_EQ(NameBucket("abc"), NameBucket("bac"));
  EXPECT_EQ(&images.Find("ABC"), &abc);
  EXPECT_EQ(&images.Find("Bac"), &bac);

  // Renaming relinks: the renamed item leads its new chain and leaves the old one.
  images.Rename(second, "menu");
  EXPECT_EQ(&images.Find("game_word"), &first);
  images.Rename(first, "Menu");
  EXPECT_EQ(&images.Find("menu"), &first);
  images.Rename(abc, "stone");
  EXPECT_EQ(&images.Find("bac"), &bac);
  EXPECT_EQ(images.TryFind("abc"), nullptr);
  try {
    images.Find("Game_Word");
    FAIL() << "found a renamed item";
  } catch (const EGameError& e) {
    EXPECT_STREQ(e.what(), "Image 'Game_Word' not found");
  }
}

TEST(ImageList, DrawingCallsReachTheDisplayOnlyForReadyFrames) {
  RecordingDisplay display;
  TPictureCollection images;
  auto& frog = images.Add("frog", SolidPixels(100, 50, kRed));
  frog.PatternWidth = 50;
  frog.PatternHeight = 50;
  frog.Draw(display, 1, 2, 0);  // not uploaded yet
  EXPECT_TRUE(display.calls.empty());

  images.Restore(display);
  ASSERT_TRUE(frog.Ready());
  frog.Draw(display, 10, 20, 1);
  frog.Draw(display, 10, 20, 2);  // no third frame
  frog.Draw(display, 10, 20, -1);
  frog.StretchDraw(display, Bounds(0, 0, 25, 25), 0);
  frog.DrawAlpha(display, Bounds(5, 5, 10, 10), 1, 128);
  frog.DrawRotate(display, 400, 300, 60, 70, 1, 64);
  frog.DrawRotateAlpha(display, 400, 300, 50, 50, 0, 32, 90);
  ASSERT_EQ(display.calls.size(), 5u);
  const auto& c = display.calls;
  EXPECT_EQ(c[0].kind, DrawCall::Plain);
  EXPECT_EQ(c[0].texture, frog.Texture);
  EXPECT_EQ(c[0].src, Bounds(50, 0, 50, 50));
  EXPECT_EQ(c[0].dst, Bounds(10, 20, 50, 50));
  EXPECT_EQ(c[1].kind, DrawCall::Stretched);
  EXPECT_EQ(c[1].alpha, 255);
  EXPECT_EQ(c[1].dst, Bounds(0, 0, 25, 25));
  EXPECT_EQ(c[2].alpha, 128);
  EXPECT_EQ(c[2].src, Bounds(50, 0, 50, 50));
  EXPECT_EQ(c[3].kind, DrawCall::Rotated);
  EXPECT_EQ(c[3].alpha, 255);
  EXPECT_EQ(c[3].angle, 64);
  EXPECT_EQ(c[3].w, 60);
  EXPECT_EQ(c[3].h, 70);
  EXPECT_EQ(c[3].src, Bounds(50, 0, 50, 50));
  EXPECT_EQ(c[4].alpha, 90);
  EXPECT_EQ(c[4].cx, 400);
}

TEST(ImageList, TexturesFollowRestoreFinalizeAndTheCollectionsLife) {
  RecordingDisplay first, second;
  {
    TPictureCollection images;
    auto& backdrop = images.Add("bg1", SolidPixels(4, 4, kRed));
    Pixels translucent = SolidPixels(4, 4, kRed);
    translucent.Rgba[7] = 254;
    auto& sprite = images.Add("frog", translucent);
    images.Restore(first);
    EXPECT_TRUE(first.opaque.at(backdrop.Texture));
    EXPECT_FALSE(first.opaque.at(sprite.Texture));
    EXPECT_EQ(first.textures.at(sprite.Texture).Rgba, translucent.Rgba);

    // Added later: uploaded straight away to the remembered display.
    auto& late = images.Add("late", SolidPixels(1, 1, kRed));
    EXPECT_TRUE(late.Ready());

    images.Restore(first);  // again after a reset: no texture left behind
    EXPECT_EQ(first.textures.size(), 3u);
    images.Restore(second);  // moved: the first display lets go of everything
    EXPECT_TRUE(first.textures.empty());
    EXPECT_EQ(second.textures.size(), 3u);

    images.Finalize();
    EXPECT_TRUE(second.textures.empty());
    EXPECT_FALSE(backdrop.Ready());
    images.Add("after", SolidPixels(1, 1, kRed));
    EXPECT_TRUE(second.textures.empty());  // forgotten display gets nothing new

    images.Restore(first);
  }
  EXPECT_TRUE(first.textures.empty());  // the destructor freed them
}

TEST(ImageList, LoadKeepsAttributesAndAFailedLoadLeavesNothing) {
  RecordingDisplay display;
  test::RawPictureDecoder decoder;
  TPictureCollection images;
  images.Restore(display);
  images.Add("old", SolidPixels(1, 1, kRed));

  CollectionRecord frog;
  frog.Name = "frog";
  frog.PatternWidth = 2;
  frog.PatternHeight = 1;
  frog.SkipWidth = 1;
  frog.Transparent = false;
  frog.TransparentColor = 0x123456;
  frog.Payload = test::EncodeRawPicture(SolidPixels(5, 2, kRed));
  images.LoadFromRecords({frog}, decoder, "Data/Graphic.dxg");
  ASSERT_EQ(images.Count(), 1);
  const auto& item = images.Find("FROG");
  EXPECT_EQ(item.FrameCount(), 4);
  EXPECT_FALSE(item.Transparent);
  EXPECT_EQ(item.TransparentColor, 0x123456u);
  EXPECT_TRUE(item.Ready());
  EXPECT_EQ(display.textures.size(), 1u);  // "old" went with the clear

  CollectionRecord menu = frog;
  menu.Name = "menu";
  menu.Payload.pop_back();
  try {
    images.LoadFromRecords({frog, menu}, decoder, "Data/Graphic.dxg");
    FAIL() << "loaded a broken picture";
  } catch (const EDataFileError& e) {
    EXPECT_EQ(std::string(e.what()),
              "Data/Graphic.dxg: item 2: 'menu' is not a picture (pixel data does not match the size)");
  }
  EXPECT_EQ(images.Count(), 0);
  EXPECT_EQ(images.TryFind("frog"), nullptr);
  EXPECT_TRUE(display.textures.empty());
}

TEST(ImageList, ALoadedPictureKeepsOnlyWhatCollidesOnceUploadedAndComesBackWhole) {
  test::RawPictureDecoder decoder;
  RecordingDisplay first, second;
  TPictureCollection images;
  Pixels picture = SolidPixels(3, 3, kRed);
  picture.Rgba[4 * 4 + 3] = 127;  // (1, 1) too faint to touch
  picture.Rgba[8 * 4 + 3] = 128;  // (2, 2), the last pixel, just enough
  CollectionRecord frog;
  frog.Name = "frog";
  frog.Payload = test::EncodeRawPicture(picture);
  images.LoadFromRecords({frog}, decoder, "Data/Graphic.dxg");
  const auto& item = images.Find("frog");
  EXPECT_EQ(item.Picture.Rgba, picture.Rgba);  // no display yet: all of it

  std::vector<bool> before;
  for (int i = 0; i < 9; ++i) before.push_back(item.SolidAt(i % 3, i / 3));

  images.Restore(first);
  EXPECT_TRUE(item.Picture.Rgba.empty());
  ASSERT_TRUE(item.HasPixels());
  for (int i = 0; i < 9; ++i) EXPECT_EQ(item.SolidAt(i % 3, i / 3), before[i]) << i;
  EXPECT_FALSE(item.SolidAt(1, 1));
  EXPECT_TRUE(item.SolidAt(2, 2));
  EXPECT_EQ(item.Width(), 3);

  images.Restore(second);  // a new display after a mode switch gets the colours again
  EXPECT_EQ(second.textures.at(item.Texture).Rgba, picture.Rgba);
  EXPECT_FALSE(item.SolidAt(1, 1));
}

}  // namespace
}  // namespace pondaro
