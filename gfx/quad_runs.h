// Fewer draws for the same pixels: quads that share a texture and a blend
// mode are drawn in one run, and every change of either starts another, each
// a draw of its own. tideGroupRuns moves a quad back to the last run of its
// kind when it overlaps none of the quads it moves past: quads that share no
// pixel can be drawn in either order, so the picture stays the same.
#pragma once

#include <vector>

#include "engine/tide.h"

void tideGroupRuns(std::vector<tideQuad>& quads);
