// The game's icon as the build draws it: the window icon and the icon theme's
// four sizes, each a whole face with a clean edge at its own size.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "desktop/sdl_picture.h"
#include "sprites/wave_list.h"

namespace pondaro::test {
namespace {

std::string ThemeIcon(int size) {
  const std::string box = std::to_string(size) + "x" + std::to_string(size);
  return std::string(PONDARO_GAME_DIR) + "/icons/hicolor/" + box + "/apps/org.pondaro.Pondaro.png";
}

Pixels Load(const std::string& path) {
  const std::vector<uint8_t> bytes = ReadWholeFile(path);
  std::string error;
  auto pixels = SdlPictureDecoder().Decode(bytes.data(), bytes.size(), error);
  if (!pixels) ADD_FAILURE() << path << ": " << error;
  return pixels ? *pixels : Pixels{};
}

TEST(IconArt, TheWindowIconIsTheThemesSixtyFourPixelFace) {
  EXPECT_EQ(ReadWholeFile(std::string(PONDARO_GAME_DIR) + "/Data/icon.png"), ReadWholeFile(ThemeIcon(64)));
}

TEST(IconArt, EverySizeIsAWholeFaceWithASharpEdge) {
  for (int size : {48, 64, 128, 256}) {
    SCOPED_TRACE(size);
    const Pixels icon = Load(ThemeIcon(size));
    ASSERT_EQ(icon.Width, size);
    ASSERT_EQ(icon.Height, size);

    // The face fills the square, and nothing of it is cut off at the border.
    int left = size, right = -1, top = size, bottom = -1;
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x)
        if (icon.AlphaAt(x, y) >= 128) {
          left = std::min(left, x), right = std::max(right, x);
          top = std::min(top, y), bottom = std::max(bottom, y);
        }
    EXPECT_GE(right - left + 1, size * 85 / 100);
    EXPECT_GE(bottom - top + 1, size * 75 / 100);
    for (int i = 0; i < size; ++i) {
      EXPECT_EQ(icon.AlphaAt(i, 0) | icon.AlphaAt(i, size - 1) | icon.AlphaAt(0, i) | icon.AlphaAt(size - 1, i), 0)
          << "at " << i;
    }
    // Both sides of the head, across the cheeks: from clear to solid within two
    // pixels, at every size. A picture scaled up from a smaller one would fade
    // in over several.
    const int y = size * 40 / 64;
    for (int step : {1, -1}) {
      int x = step > 0 ? 0 : size - 1;
      while (icon.AlphaAt(x, y) == 0) x += step;
      int soft = 0;
      for (; icon.AlphaAt(x, y) < 255; x += step) ++soft;
      EXPECT_LE(soft, 2) << (step > 0 ? "left" : "right") << " edge";
    }
  }
}

}  // namespace
}  // namespace pondaro::test
