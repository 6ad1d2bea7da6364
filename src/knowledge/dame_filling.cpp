// The dame filling before a count by territory, played out: what it costs
// each side inside his own area.
#include <algorithm>
#include <array>

#include "core/board.h"
#include "core/kifu.h"
#include "knowledge/analysis.h"
#include "knowledge/analysis_detail.h"

namespace {

// Moves of the fill-out; a longer one is cut short there.
constexpr int FILL_MOVES_MAX = 200;
constexpr int TE_SPARE = 8;   // moves kept free for the tries
constexpr int REN_SPARE = 8;  // strings kept free for the tries
// A string with fewer liberties can be put in atari by one fill.
constexpr int SHORT_LIBERTIES = 3;

int own_territory(int c) { return c == BLACK ? FINAL_BLACK_TERRITORY : FINAL_WHITE_TERRITORY; }

// Both sides fill the dame in turn, threatening fills first. Before his fill
// a side answers an atari on a living string of his, and adds a stone where
// an intrusion into his territory would now cost him more than that point.
template <int S>
class DameFilling {
 public:
  DameFilling(Board<S>& b, Analysis<S>& a) : b_(b), a_(a) {
    for (int z = 0; z < Board<S>::ARRAY; z++) {
      bool stone = b.ban[z] == BLACK || b.ban[z] == WHITE;
      bool lives = a.final_status[z] == FINAL_ALIVE || a.final_status[z] == FINAL_SEKI;
      live_[z] = int8_t(stone && lives ? b.ban[z] : EMPTY);
    }
  }

  void run() {
    // Intrusions that would pay already stood before the last passes; the
    // opponent let them be, so only those the filling makes are answered.
    for (int c : {BLACK, WHITE}) {
      for_each_string(c, [&](int s) {
        for (int p : guard_points(s)) standing_[p] |= p && intrusion_costs(p, c);
        return false;
      });
    }
    int side = BLACK, idle = 0;
    while (idle < 2 && room()) {
      idle = defend(side) || fill(side) ? 0 : idle + 1;
      side = opponent(side);
    }
    for (int i = move_num_ - 1; i >= 0; i--) take_back(b_, moves_[i], b_.ban[moves_[i]]);
  }

 private:
  bool room() const {
    return move_num_ < FILL_MOVES_MAX && b_.fukasa < TE_INFO_MAX - TE_SPARE && b_.ren_num < REN_MAX - REN_SPARE;
  }
  int libs_at(int z) const { return b_.ren[string_of(b_, z)].lib_num; }
  bool string_lives(int s) const { return live_[b_.ren[s].first] != 0; }

  // Calls f(s) for each living string of colour c until it returns true.
  template <typename F>
  bool for_each_string(int c, F f) {
    bool seen[REN_MAX + 1] = {};
    for (int y = 1; y <= b_.size; y++) {
      for (int x = 1; x <= b_.size; x++) {
        int z = y * S + x;
        if (b_.ban[z] != c) continue;
        int s = string_of(b_, z);
        if (seen[s]) continue;
        seen[s] = true;
        if (string_lives(s) && f(s)) return true;
      }
    }
    return false;
  }

  // The points of his territory where an opponent stone puts the string s
  // in atari: its liberties when it has two.
  std::array<int, 2> guard_points(int s) const {
    const auto& r = b_.ren[s];
    std::array<int, 2> out{};
    if (r.lib_num != 2) return out;
    for (int l = 0; l < 2; l++) {
      if (a_.final_status[r.libs[l]] == own_territory(r.color)) out[l] = r.libs[l];
    }
    return out;
  }

  // Plays a move of the fill-out. A stone on a point of territory takes the
  // point from its owner; living stones it takes are prisoners.
  void play(int z, int c) {
    put_stone(b_, z, c);
    moves_[move_num_++] = z;
    live_[z] = int8_t(c);
    if (a_.final_status[z] == own_territory(BLACK) || a_.final_status[z] == own_territory(WHITE)) {
      a_.final_status[z] = FINAL_DAME;
    }
    const MoveRecord<S>& m = b_.te[b_.fukasa - 1];
    for (int i = 0; i < m.captured_stone_num; i++) {
      int p = m.captured_stones[i];
      if (a_.final_status[p] == FINAL_ALIVE) a_.final_status[p] = FINAL_DEAD;
      live_[p] = 0;
    }
  }

