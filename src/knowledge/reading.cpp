#include "knowledge/reading.h"

#include <algorithm>
#include <cstdlib>

#include "core/internal_stop.h"
#include "core/log.h"
#include "core/random.h"

namespace {

constexpr int READ_LIST_MAX = 64;       // candidates collected before the cap
constexpr int READ_NEIGHBOUR_MAX = 28;  // neighbouring strings looked at
constexpr int READING_KEY_INDEX = 0;    // extra key marking reading positions
constexpr int HASH64_PROBES = 3;

struct Hash64Entry {
  uint32_t key_lo, key_hi;
  uint16_t used;
  int16_t result;
  uint16_t depth;
  uint16_t move;
  uint32_t nodes;
  uint32_t unused;
};
static_assert(sizeof(Hash64Entry) == 24);

long hash64_use[2], hash64_over[2];

// Made on first use; the function-local static keeps two threads that read
// first at the same moment from both allocating.
Hash64Entry* allocate_hash64() {
  auto* table = static_cast<Hash64Entry*>(calloc(HASH64_NUM, sizeof(Hash64Entry)));
  if (!table) {
    PRT("Fail malloc hash64\n");
    internal_stop();
  }
  PRT("Hash64=%7d(%3dMB),sizeof(HASH64)=%d\n", HASH64_NUM, int(long(HASH64_NUM) * sizeof(Hash64Entry) >> 20),
      int(sizeof(Hash64Entry)));
  return table;
}

Hash64Entry* hash64() {
  static Hash64Entry* table = allocate_hash64();
  return table;
}
ReadingState states[2];

int budget(int depth) {
  if (depth <= 1) return 30;
  if (depth <= 3) return 100;
  if (depth <= 5) return 500;
  return 3000;
}

uint64_t fold(const Hash96& h) { return uint64_t(h.w[0]) << 32 | h.w[1]; }

template <int S>
uint64_t position_key(const Board<S>& b) {
  if constexpr (S == 256) return fold(b.hash);
  else return b.hash.v;
}

// The reading-mode key, and the point read, keep reading entries apart from
// ordinary positions and from readings of other strings.
template <int S>
uint64_t target_key(int z) {
  uint64_t mode = fold(extra_key96[READING_KEY_INDEX]);
  if constexpr (S == 256) return mode ^ fold(hash_key96[z][3]);
  else return mode ^ hashboard64[z][3].v;
}

int probe_index(uint32_t lo, int k) {
  int first = int(lo & (HASH64_HALF - 1));
  return k == 0 ? first : (first + probe_offset[k - 1]) & (HASH64_HALF - 1);
}

const Hash64Entry* hash64_find(const ReadingState& rs, uint64_t key) {
  uint32_t lo = uint32_t(key), hi = uint32_t(key >> 32);
  Hash64Entry* half = hash64() + long(rs.half) * HASH64_HALF;
  for (int k = 0; k < HASH64_PROBES; k++) {
    const Hash64Entry& e = half[probe_index(lo, k)];
    if (!e.used) return nullptr;
    if (e.key_lo == lo && e.key_hi == hi) return &e;
  }
  return nullptr;
}

void hash64_store(const ReadingState& rs, uint64_t key, int result, int depth, int move, long nodes) {
  uint32_t lo = uint32_t(key), hi = uint32_t(key >> 32);
  Hash64Entry* half = hash64() + long(rs.half) * HASH64_HALF;
  Hash64Entry* victim = nullptr;
  for (int k = 0; k < HASH64_PROBES; k++) {
    Hash64Entry& e = half[probe_index(lo, k)];
    if (!e.used) {
      hash64_use[rs.half]++;
      victim = &e;
      break;
    }
    if (e.key_lo == lo && e.key_hi == hi) {
      if (e.depth > depth) return;
      victim = &e;
      break;
    }
    if (!victim || e.nodes < victim->nodes) victim = &e;
  }
  if (victim->used && (victim->key_lo != lo || victim->key_hi != hi)) hash64_over[rs.half]++;
  *victim = {lo, hi, 1, int16_t(result), uint16_t(depth), uint16_t(move), uint32_t(nodes), 0};
}

struct Candidate {
  int z, value;
};

struct MoveList {
  Candidate c[READ_LIST_MAX];
  int n = 0;
  bool has(int z) const {
    for (int i = 0; i < n; i++)
      if (c[i].z == z) return true;
    return false;
  }
  void add(int z, int value) {
    if (z == 0) {
      PRT("連死活の殺す手でパス？\n");
      internal_stop();
    }
    if (n < READ_LIST_MAX && !has(z)) c[n++] = {z, value};
  }
  // Best first, ties in the order found; only the first READ_MOVES_MAX are
  // tried. An insertion sort: the lists are short and it needs no buffer.
  void order() {
    for (int i = 1; i < n; i++) {
      Candidate x = c[i];
      int j = i;
      for (; j > 0 && c[j - 1].value < x.value; j--) c[j] = c[j - 1];
      c[j] = x;
    }
    n = std::min(n, READ_MOVES_MAX);
  }
};

template <int S>
struct Reader {
  static constexpr int DIR[4] = {1, -1, S, -S};
  Board<S>& b;
  ReadingState& rs;
  int def, att;

