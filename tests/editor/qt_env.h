// One QApplication for the whole test program (offscreen), and a way to
// answer the modal dialogs a command opens.
#pragma once
#include <QApplication>
#include <QWidget>
#include <functional>

// Runs act on the next modal dialog that opens (waits up to a few seconds).
void answer_next_dialog(std::function<void(QWidget*)> act);
// Forgets answers still waiting for their dialog.
void cancel_pending_answers();
