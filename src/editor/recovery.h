// The editor's part of the internal error stop: besides the message box and
// the clipboard (whose contents die with the process unless a clipboard
// manager runs), the log, the engine's game and the user's record are written
// to files in the program folder's "recovery" folder.
#pragma once
#include <QString>
#include <QStringList>
#include <string>

struct EditorState;

void install_recovery_stop(const EditorState* state);

// Writes the three files into folder; the paths written.
QStringList write_recovery_files(const QString& folder, const std::string& log, const std::string& game_sgf,
                                 const EditorState* state);
