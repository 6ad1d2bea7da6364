// GTP commands that make the engine think: genmove, kgs-genmove_cleanup,
// reg_genmove (tells the move without playing it) and miro-latest_winrate.
#pragma once

void register_genmove_commands();
