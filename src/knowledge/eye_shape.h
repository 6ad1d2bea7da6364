// Eye-shape database: the file layout, the shape key, the rehash sequence and
// the edge codes. Shared by the database's generator and its reader, so that
// both place and find a shape the same way.
#pragma once
#include <cstdint>

constexpr int EYE_SLOT_NUM = 2048;          // shape index slots
constexpr int EYE_SLOT_MASK = EYE_SLOT_NUM - 1;
constexpr int EYE_SLOT_POINTS = 8;          // points a slot can hold
constexpr int EYE_SLOT_BYTES = 40;
constexpr int EYE_RESULT_MAX = 3200000;     // result entries of 3 bytes
constexpr int EYE_EDGE_NUM = 9;
constexpr int EYE_CONTEXT_NUM = 3;
constexpr int EYE_REHASH_NUM = 2047;
constexpr int EYE_PROBE_MAX = 32;           // probing stops at this step
constexpr long EYE_FILE_BYTES = 8 + long(EYE_SLOT_NUM) * EYE_SLOT_BYTES + long(EYE_RESULT_MAX) * 3;
constexpr const char* EYE_DB_FILE = "eye.db";

// Eye values: byte 0 of an entry holds the value when the attacker moves first
// in its high nibble and the value when the owner moves first in its low one.
constexpr int EYE_NONE = 0;   // not even one eye
constexpr int EYE_ONE = 2;    // one eye: the group does not live by this area
constexpr int EYE_KO = 6;     // the group lives by winning a ko
constexpr int EYE_TWO = 10;   // the group lives (two eyes or seki)

struct EyeSlot {
  uint32_t count;                      // 0 = empty slot
  uint32_t points[EYE_SLOT_POINTS];    // normalised, ascending, unused ones 0
  uint32_t base;                       // first result entry
};

// Result entries a shape of n points takes: edge codes x occupancies x contexts.
inline int eye_shape_entries(int n) { return EYE_EDGE_NUM * (1 << n) * EYE_CONTEXT_NUM; }

// Needs the global board's key table (random start-up).
uint32_t eye_shape_key(const uint32_t* points, int n);

// The 2047 distinct steps 1..2047 from the Park-Miller generator restarted at
// state 1; the engine's own seed is left as it was.
void make_eye_rehash(int rehash[EYE_REHASH_NUM]);

// Slot visited at probe step k (k = 0 first) given the previous one.
inline int eye_next_slot(int slot, int k, const int rehash[EYE_REHASH_NUM]) {
  return (slot + rehash[k]) & EYE_SLOT_MASK;
}

// Edge code 0..8 of a bounding box (columns x0..x1, rows y0..y1) on an n x n board.
int eye_edge_code(int x0, int y0, int x1, int y1, int n);
// Which sides of the bounding box lie on the board's edge, for an edge code.
struct EyeEdges {
  bool top, bottom, left, right;
};
EyeEdges eye_edges_of(int edge_code);
