// Whole-board judgement: strings, groups, territory areas, eyes, life and
// death. One implementation serves the global board (point codes, the older
// generation that the classic search, scoring and the editor read) and the
// search board (compact codes, the Monte-Carlo node creation).
#pragma once
#include <cstdint>

#include "core/board.h"

constexpr int STATUS_ALIVE = 1919;
constexpr int STATUS_DEAD = 4444;
constexpr int STATUS_UNSETTLED = 8107;

// A group holds at least one string, so the table can never overflow on a
// legal position.
constexpr int GROUP_MAX = REN_MAX;
constexpr int AREA_MAX = BOARD_MAX * BOARD_MAX;
constexpr int POINT_MAX = BOARD_MAX * BOARD_MAX;
constexpr int LINK_MAX = 32;
constexpr int NEAR_MAX = 32;
constexpr int TWO_SPACE_MAX = POINT_MAX;

// Eye values of an area.
constexpr int AREA_NO_EYE = 0;
constexpr int AREA_ONE_EYE = 2;
constexpr int AREA_EYE_IF_FIRST = 3;  // one eye, two if the owner plays first
constexpr int AREA_TWO_EYES = 4;

// Final status per point (the GTP status words in this order).
enum FinalStatus : int8_t {
  FINAL_ALIVE = 0,
  FINAL_DEAD = 1,
  FINAL_SEKI = 2,
  FINAL_WHITE_TERRITORY = 3,
  FINAL_BLACK_TERRITORY = 4,
  FINAL_DAME = 5,
};

// Mark of a string that is not alive but keeps living in the final status:
// its killers are dead themselves (set by the semeai stage).
constexpr int MARK_REVIVED = 2;

struct AnalysisString {
  int kari;          // provisional owner of the string's points (0 = none)
  int stones;
  int group;
  int sente_dead;    // capturable when the attacker moves first
  int death_z, life_z;
  int libs;
  int z;             // a stone of the string
  int lib_z;         // a liberty
  int link_num;
  uint16_t link[LINK_MAX];
  int status;
  int mark;
  int color;
  int enemy_num;     // adjacent enemy strings
  uint16_t enemy[NEAR_MAX];
};

struct Area {
  int parent;        // union-find during the fusion
  int color;
  int num;           // points, enemy stones included
  int empty;         // empty points
  int first;         // index into Analysis::area_points
  int eye;           // AREA_* value
  int vital1, vital2;
  int group;
};

struct Group {
  int color;
  int in_ren_num, ren_first;   // member strings in group_strings
  int in_ji_num, ji_first;     // areas in group_areas
  int near_num;                // adjacent dead enemy strings
  uint16_t near_ren[NEAR_MAX];
  int enemy_num;               // adjacent enemy groups
  uint16_t enemy[NEAR_MAX];
  int stones;
  int eyes;                    // sum of the areas' eye values
  int libs;
  int status;
  int new_status;
  int safety;
  bool flag_a;                 // room to run or to make eyes outside its areas
  bool flag_b;                 // an adjacent enemy string to capture
  bool boxed;                  // small empty space around it, no friend reached
};

template <int S>
struct Analysis {
  static constexpr int ARRAY = 21 * S;

  int size;
  int str_num;
  uint16_t str_list[REN_MAX];
  AnalysisString str[REN_MAX + 1];
  int16_t rn[ARRAY];            // string number of a stone, 0 elsewhere
  int8_t kari[ARRAY];           // provisional secure territory owner
  int16_t empty_region[ARRAY];  // connected empty points, numbered from 1
  int16_t region_size[POINT_MAX + 1];
  int16_t area_no[ARRAY];
  int area_num;
  Area area[AREA_MAX + 1];
  uint16_t area_points[POINT_MAX];
  int group_num;
  Group group[GROUP_MAX + 1];
  uint16_t group_strings[REN_MAX];
  uint16_t group_areas[AREA_MAX];
  int two_space_num;            // stone pairs linked across an empty 2x2 block
  uint16_t two_space[TWO_SPACE_MAX][2];

  // Per-point results.
  int32_t kakutei[ARRAY];       // secure territory, +100 black .. -100 white
  int32_t potential[ARRAY];     // influence of the living stones, positive black
  int32_t connect[ARRAY];       // links made through the point
  int32_t false_eye[ARRAY];     // colour whose eye here is false
  int32_t owner_value[ARRAY];   // ownership value: sign gives the owner
  int8_t final_status[ARRAY];
  // Points of dead stones that the fill-out took and their taker then had
  // to fill, by colour of the taker: each costs him the point of territory,
  // not the prisoner.
  int refilled[3];

  int phase;
  int density;
  int evaluation;               // older generation: static value, positive black

  // Scratch of the flood fills.
  uint32_t visit[ARRAY];
  uint32_t visit_stamp;
};

using GlobalAnalysis = Analysis<256>;
using SearchAnalysis = Analysis<32>;

// Analysis of the global board, read by scoring, the classic search and the editor.
extern GlobalAnalysis ban_analysis;

// The final status takes the position as finished; only scoring and the
// editor's judgement read it, so the search leaves it out (final_status then
// keeps what the last full analysis set).
enum AnalysisScope { ANALYSIS_WITH_FINAL_STATUS, ANALYSIS_WITHOUT_FINAL_STATUS };

// Full analysis. The board is only played on and taken back (tactical
// reading, with the reading state of the given search thread).
template <int S>
void analyze(Board<S>& b, Analysis<S>& a, int thread = 0, AnalysisScope scope = ANALYSIS_WITH_FINAL_STATUS);

// For a finished game counted by territory, after analyze: the players fill
// the dame before the count, and a point of territory a stone had to occupy
// on the way turns dame. Played out on the board and taken back.
template <int S>
void fill_dame_before_count(Board<S>& b, Analysis<S>& a);

// Game phase from the stone density of the last analysis: 0, 1 or 2.
int game_phase(int density);

// The analysis' own verdict on the stone at z (its group alive or
// unsettled, or the string revived), before the end-of-game rules that the
// final status adds for a finished game.
template <int S>
bool stone_lives(const Analysis<S>& a, int z);

// Chinese rules: area count; otherwise territory plus prisoners. Black
// positive; komi not included.
template <int S>
int classic_score(const Board<S>& b, const Analysis<S>& a, bool chinese);

// Combined chance of two independent percentages.
int combine(int a, int b);

// Debug dumps to the log.
template <int S>
void print_analysis_strings(const Analysis<S>& a);
template <int S>
void print_analysis_groups(const Analysis<S>& a);
template <int S>
void print_point_arrays(const Analysis<S>& a);
