// PNG payloads of the image collection decoded with SDL_image.
#pragma once
#include "platform/services.h"

namespace pondaro {

// Needs no SDL video: it runs before (and without) a window, in tools and tests.
class SdlPictureDecoder : public PictureDecoder {
 public:
  std::optional<Pixels> Decode(const uint8_t* data, size_t size, std::string& error) const override;
  // Helpers decode at a lower priority than the game's own thread.
  void ThreadBegins() const override;
  // SDL keeps an error message per thread, freed only for its own threads.
  void ThreadEnds() const override;
};

}  // namespace pondaro