  const StringRecord<S>& target() const { return b.ren[string_of(b, rs.target)]; }
  int empty_neighbours(int p) const {
    int n = 0;
    for (int d : DIR) n += b.ban[p + d] == EMPTY;
    return n;
  }
  bool out_of_budget() const {
    return rs.nodes - rs.iteration_start >= budget(rs.iteration_depth) || b.ren_num >= READ_STRINGS_MAX;
  }
  // About how many liberties a stone of `color` at the empty point p would
  // have: its empty neighbours, the other liberties of the strings it joins
  // (shared ones counted twice) and the stones of strings it captures.
  // Close enough to order moves by, and cheap.
  int libs_after(int p, int color) const {
    int n = 0, joined[4], j = 0;
    for (int d : DIR) {
      int q = p + d;
      int c = b.ban[q];
      if (c == EMPTY) {
        n++;
      } else if (c == color || c == opponent(color)) {
        int r = string_of(b, q);
        if (std::find(joined, joined + j, r) != joined + j) continue;
        joined[j++] = r;
        const StringRecord<S>& s = b.ren[r];
        if (c == color) n += s.lib_num - 1;
        else if (s.lib_num == 1) n += s.stones;
      }
    }
    return n;
  }
  bool too_free(int libs, int remaining) const { return libs >= 3 && 2 * libs - 1 > remaining; }
  int remaining(int ply) const { return rs.depth - (ply - rs.start_ply); }

  // Plays a candidate; false when the rules refuse it.
  bool play(int z, int color) {
    if (z == 0) {
      PRT("put_z=0!\n");
      internal_stop();
    }
    if (b.ban[z] != EMPTY) {
      if constexpr (S == 256)
        PRT("死活防ぐ手の、置くべき場所が空白じゃない z=%x ,fukasa=%d,start_fukasa=%d\n", z, b.fukasa, rs.start_ply);
      else
        PRT("死活防ぐ手の、置くべき場所が空白じゃない z=%x ,depth=%d,start_depth=%d\n", to_point_code<S>(z), b.fukasa,
            rs.start_ply);
      internal_stop();
    }
    return put_stone(b, z, color) == PUT_OK;
  }

  // The liberties of a string in atari next to `around`'s stones.
  template <typename F>
  void for_neighbour_strings(const StringRecord<S>& around, int color, F f) const {
    int seen[READ_NEIGHBOUR_MAX], n = 0;
    for (int s = around.first; s; s = b.next_stone[s]) {
      for (int d : DIR) {
        int p = s + d;
        if (b.ban[p] != color) continue;
        int r = string_of(b, p);
        if (std::find(seen, seen + n, r) != seen + n) continue;
        if (n == READ_NEIGHBOUR_MAX) return;
        seen[n++] = r;
        f(b.ren[r]);
      }
    }
  }

