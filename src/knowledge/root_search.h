// The second mode of the alpha-beta search: every root candidate is valued
// against passing and the gain weighed by the shape factor.
#pragma once

// Deepens from one ply to DM while the time lasts; leaves the chosen move in
// the root principal variation and returns its score (negative: passing is
// better). With the retry flag the last choice of the same position is kept.
int root_search(int alpha, int beta, int color);
// Score of a move against the pass value: the gain times the shape factor,
// truncated toward zero.
int root_score(int value_move, int value_pass, double factor);
