// The simple text record format (".ig1", shared with another Go program) and
// the NGF reader.
#pragma once
#include <string_view>

#include "records/figure.h"
#include "records/sgf_buf.h"

// Both read into a record that has been reset and return 0 when they stop.
int read_text(std::string_view data, GameRecord& rec);
int read_ngf(std::string_view data, GameRecord& rec);
void write_text(const GameRecord& rec, SgfBuf& buf);

// Column letters "A" ... "T" without "I".
char text_column_letter(int x);
