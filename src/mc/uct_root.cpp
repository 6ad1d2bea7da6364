// The root search: tables and boards prepared, dynamic komi on 19 x 19, the
// simulation loop on every thread, the stop rules, and the root move choice
// with its rules around resigning, passing and dame.
#include <cmath>
#include <cstdarg>
#include <cstring>
#include <memory>
#include <thread>

#include "core/gtp.h"
#include "core/internal_stop.h"
#include "core/kifu.h"
#include "core/log.h"
#include "core/think.h"
#include "knowledge/book.h"
#include "knowledge/reading.h"
#include "mc/ownership.h"
#include "mc/uct.h"

UctSettings uct_settings;
std::vector<UctThread*> uct_local;
int uct_root_color;
std::atomic<int> uct_stop{0};
std::atomic<int> uct_error{0};
double uct_latest_win_rate;
double uct_latest_score;
int uct_latest_score_move = -1;
bool root_superko[MC_POINTS];
int uct_avoid_early_pass;
double uct_komi = 6.5;
double uct_komi_shift;

namespace {

constexpr int DYNAMIC_KOMI_PERIOD = 4;
constexpr double DYNAMIC_KOMI_SLOPE = 20.0;
constexpr double DYNAMIC_KOMI_CENTRE = 0.55;
constexpr double DYNAMIC_KOMI_MAX_SHARE = 0.95;
constexpr int PV_PRINT_INTERVAL = 5000;
constexpr int STOP_RULES_AFTER = 1000;
constexpr double DECIDED_RATE = 0.95, DECIDED_SECONDS = 3.0;
constexpr double CERTAIN_RATE = 0.99, CERTAIN_SECONDS = 1.0;
constexpr int PASS_UNSETTLED_LONG = 15, PASS_UNSETTLED_FEW = 10;
constexpr int PASS_LOOKBACK = 19;
constexpr int ROOT_LIST_PRINT = 100;
constexpr int PV_MOVES_MAX = 64, PV_MOVES_SHORT = 8;

thread_local UctThread* current_thread = nullptr;
std::vector<std::unique_ptr<UctThread>> thread_store;

double komi_window[DYNAMIC_KOMI_PERIOD];
int komi_window_num;

int last_record_move(int back) {
  const int i = tesuu - back;
  if (i < 1 || kifu[i].z <= 0) return 0;
  return zc_from_z(kifu[i].z);
}

double win_rate(double value, int col) { return col == WHITE ? value + 1 : value; }

HashGo* root_node(UctThread& t, const char* missing) {
  HashGo* node = find_node(t.root.b.hash.v);
  if (!node->used) {
    unlock_node(node);
    uct_internal_error("%s", missing);
  }
  return node;
}

void print_thread_state(const UctThread& t) {
  PRT("Err in local[%d],depth=%d,te_info_num=%d,ko_z=%04x\nuct_nodes=%ld,hash_go_use=%d,mc_sims=%ld,max_uct_depth=%d,"
      "hash64=%lx\n",
      t.index, t.depth, t.tree.b.fukasa, z_from_zc(t.tree.b.kou_iti), t.uct_nodes, hash_go_use.load(), t.mc_sims,
      t.max_uct_depth, (unsigned long)t.tree.b.hash.v);
  for (int d = 0; d < t.depth && d <= UCT_DEPTH_MAX; d++) {
    PRT("%d:hit_z=%04x,ko=%04x,takes=%2d(rens=%d), ", d, z_from_zc(t.path[d].zc), 0, 0, 0);
  }
  PRT("\n");
}

// Dynamic komi: the search counts against the moving average of recent score
// estimates, scaled down as the board fills.
double dynamic_komi(const SearchBoard& b, double komi0) {
  const bool continues = uct_latest_score_move >= 0 && tesuu - uct_latest_score_move >= 0 &&
                         tesuu - uct_latest_score_move <= 2;
  double latest = komi0;
  if (continues) {
    if (komi_window_num == DYNAMIC_KOMI_PERIOD) {
      memmove(komi_window, komi_window + 1, sizeof(double) * (DYNAMIC_KOMI_PERIOD - 1));
      komi_window_num--;
    }
    komi_window[komi_window_num++] = uct_latest_score;
    double sum = 0;
    for (int i = 0; i < komi_window_num; i++) sum += komi_window[i];
    latest = sum / komi_window_num;
    PRT("有効なコミ発見! 手数=%d,latest=%.1f,移動平均=%.1f,期間=%d\n", tesuu, uct_latest_score, latest,
        DYNAMIC_KOMI_PERIOD);
  } else {
    komi_window_num = 0;
  }
  const double occupy = occupancy(b);
  double per = 1 / (1 + std::exp(-DYNAMIC_KOMI_SLOPE * (DYNAMIC_KOMI_CENTRE - occupy)));
  if (per > DYNAMIC_KOMI_MAX_SHARE) per = DYNAMIC_KOMI_MAX_SHARE;
  const int diff = int(double(int(latest - komi0)) * per);
  PRT("komi -> %.1f,latest=%.1f,occupy=%.1f,per=%.2f,diff=%d\n", komi0 + diff, latest, occupy, per, diff);
  return komi0 + diff;
}

void make_root_superko_table(int col) {
  memset(root_superko, 0, sizeof root_superko);
  for (int y = 1; y <= ban_size; y++) {
    for (int x = 1; x <= ban_size; x++) {
      const int z = make_z(x, y);
      if (gban.ban[z] != EMPTY || z == gban.kou_iti) continue;
      if (put_stone(gban, z, col) != PUT_OK) continue;
      root_superko[zc_from_z(z)] = super_ko_check() != 0;
      take_back(gban, z, col);
    }
  }
}

void refresh_frequent_replies(UctThread& t) {
  const int n = t.root.b.size, moves = n * n + 1;
  for (int c = BLACK; c <= WHITE; c++) {
    for (int prev = 1; prev < moves; prev++) {
      const int32_t* row = &t.reply_count[(size_t(c - 1) * REPLY_MOVES + prev) * REPLY_MOVES];
      int best = 0, count = 1;
      for (int m = 1; m < moves; m++) {
        if (row[m] > count) count = row[m], best = m;
      }
      const int prev_z = ((prev - 1) / n + 1) * 32 + (prev - 1) % n + 1;
      // The reply answers the previous move of the other colour.
      t.frequent_reply[opponent(c)][prev_z] = int16_t(best ? ((best - 1) / n + 1) * 32 + (best - 1) % n + 1 : 0);
    }
  }
}

}  // namespace

