// SGF (FF[4]) records of Go games.
#pragma once
#include <string>
#include <string_view>

#include "records/figure.h"
#include "records/sgf_buf.h"

constexpr int SGF_BRANCH_MAX = 1024;

// Reads into a record that has been reset; true when the game tree was read
// to its end, false when the reading stopped early (what was read stays).
bool read_sgf(std::string_view data, GameRecord& rec);
void write_sgf(const GameRecord& rec, SgfBuf& buf);

// The data in CP932: converted from the charset CA declares, or from UTF-8
// when there is no CA and the bytes read better as UTF-8 (reads_as_utf8).
// Returns false (and leaves out empty) when no conversion is needed.
bool sgf_to_cp932(std::string_view data, std::string& out);
