// The PHOTO dialog: the four pictures of the game information.
#pragma once
#include <QDialog>
#include <QString>

#include "records/figure.h"

class QLabel;

// A picture is kept as the bytes of its file; bigger files are refused so
// that a record with all four still fits the record buffer.
constexpr int PHOTO_BYTES_MAX = 131072;

class PhotoDialog : public QDialog {
  Q_OBJECT
 public:
  // paths: the files last chosen for the first three pictures (settings Photo).
  PhotoDialog(const GameInfo& info, const QString paths[3], QWidget* parent = nullptr);
  // Reads the picture file into a slot; false with a message when it cannot.
  bool attach(int slot, const QString& path);
  void remove(int slot);
  const std::string& photo(int slot) const { return photos_[slot]; }
  QString path(int slot) const { return paths_[slot]; }

 private:
  void browse(int slot);
  void show_photo(int slot);

  std::string photos_[PHOTO_NUM];
  QString paths_[PHOTO_NUM];
  QLabel* preview_[PHOTO_NUM];
};