void uct_set_current_thread(UctThread* t) { current_thread = t; }

void uct_internal_error(const char* fmt, ...) {
  char buf[PRT_BUF_SIZE];
  va_list ap;
  va_start(ap, fmt);
  vsnprintf(buf, sizeof buf, fmt, ap);
  va_end(ap);
  if (uct_error.exchange(1)) {
    // Another thread is already stopping the process.
    for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));
  }
  PRT("%s", buf);
  if (current_thread) print_thread_state(*current_thread);
  clear_node_locks();
  internal_stop();
}

void uct_make_threads() {
  const int n = uct_settings.threads;
  while (int(thread_store.size()) < n) {
    thread_store.push_back(std::make_unique<UctThread>());
    UctThread& t = *thread_store.back();
    t.index = int(thread_store.size()) - 1;
    t.reply_count.assign(size_t(2) * REPLY_MOVES * REPLY_MOVES, 0);
    t.tree.stamp = t.po.stamp = t.root.stamp = 0;
    mc_random_seed_now(t.rng, t.index);
  }
  uct_local.clear();
  for (int i = 0; i < n; i++) uct_local.push_back(thread_store[size_t(i)].get());
}

void uct_thread_reset_stats(UctThread& t) {
  t.uct_nodes = t.mc_sims = 0;
  t.max_uct_depth = 0;
  memset(&t.own, 0, sizeof t.own);
  memset(t.best_reply, 0, sizeof t.best_reply);
  memset(t.best_reply_z, 0, sizeof t.best_reply_z);
  memset(t.frequent_reply, 0, sizeof t.frequent_reply);
  std::fill(t.reply_count.begin(), t.reply_count.end(), 0);
}

bool uct_time_up(const UctThread& t) {
  if (t.mc_sims >= uct_settings.playouts) return true;
  return uct_settings.time_stop && think_elapsed_ms() * 0.001 >= think_time_limit;
}

