// The stone sound "miro.wav": a short knock of a stone on a wooden board,
// synthesised by the program, played through the desktop's sound player.
#pragma once
#include <QByteArray>
#include <QString>

constexpr int STONE_SOUND_RATE = 22050;

// A complete 16-bit mono WAV file.
QByteArray make_stone_sound();
// Writes "miro.wav" into the folder unless it exists; the path, or empty on failure.
QString ensure_stone_sound(const QString& folder);
// Plays the file without waiting; false when no player program is available.
bool play_sound_async(const QString& wav_path);
