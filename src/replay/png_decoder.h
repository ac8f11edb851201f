// The picture collection's PNG payloads decoded with libpng, for re-playing a game
// where SDL is not (the score service, `pondaro --verify`): the pixel test needs
// the same alpha as the game's own decoder gives.
#pragma once
#include "platform/services.h"

namespace pondaro {

class PngDecoder : public PictureDecoder {
 public:
  std::optional<Pixels> Decode(const uint8_t* data, size_t size, std::string& error) const override;
};

}  // namespace pondaro
