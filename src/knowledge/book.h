// Opening books: the whole-board book "book19.db" and the corner book
// "book11.db", open-addressing tables of positions counted in game records,
// stored on disk exactly as they lie in memory.
#pragma once
#include <cstdint>
#include <vector>

#include "core/board.h"

constexpr int BOOK11_ENTRIES = 65536;
constexpr int BOOK19_ENTRIES = 32768;
constexpr int BOOK_WINDOW_CORNER = 11;
constexpr int BOOK_WINDOW_WHOLE = 19;
constexpr int BOOK_CORNER_REACH = 10;   // a corner candidate lies in rows and columns 1..10
constexpr int BOOK_PROBES = 2048;       // home slot and the 2047 probe offsets
constexpr int BOOK_CANDIDATE_MAX = 361;
constexpr const char* BOOK19_FILE = "book19.db";
constexpr const char* BOOK11_FILE = "book11.db";

struct BookEntry {
  uint32_t key_low;      // second word of the position key
  uint32_t key_high;     // first word
  uint32_t occurrences;  // 0 = empty slot
  uint16_t games;
  int16_t stones;
  int32_t file;          // -1 in a fresh table
  uint8_t unused[4];
};
static_assert(sizeof(BookEntry) == 24, "the book files are arrays of 24-byte entries");

struct BookTable {
  const char* name;      // log name, "hash19x19book" or "hash11x11book"
  std::vector<BookEntry> entries;
  int use = 0;           // slots with occurrences
  bool loaded = false;   // a file was read into it
};

extern BookTable book19;
extern BookTable book11;

// An empty table of n entries (n a power of two): occurrences 0, file -1.
void book_table_init(BookTable& t, const char* name, int n);
// Reads the file into a fresh table; a short file leaves the tail empty, a
// missing one leaves the table empty and unloaded (logged, never fatal).
bool book_table_load(BookTable& t, const char* file);
// The entry of the key, or the first empty slot on its probe path; nullptr
// when every probed slot holds another key (logged).
BookEntry* book_lookup(BookTable& t, uint32_t low, uint32_t high);

// Turns (x, y) by rotation 0..3 about the centre m = n/2 + 1 of an n x n board.
void book_rotate(int rotation, int n, int& x, int& y);
// Key of the stones (and ko point) of rows and columns 1..window of the board
// turned by rotation 0..3 about its centre, optionally transposed in the window
// and with the colours exchanged: (word0 << 32) | word1 of the 96-bit keys.
uint64_t position_key(const GlobalBoard& b, int rotation, int window, bool transpose, bool swap_colors);
// The whole-board book key: the smallest of the 16 symmetric keys.
uint64_t book19_key(const GlobalBoard& b);
// The corner book key of the position after a move at z by color: the corner
// of z turned to the upper left, read from Black's side, the smaller of the
// plain and the transposed window. -1 (all ones) when no rotation fits z.
uint64_t book11_key(const GlobalBoard& b, int z, int color);
// Rotation 0..3 that brings z into rows and columns 1..10, or -1.
int book_corner_rotation(int z, int size);

// Quadrant of a point for the corner book: 1..4, 0 on line 10 or a pass.
int book_quadrant(int z);

struct BookCandidate {
  int z;
  uint32_t occurrences;
  int games;
  int stones;
  int file;
  double weight;
};

// Candidates of the book for color on the global board (the table must hold
// data); fills list and returns the count. Used by book_choice and by tests.
int book_candidates(int color, int size, BookCandidate* list);
// Whole-board (19) or corner (11) book move, 0 for none; force tells whether
// to play it without search.
int book_choice(int color, int size, int* force);
// Mimic-go responder, then the whole-board book, then the corner book. The
// caller sets *force = 1 first.
int book_move(int color, int* force);
// Loads both books on first use; false when neither could be read.
bool books_ready();
