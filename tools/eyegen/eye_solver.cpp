#include "eye_solver.h"

#include <bit>
#include <cstdlib>
#include <vector>

#include "knowledge/eye_shape.h"

// The local game: the space is enclosed by the owner's wall, which has no
// liberties outside the space; the owner's group has c other eyes (c = the
// context). The attacker wins when he captures the wall, the owner wins by
// surviving for ever (two eyes, seki or endless play). Both may pass. Ko: the
// side named ko master may retake at once (unlimited ko threats), the other
// obeys the basic ko rule; solving with each side as master tells a ko apart.
namespace {

constexpr int ATTACKER = 0, OWNER = 1;
constexpr int TERMINAL = -1;  // the move captures the wall
constexpr int ILLEGAL = -2;

struct Move {
  int kind;  // 0 played, TERMINAL or ILLEGAL
  uint8_t own, att;
  int ko;
};

class Space {
 public:
  explicit Space(const EyeGeometry& g) : g_(g), full_(uint8_t((1 << g.n) - 1)) {
    for (int set = 0; set < 256; set++) {
      uint8_t a = 0;
      for (int i = 0; i < g.n; i++)
        if (set & (1 << i)) a |= g.nb[i];
      adj_[set] = a;
    }
  }
  int n() const { return g_.n; }
  uint8_t full() const { return full_; }
  uint8_t adj(uint8_t set) const { return adj_[set]; }
  uint8_t flood(uint8_t seed, uint8_t stones) const {
    for (uint8_t r = seed;;) {
      uint8_t next = uint8_t(r | (adj_[r] & stones));
      if (next == r) return r;
      r = next;
    }
  }
  uint8_t wall_group(uint8_t own) const { return flood(own & g_.wall, own); }
  uint8_t wall_libs(uint8_t group, uint8_t empty) const {
    return uint8_t((empty & g_.wall) | (adj_[group] & empty));
  }
  // Strings of `stones` with no liberty among `empty`.
  uint8_t dead_strings(uint8_t stones, uint8_t candidates, uint8_t empty) const {
    uint8_t dead = 0;
    for (uint8_t cand = candidates & stones; cand;) {
      uint8_t s = flood(uint8_t(cand & -cand), stones);
      cand &= uint8_t(~s);
      if (!(adj_[s] & empty)) dead |= s;
    }
    return dead;
  }

  Move play(uint8_t own, uint8_t att, int side, int p, int c) const {
    uint8_t bit = uint8_t(1 << p);
    uint8_t empty = uint8_t(full_ & ~(own | att | bit));
    uint8_t captured, libs;
    bool single;
    if (side == ATTACKER) {
      att |= bit;
      uint8_t wall = wall_group(own);
      if (c == 0 && !wall_libs(wall, empty)) return {TERMINAL, 0, 0, -1};
      uint8_t loose = uint8_t(own & ~wall);
      captured = dead_strings(loose, adj_[bit], empty);
      own &= uint8_t(~captured);
      empty |= captured;
      uint8_t mine = flood(bit, att);
      libs = adj_[mine] & empty;
      if (!libs) return {ILLEGAL, 0, 0, -1};
      single = mine == bit;
    } else {
      own |= bit;
      captured = dead_strings(att, adj_[bit], empty);
      att &= uint8_t(~captured);
      empty |= captured;
      uint8_t wall = wall_group(own);
      if (wall & bit) {
        if (std::popcount(wall_libs(wall, empty)) + c == 0) return {ILLEGAL, 0, 0, -1};
        libs = 0;
        single = false;
      } else {
        uint8_t mine = flood(bit, own);
        libs = adj_[mine] & empty;
        if (!libs) return {ILLEGAL, 0, 0, -1};
        single = mine == bit;
      }
    }
    int ko = std::popcount(captured) == 1 && single && std::popcount(libs) == 1 ? std::countr_zero(captured) : -1;
    return {0, own, att, ko};
  }

