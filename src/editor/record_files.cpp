#include "editor/record_files.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

constexpr qint64 COPY_CHUNK = 1 << 16;

QString system_error(int code) { return QString::fromLocal8Bit(std::strerror(code)); }

}  // namespace

bool same_place(const QString& a, const QString& b) {
  const QString ca = QFileInfo(a).canonicalFilePath(), cb = QFileInfo(b).canonicalFilePath();
  if (!ca.isEmpty() && !cb.isEmpty()) return ca == cb;
  return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

bool copy_record_file(const QString& src, const QString& dst, QString& error) {
  if (same_place(src, dst)) {
    error = QStringLiteral("コピー元とコピー先が同じファイルです：%1").arg(src);
    return false;
  }
  QFile in(src);
  if (!in.open(QIODevice::ReadOnly)) {
    error = QStringLiteral("%1 を開けません：%2").arg(src, in.errorString());
    return false;
  }
  QSaveFile out(dst);
  if (!out.open(QIODevice::WriteOnly)) {
    error = QStringLiteral("%1 に書けません：%2").arg(dst, out.errorString());
    return false;
  }
  const qint64 size = in.size();
  qint64 written = 0;
  while (!in.atEnd()) {
    const QByteArray chunk = in.read(COPY_CHUNK);
    if (chunk.isEmpty() && in.error() != QFileDevice::NoError) break;
    if (out.write(chunk) != chunk.size()) break;
    written += chunk.size();
  }
  if (written != size || in.error() != QFileDevice::NoError) {
    out.cancelWriting();
    error = QStringLiteral("%1 を最後までコピーできません").arg(src);
    return false;
  }
  out.setPermissions(in.permissions());
  if (!out.commit()) {
    error = QStringLiteral("%1 に書けません：%2").arg(dst, out.errorString());
    return false;
  }
  return true;
}

bool move_record_file(const QString& src, const QString& dst, QString& error) {
  if (same_place(src, dst)) {
    error = QStringLiteral("移動元と移動先が同じファイルです：%1").arg(src);
    return false;
  }
  // rename replaces an existing destination in one step.
  if (std::rename(QFile::encodeName(src).constData(), QFile::encodeName(dst).constData()) == 0) return true;
  if (errno != EXDEV) {
    error = QStringLiteral("%1 を移動できません：%2").arg(src, system_error(errno));
    return false;
  }
  const qint64 size = QFileInfo(src).size();
  if (!copy_record_file(src, dst, error)) return false;
  if (QFileInfo(dst).size() != size) {
    error = QStringLiteral("%1 のコピーの大きさが違います。元のファイルは残してあります").arg(src);
    return false;
  }
  if (!QFile::remove(src)) {
    error = QStringLiteral("%1 はコピーしましたが、元のファイルを削除できません").arg(src);
    return false;
  }
  return true;
}
