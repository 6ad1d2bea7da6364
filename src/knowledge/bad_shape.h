// Bad-shape table: 5x5 patterns centred on a candidate point, stored in all
// eight orientations, that the move generator uses to drop ugly candidates
// on boards larger than 9x9.
#pragma once

constexpr int BAD_SHAPE_NUM = 71;
constexpr int BAD_SHAPE_ORIENTATIONS = 8;
constexpr int BAD_SHAPE_CELLS = 25;

// Cell codes, always seen from the side to move.
enum BadShapeCell : int {
  SHAPE_EMPTY = 0,      // "┼"
  SHAPE_MINE = 1,       // "●"
  SHAPE_THEIRS = 2,     // "○"
  SHAPE_OFF = 3,        // "□"
  SHAPE_CANDIDATE = 4,  // "★"
  SHAPE_ANY = 5,        // "？"
};

enum BadShapeParse : int { SHAPE_PARSE_OK = 0, SHAPE_PARSE_UNKNOWN_SYMBOL = 1, SHAPE_PARSE_WILD_NEIGHBOUR = 2 };

// Reads five rows of five symbols into cell codes.
int parse_bad_shape(const char* const rows[5], int cells[BAD_SHAPE_CELLS]);

// Pattern p (0..70) as given, before any turn.
void bad_shape_pattern(int p, int cells[BAD_SHAPE_CELLS]);

// Start-up step: builds the table, stopping on a broken pattern.
void make_bad_shape_table();

// Whether the candidate z of the colour to move forms one of the patterns on
// the global board.
bool bad_shape_match(int z, int color);

struct SearchMove;
// Drops matching candidates (the last one takes the freed place and is tested
// in turn); returns the new count.
int bad_shape_filter(SearchMove* list, int n, int color);
