// The quads a headless frame shows with one texture: the battle's steady
// layer's, drawn into it when it last changed, then the frame's own.
#pragma once

#include <vector>

#include "engine/tide_headless.h"
#include "game/game.h"

inline std::vector<tideQuad> ShownQuadsWith(const cGame* game, const tideHeadless& hl, HTEXTURE tex) {
    std::vector<tideQuad> out;
    if (game && game->layerFresh)
        for (const tideQuad& q : game->layerQuads)
            if (q.tex == tex) out.push_back(q);
    for (const tideQuad& q : hl.Quads())
        if (q.tex == tex) out.push_back(q);
    return out;
}
