// The quads a headless frame shows with one texture: the steady layer's
// (battle, level choice), drawn into it when it last changed, then the
// frame's own.
#pragma once

#include <vector>

#include "engine/tide_headless.h"
#include "game/game.h"

inline std::vector<tideQuad> ShownQuadsWith(const cGame* game, const tideHeadless& hl, HTEXTURE tex) {
    std::vector<tideQuad> out;
    if (game && game->layer.Fresh())
        for (const tideQuad& q : game->layer.Quads())
            if (q.tex == tex) out.push_back(q);
    for (const tideQuad& q : hl.Quads())
        if (q.tex == tex) out.push_back(q);
    return out;
}
