// Opening moves of the classic engine: random central moves on 9x9, corner
// points on larger boards, approaches to lone enemy corner stones on 19x19,
// and the centre against a mirroring opponent.
#pragma once

constexpr int OPENING_CANDIDATE_MAX = 512;

// A point code, or 0 when the opening has no move here.
int opening_move(int color);

// Adds the centre to the candidates when the opponent has mirrored every
// move; returns the new candidate count.
int mimic_check(int count, int color, int candidates[OPENING_CANDIDATE_MAX]);
