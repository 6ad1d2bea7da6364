// Hands the classic searches to the move decision driver: the iterative and
// the root mode of the alpha-beta search (levels 1 and 2) and the one-move
// evaluator (level 0), all on the whole-board analysis' evaluation.
#pragma once

void register_classic_search();

// Level 0: the move whose resulting position the static evaluation likes best
// (a pass when none beats the present position).
int one_move_think(int color);
