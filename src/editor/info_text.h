// The information text beside the board and in printouts: players,
// prisoners, move number and last move, result, title and date.
#pragma once
#include <QString>
#include <QStringList>

struct Figure;

// The last move's coordinates in the given coordinate style, or "パス".
QString last_move_text(const Figure& f, int coord_style);
QStringList board_info_lines(const Figure& f, int coord_style);
// Every field of the game information, for the "対局情報" tab.
QString game_info_text(const Figure& f);
