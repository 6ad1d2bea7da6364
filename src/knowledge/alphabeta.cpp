#include "knowledge/alphabeta.h"

#include <algorithm>
#include <cstring>

#include "core/gtp.h"
#include "core/internal_stop.h"
#include "core/kifu.h"
#include "core/log.h"
#include "core/position_table.h"
#include "core/think.h"

PrincipalVariation pv[PLY_LIST_NUM];
HistoryTable history[3];
bool null_move_enabled = true;

namespace {

constexpr int INF = SEARCH_VALUE_MAX;
constexpr int WIDTH_BY_PLY[WIDTH_TABLE_SIZE] = {99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};
constexpr int WIDTH_BY_REMAINING[WIDTH_TABLE_SIZE] = {10, 10, 10, 30, 50, 80, 99, 99, 99, 99, 99, 99};
constexpr int NULL_MOVE_MIN_REMAINING = 4;
constexpr int NULL_MOVE_REDUCTION = 2;
constexpr int PASS_PENALTY_BASE = 30;
constexpr int PASS_PENALTY_STEP = 50;
constexpr int DENSITY_MIDDLE = 35;  // stone percentage from which the middle game starts
// Alpha-beta entries live beside other users of table A: their keys carry a
// fixed tag and the side to move.
constexpr Hash96 SEARCH_TAG = {{0x5ea4c0deu, 0x0000a1bau, 0x7a6b1e00u}};
constexpr Hash96 WHITE_TO_MOVE = {{0x2545f491u, 0x9e3779b9u, 0x632be5abu}};

StaticEvaluation evaluation_function;
bool ko_extended[PLY_LIST_NUM];

Hash96 search_key(int color) {
  Hash96 h = gban.hash;
  h ^= SEARCH_TAG;
  if (color == WHITE) h ^= WHITE_TO_MOVE;
  return h;
}

int stone_density() {
  int stones = 0;
  for (int y = 1; y <= ban_size; y++)
    for (int x = 1; x <= ban_size; x++) stones += gban.ban[make_z(x, y)] != EMPTY;
  return stones * 100 / (ban_size * ban_size);
}

void bump(int& count, int& partner) {
  if (++count > HISTORY_COUNT_MAX) {
    count = (count + 2) / 2;
    partner = (partner + 1) / 2;
  }
}

// A stone of our move two plies back whose string is gone or caught: the
// improvement may only be the horizon hiding the loss.
bool earlier_stone_lost(int color) {
  int z = gban.te[gban.fukasa - 3].z;
  if (gban.ban[z] != color) return true;
  return gban.ren[string_of(gban, z)].lib_num == 1;
}

// The move joins the own string next to our move two plies back, a string
// that was short of liberties and now has more than two.
bool rescue_extension(int z, int color, int libs_before) {
  if (gban.fukasa < 3) return false;
  int earlier = gban.te[gban.fukasa - 3].z;
  if (earlier <= 0 || gban.ban[earlier] != color) return false;
  int s = string_of(gban, z);
  bool next_to = false;
  for (int d : {1, -1, 256, -256}) next_to |= gban.ban[earlier + d] == color && string_of(gban, earlier + d) == s;
  next_to |= string_of(gban, earlier) == s;
  return next_to && libs_before <= 2 && gban.ren[s].lib_num > 2;
}

int min_neighbour_libs(int z, int color) {
  int m = 99;
  for (int d : {1, -1, 256, -256}) {
    if (gban.ban[z + d] == color) m = std::min(m, gban.ren[string_of(gban, z + d)].lib_num);
  }
  return m;
}

// The largest enemy string in atari that can be taken at once: its liberty, or 0.
int forced_capture(int color) {
  int best = 0, best_stones = 0;
  for (int n = 1; n <= gban.ren_num; n++) {
    const auto& r = gban.ren[n];
    if (r.alive && r.id == n && r.color == opponent(color) && r.lib_num == 1 && r.stones > best_stones &&
        r.libs[0] != gban.kou_iti) {
      best = r.libs[0];
      best_stones = r.stones;
    }
  }
  return best;
}

// The static value at a leaf. A capture the mover has at hand is played and
// taken back first: the mover may take it or stand on the position as it is.
int leaf_value(int color) {
  int stand = static_value(color);
  int z = forced_capture(color);
  if (!z) return stand;
  if (gban.fukasa >= TE_INFO_MAX - 2) {
    PRT("depth over\n");
    internal_stop();
  }
  if (put_stone(gban, z, color) != PUT_OK) return stand;
  int taken = static_value(color);
  take_back(gban, z, color);
  return std::max(stand, taken);
}

}  // namespace

