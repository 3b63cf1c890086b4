// The six unit kinds drawn as cartoon figures. Each painter draws one frame
// centred on the origin of the current cairo transform: small kinds inside
// a 64x64 frame (-32..32), large kinds inside 128x128 (-64..64). Player
// kinds face right, sea creatures face left, toward where they start.
#pragma once

#include <cairo.h>

namespace art {

enum class Action { Idle, Move, Attack };

// `t` runs over [0, 1): the loop phase for Idle and Move, the strike's
// progress for Attack (0 at rest, the hit near 0.5, back to rest at 1).
using UnitPainter = void (*)(cairo_t* cr, double t, Action action);

void paintAqua(cairo_t* cr, double t, Action action);   // diver with a harpoon gun
void paintTorp(cairo_t* cr, double t, Action action);   // torpedo-man with a launcher
void paintBati(cairo_t* cr, double t, Action action);   // small yellow submarine
void paintPaul(cairo_t* cr, double t, Action action);   // octopus
void paintShark(cairo_t* cr, double t, Action action);  // shark
void paintMedu(cairo_t* cr, double t, Action action);   // jellyfish

// Shared pieces.
void paintEye(cairo_t* cr, double x, double y, double r, double lookX, double lookY,
              double browTilt);
void paintPropeller(cairo_t* cr, double x, double y, double radius, double angle);
void paintRisingBubbles(cairo_t* cr, double x, double y, double t, double height, double size);

}  // namespace art