 private:
  const EyeGeometry& g_;
  uint8_t full_;
  uint8_t adj_[256];
};

// State ids: ((configuration * 2 + side) * (n + 1)) + ko + 1, the
// configuration in base 3 (owner stone 1, attacker stone 2).
class StateCodec {
 public:
  explicit StateCodec(int n) : n_(n) {
    int p3 = 1;
    for (int i = 0; i < n; i++) p3 *= 3;
    configs_ = p3;
    for (int set = 0; set < (1 << n); set++) {
      int v = 0, w = 1;
      for (int i = 0; i < n; i++, w *= 3)
        if (set & (1 << i)) v += w;
      base3_[set] = v;
    }
    own_of_.resize(p3);
    att_of_.resize(p3);
    for (int cfg = 0; cfg < p3; cfg++) {
      int v = cfg;
      uint8_t o = 0, a = 0;
      for (int i = 0; i < n; i++, v /= 3) {
        if (v % 3 == 1) o |= uint8_t(1 << i);
        if (v % 3 == 2) a |= uint8_t(1 << i);
      }
      own_of_[cfg] = o;
      att_of_[cfg] = a;
    }
  }
  int size() const { return configs_ * 2 * (n_ + 1); }
  int id(uint8_t own, uint8_t att, int side, int ko) const {
    return ((base3_[own] + 2 * base3_[att]) * 2 + side) * (n_ + 1) + ko + 1;
  }
  uint8_t own(int id) const { return own_of_[id / (n_ + 1) / 2]; }
  uint8_t att(int id) const { return att_of_[id / (n_ + 1) / 2]; }
  int side(int id) const { return id / (n_ + 1) % 2; }
  int ko(int id) const { return id % (n_ + 1) - 1; }

 private:
  int n_, configs_;
  int base3_[256];
  std::vector<uint8_t> own_of_, att_of_;
};

// The game graph of one context, from the given start states, and whether the
// attacker can force the capture with either side as ko master.
class Game {
 public:
  Game(const Space& space, const StateCodec& codec, int c, const std::vector<int>& roots)
      : space_(space), codec_(codec), c_(c), local_(codec.size(), -1) {
    for (int id : roots) discover(id);
    for (size_t i = 0; i < ids_.size(); i++) expand(int(i));
    first_.push_back(int(target_.size()));
    for (int master = 0; master < 2; master++) solve(master);
  }
  // Whether the attacker wins from this state with `master` as ko master.
  bool attacker_wins(int id, int master) const {
    int l = local_[id];
    if (l < 0) abort();
    return win_[master][l];
  }

 private:
  int discover(int id) {
    if (local_[id] < 0) {
      local_[id] = int(ids_.size());
      ids_.push_back(id);
    }
    return local_[id];
  }
  void expand(int l) {
    int id = ids_[l];
    uint8_t own = codec_.own(id), att = codec_.att(id);
    int side = codec_.side(id), ko = codec_.ko(id);
    uint8_t empty = uint8_t(space_.full() & ~(own | att));
    first_.push_back(int(target_.size()));
    uint8_t wall = space_.wall_group(own);
    int wall_libs = std::popcount(space_.wall_libs(wall, empty));
    captured_.push_back(wall_libs + c_ == 0);
    if (wall_libs + c_ == 0) return;
    if (side == ATTACKER && c_ == 1 && wall_libs == 0) add_edge(TERMINAL, false);  // fills the other eye
    for (int p = 0; p < space_.n(); p++) {
      if (!(empty & (1 << p))) continue;
      Move m = space_.play(own, att, side, p, c_);
      if (m.kind == ILLEGAL) continue;
      add_edge(m.kind == TERMINAL ? TERMINAL : discover(codec_.id(m.own, m.att, 1 - side, m.ko)), p == ko);
    }
    add_edge(discover(codec_.id(own, att, 1 - side, -1)), false);
  }
  void add_edge(int target, bool ko_retake) {
    target_.push_back(target);
    ko_retake_.push_back(ko_retake);
  }
  void solve(int master) {
    int states = int(ids_.size());
    std::vector<int> pred_first(states + 1, 0), pred;
    for (int t : target_)
      if (t >= 0) pred_first[t + 1]++;
    for (int i = 0; i < states; i++) pred_first[i + 1] += pred_first[i];
    pred.resize(pred_first[states]);
    std::vector<int> fill(pred_first.begin(), pred_first.end() - 1);
    for (int i = 0; i < states; i++)
      for (int e = first_[i]; e < first_[i + 1]; e++)
        if (target_[e] >= 0) pred[fill[target_[e]]++] = e;
    std::vector<int> edge_from(target_.size());
    for (int i = 0; i < states; i++)
      for (int e = first_[i]; e < first_[i + 1]; e++) edge_from[e] = i;

    std::vector<uint8_t>& win = win_[master];
    win.assign(states, 0);
    std::vector<int> count(states, 0), queue;
    auto allowed = [&](int e) { return !ko_retake_[e] || codec_.side(ids_[edge_from[e]]) == master; };
    for (int i = 0; i < states; i++) {
      bool w = captured_[i];
      for (int e = first_[i]; e < first_[i + 1]; e++) {
        if (!allowed(e)) continue;
        count[i]++;
        if (target_[e] == TERMINAL) w = true;
      }
      if (w) {
        win[i] = 1;
        queue.push_back(i);
      }
    }
    for (size_t q = 0; q < queue.size(); q++) {
      int t = queue[q];
      for (int k = pred_first[t]; k < pred_first[t + 1]; k++) {
        int e = pred[k], i = edge_from[e];
        if (win[i] || !allowed(e)) continue;
        if (codec_.side(ids_[i]) == ATTACKER || --count[i] == 0) {
          win[i] = 1;
          queue.push_back(i);
        }
      }
    }
  }

