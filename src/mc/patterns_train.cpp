#include "mc/patterns_train.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>

#include "core/log.h"
#include "knowledge/gamedb_source.h"
#include "mc/patterns.h"

namespace {

constexpr int TRAIN_BOARD = 19;
constexpr int GAME_MOVES_MAX = 1000;
constexpr float GAMMA_UNSEEN = 0.01f;
constexpr float GAMMA_FLOOR = 0.002f;
// Keeps the integer weights (gamma * 1000 * 16) and their sums in 32 bits.
constexpr float GAMMA_CEILING = 10000.0f;
constexpr int WEAK_MIN_SEEN_FOR_MAX = 50;
constexpr size_t BIG_COUNTER_SLOTS = 1u << 23;
constexpr size_t BIG_COUNTER_PRUNE_AT = BIG_COUNTER_SLOTS / 2;
// The engine's count resolution: a listed ratio is played / 65535.
constexpr double RATIO_COUNT_MAX = 65535;
// Half the list's room: the lookup table (8 keys a record) stays half empty,
// so that the many lookups of unlisted patterns end within a few probes.
constexpr int BIG_LIST_RECORDS = HASHPAT_LIST_NUM / 2;

// The position before move t of a game: the board, the move, the mover and
// the last two moves (0 for none or a pass).
struct Position {
  const GlobalBoard& b;
  int z, color, last, last2;
};

bool legal_candidate(const GlobalBoard& b, int z, int color) {
  if (b.ban[z] != EMPTY || z == b.kou_iti) return false;
  for (int d : {1, -1, 256, -256}) {
    const int c = b.ban[z + d];
    if (c == EMPTY) return true;
    if (c != BLACK && c != WHITE) continue;
    const int libs = b.ren[string_of(b, z + d)].lib_num;
    if ((c == color && libs >= 2) || (c == opponent(color) && libs == 1)) return true;
  }
  return false;
}

int candidates_of(const GlobalBoard& b, int color, int* out) {
  int n = 0;
  for (int y = 1; y <= b.size; y++) {
    for (int x = 1; x <= b.size; x++) {
      if (legal_candidate(b, make_z(x, y), color)) out[n++] = make_z(x, y);
    }
  }
  return n;
}

// Replays games [first, end) of the sources (every step-th) and hands each
// sampled position whose move is a legal candidate to visit.
long replay_games(const std::vector<std::string>& sources, long first, long end, int game_step, int move_step,
                  int move_max, const std::function<void(const Position&)>& visit) {
  static GlobalBoard board;
  static int zs[GAME_MOVES_MAX], colors[GAME_MOVES_MAX];
  long games = 0;
  for_each_source_game(sources, [&](const GameRecord& rec, long index) {
    if (end >= 0 && index >= end) return false;
    if (index < first || (index - first) % game_step != 0) return true;
    const Figure& f = rec.main;
    if (f.b_size != TRAIN_BOARD || has_setup_stones(f)) return true;
    const int n = main_line_moves(f, zs, colors, std::min(move_max, GAME_MOVES_MAX - 1));
    board_reset(board, TRAIN_BOARD);
    games++;
    for (int t = 0; t < n; t++) {
      const int z = zs[t], c = colors[t];
      if (z == 0) break;
      if ((t % move_step) == int(index % move_step) && legal_candidate(board, z, c)) {
        visit(Position{board, z, c, t > 0 ? zs[t - 1] : 0, t > 1 ? zs[t - 2] : 0});
      }
      if (board.ban[z] != EMPTY || put_stone(board, z, c) != PUT_OK) break;
      if (board.fukasa >= TE_INFO_MAX - 2) break;
    }
    return true;
  });
  return games;
}

int mm_feature_of(const GlobalBoard& b, int z, int color, int last) {
  const int s = pattern_position_class(z_x(z) - 1, z_y(z) - 1, b.size);
  int p = pattern3x3_code(b, z);
  if (color == WHITE) p = pattern3x3_swap(p);
  return mm3x3_feature(s, pattern_neighbour_index<256>(z, last), p);
}

constexpr int PACKED_BYTES = 15;  // 60 points, 2 bits each

// Large patterns counted by their plain key; the content is kept so that the
// symmetric images can be merged at the end.
struct BigCount {
  uint64_t key;
  uint32_t seen;
  uint8_t size;
  uint8_t packed[PACKED_BYTES];
};

struct BigCounter {
  std::vector<BigCount> slots = std::vector<BigCount>(BIG_COUNTER_SLOTS);
  size_t used = 0;

