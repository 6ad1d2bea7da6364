// Copying and moving record files between folders without losing one: the
// destination changes only when the whole file arrived, and a move removes
// its source only after that.
#pragma once
#include <QString>

// The same file (or folder) reached by either path, links and "." resolved.
bool same_place(const QString& a, const QString& b);

// Copies src over dst through a temporary file beside dst; false (dst as it
// was) with error set when any step fails or when both name the same file.
bool copy_record_file(const QString& src, const QString& dst, QString& error);

// A rename where the file system allows it; elsewhere copy, check the size,
// then remove the source. False with error set: no file lost (when only the
// source could not be removed, both copies are left).
bool move_record_file(const QString& src, const QString& dst, QString& error);
