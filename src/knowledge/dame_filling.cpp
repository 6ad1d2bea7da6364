// The dame filling before a count by territory, played out: what it costs
// each side inside his own area.
#include <algorithm>

#include "core/board.h"
#include "core/kifu.h"
#include "knowledge/analysis.h"
#include "knowledge/analysis_detail.h"
#include "knowledge/reading.h"

namespace {

// Moves of the fill-out; a longer one is cut short there.
constexpr int FILL_MOVES_MAX = 200;
constexpr int TE_SPARE = 8;   // moves kept free for the tries
constexpr int REN_SPARE = 8;  // strings kept free for the tries
// A string with fewer liberties can be put in atari by one fill.
constexpr int SHORT_LIBERTIES = 3;
// Strings with more liberties are not read for a capture.
constexpr int READ_LIBERTIES = 4;

int own_territory(int c) { return c == BLACK ? FINAL_BLACK_TERRITORY : FINAL_WHITE_TERRITORY; }

// Both sides fill the dame in turn, threatening fills first. Before his fill
// a side answers an atari on a living string of his and keeps alive a string
// the filling has left the opponent able to capture by reading.
template <int S>
class DameFilling {
 public:
  DameFilling(Board<S>& b, Analysis<S>& a) : b_(b), a_(a) {
    for (int z = 0; z < Board<S>::ARRAY; z++) {
      bool stone = b.ban[z] == BLACK || b.ban[z] == WHITE;
      bool lives = a.final_status[z] == FINAL_ALIVE || a.final_status[z] == FINAL_SEKI;
      live_[z] = int8_t(stone && lives ? b.ban[z] : EMPTY);
      dead_[z] = int8_t(stone && a.final_status[z] == FINAL_DEAD ? b.ban[z] : EMPTY);
    }
  }