  const Space& space_;
  const StateCodec& codec_;
  int c_;
  std::vector<int> local_, ids_, first_, target_;
  std::vector<uint8_t> ko_retake_, captured_;
  std::vector<uint8_t> win_[2];
};

// Eye value of a state for one side to move, in context c.
int eye_nibble(const Game* games[2], int c, int id) {
  if (c == 2) return EYE_TWO;
  if (!games[c]->attacker_wins(id, ATTACKER)) return EYE_TWO;
  if (!games[c]->attacker_wins(id, OWNER)) return EYE_KO;
  if (c == 1) return EYE_ONE;
  return games[1]->attacker_wins(id, OWNER) ? EYE_NONE : EYE_ONE;
}

uint8_t start_attackers(const Space& space, int occupancy) {
  int n = space.n();
  uint8_t att = 0;
  for (int i = 0; i < n; i++)
    if (occupancy & (1 << (n - 1 - i))) att |= uint8_t(1 << i);
  // Stones without a liberty cannot stand: they count as already captured.
  uint8_t empty = uint8_t(space.full() & ~att);
  return uint8_t(att & ~space.dead_strings(att, att, empty));
}

}  // namespace

void solve_eye_space(const EyeGeometry& g, uint8_t* out) {
  Space space(g);
  StateCodec codec(g.n);
  int patterns = 1 << g.n;
  std::vector<int> roots;
  std::vector<uint8_t> start(patterns);
  for (int occ = 0; occ < patterns; occ++) {
    start[occ] = start_attackers(space, occ);
    for (int side = 0; side < 2; side++) roots.push_back(codec.id(0, start[occ], side, -1));
  }
  Game game0(space, codec, 0, roots), game1(space, codec, 1, roots);
  const Game* games[2] = {&game0, &game1};

  for (int occ = 0; occ < patterns; occ++) {
    uint8_t att = start[occ], empty = uint8_t(space.full() & ~att);
    for (int c = 0; c < EYE_CONTEXT_NUM; c++) {
      int value[2], masks[2] = {0, 0};
      for (int side = 0; side < 2; side++) value[side] = eye_nibble(games, c, codec.id(0, att, side, -1));
      // A wall without liberties is already captured: no move can matter.
      bool captured = c == 0 && !space.wall_libs(0, empty);
      if (value[ATTACKER] < value[OWNER] && !captured) {
        for (int side = 0; side < 2; side++) {
          for (int p = 0; p < g.n; p++) {
            if (!(empty & (1 << p))) continue;
            Move m = space.play(0, att, side, p, c);
            if (m.kind == ILLEGAL) continue;
            int v = m.kind == TERMINAL ? EYE_NONE : eye_nibble(games, c, codec.id(m.own, m.att, 1 - side, m.ko));
            if (side == ATTACKER ? v <= value[ATTACKER] : v >= value[OWNER]) masks[side] |= 1 << (g.n - 1 - p);
          }
        }
      }
      uint8_t* entry = out + (occ * EYE_CONTEXT_NUM + c) * 3;
      entry[0] = uint8_t(value[ATTACKER] << 4 | value[OWNER]);
      entry[1] = uint8_t(masks[ATTACKER]);
      entry[2] = uint8_t(masks[OWNER]);
    }
  }
}