void search_loop(UctThread& t) {
  uct_set_current_thread(&t);
  uct_thread_reset_stats(t);
  const int col = uct_root_color;
  const bool big = t.root.b.size > 9;
  for (long sims = 0; sims < uct_settings.playouts; sims++) {
    mc_board_copy(t.tree, t.root);
    if (big) memcpy(&t.big, &t.big_root, sizeof t.big);
    t.depth = 0;
    memset(t.tree_first, 0, sizeof t.tree_first);
    uct_search(t, col);
    if ((sims + 1) % STOP_CHECK_INTERVAL == 0) {
      check_stop(t, col);
      if (t.index == 0 && uct_settings.time_stop && time_up()) uct_stop = STOP_TIME_UP;
      if (t.index != 0 && uct_time_up(t)) break;
    }
    if (uct_stop.load(std::memory_order_relaxed)) break;
    if (hash_full()) {
      uct_stop = STOP_TIME_UP;
      break;
    }
  }
  if (t.index == 0) {
    OwnershipEstimate est;
    ownership_estimate(t, true, est);
  }
  const double seconds = think_elapsed_ms() * 0.001;
  PRT("creat=%d,uct_nodes=%ld,mc=%ld,%.0f/s,MaxDepth=%d\n", hash_go_use.load(), t.uct_nodes, t.mc_sims,
      t.mc_sims / (seconds > 0 ? seconds : 0.001), t.max_uct_depth);
}

void check_stop(UctThread& t, int col) {
  OwnershipEstimate est;
  ownership_estimate(t, false, est);
  const int n = t.root.b.size;
  for (int y = 1; y <= n; y++) {
    for (int x = 1; x <= n; x++) {
      const int z = y * 32 + x;
      if (!est.dame[z]) continue;
      for (int c = BLACK; c <= WHITE; c++) {
        if (t.root.weight[c][z] < DAME_WEIGHT_MIN) set_weight(t.root, c, z, DAME_WEIGHT_MIN);
      }
    }
  }
  refresh_frequent_replies(t);
  if (t.index != 0) return;
  if (t.mc_sims % PV_PRINT_INTERVAL < STOP_CHECK_INTERVAL && t.mc_sims >= PV_PRINT_INTERVAL) print_uct(t, 1);
  if (t.mc_sims <= STOP_RULES_AFTER || !uct_settings.time_stop) return;
  const double elapsed = think_elapsed_ms() * 0.001, limit = think_time_limit;
  if (limit <= 0 || elapsed <= 0) return;
  HashGo* root = root_node(t, "no found root hash\n");
  int best = -1, second = -1;
  for (int i = 0; i < root->child_num; i++) {
    const int g = root->child[i].games;
    if (best < 0 || g > root->child[best].games) {
      second = best;
      best = i;
    } else if (second < 0 || g > root->child[second].games) {
      second = i;
    }
  }
  if (best >= 0 && second >= 0) {
    long estimate = long(root->games_sum * limit / elapsed);
    const long cap = long(uct_settings.threads) * uct_settings.playouts;
    if (estimate > cap) estimate = cap;
    const int gb = root->child[best].games, gs = root->child[second].games;
    if (gb - gs > estimate - root->games_sum) {
      uct_stop = STOP_TIME_UP;
      PRT("半分を超えたので終了(%.0f/%.0f秒),(%d/%ld)\n", elapsed, limit, gb, estimate);
    }
    const double v = win_rate(root->child[best].value, col);
    if ((elapsed > DECIDED_SECONDS && v > DECIDED_RATE) || (elapsed > CERTAIN_SECONDS && v > CERTAIN_RATE)) {
      uct_stop = STOP_TIME_UP;
      PRT("勝敗決定。終了(%.0f/%.0f秒),v=%.3f\n", elapsed, limit, v);
    }
  }
  unlock_node(root);
}

void print_uct(UctThread& t, int flag) {
  mc_board_copy(t.tree, t.root);
  SearchBoard& b = t.tree.b;
  HashGo* node = find_node(b.hash.v);
  if (!node->used) {
    unlock_node(node);
    PRT("no root hash print_uct\n");
    return;
  }
  int played = 0, passes = 0, col = uct_root_color;
  while (node && node->used) {
    int move;
    float value;
    const int i = node->child_num > 0 ? most_visited_child(node, move, value, played) : -1;
    if (i < 0) {
      unlock_node(node);
      break;
    }
    if (played == 0 && (flag & 1)) PRT("%f,%6d,", double(value), node->child[i].games);
    unlock_node(node);
    PRT("%s%04x:", col == BLACK ? "●" : "○", z_from_zc(move));
    if (put_stone(b, move, col) != PUT_OK) uct_internal_error("illegal move?\n");
    played++;
    passes = move == 0 ? passes + 1 : 0;
    col = opponent(col);
    if (((flag & 2) && played >= PV_MOVES_SHORT) || played >= PV_MOVES_MAX || passes >= 2) {
      break;
    }
    node = find_node(b.hash.v);
    if (!node->used) {
      unlock_node(node);
      break;
    }
  }
  PRT("\n");
  mc_board_copy(t.tree, t.root);
}