  // The last move took a living string: the filling gives up no stones.
  bool takes_living() const {
    const MoveRecord<S>& m = b_.te[b_.fukasa - 1];
    for (int i = 0; i < m.captured_stone_num; i++) {
      if (live_[m.captured_stones[i]]) return true;
    }
    return false;
  }

  // Plays c at z when the stone keeps two liberties and joins no dead stone.
  bool play_safe(int z, int c) {
    if (put_stone(b_, z, c) != PUT_OK) return false;
    int s = string_of(b_, z);
    bool safe = b_.ren[s].lib_num >= 2;
    for (int q = b_.ren[s].first; q && safe; q = b_.next_stone[q]) safe = q == z || live_[q];
    take_back(b_, z, c);
    if (safe) play(z, c);
    return safe;
  }

  // Saves a string of c in atari: by a connection on a dame, by taking an
  // attacker, or by a connection inside his area.
  bool defend(int c) {
    bool played = for_each_string(c, [&](int s) {
      const auto& r = b_.ren[s];
      if (r.lib_num != 1 || given_up_[r.first]) return false;
      int lib = r.libs[0];
      if (taking_fails(lib, c)) return false;
      if (a_.final_status[lib] == FINAL_DAME && play_safe(lib, c)) return true;
      for (int z = r.first; z; z = b_.next_stone[z]) {
        for (int d : kDir4<S>) {
          if (b_.ban[z + d] != opponent(c) || libs_at(z + d) != 1) continue;
          int take = b_.ren[string_of(b_, z + d)].libs[0];
          if (put_stone(b_, take, c) != PUT_OK) continue;
          bool saves = libs_at(r.first) >= 2 && libs_at(take) >= 2;
          take_back(b_, take, c);
          if (!saves) continue;
          play(take, c);
          return true;
        }
      }
      if (play_safe(lib, c)) return true;
      given_up_[r.first] = true;
      return false;
    });
    if (played) return true;
    return for_each_string(c, [&](int s) {
      for (int p : guard_points(s)) {
        if (p && !standing_[p] && intrusion_costs(p, c) && play_safe(p, c)) return true;
      }
      return false;
    });
  }

  // An opponent stone at p, keeping two liberties, ataris strings of c, and
  // answering costs c more than a stone at p now: the stone joins living
  // ones, so it stays, or one connection does not save every string.
  bool intrusion_costs(int p, int c) {
    const int o = opponent(c);
    if (put_stone(b_, p, o) != PUT_OK) return false;
    int s = string_of(b_, p);
    int in_atari[4], num = 0;
    bool joins_living = false;
    if (b_.ren[s].lib_num >= 2) {
      for (int q = b_.ren[s].first; q; q = b_.next_stone[q]) joins_living |= q != p && live_[q];
      for (int d : kDir4<S>) {
        int q = p + d;
        if (b_.ban[q] != c || !live_[q]) continue;
        int t = string_of(b_, q);
        if (b_.ren[t].lib_num != 1) continue;
        add_unique(in_atari, num, 4, q);
      }
    }
    bool costs = num > 0 && (joins_living || !one_move_saves(c, in_atari, num));
    take_back(b_, p, o);
    return costs;
  }

  // The strings of c at the points in_atari all get out of atari by one
  // move: a connection at a liberty of theirs or taking a string in atari
  // next to them.
  bool one_move_saves(int c, const int* in_atari, int num) {
    int moves[16], move_num = 0;
    for (int i = 0; i < num; i++) {
      const auto& r = b_.ren[string_of(b_, in_atari[i])];
      add_unique(moves, move_num, 16, r.libs[0]);
      for (int z = r.first; z; z = b_.next_stone[z]) {
        for (int d : kDir4<S>) {
          if (b_.ban[z + d] == opponent(c) && libs_at(z + d) == 1) {
            add_unique(moves, move_num, 16, b_.ren[string_of(b_, z + d)].libs[0]);
          }
        }
      }
    }
    for (int k = 0; k < move_num; k++) {
      if (put_stone(b_, moves[k], c) != PUT_OK) continue;
      bool saved = true;
      for (int i = 0; i < num; i++) saved &= b_.ban[in_atari[i]] == c && libs_at(in_atari[i]) >= 2;
      take_back(b_, moves[k], c);
      if (saved) return true;
    }
    return false;
  }

