// The position judgement (形勢判断): the whole-board analysis of the shown
// position, as territory values and dead stones for the board view.
#pragma once

struct Figure;
struct Judgement;

// Judges the position `shown` holds at its current move. The engine's own
// game is put back afterwards.
bool judge_position(const Figure& shown, Judgement& out);

// Makes the main window's judgement command use judge_position.
void install_judgement();