int select_root(UctThread& t) {
  const int col = uct_root_color;
  HashGo* root = root_node(t, "no root hash select_root\n");
  if (root->child_num == 0) {
    unlock_node(root);
    uct_internal_error("no legal move?\n");
  }
  for (int i = 0; i < root->child_num && i < ROOT_LIST_PRINT; i++) {
    const UctChild& c = root->child[i];
    if (c.games == 0) continue;
    PRT("%3d:%04x=%5d,%9.5f,r=%5d,%.3f ", i, z_from_zc(c.iti), c.games, double(c.value), c.rave_games,
        double(c.rave_value));
    PRT("\n");
  }
  int best = -1;
  for (int i = 0; i < root->child_num; i++) {
    if (root->child[i].games > 0 && (best < 0 || root->child[i].games > root->child[best].games)) best = i;
  }
  if (best < 0) {
    PRT("select Err! child_num=%d,sames=%d,best_move=%04x\n", root->child_num, 0, 0);
    unlock_node(root);
    return 0;
  }
  double bv = root->child[best].value;
  int swaps = 0;
  const int nb = root->child[best].games;
  for (int j = 0; j < root->child_num; j++) {
    const UctChild& c = root->child[j];
    if (j == best || c.games >= nb || c.games == 0) continue;
    const double a = c.games * win_rate(c.value, col) / nb;
    if (a > win_rate(bv, col)) {
      PRT("最善手入替！%4d:z=%04x,value=%f ->%f,old z=%04x,v=%f\n", swaps, z_from_zc(c.iti), bv, double(c.value),
          z_from_zc(root->child[best].iti), bv);
      best = j;
      bv = c.value;
      swaps++;
    }
  }
  const UctChild chosen = root->child[best];
  const int best_games = chosen.games;
  UctChild children[UCT_CHILD_MAX];
  const int child_num = root->child_num;
  memcpy(children, root->child, sizeof(UctChild) * size_t(child_num));
  unlock_node(root);

  OwnershipEstimate est;
  uct_latest_score = ownership_estimate(t, true, est);
  uct_latest_score_move = tesuu;
  const double w = win_rate(bv, col);
  int move = chosen.iti;
  // A side far ahead searches against a komi raised for the other: its low
  // win rate there is no reason to resign a game it leads.
  const bool komi_against_mover = col == BLACK ? uct_komi_shift > 0 : uct_komi_shift < 0;
  if (w < RESIGN_WIN_RATE && !komi_against_mover) {
    move = -1;
  } else if (gtp_cleanup_mode && move == 0) {
    int fallback = -1;
    for (int i = 0; i < child_num; i++) {
      const UctChild& c = children[i];
      if (c.iti <= 0 || c.games == 0) continue;
      if (fallback < 0) fallback = c.iti;
      if (win_rate(c.value, col) > SURE_WIN_RATE) {
        fallback = c.iti;
        break;
      }
    }
    if (fallback > 0) {
      move = fallback;
      PRT("パスは最後までしない\n");
    }
  } else if (!gtp_cleanup_mode) {
    bool pass_safe = false, dame_taken = false;
    for (int i = 0; i < child_num && !dame_taken; i++) {
      const UctChild& c = children[i];
      if (win_rate(c.value, col) <= SURE_WIN_RATE || c.games <= best_games / 2) continue;
      if (c.iti == 0) {
        pass_safe = true;
      } else if (est.dame[c.iti]) {
        PRT("ダメ埋め優先 z=%04x,v=%f,best=%04x\n", z_from_zc(c.iti), double(c.value), z_from_zc(chosen.iti));
        move = c.iti;
        dame_taken = true;
      }
    }
    if (!dame_taken && pass_safe && move != 0 && !uct_avoid_early_pass) {
      PRT("PASS優先 best=%04x\n", z_from_zc(move));
      move = 0;
    }
  }
  const int n = t.root.b.size;
  const bool opponent_passed = tesuu >= 1 && kifu[tesuu].z == 0 && kifu[tesuu].color == opponent(col);
  if (move > 0 && opponent_passed) {
    int passes = 0;
    for (int i = tesuu - 2; i >= 1 && i >= tesuu - PASS_LOOKBACK; i -= 2) passes += kifu[i].z == 0;
    const bool own_dead_left = est.dead[col == BLACK ? WHITE : BLACK] > 0;
    // Passing now ends the game: only when the count as it stands wins.
    const double margin = est.score - uct_komi;
    const bool count_wins = col == BLACK ? margin > 0 : margin < 0;
    if (count_wins &&
        ((!uct_avoid_early_pass && tesuu > n * n / 4 && est.unsettled < PASS_UNSETTLED_LONG) ||
         (est.unsettled < PASS_UNSETTLED_FEW && !est.dame[move] && (!gtp_cleanup_mode || !own_dead_left)) ||
         (passes >= 2 && !gtp_cleanup_mode))) {
      move = 0;
    }
  }
  uct_latest_win_rate = col == WHITE ? -bv : bv;
  PRT("best=%04x(%04x),v=%f,games=%d,all=%d,fRave=%d,fBigPattern=%d\n", z_from_zc(move > 0 ? move : 0),
      z_from_zc(chosen.iti), bv, best_games, 0, 1, n > 9);
  print_uct(t, 1);
  return move;
}

