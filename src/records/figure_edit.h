// Editing the main line of a record in place of single moves, and turning the
// whole record a quarter turn. The move edits change the record they are given
// and replay it; callers work on a copy and keep it only when the replay
// reached the end (or the user accepts where it stopped).
#pragma once
#include "records/figure.h"

// Move n (1-based) is played at zc instead. The reference figures stay.
// Returns the number of moves the replay reached; -1 (nothing changed) when
// n is not a stored move or zc is off the board.
int shift_move(GameRecord& rec, int n, int zc);
// A forgotten move is inserted as move n (1..move_count + 1) at zc for the
// side to move; the later moves and the figures hung after move n - 1 move one
// place on, and change colour when they alternated with the forgotten move. -1 when n is out of range, zc is off the board or the
// record is full.
int insert_move(GameRecord& rec, int n, int zc);
// Only move n is removed; the later moves stay and move one place back, as do
// the figures hung at or after n. -1 when n is not a stored move.
int delete_only_move(GameRecord& rec, int n);

// Replays the main line to its end and returns the number of moves replayed
// (move_count when every move could be played).
int replay_to_end(Figure& f);

// Turns the main line and every reference figure a quarter turn clockwise:
// stones, moves and labels; the shown move stays the same.
void rotate_record(GameRecord& rec);
