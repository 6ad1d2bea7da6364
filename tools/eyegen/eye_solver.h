// Exhaustive solution of the fight inside one enclosed eye space.
#pragma once
#include <cstdint>

constexpr int EYE_SOLVE_POINTS_MAX = 8;

// The space as a graph: n points, their neighbours inside the space, and which
// points touch the enclosing wall (the owner's stones around the space).
struct EyeGeometry {
  int n;
  uint8_t nb[EYE_SOLVE_POINTS_MAX];
  uint8_t wall;
};

// Fills out[((occupancy * 3) + context) * 3 + k] for every occupancy
// 0..2^n-1 and context 0..2 with the three result bytes (eye value, attacker's
// vital points, owner's vital points). Occupancy and masks use the database's
// bit order: point i is bit n-1-i.
void solve_eye_space(const EyeGeometry& g, uint8_t* out);
