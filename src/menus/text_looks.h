// The looks of the texts the game writes over its pictures, one table for every
// screen: words that must stand out on any background carry the menus' style,
// warm yellow to orange with a dark outline and a soft shadow; small print is set
// in a plain face with a dark outline.
#pragma once
#include "platform/display.h"

namespace pondaro::looks {

inline constexpr Color kWarmTop{255, 234, 94, 255}, kWarmBottom{255, 138, 22, 255};
inline constexpr Color kBrown{74, 28, 6, 255};
inline constexpr Color kDeepWater{2, 42, 48, 130};

// "Level 3" and "Pause" over the play.
inline constexpr TextLook kBanner{kWarmTop, kWarmBottom, kBrown, 3, kDeepWater, 3, 4, 3, TextFace::Display};
// Headings of the help pages.
inline constexpr TextLook kHeading{kWarmTop, kWarmBottom, kBrown, 2, kDeepWater, 2, 3, 2, TextFace::Display};
// The help pages' body text: pale, plain and outlined over the calm panel.
inline constexpr TextLook kSmallPrint{{255, 250, 226, 255}, {255, 236, 170, 255}, {4, 36, 42, 255}, 2,
                                      {0, 0, 0, 0}, 0, 0, 0, TextFace::Body};
// What the player types into the options' dark country field.
inline constexpr TextLook kDarkField{kWarmTop, kWarmBottom, kBrown, 2, kDeepWater, 1, 2, 1, TextFace::Display};
// The name and score on the name-entry panel's pale fields.
inline constexpr TextLook kPaleField{{46, 160, 46, 255}, {10, 104, 18, 255}, {8, 52, 10, 255}, 1,
                                     {0, 60, 0, 60}, 1, 2, 1, TextFace::Display};
// The high-score table on its dark bands, and the row just entered, lit.
inline constexpr TextLook kTable{{255, 246, 120, 255}, {255, 200, 40, 255}, {40, 16, 2, 255}, 2,
                                 {0, 0, 0, 0}, 0, 0, 0, TextFace::Display};
inline constexpr TextLook kTableLit{{255, 255, 242, 255}, {255, 214, 80, 255}, {122, 50, 8, 255}, 2,
                                    {255, 190, 60, 170}, 0, 0, 3, TextFace::Display};
// The game's own messages on the cream card of its panel.
inline constexpr TextLook kMessage{{92, 46, 10, 255}, {60, 26, 4, 255}, {0, 0, 0, 0}, 0,
                                   {0, 0, 0, 0}, 0, 0, 0, TextFace::Body};

}  // namespace pondaro::looks
