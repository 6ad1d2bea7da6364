// A small record and answers to the file and message boxes, shared by the main-window tests.
#pragma once
#include <QAbstractButton>
#include <QFileDialog>
#include <QMessageBox>
#include <gtest/gtest.h>

// Ten moves on 9x9, comments at moves 2 and 8.
inline const char* const TEN_MOVES =
    "(;GM[1]FF[4]SZ[9]PB[Kuro]PW[Shiro];B[cc];W[gg]C[two];B[cg];W[gc];B[ee];W[ef];B[fe];W[ff]C[eight];B[dg];W[fc])";

inline void choose_file(QWidget* dialog, const QString& path) {
  auto* fd = qobject_cast<QFileDialog*>(dialog);
  ASSERT_NE(fd, nullptr);
  fd->selectFile(path);
  QMetaObject::invokeMethod(fd, "accept");
}

// Clicks a button of the message box, checking its text first when one is given.
inline void answer_box(QWidget* dialog, QMessageBox::StandardButton which, const QString& expected_text = QString()) {
  auto* box = qobject_cast<QMessageBox*>(dialog);
  ASSERT_NE(box, nullptr);
  if (!expected_text.isEmpty()) {
    EXPECT_EQ(box->text(), expected_text);
  }
  box->button(which)->click();
}
