// "KIF_FOLDER_MOVE": where the selected record files are copied or moved to.
#pragma once
#include <QDialog>

class QComboBox;

class FolderMoveDialog : public QDialog {
  Q_OBJECT
 public:
  // verb: "コピー" or "移動"; folders: the record-folder list offered as destinations.
  FolderMoveDialog(int files, const QString& verb, const QString& current, const QStringList& folders,
                   QWidget* parent = nullptr);
  QString destination() const;
  QComboBox* destination_box() const { return destination_; }

 private:
  QComboBox* destination_;
};