  // The defender's previous move, when it is a stone of his still on the board.
  int last_defender_stone() const {
    if (b.fukasa <= 0) return 0;
    const MoveRecord<S>& m = b.te[b.fukasa - 1];
    if (m.z == 0 || m.color != def) return 0;
    if (b.ban[m.z] == EMPTY) {
      PRT("直前に打たれたのが空白！致命的なエラー！ z=%x \n", to_point_code<S>(m.z));
      internal_stop();
    }
    if (b.ban[m.z] != def) {
      PRT("直前に打たれた石の色が違う！致命的なエラー！ z=%x \n", to_point_code<S>(m.z));
      internal_stop();
    }
    return m.z;
  }

  // Attacker's candidates, best first; `last` is the defender's previous stone.
  void attack_moves(MoveList& list, const StringRecord<S>& t, int last) {
    int libs = t.lib_num;
    if (last) {
      const StringRecord<S>& r = b.ren[string_of(b, last)];
      if (r.lib_num == 1) list.add(r.libs[0], 1000);
    }
    // The attacker's own stones around the target: a wall in atari must be
    // saved before the defender takes it and breaks out, and a defender
    // string in atari next to the wall is taken for the same reason.
    for_neighbour_strings(t, att, [&](const StringRecord<S>& wall) {
      if (wall.lib_num == 1 && libs_after(wall.libs[0], att) >= 2) list.add(wall.libs[0], 950 + wall.stones);
      for_neighbour_strings(wall, def, [&](const StringRecord<S>& r) {
        if (r.lib_num == 1) list.add(r.libs[0], 900 + (wall.lib_num == 1 ? 40 : 0));
      });
    });
    // What a stone on each liberty would have: the defender's extension, and
    // whether the attacker's own stone there would stand (not a self-atari).
    constexpr int LIBS_SEEN = 8;
    int n = std::min(libs, LIBS_SEEN);
    int gain[LIBS_SEEN], stands[LIBS_SEEN];
    int escape = 0, escape_libs = -1;
    for (int i = 0; i < n; i++) {
      gain[i] = libs_after(t.libs[i], def);
      stands[i] = empty_neighbours(t.libs[i]) >= 2 || libs_after(t.libs[i], att) >= 2;
      if (gain[i] > escape_libs) escape = t.libs[i], escape_libs = gain[i];
    }
    // The target's liberties, leaving it the one with the fewest ways out.
    // Filling a liberty where the attacker's stone would itself be in atari
    // is a throw-in: kept, but after the safe fills.
    for (int i = 0; i < n; i++) {
      int most_other = 0;
      for (int j = 0; j < n; j++)
        if (j != i) most_other = std::max(most_other, gain[j]);
      int value = 100 + empty_neighbours(t.libs[i]) - 3 * most_other;
      if (t.libs[i] == escape) value += 4;
      if (!stands[i]) value -= 40;
      list.add(t.libs[i], value);
    }
    // Second-order liberties: the net's key points touch two liberties or
    // close the defender's best way out; where a liberty cannot be filled
    // safely, the approach from outside (back-filling) comes first.
    for (int i = 0; i < n; i++) {
      int lib = t.libs[i];
      for (int d : DIR) {
        int p = lib + d;
        if (b.ban[p] != EMPTY) continue;
        int touching = 0;
        for (int k = 0; k < n; k++)
          for (int e : DIR) touching += p + e == t.libs[k];
        int value = 10 * touching - empty_neighbours(p);
        if (lib == escape) value += 15;
        if (!stands[i]) value += 30;
        list.add(p, value);
      }
    }
    list.order();
  }

