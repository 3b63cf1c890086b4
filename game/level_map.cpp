#include "game/level_map.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "game/campaign.h"
#include "gfx/font.h"
#include "gfx/sprite.h"

namespace {

const float kButtonSize = 37;
// The trail: a 14-pixel dark border under a 6-pixel sandy line dashed 14 on,
// 12 off; each picture holds its line with a pixel of soft edge either side.
const float kEdgeHalf = 8, kDashHalf = 4;
const float kDashOn = 14, kDashPeriod = 26;
const int kStepsPerLeg = 32;
// The number sits on a disc up and right of the spot.
const float kBadgeDx = 25, kBadgeDy = -25, kNumberScale = 0.85f;
const DWORD kInk = 0xFF13254A;

// The discs' colours by how far along the campaign a level lies: the first
// half calm water, then warm, then the last quarter coral.
DWORD BadgeColor(int i, int count) {
    if (2 * i < count) return 0xFF2EC4B6;
    if (4 * i < 3 * count) return 0xFFFF9F1C;
    return 0xFFFF6F61;
}

}  // namespace

void cLevelMap::Build(const cCampaign& campaign) {
    spots.clear();
    trail.clear();
    for (const cLevelInfo& l : campaign.levels) spots.push_back({l.x, l.y});
    if (spots.empty()) return;
    // A smooth curve through the spots: Catmull-Rom legs as cubic Béziers.
    trail.push_back({spots[0], 0});
    const std::size_t last = spots.size() - 1;
    for (std::size_t i = 0; i < last; ++i) {
        Point p0 = spots[i > 0 ? i - 1 : 0], p1 = spots[i], p2 = spots[i + 1];
        Point p3 = spots[std::min(i + 2, last)];
        Point c1{p1.x + (p2.x - p0.x) / 6, p1.y + (p2.y - p0.y) / 6};
        Point c2{p2.x - (p3.x - p1.x) / 6, p2.y - (p3.y - p1.y) / 6};
        for (int k = 1; k <= kStepsPerLeg; ++k) {
            float t = static_cast<float>(k) / kStepsPerLeg, u = 1 - t;
            float a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
            Point p{a * p1.x + b * c1.x + c * c2.x + d * p2.x,
                    a * p1.y + b * c1.y + c * c2.y + d * p2.y};
            const TrailPoint& prev = trail.back();
            trail.push_back({p, prev.s + std::hypot(p.x - prev.p.x, p.y - prev.p.y)});
        }
    }
}

cLevelMap::Point cLevelMap::TrailAt(float s) const {
    auto after = std::lower_bound(trail.begin(), trail.end(), s,
                                  [](const TrailPoint& t, float v) { return t.s < v; });
    if (after == trail.begin()) return trail.front().p;
    if (after == trail.end()) return trail.back().p;
    const TrailPoint& a = *(after - 1);
    const TrailPoint& b = *after;
    float f = b.s > a.s ? (s - a.s) / (b.s - a.s) : 0;
    return {a.p.x + (b.p.x - a.p.x) * f, a.p.y + (b.p.y - a.p.y) * f};
}

// One stretch of the trail as a strip of quads that share their edges, so
// the see-through border is equally dark everywhere, bends included.
void cLevelMap::RenderStrip(tideSprite* spr, float from, float to, float halfWidth) const {
    std::vector<Point> pts{TrailAt(from)};
    for (const TrailPoint& t : trail)
        if (t.s > from && t.s < to) pts.push_back(t.p);
    pts.push_back(TrailAt(to));
    const std::size_t n = pts.size();
    std::vector<Point> side(n);  // the normal at each point, halfWidth long
    for (std::size_t i = 0; i < n; ++i) {
        const Point& a = pts[i > 0 ? i - 1 : 0];
        const Point& b = pts[std::min(i + 1, n - 1)];
        float dx = b.x - a.x, dy = b.y - a.y, len = std::hypot(dx, dy);
        side[i] = len > 0 ? Point{-dy / len * halfWidth, dx / len * halfWidth} : Point{0, 0};
    }
    for (std::size_t i = 0; i + 1 < n; ++i) {
        const Point &a = pts[i], &b = pts[i + 1], &na = side[i], &nb = side[i + 1];
        spr->Render4V(a.x + na.x, a.y + na.y, b.x + nb.x, b.y + nb.y, b.x - nb.x, b.y - nb.y,
                      a.x - na.x, a.y - na.y);
    }
}

void cLevelMap::Render(const Look& look) const {
    if (trail.size() > 1) {
        float length = trail.back().s;
        if (look.edge) RenderStrip(look.edge, 0, length, kEdgeHalf);
        if (look.dash)
            for (float s = 0; s < length; s += kDashPeriod)
                RenderStrip(look.dash, s, std::min(s + kDashOn, length), kDashHalf);
    }
    for (int i = 0; i < Count(); ++i) {
        const Point& p = spots[static_cast<std::size_t>(i)];
        if (look.spot) look.spot->Render(p.x, p.y);
        float bx = p.x + kBadgeDx, by = p.y + kBadgeDy;
        if (look.badge) {
            look.badge->SetColor(BadgeColor(i, Count()));
            look.badge->Render(bx, by);
            look.badge->SetColor(0xFFFFFFFF);
        }
        if (tideFont* f = look.font) {
            // White figures with a dark rim, as on the rest of the map.
            std::string num = std::to_string(i + 1);
            float scale0 = f->GetScale();
            DWORD color0 = f->GetColor();
            f->SetScale(kNumberScale);
            float top = by - f->GetHeight() * kNumberScale / 2;
            f->SetColor(kInk);
            for (int k = 0; k < 4; ++k)
                f->Render(bx + (k % 2 ? 1.0f : -1.0f), top + (k / 2 ? 1.0f : -1.0f), TEXT_CENTER,
                          num.c_str());
            f->SetColor(0xFFFFFFFF);
            f->Render(bx, top, TEXT_CENTER, num.c_str());
            f->SetColor(color0);
            f->SetScale(scale0);
        }
    }
}

tideRect cLevelMap::Button(int n) const {
    float x = SpotX(n) - kButtonSize / 2, y = SpotY(n) - kButtonSize / 2;
    return tideRect(x, y, x + kButtonSize, y + kButtonSize);
}

float cLevelMap::SpotX(int n) const {
    return n >= 1 && n <= Count() ? spots[static_cast<std::size_t>(n - 1)].x : 0;
}

float cLevelMap::SpotY(int n) const {
    return n >= 1 && n <= Count() ? spots[static_cast<std::size_t>(n - 1)].y : 0;
}
