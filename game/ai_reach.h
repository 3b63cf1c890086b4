// Reach on the board, in plain numbers: how far apart two blocks of cells
// are, and where a unit could strike before it acts twice. The threat view
// and the computer's judgement of danger ask the same questions here.
#pragma once

namespace reach {

// Shortest distance in cells between a block of `as` cells across anchored
// at (ax, ay) and one of `bs` anchored at (bx, by): the value the rules'
// unit distance gives for units standing there.
float BlockDistance(int ax, int ay, int as, int bx, int by, int bs);

// True when a unit of `size` anchored at (x, y), with `range`, could strike
// a block of `tsize` anchored at (tx, ty) from where it stands or after one
// step (its step plus its reach).
bool StrikesAfterStep(int x, int y, int size, float range, int tx, int ty, int tsize);

}  // namespace reach
