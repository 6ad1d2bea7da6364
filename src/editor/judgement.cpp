#include "editor/judgement.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "core/board.h"
#include "core/kifu.h"
#include "editor/board_scene.h"
#include "editor/main_window.h"
#include "knowledge/analysis.h"
#include "records/figure.h"

namespace {

constexpr int TERRITORY_SURE = 100;
// The smallest square of a point the influence gives to one side.
constexpr int TERRITORY_LEAST = 55;

// The shown position becomes the global board: its stones, ko and prisoners.
void load_figure(const Figure& f) {
  ban_size = f.b_size;
  board_reset(gban, f.b_size);
  for (int y = 1; y <= f.b_size; y++) {
    for (int x = 1; x <= f.b_size; x++) {
      int c = f.board[y * FIGURE_STRIDE + x];
      if (c == BLACK || c == WHITE) put_stone(gban, make_z(x, y), c);
    }
  }
  compact_strings(gban);
  gban.fukasa = 0;
  if (gban.kou_iti) gban.hash ^= hash_key96[gban.kou_iti][0];
  gban.kou_iti = 0;
  if (f.ko_point) {
    gban.kou_iti = z_from_zc(f.ko_point);
    gban.hash ^= hash_key96[gban.kou_iti][0];
  }
  gban.captured[BLACK] = f.prisoners[0];
  gban.captured[WHITE] = f.prisoners[1];
}

// The game is over when the record's last move is shown and it ends with two
// passes, or the record holds a counted result (a margin or a draw).
bool game_is_over(const Figure& f) {
  if (f.tesuu < f.move_count) return false;
  const int n = f.move_count;
  if (n >= 2 && f.moves[n - 1].z == 0 && f.moves[n - 2].z == 0) return true;
  const std::string& kind = f.info.winner[0];
  const std::string& detail = f.info.winner[1];
  if (!kind.empty() && kind[0] == 'D') return true;
  return !kind.empty() && (kind[0] == 'B' || kind[0] == 'W') && !detail.empty() &&
         (std::isdigit((unsigned char)detail[0]) || detail[0] == '.');
}

int side_of(int color) { return color == BLACK ? 0 : 1; }

}  // namespace

bool judge_position(const Figure& shown, Judgement& out) {
  if (shown.b_size < 2 || shown.b_size > BOARD_MAX) return false;
  int engine_size = ban_size;
  load_figure(shown);
  analyze(gban, ban_analysis);
  const GlobalAnalysis& a = ban_analysis;
  out = Judgement{};
  // The end-of-game rules give up every group that cannot live without more
  // moves; while the game goes on, the analysis' own verdict holds.
  out.game_over = game_is_over(shown);
  if (out.game_over) fill_dame_before_count(gban, ban_analysis);
  out.area = shown.info.rule.find("Chinese") != std::string::npos;
  out.komi = shown.info.komi;
  out.prisoners[0] = shown.prisoners[0];
  out.prisoners[1] = shown.prisoners[1];
  for (int y = 1; y <= shown.b_size; y++) {
    for (int x = 1; x <= shown.b_size; x++) {
      int z = make_z(x, y), zc = y * FIGURE_STRIDE + x;
      int c = gban.ban[z];
      if (c == BLACK || c == WHITE) {
        bool lives = out.game_over ? a.final_status[z] == FINAL_ALIVE || a.final_status[z] == FINAL_SEKI
                                   : stone_lives(a, z);
        if (lives) {
          out.stones[side_of(c)]++;
          continue;
        }
        out.dead[zc] = 1;
        out.dead_stones[1 - side_of(c)]++;
        out.points[1 - side_of(c)]++;
        continue;
      }
      int v;
      if (out.game_over) {
        int st = a.final_status[z];
        v = st == FINAL_BLACK_TERRITORY ? TERRITORY_SURE : st == FINAL_WHITE_TERRITORY ? -TERRITORY_SURE : 0;
      } else if (a.kakutei[z]) {
        v = a.kakutei[z];
      } else if (a.owner_value[z]) {
        // A point the influence gives to one side counts for it, as the
        // classic score counts it; its square shows how firmly.
        int firm = std::min(std::abs(a.owner_value[z]), TERRITORY_SURE);
        v = (a.owner_value[z] > 0 ? 1 : -1) * (TERRITORY_LEAST + firm * (TERRITORY_SURE - TERRITORY_LEAST) / TERRITORY_SURE);
      } else {
        v = 0;
      }
      out.territory[zc] = int8_t(std::clamp(v, -TERRITORY_SURE, TERRITORY_SURE));
      if (v) out.points[v > 0 ? 0 : 1]++;
    }
  }
  if (out.game_over && !out.area) {
    out.points[0] -= a.refilled[BLACK];
    out.points[1] -= a.refilled[WHITE];
  }
  double black = out.points[0], white = out.points[1] + out.komi;
  if (out.area) {
    black += out.stones[0];
    white += out.stones[1];
  } else {
    black += out.prisoners[0] + out.dead_stones[0];
    white += out.prisoners[1] + out.dead_stones[1];
  }
  out.margin = black - white;
  ban_size = engine_size;
  replay_kifu(tesuu);
  return true;
}

std::string judgement_summary(const Judgement& j) {
  const char* names[2] = {"黒", "白"};
  std::string s = j.game_over ? "終局の計算" : "対局中の形勢（見込み）";
  s += j.area ? "　中国ルール：盤上の石と地\n" : "　日本ルール：地とアゲハマ\n";
  char line[256];
  for (int i = 0; i < 2; i++) {
    if (j.area) {
      std::snprintf(line, sizeof line, "%s：石 %d　地 %d目（死に石 %d）\n", names[i], j.stones[i], j.points[i],
                    j.dead_stones[i]);
    } else {
      std::snprintf(line, sizeof line, "%s：地 %d目　アゲハマ %d　死に石 %d\n", names[i], j.points[i], j.prisoners[i],
                    j.dead_stones[i]);
    }
    s += line;
  }
  std::snprintf(line, sizeof line, "コミ %.1f目\n", j.komi);
  s += line;
  if (j.margin == 0) return s + "持碁";
  return s + names[j.margin > 0 ? 0 : 1] + " " + win_by_words(std::fabs(j.margin));
}

void install_judgement() { MainWindow::set_judgement_provider(judge_position); }