  void run() {
    // Strings the opponent could already capture stood before the last
    // passes; he let them be, so they are answered only where the capture
    // starts on a dame and costs him nothing.
    for (int c : {BLACK, WHITE}) {
      for_each_string(c, [&](int s) {
        killable_[b_.ren[s].first] = killable(s);
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

  // Plays a move of the fill-out. A stone on a point of territory takes the
  // point from its owner, as does one on the point of an opponent's dead
  // stone taken in the fill-out; living stones it takes are prisoners.
  void play(int z, int c) {
    put_stone(b_, z, c);
    moves_[move_num_++] = z;
    live_[z] = int8_t(c);
    if (a_.final_status[z] == own_territory(BLACK) || a_.final_status[z] == own_territory(WHITE)) {
      a_.final_status[z] = FINAL_DAME;
    }
    if (dead_[z] == opponent(c)) {
      a_.refilled[c]++;
      dead_[z] = EMPTY;
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

  // The opponent, moving first, captures the string s by reading; the
  // killing move is left in the reading state.
  bool killable(int s) {
    const auto& r = b_.ren[s];
    if (r.lib_num < 2 || r.lib_num > READ_LIBERTIES) return false;
    return kill_string(b_, r.first, reading_state(0)) == READ_DEAD;
  }

  // The string at `first` of c, which the filling has made killable (the
  // killing move in the reading state), is kept alive now by the move
  // returned; 0 when it need not be, or cannot. Killed from inside his area
  // by a stone he can answer, he answers when it comes, stone for stone.
  int keeping_move(int first, int c) {
    ReadingState& rs = reading_state(0);
    int kill = reading_move(b_, rs);
    if (!kill || (a_.final_status[kill] == own_territory(c) && answerable(first, kill, c))) return 0;
    int z = kill;
    if (!keeps_alive(kill, c, first)) {
      if (save_string(b_, first, kill, rs) != READ_LIVE) return 0;
      z = reading_move(b_, rs);
      bool inside = z && (a_.final_status[z] == FINAL_DAME || a_.final_status[z] == own_territory(c));
      if (!inside || !keeps_alive(z, c, first)) return 0;
    }
    if (a_.final_status[z] != own_territory(c)) return z;
    int free = defusing_dame(first, c);
    return free ? free : z;
  }

  // A dame near the string at `first` that c fills instead of a stone in
  // his own area: within two steps of the string, or a liberty of a string
  // of his that a stone on its liberty would join.
  int defusing_dame(int first, int c) {
    constexpr int CANDIDATES_MAX = 64;
    int cand[CANDIDATES_MAX], num = 0;
    bool seen[Board<S>::ARRAY] = {};
    auto add = [&](int p) {
      if (num < CANDIDATES_MAX && !seen[p] && b_.ban[p] == EMPTY && a_.final_status[p] == FINAL_DAME) cand[num++] = p;
      seen[p] = true;
    };
    for (int q = first; q; q = b_.next_stone[q]) {
      for (int d1 : kDir4<S>) {
        int l = q + d1;
        if (b_.ban[l] == EDGE) continue;
        add(l);
        for (int d2 : kDir4<S>) add(l + d2);
        if (b_.ban[l] != EMPTY) continue;
        for (int d2 : kDir4<S>) {
          if (b_.ban[l + d2] != c || !live_[l + d2]) continue;
          const auto& r = b_.ren[string_of(b_, l + d2)];
          for (int k = 0; k < r.lib_num; k++) add(r.libs[k]);
        }
      }
    }
    for (int i = 0; i < num; i++) {
      if (keeps_alive(cand[i], c, first, true)) return cand[i];
    }
    return 0;
  }

  // After an opponent stone at `kill`, c moving first saves the string: as
  // the reading finds, or by a move on a liberty of the intruder.
  bool answerable(int first, int kill, int c) {
    const int o = opponent(c);
    if (put_stone(b_, kill, o) != PUT_OK) return true;
    ReadingState& rs = reading_state(0);
    bool saved = b_.ban[first] == c && (kill_string(b_, first, rs) != READ_DEAD ||
                                        save_string(b_, first, reading_move(b_, rs), rs) == READ_LIVE);
    const auto& r = b_.ren[string_of(b_, kill)];
    int libs[READ_LIBERTIES], lib_num = std::min<int>(r.lib_num, READ_LIBERTIES);
    std::copy(r.libs, r.libs + lib_num, libs);
    for (int l = 0; l < lib_num && !saved && b_.ban[first] == c; l++) saved = keeps_alive(libs[l], c, first);
    take_back(b_, kill, o);
    return saved;
  }

  // c at z saves the string at `first` and leaves it unkillable or, when
  // `answering`, killable only by a stone in his area that he can answer.
  bool keeps_alive(int z, int c, int first, bool answering = false) {
    if (!saves(z, c, first)) return false;
    put_stone(b_, z, c);
    bool alive = libs_at(first) > READ_LIBERTIES || kill_string(b_, first, reading_state(0)) != READ_DEAD;
    if (!alive && answering) {
      int kill = reading_move(b_, reading_state(0));
      alive = kill && a_.final_status[kill] == own_territory(c) && answerable(first, kill, c);
    }
    take_back(b_, z, c);
    return alive;
  }

  // c at z keeps two liberties, joins no dead stone and leaves the string
  // at `first` out of atari.
  bool saves(int z, int c, int first) {
    if (put_stone(b_, z, c) != PUT_OK) return false;
    int s = string_of(b_, z);
    bool safe = b_.ren[s].lib_num >= 2;
    for (int q = b_.ren[s].first; q && safe; q = b_.next_stone[q]) safe = q == z || live_[q];
    safe = safe && b_.ban[first] == c && libs_at(first) >= 2;
    take_back(b_, z, c);
    return safe;
  }

  // Living strings of c that one more stone puts in atari.
  int strings_short_of_liberties(int c) {
    int num = 0;
    for_each_string(c, [&](int s) {
      num += b_.ren[s].lib_num <= 2;
      return false;
    });
    return num;
  }

  // Saves a string of c in atari: by a connection on a dame, else by a
  // connection inside his area or the taking of an attacker, whichever
  // leaves fewest of his strings short of liberties (the connection on a
  // tie: the taken stones were his prisoners already).
  bool defend(int c) {
    bool played = for_each_string(c, [&](int s) {
      const auto& r = b_.ren[s];
      if (r.lib_num != 1 || given_up_[r.first]) return false;
      int lib = r.libs[0], first = r.first;
      if (taking_fails(lib, c)) return false;
      if (a_.final_status[lib] == FINAL_DAME && saves(lib, c, first)) {
        play(lib, c);
        return true;
      }
      int best = 0, best_left = REN_MAX;
      auto consider = [&](int z) {
        if (!saves(z, c, first)) return;
        put_stone(b_, z, c);
        int left = strings_short_of_liberties(c);
        take_back(b_, z, c);
        if (left < best_left) best = z, best_left = left;
      };
      consider(lib);
      for (int z = first; z; z = b_.next_stone[z]) {
        for (int d : kDir4<S>) {
          if (b_.ban[z + d] == opponent(c) && libs_at(z + d) == 1) consider(b_.ren[string_of(b_, z + d)].libs[0]);
        }
      }
      if (best) {
        play(best, c);
        return true;
      }
      given_up_[first] = true;
      return false;
    });
    if (played || blocks_reconnection(c) || blocks_intrusion(c)) return true;
    played = for_each_string(c, [&](int s) {
      int first = b_.ren[s].first;
      if (given_up_[first] || !killable(s)) return false;
      if (killable_[first] && a_.final_status[reading_move(b_, reading_state(0))] != FINAL_DAME) return false;
      int z = keeping_move(first, c);
      if (z) play(z, c);
      return z != 0;
    });
    return played;
  }

  // Calls f(z, lib) for each liberty of each dead string of the opponent of
  // c with few enough liberties to read (z a stone of it), until f plays a
  // move for c and returns true.
  template <typename F>
  bool for_each_dead_liberty(int c, F f) {
    bool seen[REN_MAX + 1] = {};
    for (int y = 1; y <= b_.size; y++) {
      for (int x = 1; x <= b_.size; x++) {
        int z = y * S + x;
        if (b_.ban[z] != opponent(c) || live_[z] || seen[string_of(b_, z)]) continue;
        seen[string_of(b_, z)] = true;
        const auto& r = b_.ren[string_of(b_, z)];
        if (r.lib_num > READ_LIBERTIES) continue;
        int libs[READ_LIBERTIES], lib_num = r.lib_num;
        std::copy(r.libs, r.libs + lib_num, libs);
        for (int l = 0; l < lib_num; l++) {
          if (f(z, libs[l])) return true;
        }
      }
    }
    return false;
  }

  // A dead string of the opponent that one stone of his on one of its
  // liberties would join to a living string of his, out of atari: c takes
  // that point himself, or else kills the string.
  bool blocks_reconnection(int c) {
    return for_each_dead_liberty(c, [&](int z, int lib) {
      if (!rejoins(lib, opponent(c))) return false;
      int block = stands(lib, c) ? lib : 0;
      if (!block && kill_string(b_, z, reading_state(0)) == READ_DEAD) block = reading_move(b_, reading_state(0));
      if (block) play(block, c);
      return block != 0;
    });
  }

  // A dead string of the opponent that one stone of his on a liberty in c's
  // area turns into a string c cannot take and cannot close in on: a seki
  // or a lost race inside c's area. c takes that point first.
  bool blocks_intrusion(int c) {
    return for_each_dead_liberty(c, [&](int, int lib) {
      if (a_.final_status[lib] != own_territory(c) || !intrudes(lib, opponent(c)) || !stands(lib, c)) return false;
      play(lib, c);
      return true;
    });
  }

  // A stone of o at z makes a string of two or three liberties that the
  // opponent, moving first, cannot take, and each of its liberties is one
  // of a living string of his with two at most: he cannot close in.
  bool intrudes(int z, int o) {
    if (put_stone(b_, z, o) != PUT_OK) return false;
    const auto& r = b_.ren[string_of(b_, z)];
    bool threat = r.lib_num >= 2 && r.lib_num <= 3;
    for (int l = 0; l < r.lib_num && threat; l++) threat = beside_short_string(r.libs[l], opponent(o));
    threat = threat && kill_string(b_, z, reading_state(0)) != READ_DEAD;
    take_back(b_, z, o);
    return threat;
  }

  // z is a liberty of a living string of c with two liberties at most.
  bool beside_short_string(int z, int c) const {
    for (int d : kDir4<S>) {
      if (b_.ban[z + d] == c && live_[z + d] && libs_at(z + d) <= 2) return true;
    }
    return false;
  }

  // A stone of o at z touches a living string of his and leaves what it
  // joins two liberties or more.
  bool rejoins(int z, int o) {
    bool touches = false;
    for (int d : kDir4<S>) touches |= b_.ban[z + d] == o && live_[z + d];
    if (!touches || put_stone(b_, z, o) != PUT_OK) return false;
    bool out = b_.ren[string_of(b_, z)].lib_num >= 2;
    take_back(b_, z, o);
    return out;
  }

  // A stone of c at z is legal and has two liberties or more.
  bool stands(int z, int c) {
    if (put_stone(b_, z, c) != PUT_OK) return false;
    bool ok = b_.ren[string_of(b_, z)].lib_num >= 2;
    take_back(b_, z, c);
    return ok;
  }

  // The opponent cannot take a string of c in atari at lib, or taking it
  // leaves the taker in atari: a snapback (he took fewer stones than he
  // risks), or a ko fought among c's stones and the opponent's dead ones,
  // where connecting it would only add to his dead stones.
  bool taking_fails(int lib, int c) {
    const int o = opponent(c);
    if (put_stone(b_, lib, o) != PUT_OK) return true;
    int t = string_of(b_, lib);
    const MoveRecord<S>& m = b_.te[b_.fukasa - 1];
    bool fails = b_.ren[t].lib_num == 1 &&
                 (b_.ren[t].stones > m.captured_stone_num || shut_in_ko(t, m, o));
    take_back(b_, lib, o);
    return fails;
  }

  // The taker t is a lone stone and no living stone of his touches the
  // stones it took.
  bool shut_in_ko(int t, const MoveRecord<S>& m, int o) const {
    if (b_.ren[t].stones != 1) return false;
    for (int i = 0; i < m.captured_stone_num; i++) {
      for (int d : kDir4<S>) {
        int q = m.captured_stones[i] + d;
        if (b_.ban[q] == o && q != b_.ren[t].first && live_[q]) return false;
      }
    }
    return true;
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

  // c's stone just played at z leaves a living string of the opponent two
  // liberties: a point of his own area and a dame he cannot fill himself
  // without putting the string in atari. Once c fills that dame too, the
  // opponent must add a stone inside.
  bool forces_stone_inside(int z, int c) {
    const int o = opponent(c);
    for (int d : kDir4<S>) {
      int q = z + d;
      if (b_.ban[q] != o || !live_[q] || libs_at(q) != 2) continue;
      const auto& r = b_.ren[string_of(b_, q)];
      const int libs[2] = {r.libs[0], r.libs[1]}, first = r.first;
      for (int l = 0; l < 2; l++) {
        int dame = libs[l], inside = libs[1 - l];
        if (a_.final_status[dame] != FINAL_DAME || a_.final_status[inside] != own_territory(o)) continue;
        if (fills_safely(dame, o, first)) continue;
        if (put_stone(b_, dame, c) != PUT_OK) continue;
        bool ataris = b_.ban[first] == o && libs_at(first) == 1 && libs_at(dame) >= 2;
        take_back(b_, dame, c);
        if (ataris) return true;
      }
    }
    return false;
  }

  // The opponent's fill at z would force c to add a stone inside his area:
  // the same point in reverse, worth as much to c.
  bool pressed_at(int z, int c) {
    const int o = opponent(c);
    if (put_stone(b_, z, o) != PUT_OK) return false;
    bool pressed = b_.ren[string_of(b_, z)].lib_num >= 2 && forces_stone_inside(z, o);
    take_back(b_, z, o);
    return pressed;
  }

  // c at z leaves the string at `first` two liberties or more.
  bool fills_safely(int z, int c, int first) {
    if (put_stone(b_, z, c) != PUT_OK) return false;
    bool safe = b_.ban[first] == c && libs_at(first) >= 2;
    take_back(b_, z, c);
    return safe;
  }

  // Among plain dame the one beside the shortest living string goes first,
  // beside the opponent's before beside c's own: a string short of
  // liberties is where the next fills start to threaten.
  int plain_urgency(int z, int c) const {
    int fewest = 2 * LIB_MAX + 1;
    for (int d : kDir4<S>) {
      int q = z + d;
      if ((b_.ban[q] == BLACK || b_.ban[q] == WHITE) && live_[q]) {
        fewest = std::min(fewest, 2 * libs_at(q) + (b_.ban[q] == c));
      }
    }
    return 2 * LIB_MAX + 1 - fewest;
  }

  // Fills one dame for c: one that puts a living string in atari first, then
  // one that gives more liberties to a string of his that a fill would put
  // in atari, then one after which the opponent must add a stone inside his
  // area, then one where the opponent's fill would make c add one inside
  // his, then one that gives liberties to a string of his short of them,
  // then the most urgent plain one.
  bool fill(int c) {
    enum { UNUSABLE, PLAIN, STRENGTHENS, PREVENTS, PRESSES, RESCUES, THREATENS };
    int best = 0, best_rank = UNUSABLE, best_urgency = 0;
    for (int y = 1; y <= b_.size && best_rank < THREATENS; y++) {
      for (int x = 1; x <= b_.size && best_rank < THREATENS; x++) {
        int z = y * S + x;
        if (b_.ban[z] != EMPTY || a_.final_status[z] != FINAL_DAME) continue;
        int before = fewest_joined_liberties(z, c);
        if (put_stone(b_, z, c) != PUT_OK) continue;
        int s = string_of(b_, z), after = b_.ren[s].lib_num;
        bool usable = after >= 2 && !takes_living(), threatens = false;
        for (int q = b_.ren[s].first; q && usable; q = b_.next_stone[q]) usable = q == z || live_[q];
        for (int d : kDir4<S>) {
          int q = z + d;
          if (b_.ban[q] != opponent(c) || !live_[q]) continue;
          threatens |= libs_at(q) == 1;
        }
        bool presses = usable && !threatens && forces_stone_inside(z, c);
        // A plain fill leaves no dame from which the opponent puts it in
        // atari, and no string he can take.
        bool exposed = after < SHORT_LIBERTIES && dame_liberties(s);
        if (usable && !threatens && !exposed && best_rank <= PLAIN) exposed = killable(s);
        take_back(b_, z, c);
        int rank = !usable ? UNUSABLE
                   : threatens ? THREATENS
                   : before < SHORT_LIBERTIES && after > before ? RESCUES
                   : presses ? PRESSES
                   : before <= SHORT_LIBERTIES && after > before ? STRENGTHENS
                   : !exposed ? PLAIN
                   : UNUSABLE;
        if ((rank == PLAIN || rank == STRENGTHENS) && pressed_at(z, c)) rank = PREVENTS;
        int urgency = rank == PLAIN ? plain_urgency(z, c) : 0;
        if (rank > best_rank || (rank == best_rank && urgency > best_urgency)) best = z, best_rank = rank, best_urgency = urgency;
      }
    }
    if (best) play(best, c);
    return best != 0;
  }

  Board<S>& b_;
  Analysis<S>& a_;
  int8_t live_[Board<S>::ARRAY];
  int8_t dead_[Board<S>::ARRAY];  // colour of the dead stone first on each point
  bool given_up_[Board<S>::ARRAY] = {};
  bool killable_[Board<S>::ARRAY] = {};  // before the filling, by first stone
  int moves_[FILL_MOVES_MAX];
  int move_num_ = 0;
};

}  // namespace

template <int S>
void fill_dame_before_count(Board<S>& b, Analysis<S>& a) {
  if (!fChineseRule) DameFilling<S>(b, a).run();
}

template void fill_dame_before_count<256>(Board<256>&, Analysis<256>&);
