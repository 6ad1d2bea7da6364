// PNG_SAVE "画像の保存": the file name, the size and whether to look at the
// saved image; "保存" writes the board as the main window shows it.
#pragma once
#include <QDialog>
#include <QUrl>
#include <functional>

#include "editor/board_scene.h"

class QCheckBox;
class QLineEdit;
struct Settings;

class ImageSaveDialog : public QDialog {
  Q_OBJECT
 public:
  // Reads and, after a save, writes the settings ImgFile, ImgSize and ImgShow.
  ImageSaveDialog(Settings& settings, const BoardScene& scene, QWidget* parent = nullptr);

  // Opens a saved file with the desktop's viewer (replaceable for tests).
  std::function<bool(const QUrl&)> open_viewer;
  // The file written by the last successful save.
  QString saved_file() const { return saved_; }

 private:
  void browse();
  void save();

  Settings& settings_;
  BoardScene scene_;
  QLineEdit* file_;
  QLineEdit* size_;
  QCheckBox* show_;
  QString saved_;
};

void save_image_with_dialog(QWidget* parent, Settings& settings, const BoardScene& scene);
