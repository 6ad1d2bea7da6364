// The engine record as a small SGF game, for the internal error stop.
#pragma once
#include <string>

std::string kifu_to_sgf();
