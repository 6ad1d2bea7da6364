// Records and positions as clipboard text. The clipboard holds Unicode; the
// record model keeps Shift_JIS, so the conversion happens here.
#pragma once
#include <QString>
#include <string>
#include <string_view>

#include "records/figure.h"

constexpr int DIAGRAM_TEXT_MAX = 1024;

enum PasteKind : int { PASTE_NONE = 0, PASTE_SGF, PASTE_UGF, PASTE_DIAGRAM };

// The position at the shown move as a text diagram, in Shift_JIS bytes: the
// side and move line with the prisoners, a line of column labels, one line
// per row (CR LF ends each line).
std::string position_diagram(const Figure& f);
QString position_clipboard_text(const Figure& f);
QString sgf_clipboard_text(const GameRecord& rec);

// What kind of record the text holds: SGF when a "(" is followed, after
// blanks and control characters only, by ";"; UGF when it has "Ver=UGF" and
// "[Header]"; otherwise a board diagram.
PasteKind paste_kind(std::string_view text);
// A board diagram (Shift_JIS) as the initial position of rec (reset first);
// false, rec untouched, when no line of 9, 13 or 19 board glyphs is found.
bool read_diagram(std::string_view cp932, GameRecord& rec);
// Reads clipboard text into rec as a loaded file; the kind read, PASTE_NONE
// (rec untouched) when nothing could be read.
PasteKind read_pasted_record(const QString& text, GameRecord& rec, bool last_move_load);