void history_add_good(int color, int z) {
  HistoryTable& h = history[color];
  bump(h.good[z], h.total[z]);
  bump(h.total[z], h.good[z]);
}

void history_add_bad(int color, int z) {
  HistoryTable& h = history[color];
  bump(h.bad[z], h.total[z]);
}

void set_static_evaluation(StaticEvaluation evaluation) { evaluation_function = evaluation; }

int static_value(int color) {
  if (!evaluation_function) INTERNAL_STOP("no static evaluation\n");
  search_counters.positions++;
  int v = evaluation_function();
  return color == BLACK ? v : -v;
}

void search_reset() {
  memset(history, 0, sizeof history);
  memset(pv, 0, sizeof pv);
  memset(ko_extended, 0, sizeof ko_extended);
}

int pv_root_move() { return pv[0].len > 0 ? pv[0].z[0] : -1; }

int transposition_move(int color) {
  PositionLookup e = hash_a_lookup(search_key(color));
  return e.kind ? (e.value2 >> 2) : 0;
}

int width_limit(int ply, int remaining) {
  int by_ply = ply < WIDTH_TABLE_SIZE ? WIDTH_BY_PLY[ply] : 0;
  int by_depth = WIDTH_BY_REMAINING[std::clamp(remaining, 0, WIDTH_TABLE_SIZE - 1)];
  return std::min(by_ply, by_depth);
}

bool self_atari(int z, int color) {
  const auto& r = gban.ren[string_of(gban, z)];
  if (r.stones < 2 || r.lib_num != 1) return false;
  int kill = r.libs[0];
  if (put_stone(gban, kill, opponent(color)) != PUT_OK) return false;
  bool ko = gban.kou_iti != 0;
  take_back(gban, kill, opponent(color));
  return !ko;
}

