// PNG decoding, checked against PNG files built byte by byte so that a swapped
// channel order cannot cancel itself out, and against SDL_image on every picture
// of the game's collection (no colour handling of one library shifts the art).
#include "desktop/sdl_picture.h"

#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>

#include "sprites/collection_file.h"

namespace pondaro {
namespace {

// 2 x 2 RGBA: red, green at alpha 128 / blue at alpha 0, (10, 20, 30) at alpha 40.
const uint8_t kRgba2x2[] = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44, 0x52,
    0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x02, 0x08, 0x06, 0x00, 0x00, 0x00, 0x72, 0xb6, 0x0d,
    0x24, 0x00, 0x00, 0x00, 0x16, 0x49, 0x44, 0x41, 0x54, 0x78, 0xda, 0x63, 0xf8, 0xcf, 0xc0, 0xf0,
    0x1f, 0x08, 0x1b, 0x18, 0x40, 0x34, 0x97, 0x88, 0x9c, 0x06, 0x00, 0x36, 0xa9, 0x04, 0xe1, 0x64,
    0xdb, 0x4d, 0x7e, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};

// 2 x 1 palette picture: index 0 = (200, 100, 50) made transparent by tRNS, index 1 = (1, 2, 3).
const uint8_t kPalette2x1[] = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44, 0x52, 0x00,
    0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x01, 0x08, 0x03, 0x00, 0x00, 0x00, 0xc3, 0xfc, 0x8f, 0xb8, 0x00,
    0x00, 0x00, 0x06, 0x50, 0x4c, 0x54, 0x45, 0xc8, 0x64, 0x32, 0x01, 0x02, 0x03, 0xc4, 0xb1, 0x9d, 0xbe,
    0x00, 0x00, 0x00, 0x01, 0x74, 0x52, 0x4e, 0x53, 0x00, 0x40, 0xe6, 0xd8, 0x66, 0x00, 0x00, 0x00, 0x0b,
    0x49, 0x44, 0x41, 0x54, 0x78, 0xda, 0x63, 0x60, 0x60, 0x04, 0x00, 0x00, 0x04, 0x00, 0x02, 0x2c, 0xde,
    0x48, 0xad, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(SdlPictureDecoder, DecodesRgbaInMemoryOrder) {
  SdlPictureDecoder decoder;
  std::string error;
  auto p = decoder.Decode(kRgba2x2, sizeof kRgba2x2, error);
  ASSERT_TRUE(p) << error;
  EXPECT_EQ(p->Width, 2);
  EXPECT_EQ(p->Height, 2);
  const std::vector<uint8_t> expected = {255, 0, 0, 255, 0, 255, 0, 128, 0, 0, 255, 0, 10, 20, 30, 40};
  EXPECT_EQ(p->Rgba, expected);
  EXPECT_EQ(p->AlphaAt(1, 0), 128);
}

TEST(SdlPictureDecoder, PaletteTransparencyBecomesAlpha) {
  SdlPictureDecoder decoder;
  std::string error;
  auto p = decoder.Decode(kPalette2x1, sizeof kPalette2x1, error);
  ASSERT_TRUE(p) << error;
  ASSERT_EQ(p->Rgba.size(), 8u);
  EXPECT_EQ(p->AlphaAt(0, 0), 0);
  EXPECT_EQ(std::vector<uint8_t>(p->Rgba.begin() + 4, p->Rgba.end()), (std::vector<uint8_t>{1, 2, 3, 255}));
}

TEST(SdlPictureDecoder, RoundTripsAnOddSizedPicture) {
  // 37 pixels a row: SDL pads rows, the decoder must not.
  Pixels in;
  in.Width = 37;
  in.Height = 23;
  std::mt19937 rng(7);
  for (int i = 0; i < in.Width * in.Height * 4; ++i) in.Rgba.push_back(static_cast<uint8_t>(rng()));
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(in.Rgba.data(), in.Width, in.Height, 32, in.Width * 4,
                                                      SDL_PIXELFORMAT_RGBA32);
  ASSERT_NE(s, nullptr);
  const std::string path = testing::TempDir() + "pondaro_roundtrip.png";
  ASSERT_EQ(IMG_SavePNG(s, path.c_str()), 0) << IMG_GetError();
  SDL_FreeSurface(s);
  const auto bytes = ReadFile(path);
  std::remove(path.c_str());

  std::string error;
  auto out = SdlPictureDecoder().Decode(bytes.data(), bytes.size(), error);
  ASSERT_TRUE(out) << error;
  EXPECT_EQ(out->Width, in.Width);
  EXPECT_EQ(out->Height, in.Height);
  EXPECT_EQ(out->Rgba, in.Rgba);
}

TEST(SdlPictureDecoder, RejectsWhatIsNotAWholePng) {
  SdlPictureDecoder decoder;
  const uint8_t garbage[] = "this is certainly not a picture of a frog";
  const std::vector<std::pair<const uint8_t*, size_t>> bad = {
      {garbage, sizeof garbage},
      {kRgba2x2, sizeof kRgba2x2 / 2},  // cut off inside the image data
      {kRgba2x2, 0},
      {nullptr, 10},
  };
  for (const auto& [data, size] : bad) {
    std::string error;
    EXPECT_FALSE(decoder.Decode(data, size, error)) << size;
    EXPECT_FALSE(error.empty()) << size;
  }
}

TEST(SdlPictureDecoder, RefusesOtherPictureFormats) {
  // A BMP is a picture, but not what the collection stores.
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, 4, 4, 32, SDL_PIXELFORMAT_RGBA32);
  ASSERT_NE(s, nullptr);
  std::vector<uint8_t> buffer(4096);
  SDL_RWops* rw = SDL_RWFromMem(buffer.data(), static_cast<int>(buffer.size()));
  ASSERT_EQ(SDL_SaveBMP_RW(s, rw, 0), 0);
  const auto size = static_cast<size_t>(SDL_RWtell(rw));
  SDL_RWclose(rw);
  SDL_FreeSurface(s);
  std::string error;
  EXPECT_FALSE(SdlPictureDecoder().Decode(buffer.data(), size, error));
  EXPECT_FALSE(error.empty());
}

