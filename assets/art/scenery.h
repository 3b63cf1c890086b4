// Underwater scenery shared by the backgrounds: water, light, sand, rocks,
// plants and small sea life. Every random choice comes from the Rng passed
// in, so a picture is the same on every build.
#pragma once

#include "assets/art/canvas.h"
#include "assets/common/rng.h"

namespace art {

// Vertical water gradient over the whole canvas.
void paintWater(Canvas& c, const Color& top, const Color& bottom);
// Soft light shafts slanting down from the surface.
void paintLightRays(Canvas& c, gen::Rng& rng, int count, double alpha);
// Rippling caustic light (Perlin noise) added inside a rectangle.
void paintCaustics(Canvas& c, double x, double y, double w, double h, double scale, double strength,
                   int seed);
// Sand from `top` (a wavy edge) to the canvas bottom, with pebbles.
void paintSandFloor(Canvas& c, gen::Rng& rng, double top, double waviness);

void paintRock(cairo_t* cr, gen::Rng& rng, double cx, double cy, double rx, double ry);
void paintSeaweed(cairo_t* cr, gen::Rng& rng, double x, double baseY, double height);
void paintCoral(cairo_t* cr, gen::Rng& rng, double x, double baseY, double size,
                const Color& color);
void paintStarfish(cairo_t* cr, double x, double y, double r, double angle, const Color& color);
void paintShell(cairo_t* cr, double x, double y, double r, double angle);
void paintFish(cairo_t* cr, double x, double y, double size, bool facingLeft, const Color& color);
void paintBubbleColumn(cairo_t* cr, gen::Rng& rng, double x, double bottom, double top,
                       double size);

}  // namespace art
