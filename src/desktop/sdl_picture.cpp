#include "desktop/sdl_picture.h"

#include <SDL.h>
#include <SDL_image.h>

#include <sys/resource.h>
#include <unistd.h>

#include <climits>

namespace pondaro {

std::optional<Pixels> SdlPictureDecoder::Decode(const uint8_t* data, size_t size, std::string& error) const {
  if (!data || size == 0) {
    error = "empty picture data";
    return std::nullopt;
  }
  if (size > static_cast<size_t>(INT_MAX)) {
    error = "picture data too large";
    return std::nullopt;
  }
  SDL_RWops* rw = SDL_RWFromConstMem(data, static_cast<int>(size));
  if (!rw) {
    error = std::string("cannot read picture data: ") + SDL_GetError();
    return std::nullopt;
  }
  // Only PNG is expected; refusing other formats keeps a damaged file from being
  // taken for something else. (The type argument of IMG_LoadTyped_RW does not do
  // that: formats with a signature are recognised whatever it says.)
  if (!IMG_isPNG(rw)) {
    SDL_RWclose(rw);
    error = "not a PNG picture";
    return std::nullopt;
  }
  SDL_Surface* decoded = IMG_LoadTyped_RW(rw, 1, "PNG");
  if (!decoded) {
    error = std::string("not a valid PNG picture: ") + IMG_GetError();
    return std::nullopt;
  }
  // RGBA32 is R, G, B, A in memory on any byte order (ABGR8888 on little-endian),
  // which SDL_image gives a PNG with alpha as it is. The conversion of any other
  // also turns a palette colour key into alpha 0.
  SDL_Surface* rgba = decoded;
  if (decoded->format->format != SDL_PIXELFORMAT_RGBA32) {
    rgba = SDL_ConvertSurfaceFormat(decoded, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(decoded);
    if (!rgba) {
      error = std::string("cannot convert picture: ") + SDL_GetError();
      return std::nullopt;
    }
  }
  Pixels out;
  out.Width = rgba->w;
  out.Height = rgba->h;
  const size_t rowBytes = static_cast<size_t>(rgba->w) * 4;
  if (SDL_MUSTLOCK(rgba)) SDL_LockSurface(rgba);
  const auto* src = static_cast<const uint8_t*>(rgba->pixels);
  out.Rgba.reserve(rowBytes * rgba->h);
  for (int y = 0; y < rgba->h; ++y) {
    const uint8_t* row = src + static_cast<size_t>(rgba->pitch) * y;
    out.Rgba.insert(out.Rgba.end(), row, row + rowBytes);
  }
  if (SDL_MUSTLOCK(rgba)) SDL_UnlockSurface(rgba);
  SDL_FreeSurface(rgba);
  return out;
}

// On Linux a nice value is the calling thread's own.
void SdlPictureDecoder::ThreadBegins() const { setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 10); }

void SdlPictureDecoder::ThreadEnds() const { SDL_TLSCleanup(); }

}  // namespace pondaro
