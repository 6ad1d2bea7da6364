// Planning the think time from the controller's clock ("--time-control"):
// time_settings and time_left over GTP, and the limit of one move from them.
#pragma once

void time_control_enable(bool on);
bool time_control_enabled();
void time_control_settings(int main_time, int byo_yomi_time, int byo_yomi_stones);
void time_control_left(int color, int seconds, int stones);
// The limit for color's next move: the fixed limit when time control is off
// or no clock is known, else what the clock allows with a safety margin.
double time_control_limit(int color, double fixed_limit, int board_size, int moves_played);
