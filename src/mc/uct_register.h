// Level 7, the Monte-Carlo tree search, as a level of the move decision driver.
#pragma once
#include <string>

// Registers level 7 with the search settings of the command line (playouts 0:
// the default budget under the clock). False, with the reason, when the
// pattern files it needs cannot be loaded.
bool uct_register_level(int threads, int playouts, std::string& why);
