// Styled texts put together from SDL_ttf's renderings: the letters filled with a
// gradient, the outline ring round them and a soft shadow beneath.
#pragma once
#include "platform/display.h"

struct SDL_Surface;

namespace pondaro {

// Colours white letters (straight-alpha ARGB8888) from `top` at their topmost
// row to `bottom` at their lowest.
void PaintGradient(SDL_Surface* letters, Color top, Color bottom);

// The letters over their ring (rendered `look.OutlinePx` larger on every side;
// null for none) over the blurred shadow of both, as a new ARGB8888 surface.
// (originX, originY) is where the letters' own top-left lies in it.
SDL_Surface* ComposeStyled(const SDL_Surface* letters, const SDL_Surface* ring, const TextLook& look, int& originX,
                           int& originY);

}  // namespace pondaro
