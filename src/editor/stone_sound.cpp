#include "editor/stone_sound.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <cmath>
#include <cstdint>

#include "core/log.h"

namespace {

void put16(QByteArray& b, int v) {
  b.append(char(v & 0xFF));
  b.append(char((v >> 8) & 0xFF));
}

void put32(QByteArray& b, uint32_t v) {
  put16(b, int(v & 0xFFFF));
  put16(b, int(v >> 16));
}

}  // namespace

QByteArray make_stone_sound() {
  const int samples = STONE_SOUND_RATE * 12 / 100;  // 120 ms
  // A few damped modes of a thick board struck hard, plus the click of contact.
  const double modes[][3] = {{820, 0.55, 55}, {1730, 0.35, 80}, {2950, 0.22, 120}, {4620, 0.12, 170}};
  uint32_t noise = 12345;
  QByteArray pcm;
  for (int i = 0; i < samples; i++) {
    double t = double(i) / STONE_SOUND_RATE;
    double v = 0;
    for (const auto& m : modes) v += m[1] * std::sin(2 * M_PI * m[0] * t) * std::exp(-m[2] * t);
    noise = noise * 1103515245u + 12345u;
    double white = double((noise >> 16) & 0x7FFF) / 16384.0 - 1.0;
    v += 0.6 * white * std::exp(-t * 900);
    double attack = std::min(1.0, t * STONE_SOUND_RATE / 12.0);
    put16(pcm, int(std::clamp(v * attack * 0.7, -1.0, 1.0) * 32000));
  }
  QByteArray wav("RIFF");
  put32(wav, 36 + pcm.size());
  wav.append("WAVEfmt ");
  put32(wav, 16);
  put16(wav, 1);  // PCM
  put16(wav, 1);  // mono
  put32(wav, STONE_SOUND_RATE);
  put32(wav, STONE_SOUND_RATE * 2);
  put16(wav, 2);
  put16(wav, 16);
  wav.append("data");
  put32(wav, pcm.size());
  wav.append(pcm);
  return wav;
}

QString ensure_stone_sound(const QString& folder) {
  QString path = QDir(folder).filePath("miro.wav");
  if (QFile::exists(path)) return path;
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly) || f.write(make_stone_sound()) < 0) return QString();
  return path;
}

bool play_sound_async(const QString& wav_path) {
  static const char* const players[][2] = {{"paplay", nullptr}, {"pw-play", nullptr}, {"aplay", "-q"}};
  for (const auto& p : players) {
    QString exe = QStandardPaths::findExecutable(p[0]);
    if (exe.isEmpty()) continue;
    QStringList args;
    if (p[1]) args << p[1];
    args << wav_path;
    if (QProcess::startDetached(exe, args)) return true;
  }
  static bool told = false;
  if (!told) PRT("着手音を鳴らすプログラム(paplay, pw-play, aplay)がありません\n");
  told = true;
  return false;
}