int uct_root(int col) {
  const int n = ban_size;
  make_hashboard64();
  uct_make_threads();
  const long budget = long(uct_settings.threads) * uct_settings.playouts;
  // About one node per ten simulations is created; a quarter leaves room.
  init_hash_go(int(std::min<long>(budget / 4, 1 << 22)));
  load_area_sum_table();
  tmp_big_mem(0);
  reading_table_init();
  reading_table_clear();
  if (pattern_weight_size != n && !make_pattern_weights(n)) uct_internal_error("pattern weights missing\n");
  make_point_class(n);
  PRT("sizeof(local[])=%d,TE_INFO=%d x %d\n", int(sizeof(UctThread)), 1280, 1024);
  UctThread& t0 = *uct_local[0];
  mc_board_load(t0.root, gban, col, last_record_move(0), last_record_move(1));
  if (n > 9) big_keys_init(t0.big_root, t0.root.b);
  for (size_t i = 1; i < uct_local.size(); i++) {
    mc_board_copy(uct_local[i]->root, t0.root);
    if (n > 9) memcpy(&uct_local[i]->big_root, &t0.big_root, sizeof t0.big_root);
  }
  make_root_superko_table(col);
  uct_stop = 0;
  uct_root_color = col;

  if (opening_enabled) {
    int force = 1;
    const int book = book_move(col, &force);
    if (book > 0) return book;
  }

  mc_board_copy(t0.tree, t0.root);
  if (n > 9) memcpy(&t0.big, &t0.big_root, sizeof t0.big);
  t0.depth = 0;
  uct_set_current_thread(&t0);
  HashGo* root = find_node(t0.tree.b.hash.v);
  if (!root->used) create_node_children(root, t0.tree.b.hash.v, col, n);
  if (!root->sort_done) prepare_candidates(t0, root, col);
  unlock_node(root);

  const double komi0 = komi;
  uct_komi = n == 19 ? dynamic_komi(t0.root.b, komi0) : komi0;
  uct_komi_shift = uct_komi - komi0;

  std::vector<std::thread> threads;
  for (size_t i = 1; i < uct_local.size(); i++) {
    PRT("n=%d,this=%p\n", int(i), static_cast<void*>(uct_local[i]));
    threads.emplace_back(search_loop, std::ref(*uct_local[i]));
  }
  search_loop(t0);
  for (std::thread& th : threads) th.join();
  uct_komi = komi0;

  const int move = select_root(t0);
  const double seconds = think_elapsed_ms() * 0.001;
  HashGo* r = find_node(t0.root.b.hash.v);
  const int root_visits = r->games_sum;
  unlock_node(r);
  PRT("%.0f/s(%.1fs),create=%d,mc=%d,mt=%d,t=%d,RM=%d\n", root_visits / (seconds > 0 ? seconds : 0.001), seconds,
      hash_go_use.load(), root_visits, int(uct_local.size()), tesuu, fChineseRule);
  reading_table_report();
  if (move > 0) return z_from_zc(move);
  return move;
}
