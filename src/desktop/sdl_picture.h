// PNG payloads of the image collection, decoded by libpng exactly as the headless
// re-play decodes them (a collision mask must not differ between the two), on
// helper threads of a lower priority than the game's own.
#pragma once
#include "replay/png_decoder.h"

namespace pondaro {

// Needs no SDL video: it runs before (and without) a window, in tools and tests.
class SdlPictureDecoder : public PngDecoder {
 public:
  // Helpers decode at a lower priority than the game's own thread.
  void ThreadBegins() const override;
};

}  // namespace pondaro
