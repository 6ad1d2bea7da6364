// The position judgement (形勢判断): the whole-board analysis of the shown
// position, as territory values and dead stones for the board view.
#pragma once
#include <string>

struct Figure;
struct Judgement;

// Judges the position `shown` holds at its current move: by the end-of-game
// rules once the record's game is over (its last move shown after two passes,
// or a counted result), else by the analysis' own status. The engine's own
// game is put back afterwards.
bool judge_position(const Figure& shown, Judgement& out);

// The count the judgement adds up to, under the record's rule, with the
// margin as the result texts write it ("黒 6目半勝ち"); UTF-8.
std::string judgement_summary(const Judgement& j);

// Makes the main window's judgement command use judge_position.
void install_judgement();
