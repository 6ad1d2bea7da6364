// UGF, the editor's own record format.
#pragma once
#include <string_view>

#include "records/figure.h"
#include "records/sgf_buf.h"

// Reads into a record that has been reset; 1 at the end of the data, 0 when a
// data line is in error (what was read stays).
int read_ugf(std::string_view data, GameRecord& rec);
void write_ugf(const GameRecord& rec, SgfBuf& buf);

// The names under which the [Files] section holds the photos.
extern const char* const UGF_PHOTO_NAMES[PHOTO_NUM];

// A figure text line that the reader would take for a control line (after
// any blanks it begins with .Fig, .EndFig, .Text, .EndText or .#) is written
// with one more blank in front; the reader takes one blank off such a line.
bool ugf_control_text(std::string_view line);
