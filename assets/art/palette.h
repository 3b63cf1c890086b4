// The shared colours of the game's look: a sunny, saturated underwater
// cartoon with dark navy outlines.
#pragma once

#include "assets/art/canvas.h"

namespace art::pal {

inline const Color ink = rgb(0x13254A);  // outlines
inline const Color inkSoft = rgb(0x13254A, 0.55);
inline const Color white = rgb(0xFFFFFF);
inline const Color seaTop = rgb(0x5FD8F0);
inline const Color seaMid = rgb(0x1F8FCB);
inline const Color seaDeep = rgb(0x0B3F7A);
inline const Color seaAbyss = rgb(0x06234A);
inline const Color sand = rgb(0xF2D59A);
inline const Color sandDark = rgb(0xD9B26E);
inline const Color coral = rgb(0xFF6F61);
inline const Color coralPink = rgb(0xFF9AB8);
inline const Color weed = rgb(0x3FBF6A);
inline const Color weedDark = rgb(0x228A4C);
inline const Color sun = rgb(0xFFD23F);
inline const Color sunDeep = rgb(0xFF9F1C);
inline const Color teal = rgb(0x2EC4B6);
inline const Color rose = rgb(0xFF4F8B);
inline const Color violet = rgb(0x9B5DE5);
inline const Color steel = rgb(0xB8C6D6);

// Side colours of the turn-order badges.
inline const Color playerSide = rgb(0x37D1E0);
inline const Color enemySide = rgb(0xFF5A5F);

}  // namespace art::pal
