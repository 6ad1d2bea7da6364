// The game database "happo.db": fixed 1184-byte records of games (moves and
// players), searched for the position on the global board, whole board or a
// corner, with the next moves played from there. The game files "%d.sgf"
// (record index + 1) lie in the database folder.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

constexpr int HAPPO_MOVES = 420;
constexpr int HAPPO_RECORD_BYTES = 1184;
constexpr int HAPPO_LIST_MAX = 100;
constexpr int HAPPO_POINTS = 21 * 256;
constexpr const char* HAPPO_FILE = "happo.db";

struct HappoRecord {
  int16_t moves[HAPPO_MOVES];  // point codes, Black first, alternating
  int32_t excluded;            // non-zero: not searched
  int32_t result;              // 0 unknown, 1 Black won, 2 White won
  int32_t move_num;
  uint8_t unused[12];
  char black[128];             // CP932, zero-terminated
  char white[128];
  char date[64];
};
static_assert(sizeof(HappoRecord) == HAPPO_RECORD_BYTES, "happo.db records are 1184 bytes");

enum HappoMode : int { HAPPO_WHOLE = 0, HAPPO_CORNER = 1 };

struct HappoMatch {
  int record;  // index in the database
  int next;    // next move in the board's orientation (0 pass)
  int result;
  int target;  // colouring * 8 + symmetry
  int move;    // moves played in the game before the matched position
};

struct HappoResult {
  bool loaded = false;              // false: no database (logged)
  std::vector<HappoMatch> list;     // at most 100, sorted by date
  int total = 0;                    // all matches
  int next_count[HAPPO_POINTS] = {};
  int result_count[3] = {};
  int next_wins[HAPPO_POINTS][2] = {};  // per next move: Black's and White's wins
};

// Folder of "happo.db" and the game files; empty means the program folder.
void gamedb_set_folder(const std::string& folder);
const std::string& gamedb_folder();
// Loads the database on first use; false when missing (logged once).
bool gamedb_ready();
const std::vector<HappoRecord>& gamedb_records();
// Replaces the loaded records (tests, a rebuilt database).
void gamedb_use(std::vector<HappoRecord> records);

// The 16 keys of the global board's stones (colours as they are, then
// swapped; symmetries 0..3 rotations, 4..7 rotation then mirror).
void happo_target_keys(uint64_t keys[16]);
// Where symmetry g takes point z (and back, with the inverse) on the global board.
int happo_transform(int g, int z);
int happo_inverse(int g);
HappoResult happo_search(int mode);
// Path of the game file of a record.
std::string happo_game_path(int record);

// "ranvel --build-gamedb SOURCE... DEST": argv as main received it. Writes
// DEST/happo.db and DEST/%d.sgf; returns the exit status.
int build_gamedb_main(int argc, char** argv);
// The work of the mode; prints its summary to out.
// progress, when given, hears the number of games read so far and returns
// false to stop: then, as after any failure, dest is left as it was.
int build_gamedb(const std::vector<std::string>& sources, const std::string& dest, FILE* out,
                 const std::function<bool(long games)>& progress = nullptr);