  int attack(int ply) {
    rs.nodes++;
    long start_nodes = rs.nodes;
    if (out_of_budget()) return READ_LIVE;
    const StringRecord<S>& t = target();
    if (t.lib_num == 1 && !(t.stones == 1 && t.libs[0] == b.kou_iti)) {
      rs.move[ply] = t.libs[0];
      return READ_DEAD;
    }
    int libs = t.lib_num;
    if (ply - rs.start_ply >= rs.max_ply || too_free(libs, remaining(ply))) return READ_LIVE;
    if (b.fukasa >= TE_INFO_MAX - 2) {
      PRT("depth over\n");
      return READ_LIVE;
    }
    uint64_t key = position_key(b) ^ rs.target_key;
    if (const Hash64Entry* e = hash64_find(rs, key); e && e->result == READ_DEAD) {
      rs.move[ply] = e->move;
      return READ_DEAD;
    }

    MoveList list;
    int last = last_defender_stone();
    attack_moves(list, t, last);
    for (int i = 0; i < list.n; i++) {
      int z = list.c[i].z;
      if (b.ban[z] != EMPTY) continue;  // an answer appended below may be a listed point
      if (!play(z, att)) continue;
      int saved_depth = rs.depth;
      if (last && b.ban[last] == EMPTY) rs.depth += 2;
      int after = target().lib_num;
      int result = READ_LIVE;
      rs.move[ply + 1] = 0;
      if (!(after > 1 && too_free(after, remaining(ply) - 1))) result = defend(ply + 1, 0, after == libs);
      take_back(b, z, att);
      rs.depth = saved_depth;
      if (result == READ_DEAD) {
        rs.move[ply] = z;
        hash64_store(rs, key, READ_DEAD, rs.depth, z, rs.nodes - start_nodes + 1);
        return READ_DEAD;
      }
      int answer = rs.move[ply + 1];
      if (libs > 2 && answer && b.ban[answer] == EMPTY && !list.has(answer) && list.n < READ_MOVES_MAX)
        list.c[list.n++] = {answer, 0};
      if (out_of_budget()) break;
    }
    return READ_LIVE;
  }

  // Defender's candidates: capture attacking strings in atari, extend on the
  // liberties that gain most, counter-atari attacking strings short of
  // liberties.
  void defence_moves(MoveList& list, int first) {
    if (first) list.add(first, 2000);
    const StringRecord<S>& t = target();
    for_neighbour_strings(t, att, [&](const StringRecord<S>& r) {
      if (r.lib_num == 1) list.add(r.libs[0], 1000 + r.stones);
    });
    for (int i = 0; i < t.lib_num; i++) {
      int gain = libs_after(t.libs[i], def);
      list.add(t.libs[i], 100 + 10 * gain);
    }
    // In atari only a capture or an extension can help.
    if (t.lib_num == 1) {
      list.order();
      return;
    }
    for_neighbour_strings(t, att, [&](const StringRecord<S>& r) {
      if (r.lib_num == 2)
        for (int i = 0; i < 2; i++) list.add(r.libs[i], 50 + 10 * empty_neighbours(r.libs[i]));
    });
    // Strengthening a friendly string next to a liberty turns that liberty
    // into a connection the attacker cannot fill.
    int self = string_of(b, rs.target);
    for (int i = 0; i < t.lib_num; i++) {
      for (int d : DIR) {
        int p = t.libs[i] + d;
        if (b.ban[p] != def || string_of(b, p) == self) continue;
        const StringRecord<S>& f = b.ren[string_of(b, p)];
        if (f.lib_num <= 3)
          for (int k = 0; k < f.lib_num; k++) list.add(f.libs[k], 20 + empty_neighbours(f.libs[k]));
      }
    }
    list.order();
  }

