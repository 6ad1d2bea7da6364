// The tree policy: one descent from the root, choosing by UCB mixed with
// RAVE inside the progressive-widening window, a playout at the leaf, and the
// backup with the AMAF update on the way up.
#include <cmath>
#include <cstring>

#include "core/board.h"
#include "core/gtp.h"
#include "core/kifu.h"
#include "core/log.h"
#include "mc/ownership.h"
#include "mc/uct.h"

namespace {

constexpr int SUPERKO_PRINTS = 10;
std::atomic<int> superko_printed{0};

void check_error_flag(UctThread& t) {
  if (uct_error.load(std::memory_order_relaxed)) {
    PRT("other thread debug()\n");
    uct_set_current_thread(&t);
    uct_internal_error("stopped by another thread\n");
  }
}

// Every 256 visits near the root: the most visited answer to each visited
// child, kept per colour and move as the two replies with most visits.
void refresh_best_replies(UctThread& t, HashGo* node, int col) {
  int moves[UCT_CHILD_MAX], num = 0;
  for (int i = 0; i < node->child_num; i++) {
    const UctChild& c = node->child[i];
    if (c.games > 0 && c.iti > 0) moves[num++] = c.iti;
  }
  unlock_node(node);
  for (int i = 0; i < num; i++) {
    const int m = moves[i];
    if (t.tree.b.ban[m] != EMPTY || m == t.tree.b.kou_iti) continue;
    HashGo* next = find_node(add_stone_hash(t.tree.b, m, col));
    int reply = 0, visits = 0;
    if (next->used && next->sort_done) {
      for (int k = 0; k < next->child_num; k++) {
        if (next->child[k].games > visits && next->child[k].iti > 0) {
          visits = next->child[k].games;
          reply = next->child[k].iti;
        }
      }
    }
    unlock_node(next);
    if (!reply) continue;
    BestReply& b = t.best_reply[col][m];
    if (reply == b.reply1) {
      b.visits1 = visits;
    } else if (visits > b.visits1) {
      b.reply2 = b.reply1, b.visits2 = b.visits1;
      b.reply1 = int16_t(reply), b.visits1 = visits;
    } else if (reply == b.reply2 || visits > b.visits2) {
      b.reply2 = int16_t(reply), b.visits2 = visits;
    }
    const int n = t.tree.b.size;
    t.best_reply_z[col][m] = b.visits1 > n * n / 12 ? b.reply1 : 0;
  }
  lock_node(node);
}

// Every 128 visits: the unvisited tail is reordered by prior x how often such
// a point is played at this ownership and stage of the game.
void refresh_candidate_order(UctThread& t, HashGo* node, int col) {
  int first = 0;
  while (first < node->child_num && node->child[first].games > 0) first++;
  if (node->child_num - first < 2 || t.mc_sims == 0) return;
  const double occ = occupancy(t.tree.b);
  double key[UCT_CHILD_MAX];
  for (int i = first; i < node->child_num; i++) {
    const UctChild& c = node->child[i];
    if (c.iti <= 0) {
      key[i] = -1;
      continue;
    }
    int per = int(t.own.sum[c.iti] * 100 / t.mc_sims);
    int sum_per = (per + 100) / 2;
    if (col == WHITE) sum_per = 100 - sum_per;
    key[i] = double(c.value) * area_sum_sampling(c.iti, sum_per, occ);
  }
  for (int i = first; i < node->child_num - 1; i++) {
    int best = i;
    for (int j = i + 1; j < node->child_num; j++) {
      if (key[j] > key[best]) best = j;
    }
    if (best != i) {
      std::swap(node->child[i], node->child[best]);
      std::swap(key[i], key[best]);
    }
  }
}

int find_child(const HashGo* node, int zc) {
  for (int i = 0; i < node->child_num; i++) {
    if (node->child[i].iti == zc) return i;
  }
  return -1;
}

// The position three moves back repeats: stones and ko point as they were
// before the move two plies earlier.
bool repeats_superko(const UctThread& t) {
  const int d = t.depth;
  if (d < 2 || t.path[d - 1].zc == 0 || t.path[d - 2].zc == 0) return false;
  return ~t.tree.b.hash.v == t.path[d - 2].key_before;
}

// The playout's first move is credited to the node after the leaf move.
void credit_first_playout_move(UctThread& t, int col, double r) {
  if (t.po_move_num == 0) return;
  const int first = t.po_moves[0];
  const int next_col = opponent(col);
  const uint64_t key = t.tree.b.hash.v;
  HashGo* next = find_node(key);
  if (!next->used) create_node_children(next, key, next_col, t.tree.b.size);
  int i;
  if (!next->sort_done) {
    i = move_index(first, t.tree.b.size);
    if (next->child[i].iti != first) {
      const UctChild& c = next->child[i];
      unlock_node(next);
      uct_internal_error("hashの位置が違ってる。pc->iti=%04x,z=%04x,n=%d,pc->games=%d,phg2->sort_done=%d\n",
                         z_from_zc(c.iti), z_from_zc(first), i, c.games, next->sort_done);
    }
  } else {
    i = find_child(next, first);
  }
  if (i < 0) {
    unlock_node(next);
    return;  // the move was pruned from the prepared node
  }
  UctChild& c = next->child[i];
  c.value = float((double(c.games) * c.value - r) / (c.games + 1));
  c.games++;
  next->games_sum++;
  unlock_node(next);
}

}  // namespace

