// "棋譜データベース作成": the record folders and files a game database is
// made from and the folder it goes to; the build runs under a cancellable
// progress dialog.
#pragma once
#include <QDialog>

class QLineEdit;
class QListWidget;

class GameDbBuildDialog : public QDialog {
  Q_OBJECT
 public:
  explicit GameDbBuildDialog(const QString& destination, QWidget* parent = nullptr);
  QStringList sources() const;
  QString destination() const;
  QListWidget* source_list() const { return sources_; }
  QLineEdit* destination_edit() const { return destination_; }

 private:
  QListWidget* sources_;
  QLineEdit* destination_;
};

// Builds DEST/happo.db and its game files from the sources; false when it
// failed or was cancelled (DEST is then as it was). report says what happened.
bool run_gamedb_build(QWidget* parent, const QStringList& sources, const QString& destination, QString& report);
