// Game records for the knowledge builders and the game database: record
// files, SGF collections (several game trees in one file, optionally
// xz-compressed) and folders of them, read through the record readers.
#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "records/figure.h"

// One game tree's text after another from an SGF collection.
std::vector<std::string_view> split_sgf_collection(std::string_view data);

// Reads every game of the sources (files or folders, folders walked in name
// order, ".sgf", ".sgf.xz", ".ugf" and the other record formats) and hands
// each read record to visit with its running number; visit returns false to
// stop. Files that cannot be read are logged and skipped. Returns the number
// of games handed over.
long for_each_source_game(const std::vector<std::string>& sources,
                          const std::function<bool(const GameRecord& rec, long index)>& visit);

// Moves of the main line as point codes (256-stride) with their colours; a
// pass is 0. Returns the count.
int main_line_moves(const Figure& f, int* z, int* color, int max);
// Setup stones of the record (handicap or a given position).
bool has_setup_stones(const Figure& f);