int expansion_threshold(int board_size) { return int(board_size * EXPANSION_FACTOR); }

int upper_num(int games_sum) {
  if (games_sum < 1) return 1;
  return int(std::log(WIDENING_SCALE * games_sum) / std::log(WIDENING_BASE) + WIDENING_OFFSET);
}

int uct_width(int games_sum, int child_num) {
  int w = upper_num(games_sum) + 1;
  if (w < 2) w = 2;
  return w > child_num ? child_num : w;
}

double rave_beta(int n, int m, int board_size) {
  if (board_size == 19) return m / (n * (RAVE_BETA_19_A + RAVE_BETA_19_B * m) + m);
  return std::sqrt(100.0 / (3.0 * n + 100.0));
}

int move_index(int zc, int board_size) { return zc == 0 ? 0 : ((zc >> 5) - 1) * board_size + (zc & 31); }

void rave_update(UctThread& t, double r, int move, HashGo* node, int col) {
  if (move == 0) return;
  int updated = 0;
  for (int i = 0; i < node->child_num; i++) {
    UctChild& c = node->child[i];
    const int z = c.iti;
    if (z <= 0) continue;
    const int first = z == move ? col : t.playout_first[z] ? t.playout_first[z] : t.tree_first[z];
    if (first != col) continue;
    c.rave_value = float((double(c.rave_games) * c.rave_value + r) / (c.rave_games + 1));
    c.rave_games++;
    updated++;
  }
  node->rave_games_sum += updated;
}

