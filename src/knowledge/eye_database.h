// The eye-shape database: what a small enclosed area is worth as eyes and
// where its vital points are, by shape, edge code, occupancy and context.
//
// Occupancy mark 1 = a stone of the attacker (the owner's opponent) stands on
// that point; the owner's own stones are never part of an area. Context = the
// number of other eyes the owning group already has (0, 1, 2 or more). Eye
// values: see EYE_NONE .. EYE_TWO in eye_shape.h; the first vital point is
// where the attacker plays to spoil the area, the second where the owner plays
// to make it live.
#pragma once
#include <cstdint>

#include "knowledge/eye_shape.h"

extern int eye_base_num;
extern int eye_hash_num;

// Reads the database file from the program folder (or its parent). Returns 1,
// or 0 after logging "Fail load eye-database" (lookups then find nothing).
int load_eye_database(const char* name = EYE_DB_FILE);
bool eye_database_loaded();
// The start-up step: load, and the corner patches when the board allows them.
void eye_database_startup();
void patch_corner_shapes();

// Base entry of a normalised, ascending point list, or -1.
int find_shape(const uint32_t* points, int n);

// Sorts points (caller's code: stride 256 or compact 32) and marks together
// and returns the entry index for the area on a size x size board, or -1.
template <int S>
int eye_entry_index(int* points, int* marks, int n, int context, int size);

// The fields of an area record that a lookup fills.
struct EyeLookup {
  int found;
  int eye_value;  // byte 0 of the entry
  int vital1;     // attacker's vital point (caller's code), 0 = none
  int vital2;     // owner's vital point, 0 = none
};

// As eye_entry_index, then fills `out`; returns 1, or 0 with `out` cleared.
template <int S>
int eye_lookup(int* points, int* marks, int n, int context, int size, EyeLookup& out);

// The three bytes of an entry.
const uint8_t* eye_entry(int index);
