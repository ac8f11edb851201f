#include "replay/png_decoder.h"

#include <png.h>

namespace pondaro {

std::optional<Pixels> PngDecoder::Decode(const uint8_t* data, size_t size, std::string& error) const {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, data, size)) {
    error = image.message;
    return std::nullopt;
  }
  // The collection's pictures are at most a few thousand pixels a side.
  if (image.width == 0 || image.height == 0 || image.width > 16384 || image.height > 16384) {
    png_image_free(&image);
    error = "a picture of " + std::to_string(image.width) + " x " + std::to_string(image.height) + " pixels";
    return std::nullopt;
  }
  image.format = PNG_FORMAT_RGBA;
  Pixels p;
  p.Width = static_cast<int>(image.width);
  p.Height = static_cast<int>(image.height);
  p.Rgba.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, p.Rgba.data(), 0, nullptr)) {
    error = image.message;
    png_image_free(&image);
    return std::nullopt;
  }
  return p;
}

}  // namespace pondaro
