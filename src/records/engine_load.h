// Hands a record to the engine: board size, initial position, moves up to the
// shown one, prisoners and the rule flag.
#pragma once
#include "records/figure.h"

// Sets up the engine's global board and record from the main line up to
// `moves` moves (clamped to the moves the record could replay). Returns the
// number of moves the engine took.
int engine_take_record(const Figure& main, int moves);

// "loadsgf FILE [N]": the position before move N (the whole game without N).
int gtp_loadsgf(const char* args);