  BigCount* find(uint64_t key) {
    size_t i = (key ^ (key >> 31)) & (slots.size() - 1);
    while (slots[i].key != 0 && slots[i].key != key) i = (i + 1) & (slots.size() - 1);
    return &slots[i];
  }
  void count(uint64_t key, int size, const uint8_t* content) {
    BigCount* c = find(key);
    if (c->key == 0) {
      *c = BigCount{};
      c->key = key;
      c->size = uint8_t(size);
      for (int i = 0; i < big_pattern_points(size); i++) c->packed[i >> 2] |= uint8_t(content[i] << ((i & 3) * 2));
      used++;
    }
    c->seen++;
  }
  // Keeps memory bounded: when the table is half full the rarest patterns are
  // forgotten, with a rising bar, until a quarter of it is left.
  void prune() {
    if (used < BIG_COUNTER_PRUNE_AT) return;
    std::vector<BigCount> keep;
    for (uint32_t bar = 2; used > BIG_COUNTER_PRUNE_AT / 2; bar *= 2) {
      keep.clear();
      for (const BigCount& c : slots) {
        if (c.key && c.seen >= bar) keep.push_back(c);
      }
      std::fill(slots.begin(), slots.end(), BigCount{});
      used = 0;
      for (const BigCount& c : keep) *find(c.key) = c, used++;
    }
  }
};

void unpack(const uint8_t* packed, uint8_t* content) {
  for (int i = 0; i < BIG_PATTERN_POINTS; i++) content[i] = (packed[i >> 2] >> ((i & 3) * 2)) & 3;
}

bool write_file(const std::string& path, const std::vector<std::pair<const void*, size_t>>& parts) {
  FILE* fp = fopen(path.c_str(), "wb");
  if (!fp) return false;
  bool ok = true;
  for (auto& [data, bytes] : parts) ok &= fwrite(data, 1, bytes, fp) == bytes;
  return (fclose(fp) == 0) && ok;
}

// The large patterns that may enter the list: symmetric images merged under
// the smallest key, each seen at least min_seen times. Every plain key of a
// pattern maps to its pool index.
struct PatternPool {
  struct Entry {
    uint64_t canonical;
    uint8_t size;
    uint8_t packed[PACKED_BYTES];
  };
  std::vector<Entry> entries;
  std::vector<uint64_t> slot_key;
  std::vector<int32_t> slot_id;