// SDL_image's own reading of a PNG, as RGBA in memory order.
std::optional<Pixels> DecodeWithSdlImage(const CollectionRecord& r) {
  SDL_RWops* rw = SDL_RWFromConstMem(r.PayloadData(), static_cast<int>(r.PayloadSize()));
  SDL_Surface* decoded = rw ? IMG_LoadTyped_RW(rw, 1, "PNG") : nullptr;
  SDL_Surface* rgba = decoded ? SDL_ConvertSurfaceFormat(decoded, SDL_PIXELFORMAT_RGBA32, 0) : nullptr;
  SDL_FreeSurface(decoded);
  if (!rgba) return std::nullopt;
  Pixels p;
  p.Width = rgba->w;
  p.Height = rgba->h;
  for (int y = 0; y < rgba->h; ++y) {
    const auto* row = static_cast<const uint8_t*>(rgba->pixels) + static_cast<size_t>(rgba->pitch) * y;
    p.Rgba.insert(p.Rgba.end(), row, row + static_cast<size_t>(rgba->w) * 4);
  }
  SDL_FreeSurface(rgba);
  return p;
}

TEST(SdlPictureDecoder, EveryPictureOfTheGameDecodesAsSdlImageReadsIt) {
  TFileBytes file(PONDARO_GAME_DIR "/Data/Graphic.dxg");
  std::vector<CollectionRecord> records;
  std::string error;
  ASSERT_TRUE(ReadCollectionInPlace(file.Data(), file.Size(), CollectionKind::Images, records, error)) << error;
  ASSERT_GT(records.size(), 50u);
  SdlPictureDecoder decoder;
  for (const CollectionRecord& r : records) {
    auto ours = decoder.Decode(r.PayloadData(), r.PayloadSize(), error);
    auto theirs = DecodeWithSdlImage(r);
    ASSERT_TRUE(ours && theirs) << r.Name << ": " << error;
    EXPECT_EQ(ours->Width, theirs->Width) << r.Name;
    EXPECT_TRUE(ours->Rgba == theirs->Rgba) << r.Name;
  }
}

}  // namespace
}  // namespace pondaro
