// A small record, files, and answers to the dialogs and message boxes, shared by the editor tests.
#pragma once
#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
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

template <class T>
T* child(QWidget* w, const char* name) {
  T* c = w->findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(c, nullptr) << name;
  return c;
}

inline void press_ok(QWidget* d) { d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click(); }
inline void press_cancel(QWidget* d) { d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click(); }

inline void write_file(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

inline QByteArray read_file(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
