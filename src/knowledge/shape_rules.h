// Shape knowledge of the second mode: a multiplier on a candidate's gain
// over passing, from bonuses (saving a string put in atari, taking a
// killable string), 22 answers to the opponent's last move and two penalties
// for ugly shapes.
#pragma once

constexpr int SHAPE_RULE_NUM = 24;

// 1.0 when no rule applies. The last move must be an opponent stone.
double shape_factor(int z, int color);

// Number (1..24) of the rule the latest shape_factor call applied, 0 for none.
int last_shape_rule();