  size_t slot(uint64_t key) const {
    const size_t mask = slot_key.size() - 1;
    size_t i = (key ^ (key >> 29)) & mask;
    while (slot_key[i] != 0 && slot_key[i] != key) i = (i + 1) & mask;
    return i;
  }
  int find(uint64_t key) const {
    const size_t i = slot(key);
    return slot_key[i] == key ? slot_id[i] : -1;
  }
  int size() const { return int(entries.size()); }
};

PatternPool pattern_pool(const BigCounter& counter, int min_seen) {
  struct Merged {
    uint64_t canonical, key;
    uint32_t seen;
    const BigCount* sample;
  };
  std::vector<Merged> all;
  uint8_t content[BIG_PATTERN_POINTS];
  uint64_t keys[8];
  for (const BigCount& c : counter.slots) {
    if (!c.key) continue;
    unpack(c.packed, content);
    big_pattern_symmetric_keys(content, c.size, keys);
    all.push_back(Merged{*std::min_element(keys, keys + 8), c.key, c.seen, &c});
  }
  std::sort(all.begin(), all.end(), [](const Merged& a, const Merged& b) {
    return a.canonical != b.canonical ? a.canonical < b.canonical : a.key < b.key;
  });
  PatternPool pool;
  for (size_t i = 0; i < all.size();) {
    size_t j = i;
    uint32_t seen = 0;
    for (; j < all.size() && all[j].canonical == all[i].canonical; j++) seen += all[j].seen;
    if (seen >= uint32_t(min_seen)) {
      PatternPool::Entry e{all[i].canonical, all[i].sample->size, {}};
      std::copy(all[i].sample->packed, all[i].sample->packed + PACKED_BYTES, e.packed);
      pool.entries.push_back(e);
    }
    i = j;
  }
  size_t slots = 1024;
  while (slots < pool.entries.size() * 16) slots *= 2;
  pool.slot_key.assign(slots, 0);
  pool.slot_id.assign(slots, -1);
  for (int id = 0; id < pool.size(); id++) {
    unpack(pool.entries[id].packed, content);
    big_pattern_symmetric_keys(content, pool.entries[id].size, keys);
    for (uint64_t k : keys) {
      const size_t i = pool.slot(k);
      pool.slot_key[i] = k, pool.slot_id[i] = id;
    }
  }
  return pool;
}

constexpr char ANCHOR = 2;  // in the listed flags: the pattern fixing its size's scale
constexpr int GROUPS = 1 + BIG_PATTERN_SIZE_MAX - BIG_PATTERN_SIZE_MIN + 1;  // 3x3, then sizes 2..5

// Every sampled position a competition among its candidates. A candidate's
// strength is the product the tree's prior takes: its fixed context factor
// (distance, line, second ring, the weight's multiplier next to the last
// move) x the 3x3 gamma x one gamma per large-pattern size. A large pattern
// off the list has its size's shared "unlisted" gamma.
struct Competitions {
  std::vector<uint32_t> begin{0};
  std::vector<uint32_t> winner;
  std::vector<int32_t> feature[GROUPS];
  std::vector<float> context;
  size_t candidates() const { return context.size(); }
};

int unlisted_id(const PatternPool& pool, int size) { return pool.size() + size - BIG_PATTERN_SIZE_MIN; }

struct JointGammas {
  std::vector<double> g3;   // per 3x3 feature
  std::vector<double> big;  // per pool pattern, then the unlisted of each size
};

// The integer weight's multiplier of a 3x3 feature: 16 next to the last move.
int weight_multiplier(int f3) {
  return (f3 / PATTERN3X3_NUM) % NEIGHBOUR_INDEX_NUM < NEIGHBOUR_NONE ? NEAR_LAST_FACTOR_19 : 1;
}

// One pass over the competitions: the sum over each candidate of its share
// of the position's total strength without the group's own gamma, per feature
// of the group (the MM denominator). Returns the mean log-likelihood of the
// moves played. weight_alone: a candidate's strength is its 3x3 weight only,
// as the playouts see it.
double mm_sweep(const Competitions& c, JointGammas& g, int group, std::vector<double>& denominator,
                bool weight_alone) {
  std::fill(denominator.begin(), denominator.end(), 0.0);
  std::vector<double> strength(BOARD_MAX * BOARD_MAX);
  double log_likelihood = 0;
  const size_t positions = c.winner.size();
  const int32_t* feature = c.feature[group].data();
  const std::vector<double>& own = group == 0 ? g.g3 : g.big;
  for (size_t j = 0; j < positions; j++) {
    const uint32_t b = c.begin[j], e = c.begin[j + 1];
    double total = 0;
    for (uint32_t i = b; i < e; i++) {
      const int f3 = c.feature[0][i];
      const double s = weight_alone ? g.g3[f3] * weight_multiplier(f3)
                                    : c.context[i] * g.g3[f3] * g.big[c.feature[1][i]] * g.big[c.feature[2][i]] *
                                          g.big[c.feature[3][i]] * g.big[c.feature[4][i]];
      strength[i - b] = s;
      total += s;
    }
    log_likelihood += std::log(strength[c.winner[j] - b] / total);
    const double inv = 1.0 / total;
    for (uint32_t i = b; i < e; i++) denominator[feature[i]] += strength[i - b] * inv / own[feature[i]];
  }
  return positions ? log_likelihood / double(positions) : 0.0;
}

// Coulom's minorization-maximization, one feature group at a time. Each
// gamma has a virtual win and a virtual loss against its group's reference
// (the open empty point for the 3x3 group, the unlisted gamma of its size for
// the large patterns) as the prior. A listed pattern's gamma stays within
// what the list can express: 1/1000 to 65.535 times the unlisted gamma.
double mm_iterate(const Competitions& c, const PatternPool& pool, const std::vector<char>& listed,
                  const std::vector<double> wins[GROUPS], JointGammas& g, int iterations, int first_group,
                  int end_group, bool weight_alone, FILE* progress) {
  std::vector<double> denominator;
  double ll = 0;
  for (int it = 0; it < iterations; it++) {
    for (int group = first_group; group < end_group; group++) {
      denominator.assign(group == 0 ? g.g3.size() : g.big.size(), 0.0);
      ll = mm_sweep(c, g, group, denominator, weight_alone);
      if (group == 0) {
        for (size_t f = 0; f < g.g3.size(); f++) {
          if (denominator[f] > 0) g.g3[f] = (wins[0][f] + 1.0) / (denominator[f] + 2.0 / (g.g3[f] + 1.0));
        }
        continue;
      }
      const int size = BIG_PATTERN_SIZE_MIN + group - 1;
      const int u = unlisted_id(pool, size);
      g.big[u] = (wins[group][u] + 1.0) / (denominator[u] + 2.0 / (g.big[u] + 1.0));
      for (int f = 0; f < pool.size(); f++) {
        if (pool.entries[f].size != size || !listed[f]) continue;
        if (listed[f] == ANCHOR) {
          g.big[f] = g.big[u] / BIG_PATTERN_SCALE;
          continue;
        }
        if (denominator[f] <= 0) continue;
        const double v = (wins[group][f] + 1.0) / (denominator[f] + 2.0 / (g.big[f] + g.big[u]));
        g.big[f] = std::clamp(v, g.big[u] / BIG_PATTERN_SCALE, g.big[u] * (RATIO_COUNT_MAX / BIG_PATTERN_SCALE));
      }
    }
    if (progress) fprintf(progress, "MM iteration %d: mean log-likelihood %.5f\n", it + 1, ll), fflush(progress);
  }
  return ll;
}

// What listing each pool pattern gains in log-likelihood over leaving it to
// its size's unlisted gamma, to first order with the other factors held.
std::vector<double> listing_gains(const Competitions& c, const PatternPool& pool, const std::vector<double> wins[GROUPS],
                                  JointGammas& g) {
  std::vector<double> gain(pool.size(), 0.0), denominator(g.big.size());
  for (int group = 1; group < GROUPS; group++) {
    mm_sweep(c, g, group, denominator, false);
    for (int f = 0; f < pool.size(); f++) {
      if (pool.entries[f].size != BIG_PATTERN_SIZE_MIN + group - 1 || denominator[f] <= 0) continue;
      const double u = g.big[unlisted_id(pool, pool.entries[f].size)];
      gain[f] = wins[group][f] * std::log(g.big[f] / u) - (g.big[f] - u) * denominator[f];
    }
  }
  return gain;
}

std::vector<float> mm_file_image(const std::vector<float>& gamma) {
  std::vector<float> file(MM3X3_FLOATS, 0.0f);
  for (int s = 0; s < POSITION_CLASS_NUM; s++) {
    for (int k = 0; k < NEIGHBOUR_INDEX_NUM; k++) {
      for (int p = 0; p < PATTERN3X3_NUM; p++) {
        const int f = mm3x3_feature(s, k, p);
        file[mm3x3_index(BLACK, s, k, p)] = gamma[f];
        const long white = mm3x3_index(WHITE, s, k, p);
        if (white < MM3X3_FLOATS) file[white] = gamma[mm3x3_feature(s, k, pattern3x3_swap(p))];
      }
    }
  }
  return file;
}

std::vector<float> gamma3_out(const std::vector<double>& g3, const std::vector<char>& seen) {
  // The open empty point is the unit.
  const double unit = g3[mm3x3_feature(0, NEIGHBOUR_NONE, 0)];
  std::vector<float> out(MM3X3_USED);
  for (long f = 0; f < MM3X3_USED; f++) {
    out[f] = seen[f] ? std::clamp(float(g3[f] / unit), GAMMA_FLOOR, GAMMA_CEILING) : GAMMA_UNSEEN;
  }
  return out;
}

uint8_t weak_byte(uint32_t seen, uint32_t played, double best) {
  if (seen == 0) return 0;
  const double ratio = (played + 0.5) / (seen + 1.0);
  const double b = 255.0 + std::log(ratio / best) / std::log(1.04);
  return uint8_t(std::clamp(b, 0.0, 255.0));
}

}  // namespace