  // The opponent cannot take a string of c in atari at lib, or taking it is
  // a snapback: the taker is left in atari with more stones than he took.
  bool taking_fails(int lib, int c) {
    const int o = opponent(c);
    if (put_stone(b_, lib, o) != PUT_OK) return true;
    int t = string_of(b_, lib);
    bool snapback = b_.ren[t].lib_num == 1 && b_.ren[t].stones > b_.te[b_.fukasa - 1].captured_stone_num;
    take_back(b_, lib, o);
    return snapback;
  }

  int dame_liberties(int s) const {
    const auto& r = b_.ren[s];
    int num = 0;
    for (int l = 0; l < r.lib_num; l++) num += a_.final_status[r.libs[l]] == FINAL_DAME;
    return num;
  }

  // Liberties of the shortest string of c next to z; many when none.
  int fewest_joined_liberties(int z, int c) const {
    int fewest = LIB_MAX;
    for (int d : kDir4<S>) {
      if (b_.ban[z + d] == c) fewest = std::min(fewest, libs_at(z + d));
    }
    return fewest;
  }

  // Fills one dame for c: one that puts a living string in atari first, then
  // one that gives more liberties to a string of his that a fill would put
  // in atari, then to one that is short of liberties.
  bool fill(int c) {
    enum { UNUSABLE, PLAIN, STRENGTHENS, RESCUES, THREATENS };
    int best = 0, best_rank = UNUSABLE;
    for (int y = 1; y <= b_.size && best_rank < THREATENS; y++) {
      for (int x = 1; x <= b_.size && best_rank < THREATENS; x++) {
        int z = y * S + x;
        if (b_.ban[z] != EMPTY || a_.final_status[z] != FINAL_DAME) continue;
        int before = fewest_joined_liberties(z, c);
        if (put_stone(b_, z, c) != PUT_OK) continue;
        int s = string_of(b_, z), after = b_.ren[s].lib_num;
        bool usable = after >= 2 && !takes_living(), threatens = false;
        for (int q = b_.ren[s].first; q && usable; q = b_.next_stone[q]) usable = q == z || live_[q];
        // A plain fill leaves no dame from which the opponent puts it in atari.
        bool exposed = after < SHORT_LIBERTIES && dame_liberties(s);
        for (int d : kDir4<S>) {
          int q = z + d;
          if (b_.ban[q] != opponent(c) || !live_[q]) continue;
          threatens |= libs_at(q) == 1;
        }
        take_back(b_, z, c);
        int rank = !usable ? UNUSABLE
                   : threatens ? THREATENS
                   : before < SHORT_LIBERTIES && after > before ? RESCUES
                   : before <= SHORT_LIBERTIES && after > before ? STRENGTHENS
                   : !exposed ? PLAIN
                   : UNUSABLE;
        if (rank > best_rank) best = z, best_rank = rank;
      }
    }
    if (best) play(best, c);
    return best != 0;
  }

  Board<S>& b_;
  Analysis<S>& a_;
  int8_t live_[Board<S>::ARRAY];
  bool standing_[Board<S>::ARRAY] = {};
  bool given_up_[Board<S>::ARRAY] = {};
  int moves_[FILL_MOVES_MAX];
  int move_num_ = 0;
};

}  // namespace

template <int S>
void fill_dame_before_count(Board<S>& b, Analysis<S>& a) {
  if (!fChineseRule) DameFilling<S>(b, a).run();
}

template void fill_dame_before_count<256>(Board<256>&, Analysis<256>&);
