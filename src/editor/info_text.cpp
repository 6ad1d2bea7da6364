#include "editor/info_text.h"

#include "editor/settings.h"
#include "records/figure.h"
#include "records/sjis.h"

namespace {

QString u(const std::string& sjis) { return QString::fromStdString(cp932_to_utf8(sjis)); }

const char* const kanji_numbers[] = {"", "一", "二", "三", "四", "五", "六", "七", "八", "九", "十",
                                     "十一", "十二", "十三", "十四", "十五", "十六", "十七", "十八", "十九"};

char column_letter(int x) { return char('A' + x - 1 + (x >= 9 ? 1 : 0)); }

}  // namespace

QString last_move_text(const Figure& f, int coord_style) {
  if (f.tesuu < 1 || f.tesuu > f.move_count) return QString();
  int z = f.moves[f.tesuu - 1].z;
  if (z == 0) return QStringLiteral("パス");
  int x = figure_x(z), y = figure_y(z);
  switch (coord_style) {
    case COORD_KANJI: return QString::asprintf("(%2d,%4s)", x, kanji_numbers[y]);
    case COORD_INTERNATIONAL: return QString::asprintf("(%c,%2d)", column_letter(x), f.b_size + 1 - y);
    case COORD_LETTERS: return QString::asprintf("(%c,%2d)", column_letter(x), y);
    default: return QString::asprintf("(%2d,%2d)", x, y);
  }
}

QStringList board_info_lines(const Figure& f, int coord_style) {
  const GameInfo& g = f.info;
  QStringList lines;
  QString title = QString::asprintf("%s %s %s", cp932_to_utf8(g.title[0]).c_str(), cp932_to_utf8(g.title[1]).c_str(),
                                    cp932_to_utf8(g.title[2]).c_str()).trimmed();
  if (!title.isEmpty()) lines << title;
  if (!g.date[0].empty()) lines << QStringLiteral("対局日：%1").arg(u(g.date[0]));
  lines << QStringLiteral("黒：%1").arg(u(g.black[0])) + QString::asprintf("  アゲハマ %2d", f.prisoners[0]);
  lines << QStringLiteral("白：%1").arg(u(g.white[0])) + QString::asprintf("  アゲハマ %2d", f.prisoners[1]);
  QString move = QString::asprintf("第%3d手", f.tesuu);
  QString last = last_move_text(f, coord_style);
  if (!last.isEmpty()) move += ' ' + last;
  // The result line is the program's own text (UTF-8), not record bytes.
  QString result = QString::fromStdString(f.result_text()).trimmed();
  if (f.tesuu == f.move_count && !result.isEmpty()) move += QStringLiteral(" まで %1").arg(result);
  lines << move;
  return lines;
}

QString game_info_text(const Figure& f) {
  const GameInfo& g = f.info;
  QStringList l;
  auto add = [&](const char* name, const QString& value) {
    if (!value.trimmed().isEmpty()) l << QString::fromUtf8(name) + "：" + value;
  };
  add("大会名", (u(g.title[0]) + ' ' + u(g.title[1]) + ' ' + u(g.title[2])).trimmed());
  add("場所", u(g.place));
  add("対局日", u(g.date[0]));
  add("黒", (u(g.black[0]) + ' ' + u(g.black[1]) + ' ' + u(g.black[2])).trimmed());
  add("白", (u(g.white[0]) + ' ' + u(g.white[1]) + ' ' + u(g.white[2])).trimmed());
  add("ルール", g.rule == "Japanese" ? QStringLiteral("日本ルール")
                : g.rule == "Chinese"  ? QStringLiteral("中国ルール")
                                       : QStringLiteral("その他"));
  add("コミ", QString::number(g.komi));
  if (g.nHand) add("置石", QString::number(g.nHand));
  add("持ち時間", u(g.time[0]));
  add("秒読", u(g.time[1]));
  add("結果", QString::fromStdString(f.result_text()));
  add("記録者", u(g.writer));
  add("著作権", u(g.copyright));
  add("備考", u(g.comment));
  l << QStringLiteral("%1路盤  総手数 %2手").arg(f.b_size).arg(f.move_count);
  return l.join('\n');
}