bool train_patterns(const std::vector<std::string>& sources, const PatternTrainOptions& opt,
                    const std::string& out_dir, PatternTrainReport& report) {
  make_big_pattern_tables();
  static BigCounter big;
  std::fill(big.slots.begin(), big.slots.end(), BigCount{});
  big.used = 0;
  std::vector<uint32_t> weak_seen(WEAK_A_NUM + WEAK_B_NUM), weak_played(WEAK_A_NUM + WEAK_B_NUM);
  int cand[BOARD_MAX * BOARD_MAX];
  uint8_t content[BIG_PATTERN_POINTS];
  uint64_t keys[BIG_PATTERN_SIZE_MAX + 1];

  // First pass: which large patterns are common enough to be weighed, and
  // the weak choice's counts.
  size_t candidates = 0, positions = 0;
  replay_games(sources, opt.first_game, opt.end_game, opt.game_step, opt.move_step, opt.move_max,
               [&](const Position& pos) {
    const int n = candidates_of(pos.b, pos.color, cand);
    candidates += size_t(n), positions++;
    for (int i = 0; i < n; i++) {
      const int z = cand[i];
      const bool played = z == pos.z;
      big_pattern_content(pos.b, z, pos.color, content);
      big_pattern_keys(content, keys);
      for (int s = BIG_PATTERN_SIZE_MIN; s <= BIG_PATTERN_SIZE_MAX; s++) big.count(keys[s], s, content);
      const int w = weak_index(pos.b, z, pos.last, pos.color);
      weak_seen[w]++;
      weak_played[w] += played;
    }
    big.prune();
  });
  const PatternPool pool = pattern_pool(big, opt.big_min_seen);
  if (opt.progress) fprintf(opt.progress, "large patterns seen at least %d times: %d\n", opt.big_min_seen, pool.size());

  // Second pass: the competitions with every candidate's features.
  Competitions c;
  c.begin.reserve(positions + 1), c.winner.reserve(positions), c.context.reserve(candidates);
  for (auto& f : c.feature) f.reserve(candidates);
  const int near = NEAR_LAST_FACTOR_19;
  report.games = replay_games(sources, opt.first_game, opt.end_game, opt.game_step, opt.move_step, opt.move_max,
                              [&](const Position& pos) {
    const int n = candidates_of(pos.b, pos.color, cand);
    for (int i = 0; i < n; i++) {
      const int z = cand[i];
      if (z == pos.z) c.winner.push_back(uint32_t(c.candidates()));
      c.feature[0].push_back(mm_feature_of(pos.b, z, pos.color, pos.last));
      big_pattern_content(pos.b, z, pos.color, content);
      big_pattern_keys(content, keys);
      for (int s = BIG_PATTERN_SIZE_MIN; s <= BIG_PATTERN_SIZE_MAX; s++) {
        const int id = pool.find(keys[s]);
        c.feature[s - BIG_PATTERN_SIZE_MIN + 1].push_back(id >= 0 ? id : unlisted_id(pool, s));
      }
      const int m = pattern_neighbour_index<256>(z, pos.last) < NEIGHBOUR_NONE ? near : 1;
      c.context.push_back(float(m * prior_context_factor(pos.b, z, pos.color, pos.last, pos.last2)));
    }
    c.begin.push_back(uint32_t(c.candidates()));
    report.positions++;
    report.candidates += n;
  });

  std::vector<double> wins[GROUPS];
  wins[0].assign(MM3X3_USED, 0.0);
  for (int group = 1; group < GROUPS; group++) wins[group].assign(pool.size() + GROUPS - 1, 0.0);
  for (uint32_t w : c.winner) {
    for (int group = 0; group < GROUPS; group++) wins[group][c.feature[group][w]] += 1;
  }
  std::vector<char> seen3(MM3X3_USED, 0);
  for (int32_t f : c.feature[0]) seen3[f] = 1;
  report.features = int(std::count(seen3.begin(), seen3.end(), 1));

  const auto t0 = std::chrono::steady_clock::now();
  JointGammas g{std::vector<double>(MM3X3_USED, 1.0), std::vector<double>(pool.size() + GROUPS - 1, 1.0)};
  std::vector<char> listed(pool.size(), 1);
  const int first_group = opt.joint_3x3 ? 0 : 1;
  if (!opt.joint_3x3) mm_iterate(c, pool, listed, wins, g, opt.mm_3x3_iterations, 0, 1, true, opt.progress);
  mm_iterate(c, pool, listed, wins, g, opt.mm_pool_iterations, first_group, GROUPS, false, opt.progress);

  // The engine counts an unlisted pattern 1000 times the smallest listed
  // ratio of its size, so each size's weakest pattern anchors the scale at
  // 1/1000 of the unlisted gamma. The list keeps those anchors and the
  // patterns whose own gamma gains most over the unlisted one; the rest fall
  // back to it and the gammas are fitted again.
  int anchor[BIG_PATTERN_SIZE_MAX + 1];
  std::fill(anchor, anchor + BIG_PATTERN_SIZE_MAX + 1, -1);
  for (int f = 0; f < pool.size(); f++) {
    int& a = anchor[pool.entries[f].size];
    if (a < 0 || g.big[f] < g.big[a] || (g.big[f] == g.big[a] && pool.entries[f].canonical < pool.entries[a].canonical)) a = f;
  }
  const std::vector<double> gain = listing_gains(c, pool, wins, g);
  std::vector<int> order;
  int anchors = 0;
  for (int size = BIG_PATTERN_SIZE_MIN; size <= BIG_PATTERN_SIZE_MAX; size++) anchors += anchor[size] >= 0;
  for (int f = 0; f < pool.size(); f++) {
    if (gain[f] > 0 && f != anchor[pool.entries[f].size]) order.push_back(f);
  }
  std::sort(order.begin(), order.end(), [&](int a, int b) {
    return gain[a] != gain[b] ? gain[a] > gain[b] : pool.entries[a].canonical < pool.entries[b].canonical;
  });
  if (int(order.size()) > BIG_LIST_RECORDS - anchors) order.resize(BIG_LIST_RECORDS - anchors);
  std::fill(listed.begin(), listed.end(), 0);
  for (int f : order) listed[f] = 1;
  for (int size = BIG_PATTERN_SIZE_MIN; size <= BIG_PATTERN_SIZE_MAX; size++) {
    if (anchor[size] >= 0) listed[anchor[size]] = ANCHOR, order.push_back(anchor[size]);
  }
  for (int group = 1; group < GROUPS; group++) {
    for (int32_t& f : c.feature[group]) {
      if (f < pool.size() && !listed[f]) f = unlisted_id(pool, pool.entries[f].size);
    }
    std::fill(wins[group].begin(), wins[group].end(), 0.0);
    for (uint32_t w : c.winner) wins[group][c.feature[group][w]] += 1;
  }
  report.mean_log_likelihood =
      mm_iterate(c, pool, listed, wins, g, opt.mm_iterations, first_group, GROUPS, false, opt.progress);
  report.seconds_mm = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  std::vector<float> mm_image = mm_file_image(gamma3_out(g.g3, seen3));

  // A listed pattern's played / seen is its gamma relative to the unlisted
  // one, on the scale where the anchor's ratio 1 / 65535 is the engine's
  // "least" and an unlisted pattern counts 1000 x least.
  std::vector<HashpatList> table(HASHPAT_LIST_NUM);
  int32_t record_num = 0;
  for (int f : order) {
    HashpatList& r = table[record_num];
    const PatternPool::Entry& e = pool.entries[f];
    unpack(e.packed, content);
    big_pattern_symmetric_keys(content, e.size, r.key);
    r.seen = RATIO_COUNT_MAX;
    const double played = std::round(BIG_PATTERN_SCALE * g.big[f] / g.big[unlisted_id(pool, e.size)]);
    r.played = listed[f] == ANCHOR ? 1 : uint32_t(std::clamp(played, 1.0, double(RATIO_COUNT_MAX)));
    r.size = e.size;
    report.patterns[e.size]++;
    record_num++;
  }

  double best = 0;
  for (size_t i = 0; i < weak_seen.size(); i++) {
    if (weak_seen[i] >= uint32_t(WEAK_MIN_SEEN_FOR_MAX)) best = std::max(best, (weak_played[i] + 0.5) / (weak_seen[i] + 1.0));
  }
  std::vector<uint8_t> a(WEAK_A_NUM), b(WEAK_B_NUM);
  int32_t used_a = 0, used_b = 0;
  for (int i = 0; i < WEAK_A_NUM; i++) {
    a[i] = weak_byte(weak_seen[i], weak_played[i], best);
    used_a += weak_seen[i] > 0;
  }
  for (int i = 0; i < WEAK_B_NUM; i++) {
    b[i] = weak_byte(weak_seen[WEAK_A_NUM + i], weak_played[WEAK_A_NUM + i], best);
    used_b += weak_seen[WEAK_A_NUM + i] > 0;
  }
  return write_file(out_dir + "/" + MM3X3_FILE, {{mm_image.data(), mm_image.size() * sizeof(float)}}) &&
         write_file(out_dir + "/" + PATLIST_FILE,
                    {{&record_num, sizeof record_num}, {table.data(), table.size() * sizeof(HashpatList)}}) &&
         write_file(out_dir + "/" + WEAK255_FILE,
                    {{&used_a, sizeof used_a}, {a.data(), a.size()}, {&used_b, sizeof used_b}, {b.data(), b.size()}});
}

