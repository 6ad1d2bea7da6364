// The editor's entry: runs the window until it closes; the process's exit code.
#pragma once
#include <string>

// record_path, when not empty, is the record to open (an absolute path or one
// relative to the current folder). QT_QPA_PLATFORM=offscreen runs it without a display.
int editor_main(int argc, char** argv, const std::string& record_path);

// True when Qt has somewhere to show windows: DISPLAY, WAYLAND_DISPLAY or a
// platform named by QT_QPA_PLATFORM (e.g. offscreen).
bool editor_display_available();

// Maps the Windows font names the program asks for to the installed Japanese fonts.
void map_font_names();
// Loads Qt's Japanese texts (standard buttons, file dialogs) when installed.
void load_qt_translation();
