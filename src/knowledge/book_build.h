// Building the opening books from game records: every position of the
// opening is counted (occurrences, games, stones, first game), and the most
// frequent positions fill the tables, which stay at most half full.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "knowledge/book.h"

struct BookBuildOptions {
  int whole_depth = 40;         // moves counted for the whole-board book
  int corner_depth = 80;        // moves counted for the corner book
  int corner_max_stones = 24;   // a corner window with more stones is past the joseki
  int whole_min_games = 3;      // a forced book move needs a line played more than once or twice
  int corner_min_games = 5;     // the corner book only uses entries of more than 4 games
  long first_game = 0;          // games [first_game, end_game) of the sources are used
  long end_game = -1;           // -1: to the end
};

// Keys of all 16 symmetric views of a window, kept up to date stone by stone.
struct BookKeys {
  int size = 19;
  int window = 19;
  Hash96 h[4][2][2];   // rotation, transposed, colours swapped
  int stones[4];       // stones inside each rotation's window

  void clear(int board_size, int window_size);
  void toggle(int z, int color, int delta);  // a stone put (+1) or removed (-1)
  // Whole-board key (the smallest of 16), or the corner key of rotation r
  // read from color's side; the ko point enters as in book19_key/book11_key.
  uint64_t whole_key(int kou) const;
  uint64_t corner_key(int rotation, int color, int kou) const;
};

struct BookCounter;

struct BookBuildResult {
  long games_used = 0;
  long positions19 = 0, positions11 = 0;   // distinct positions counted
  int entries19 = 0, entries11 = 0;        // entries stored
};

// Counts the sources and fills book19 and book11 (fresh tables).
BookBuildResult build_books(const std::vector<std::string>& sources, const BookBuildOptions& opt);
// Writes a table's entry array; false on a write error.
bool book_table_save(const BookTable& t, const std::string& path);
