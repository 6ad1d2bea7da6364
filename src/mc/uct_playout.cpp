// One playout from the leaf: the tree board's state copied, the leaf node's
// tactical hints applied, weighted moves to the end, the area count, and the
// ownership statistics.
#include <cstring>

#include "core/log.h"
#include "knowledge/reading.h"
#include "mc/uct.h"

namespace {

constexpr int CAPTURE_HINT_FACTOR = 400;
constexpr int SAVE_HINT_FACTOR = 10;
constexpr int REN_COMPACT_MARGIN = 8;
std::atomic<unsigned> draw_counter{0};

void hint_boost(McBoard& mb, int color, int z, int64_t factor) {
  if (z <= 0 || z >= MC_POINTS || mb.b.ban[z] != EMPTY || mb.weight[color][z] == 0) return;
  const int64_t cap = (int64_t(WEIGHT_LIMIT) - mb.total[color]) >> 6;
  int64_t w = (int64_t(mb.weight[color][z]) + 100) * factor;
  if (w > cap || w <= 0) w = cap;
  set_weight(mb, color, z, int32_t(w));
}

// The leaf's reading results: the attacker is steered to a capturing point,
// the defender to its saving point.
void apply_leaf_hints(McBoard& mb, const HashGo* leaf) {
  if (!leaf) return;
  for (int i = 0; i < leaf->string_hint_num; i++) {
    const StringHint& h = leaf->string_hint[i];
    const int owner = mb.b.ban[h.start_z];
    if (owner != BLACK && owner != WHITE) continue;
    if (h.result[0] != NO_MOVE_HINT && h.result[1] == READ_DEAD) {
      hint_boost(mb, opponent(owner), h.result[0], CAPTURE_HINT_FACTOR);
    }
    if (h.result[2] != NO_MOVE_HINT && h.result[3] == READ_LIVE) hint_boost(mb, owner, h.result[2], SAVE_HINT_FACTOR);
  }
}

}  // namespace

int playout(UctThread& t, int col, const HashGo* leaf) {
  t.mc_sims++;
  t.playout_start_depth = t.depth;
  McBoard& mb = t.po;
  mc_board_copy(mb, t.tree);
  apply_leaf_hints(mb, leaf);
  const ReplyHints hints{leaf, t.best_reply_z, t.frequent_reply};
  const int n = mb.b.size;
  const int max_len = n * n + PLAYOUT_EXTRA_MOVES;
  if (max_len > PLAYOUT_MOVES_MAX) uct_internal_error("playout length %d over %d\n", max_len, PLAYOUT_MOVES_MAX);
  memset(t.playout_first, 0, sizeof t.playout_first);
  t.po_move_num = 0;
  for (int c = col;; c = opponent(c)) {
    // Numbers of captured strings are not reused; long playouts renumber.
    if (mb.b.ren_num > REN_MAX - REN_COMPACT_MARGIN) compact_strings(mb.b);
    const int z = mb.total[c] > 0 ? select_by_weight(mb, c, t.rng) : 0;
    if (put_stone(mb.b, z, c) != PUT_OK) uct_internal_error("playout select illegal,z=%04x\n", z_from_zc(z));
    update_after_move(mb, z, c, &hints);
    // Playout moves are never taken back: reuse the first move record so
    // the stack stays in cache.
    mb.b.fukasa = 0;
    t.po_moves[t.po_move_num] = int16_t(z);
    t.po_colors[t.po_move_num++] = int8_t(c);
    if (z && !t.playout_first[z]) t.playout_first[z] = uint8_t(c);
    if (mb.passes >= 2 && t.po_move_num >= 2) break;
    if (t.po_move_num >= max_len) break;
  }

  const int score = count_score(mb.b, t.owner);
  const double d = score - uct_komi;
  const int black_win = d > 0 ? 1 : d < 0 ? 0 : int(draw_counter.fetch_add(1, std::memory_order_relaxed) & 1);
  const int winner = black_win ? BLACK : WHITE;
  t.own.wins[winner]++;
  for (int y = 1; y <= n; y++) {
    for (int x = 1; x <= n; x++) {
      const int z = y * 32 + x;
      t.own.sum[z] += t.owner[z];
      if (mb.b.ban[z] == winner) t.own.occupied[winner][z]++;
    }
  }
  return col == BLACK ? black_win : -black_win;
}
