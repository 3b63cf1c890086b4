// The level choice's map as the campaign lays it out at run time: the trail
// through the levels' spots, the spots with their numbers, and where each
// level's button sits. Nothing of it is baked into the map picture, so a
// level added to the campaign file needs no new art.
#pragma once

#include <vector>

#include "gfx/rect.h"

class cCampaign;
class tideFont;
class tideSprite;

class cLevelMap {
public:
    // The pictures the map is drawn with; any may be missing (null), which
    // leaves that part out.
    struct Look {
        tideSprite* spot = nullptr;   // the island under a button, centred
        tideSprite* badge = nullptr;  // the number's disc, white, tinted per stretch
        tideSprite* edge = nullptr;   // the trail's dark border: a column across its width
        tideSprite* dash = nullptr;   // the trail's sandy dashes: the same
        tideFont* font = nullptr;     // the numbers
    };

    // Lays the map out for the campaign's levels in their order.
    void Build(const cCampaign& campaign);
    void Render(const Look& look) const;

    int Count() const { return static_cast<int>(spots.size()); }
    // Level n's (from 1) button: 37 pixels square, centred on its spot.
    tideRect Button(int n) const;
    // The centre of level n's spot.
    float SpotX(int n) const;
    float SpotY(int n) const;

private:
    struct Point {
        float x, y;
    };
    // The trail from the first spot to the last, as a fine polyline with the
    // length along it at every point.
    struct TrailPoint {
        Point p;
        float s;
    };
    Point TrailAt(float s) const;
    void RenderStrip(tideSprite* spr, float from, float to, float halfWidth) const;

    std::vector<Point> spots;
    std::vector<TrailPoint> trail;
};