  // may_pass: the attacker's last move took no liberty, so the defender may
  // also leave it unanswered when no move helps (a string whose liberties
  // are all eyes needs none).
  int defend(int ply, int first = 0, bool may_pass = false) {
    rs.nodes++;
    rs.move[ply] = 0;
    if (out_of_budget()) return READ_LIVE;
    if (b.fukasa >= TE_INFO_MAX - 2) {
      PRT("depth over\n");
      return READ_LIVE;
    }
    MoveList list;
    defence_moves(list, first);
    for (int i = 0; i < list.n; i++) {
      int z = list.c[i].z;
      if (!play(z, def)) continue;
      rs.move[ply + 1] = 0;
      int result = attack(ply + 1);
      take_back(b, z, def);
      if (result == READ_LIVE) {
        rs.move[ply] = z;
        return READ_LIVE;
      }
      if (out_of_budget()) return READ_LIVE;
    }
    if (may_pass) {
      rs.depth++;  // the pass spends no depth
      int result = attack(ply + 1);
      rs.depth--;
      rs.move[ply] = 0;
      return result;
    }
    return READ_DEAD;
  }
};

template <int S>
void begin_reading(const Board<S>& b, int z, ReadingState& rs) {
  rs.target = z;
  rs.target_key = target_key<S>(z);
  rs.start_ply = b.fukasa;
  rs.max_ply = READ_PLY_MAX;
}

}  // namespace

ReadingState& reading_state(int thread) {
  ReadingState& s = states[thread & 1];
  s.half = thread & 1;
  return s;
}

void reading_table_init() { hash64(); }

void reading_table_clear() {
  std::fill(hash64(), hash64() + HASH64_NUM, Hash64Entry{});
  hash64_use[0] = hash64_use[1] = hash64_over[0] = hash64_over[1] = 0;
}

ReadingTableUse reading_table_use() { return {hash64_use[0] + hash64_use[1], hash64_over[0] + hash64_over[1]}; }

void reading_table_report() {
  ReadingTableUse u = reading_table_use();
  PRT("hash64_use=%d(%3.1f%%),over=%d\n", int(u.used), u.used * 100.0 / HASH64_NUM, int(u.over));
}

template <int S>
int kill_string(Board<S>& b, int z, ReadingState& rs) {
  int def = b.ban[z];
  if (def != BLACK && def != WHITE) {
    PRT("殺す石がない！=%04x\n", to_point_code<S>(z));
    internal_stop();
  }
  if (rs.max_depth < 3) return 0;
  begin_reading(b, z, rs);
  Reader<S> r{b, rs, def, opponent(def)};
  int result = READ_LIVE;
  for (int depth = 3; depth <= rs.max_depth; depth += 2) {
    rs.depth = rs.iteration_depth = depth;
    rs.iteration_start = rs.nodes;
    rs.move[b.fukasa] = 0;
    result = r.attack(b.fukasa);
    if (result == READ_DEAD) break;
    rs.move[b.fukasa] = 0;
  }
  return result;
}

template <int S>
int save_string(Board<S>& b, int z, int attack, ReadingState& rs) {
  int def = b.ban[z];
  if (def != BLACK && def != WHITE) {
    PRT("生きる石がない！=%04x\n", to_point_code<S>(z));
    return READ_LIVE;
  }
  begin_reading(b, z, rs);
  Reader<S> r{b, rs, def, opponent(def)};
  // A defence found at a shallow depth may fail deeper: it must hold at
  // every depth up to the configured one.
  int result = READ_LIVE, move = 0;
  int first = attack && b.ban[attack] == EMPTY ? attack : 0;
  for (int depth = 3; depth <= std::max(3, rs.max_depth); depth += 2) {
    rs.depth = rs.iteration_depth = depth;
    rs.iteration_start = rs.nodes;
    result = r.defend(b.fukasa, first);
    if (result == READ_DEAD) break;
    if (rs.move[b.fukasa]) move = rs.move[b.fukasa];  // a spent budget names no move
  }
  rs.move[b.fukasa] = result == READ_LIVE ? move : 0;
  return result;
}

template int kill_string<256>(Board<256>&, int, ReadingState&);
template int kill_string<32>(Board<32>&, int, ReadingState&);
template int save_string<256>(Board<256>&, int, int, ReadingState&);
template int save_string<32>(Board<32>&, int, int, ReadingState&);