double uct_search(UctThread& t, int col) {
  check_error_flag(t);
  t.uct_nodes++;
  const int board_size = t.tree.b.size;
  const uint64_t key = t.tree.b.hash.v;
  HashGo* node = find_node(key);
  if (!node->used) create_node_children(node, key, col, board_size);
  if (!node->sort_done) prepare_candidates(t, node, col);
  if (node->col != col) {
    PRT("hash col Err. phg->col=%d,col=%d,age=%d(%d),child_num=%d,games_sum=%d,sort=%d,ko_z=%d,hashcode64=%lx,"
        "phg->hash=%lx\n",
        node->col, col, node->age, 0, node->child_num, node->games_sum, node->sort_done, t.tree.b.kou_iti,
        (unsigned long)key, (unsigned long)node->hashcode64);
    unlock_node(node);
    uct_internal_error("colour to move differs from the node's\n");
  }
  if (node->child_num == 0) {
    unlock_node(node);
    uct_internal_error("no legal move?\n");
  }

  if ((node->games_sum + 1) % CANDIDATE_REFRESH_VISITS == 0) refresh_candidate_order(t, node, col);
  if (t.depth <= 1 && (node->games_sum + 1) % BEST_REPLY_REFRESH_VISITS == 0) refresh_best_replies(t, node, col);

  const int threshold = expansion_threshold(board_size);
  const int width = uct_width(node->games_sum, node->child_num);
  if (node->games_sum > threshold && uct_width(node->games_sum - 1, node->child_num) < width) {
    add_rave_child(t, node, col, width);
  }

  // Selection.
  const double log_n = std::log(double(node->games_sum));
  const double log_m = std::log(double(node->rave_games_sum));
  int best = -1;
  double best_score = -10000;
  for (int i = 0; i < width; i++) {
    const UctChild& c = node->child[i];
    if (c.iti == ILLEGAL_CHILD) {
      unlock_node(node);
      uct_internal_error("Illegal move? is in hash_go\n");
    }
    double score;
    if (c.games == 0) {
      score = UNVISITED_SCORE + (mc_random_next(t.rng) & 0x7fffffff) % 100;
    } else {
      const double ucb = c.value + UCT_EXPLORATION * std::sqrt(log_n / c.games);
      if (c.rave_games != 0 && !gtp_cleanup_mode) {
        const double rave = c.rave_value + UCT_EXPLORATION * std::sqrt(log_m / c.rave_games);
        const double beta = rave_beta(c.games, c.rave_games, board_size);
        score = beta * rave + (1 - beta) * ucb;
      } else {
        score = ucb;
      }
    }
    if (score > best_score) best_score = score, best = i;
  }
  if (best < 0) {
    PRT("select move Err, upper_num=(%d/%d),phg->games_sum=%d\n", width, node->child_num, node->games_sum);
    for (int i = 0; i < node->child_num; i++) {
      const UctChild& c = node->child[i];
      PRT("%3d:z=%04x,games=%d,v=%9f,rave=%3d,v=%9f\n", i, z_from_zc(c.iti), c.games, double(c.value), c.rave_games,
          double(c.rave_value));
    }
    unlock_node(node);
    uct_internal_error("no child selected\n");
  }

  // Play it, replacing a super-ko repetition by the least visited child.
  int zc = node->child[best].iti;
  t.path[t.depth] = {zc, col, key};
  if (put_stone(t.tree.b, zc, col) != PUT_OK) {
    node->child[best].iti = ILLEGAL_CHILD;
    unlock_node(node);
    uct_internal_error("候補手がエラー z=%04x\n", z_from_zc(zc));
  }
  if (zc != 0 && repeats_superko(t)) {
    take_back(t.tree.b, zc, col);
    int least = -1;
    for (int i = 0; i < width; i++) {
      if (i != best && (least < 0 || node->child[i].games < node->child[least].games)) least = i;
    }
    if (least < 0) {
      unlock_node(node);
      uct_internal_error("no super-ko select\n");
    }
    if (superko_printed.fetch_add(1) < SUPERKO_PRINTS) {
      PRT("super ko! dep=%d,%04x->%04x: ", t.depth, z_from_zc(zc), z_from_zc(node->child[least].iti));
      print_board(t.tree.b);
    }
    best = least;
    zc = node->child[best].iti;
    t.path[t.depth].zc = zc;
    if (put_stone(t.tree.b, zc, col) != PUT_OK) {
      unlock_node(node);
      uct_internal_error("候補手がエラー z=%04x\n", z_from_zc(zc));
    }
  }
  UctChild* pc = &node->child[best];
  if (pc->games == 0) pc->value = 0;

  update_after_move(t.tree, zc, col, nullptr);
  if (board_size > 9) big_keys_after_move(t.big, t.tree.b, zc, col);
  const int prev = t.depth > 0 ? t.path[t.depth - 1].zc : -1;
  if (t.depth > 0 && zc != 0 && prev != 0) {
    t.reply_count[(size_t(col - 1) * REPLY_MOVES + move_index(prev, board_size)) * REPLY_MOVES +
                  move_index(zc, board_size)]++;
  }
  const int my_depth = t.depth;
  if (++t.depth > UCT_DEPTH_MAX + 1) {
    unlock_node(node);
    uct_internal_error("depth over=%d\n", t.depth);
  }
  if (t.depth > t.max_uct_depth) t.max_uct_depth = t.depth;

  double r;
  const bool two_passes = zc == 0 && prev == 0 && my_depth >= 2;
  const bool descend =
      pc->games >= threshold && my_depth != UCT_DEPTH_MAX && !two_passes;
  bool virtual_loss = false;
  if (descend && node->virtual_loss_count < VIRTUAL_LOSS_MAX) {
    if (node->virtual_loss_count < 0) {
      unlock_node(node);
      uct_internal_error("1:Virtual Loss Err! win=%f,pc->value=%f,games=%d,iti=%04x,rave_games=%d,rave_value=%f,"
                         "phg->child_num=%d,games_sum=%d,virtual_loss_count=%d\n",
                         0.0, double(pc->value), pc->games, z_from_zc(pc->iti), pc->rave_games,
                         double(pc->rave_value), node->child_num, node->games_sum, node->virtual_loss_count);
    }
    // A counted loss steers the other threads to other children meanwhile.
    virtual_loss = true;
    node->virtual_loss_count++;
    pc->value = float((double(pc->games) * pc->value + (1 - col)) / (pc->games + 1));
    pc->games++;
    node->games_sum++;
  }
  unlock_node(node);
  if (descend) {
    r = -uct_search(t, opponent(col));
  } else {
    r = -playout(t, opponent(col), node);
    credit_first_playout_move(t, col, r);
  }
  lock_node(node);
  // Another thread may have moved the child while the node was free.
  best = pc->iti == zc ? best : find_child(node, zc);
  if (best < 0) {
    unlock_node(node);
    uct_internal_error("Err! pc->iti=%04x,iti_copy=%04x,win=%.2f\n", 0, z_from_zc(zc), r);
  }
  pc = &node->child[best];
  if (virtual_loss) {
    if (node->virtual_loss_count < 1 || pc->games < 1) {
      unlock_node(node);
      uct_internal_error("2:Virtual Loss Err! win=%f,pc->value=%f,games=%d,iti=%04x,rave_games=%d,rave_value=%f,"
                         "phg->child_num=%d,games_sum=%d,virtual_loss_count=%d\n",
                         r, double(pc->value), pc->games, z_from_zc(pc->iti), pc->rave_games,
                         double(pc->rave_value), node->child_num, node->games_sum, node->virtual_loss_count);
    }
    node->virtual_loss_count--;
    node->games_sum--;
    pc->games--;
    pc->value = pc->games > 0 ? float((double(pc->games + 1) * pc->value - (1 - col)) / pc->games) : 0.0f;
  }

  // Backup.
  rave_update(t, r, zc, node, col);
  node->games_sum++;
  pc->value = float((double(pc->games) * pc->value + r) / (pc->games + 1));
  pc->games++;
  if (pc->games < 1) {
    unlock_node(node);
    uct_internal_error("Err pc->games=%d\n", pc->games);
  }
  unlock_node(node);
  if (zc != 0) t.tree_first[zc] = uint8_t(col);
  t.depth = my_depth;
  return r;
}