int search(int alpha, int beta, int color, const SearchMove* from) {
  const int ply = gban.fukasa;
  const int remaining = DM - ply;
  const int alpha_in = alpha;
  search_counters.nodes++;
  search_counters.fukasa = ply;
  pv[ply].len = 0;

  Hash96 key = search_key(color);
  PositionLookup entry = hash_a_lookup(key);
  if (ply > 0 && entry.kind && (entry.value2 & 3) == BOUND_EXACT && entry.depth >= remaining) return entry.value;

  if (remaining <= 0) return leaf_value(color);
  if (ply >= PLY_LIMIT) {
    PRT("深く探索しすぎ！深=(%d/%d)\n", ply, DM);
    return leaf_value(color);
  }
  if (time_up()) return static_value(color);

  int n = std::min(generate_moves(remaining, color), width_limit(ply, remaining));
  MoveList& list = move_list[ply];
  bool with_pass = ply == 0 && !think_retry_root;
  if (with_pass) list.m[n++] = {0, color, 0, 0};

  // The reduction below follows the node's depth and phase alone: a line
  // after a pass (the root's pass, the second mode's pass probe) must reach
  // its leaves at the same ply as its siblings, or the side that moved last
  // gains a tempo the others lack. Only the null move itself needs a real
  // move before it, as two passes in a row would end the game.
  bool null_candidate = null_move_enabled && ply > 0 && remaining >= NULL_MOVE_MIN_REMAINING &&
                        stone_density() < DENSITY_MIDDLE;
  if (null_candidate && from && from->z != 0) {
    SearchMove pass = {0, color, 0, 0};
    put_stone(gban, 0, color);
    DM -= NULL_MOVE_REDUCTION;
    int v = -search(-beta, 1 - beta, opponent(color), &pass);
    DM += NULL_MOVE_REDUCTION;
    take_back(gban, 0, color);
    if (!think_stop && v >= beta) return v;
  }

  int best = -INF, best_move = -1, cut_index = -1, tried = 0;
  int tried_moves[MOVE_LIST_MAX];
  for (int i = 0; i < n; i++) {
    SearchMove& m = list.m[i];
    int libs_before = m.z ? min_neighbour_libs(m.z, color) : 0;
    if (put_stone(gban, m.z, color) != PUT_OK) continue;
    // A pass leaves the stones as they were: only moves can repeat a position.
    if (m.z && super_ko_check()) {
      take_back(gban, m.z, color);
      continue;
    }
    if (m.z && self_atari(m.z, color)) {
      if (ply == 0) {
        const auto& r = gban.ren[string_of(gban, m.z)];
        PRT("1手で取られるだけ z=%04x, 殺される場所=%04x\n", m.z, r.libs[0]);
      }
      take_back(gban, m.z, color);
      continue;
    }
    tejun_hash_set(gban.fukasa);
    // One ko extension per path: a ko fight would otherwise extend every ply.
    bool ko_extension = m.z && gban.kou_iti && !ko_extended[ply];
    ko_extended[ply + 1] = ko_extended[ply] || ko_extension;
    int extension = 0;
    if (ko_extension) {
      extension = 1;
    } else if (m.z && rescue_extension(m.z, color, libs_before)) {
      extension = 1;
    } else if (null_candidate) {
      extension = -1;
    }
    DM += extension;
    int value = -search(-beta, -alpha, opponent(color), &m);
    DM -= extension;

    if (ply == HORIZON_PLY && value > best && !think_stop && gban.te[ply - 1].z && gban.te[ply - 2].z &&
        earlier_stone_lost(color)) {
      PRT("地平線？2手延->");
      for (int add = 1; add <= 2; add++) {
        DM += add;
        int again = -search(-beta, -alpha, opponent(color), &m);
        DM -= add;
        if (think_stop) break;
        if (again <= best) {
          PRT("地平線  無効 add=%d\n", add);
          value = -INF;
          break;
        }
        value = again;
      }
    }
    tejun_hash_del(gban.fukasa);
    take_back(gban, m.z, color);
    if (think_stop) break;
    tried_moves[tried++] = m.z;

    if (ply == 0 && m.z == 0) value -= PASS_PENALTY_STEP * (gtp_cleanup_mode ? 2 : 1) + PASS_PENALTY_BASE;
    if (value > best) {
      best = value;
      best_move = m.z;
    }
    if (value > alpha) {
      pv[ply].z[0] = m.z;
      int len = std::min(pv[ply + 1].len, PV_MAX - 1);
      memcpy(&pv[ply].z[1], pv[ply + 1].z, len * sizeof(int));
      pv[ply].len = len + 1;
      if (ply == 0) {
        if (DM < DEPTH_TABLE_SIZE) depth_best_move[DM] = m.z;
        PRT("value=%d, αβ=(%d,%d)\n", value, alpha, beta);
      }
      alpha = value;
      if (value >= beta) {
        cut_index = tried - 1;
        break;
      }
    }
  }
  if (think_stop) return best > -INF ? best : static_value(color);
  if (tried == 0) return static_value(color);  // nothing playable: as good as passing
  if (best_move < 0) {
    PRT("best_move < 0\n");
    internal_stop();
  }
  if (cut_index >= 0 && best_move > 0) {
    history_add_good(color, best_move);
    for (int k = 0; k < cut_index; k++) {
      if (tried_moves[k] == best_move) {
        PRT("history_bad err. nokori=%d,loop=%d\n", remaining, k);
        internal_stop();
      }
      if (tried_moves[k] > 0) history_add_bad(color, tried_moves[k]);
    }
  }
  int bound = best >= beta ? BOUND_LOWER : best > alpha_in ? BOUND_EXACT : BOUND_UPPER;
  hash_a_store(key, best, remaining, (best_move << 2) | bound);
  return best;
}