PredictionFigures predict_moves(const std::vector<std::string>& sources, long first_game, long end_game,
                                int move_step) {
  PredictionFigures fig;
  int cand[BOARD_MAX * BOARD_MAX];
  double w3[BOARD_MAX * BOARD_MAX], prior[BOARD_MAX * BOARD_MAX];
  auto share = [](const double* v, int n, int played, int k) {
    int greater = 0, equal = 0;
    for (int i = 0; i < n; i++) greater += v[i] > v[played], equal += v[i] == v[played];
    return std::clamp(double(k - greater) / equal, 0.0, 1.0);
  };
  replay_games(sources, first_game, end_game, 1, move_step, GAME_MOVES_MAX - 1, [&](const Position& pos) {
    const int n = candidates_of(pos.b, pos.color, cand);
    int played = -1;
    for (int i = 0; i < n; i++) {
      if (cand[i] == pos.z) played = i;
      w3[i] = pattern_weight_at(pos.b, cand[i], pos.color, pos.last);
      prior[i] = pattern_prior(pos.b, cand[i], pos.color, pos.last, pos.last2);
    }
    if (played < 0) return;
    fig.moves++;
    fig.top1_3x3 += share(w3, n, played, 1);
    fig.top5_3x3 += share(w3, n, played, 5);
    fig.top1_prior += share(prior, n, played, 1);
    fig.top5_prior += share(prior, n, played, 5);
  });
  if (fig.moves) {
    fig.top1_3x3 /= fig.moves, fig.top5_3x3 /= fig.moves;
    fig.top1_prior /= fig.moves, fig.top5_prior /= fig.moves;
  }
  return fig;
}
