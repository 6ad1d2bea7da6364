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
// Half the list's room: the lookup table (8 keys a record) stays half empty,
// so that the many lookups of unlisted patterns end within a few probes.
constexpr int BIG_LIST_RECORDS = HASHPAT_LIST_NUM / 2;
// Sightings' worth of the unlisted average mixed into a pattern's ratio.
constexpr double BIG_PRIOR_WEIGHT = 20;

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

// Large patterns counted by their plain key; the content is kept so that the
// symmetric images can be merged at the end.
struct BigCount {
  uint64_t key;
  uint32_t seen;
  uint32_t played;
  uint8_t size;
  uint8_t packed[15];  // 60 points, 2 bits each
};

struct BigCounter {
  std::vector<BigCount> slots = std::vector<BigCount>(BIG_COUNTER_SLOTS);
  size_t used = 0;

  BigCount* find(uint64_t key) {
    size_t i = (key ^ (key >> 31)) & (slots.size() - 1);
    while (slots[i].key != 0 && slots[i].key != key) i = (i + 1) & (slots.size() - 1);
    return &slots[i];
  }
  void count(uint64_t key, int size, const uint8_t* content, bool played) {
    BigCount* c = find(key);
    if (c->key == 0) {
      *c = BigCount{};
      c->key = key;
      c->size = uint8_t(size);
      for (int i = 0; i < big_pattern_points(size); i++) c->packed[i >> 2] |= uint8_t(content[i] << ((i & 3) * 2));
      used++;
    }
    c->seen++;
    c->played += played;
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

void unpack(const BigCount& c, uint8_t* content) {
  for (int i = 0; i < BIG_PATTERN_POINTS; i++) content[i] = (c.packed[i >> 2] >> ((i & 3) * 2)) & 3;
}

bool write_file(const std::string& path, const std::vector<std::pair<const void*, size_t>>& parts) {
  FILE* fp = fopen(path.c_str(), "wb");
  if (!fp) return false;
  bool ok = true;
  for (auto& [data, bytes] : parts) ok &= fwrite(data, 1, bytes, fp) == bytes;
  return (fclose(fp) == 0) && ok;
}

// Coulom's minorization-maximization for one feature per candidate: every
// position a competition among its candidates, one virtual win and one
// virtual loss against a feature of strength 1 as the prior.
std::vector<float> mm_train(const std::vector<int>& begin, const std::vector<int>& feature,
                            const std::vector<uint16_t>& count, const std::vector<int>& winner, int iterations,
                            int& distinct) {
  std::vector<double> gamma(MM3X3_USED, 1.0), wins(MM3X3_USED, 0.0), denominator(MM3X3_USED);
  std::vector<char> seen(MM3X3_USED, 0);
  for (int f : winner) wins[f] += 1;
  for (int f : feature) seen[f] = 1;
  distinct = int(std::count(seen.begin(), seen.end(), 1));
  const size_t positions = winner.size();
  for (int it = 0; it < iterations; it++) {
    std::fill(denominator.begin(), denominator.end(), 0.0);
    for (size_t j = 0; j < positions; j++) {
      double e = 0;
      for (int i = begin[j]; i < begin[j + 1]; i++) e += count[i] * gamma[feature[i]];
      const double inv = 1.0 / e;
      for (int i = begin[j]; i < begin[j + 1]; i++) denominator[feature[i]] += count[i] * inv;
    }
    for (long f = 0; f < MM3X3_USED; f++) {
      if (seen[f]) gamma[f] = (wins[f] + 1.0) / (denominator[f] + 2.0 / (gamma[f] + 1.0));
    }
  }
  // The open empty point is the unit.
  const double unit = gamma[mm3x3_feature(0, NEIGHBOUR_NONE, 0)];
  std::vector<float> out(MM3X3_USED);
  for (long f = 0; f < MM3X3_USED; f++) {
    out[f] = seen[f] ? std::clamp(float(gamma[f] / unit), GAMMA_FLOOR, GAMMA_CEILING) : GAMMA_UNSEEN;
  }
  return out;
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

std::vector<HashpatList> patlist_records(BigCounter& counter, int min_seen, double total_seen, double total_played,
                                        int per_size[6]) {
  // Merge the symmetric images under the smallest key.
  struct Merged {
    uint64_t canonical;
    uint32_t seen, played;
    int size;
    const BigCount* sample;
  };
  std::vector<Merged> all;
  uint8_t content[BIG_PATTERN_POINTS];
  uint64_t keys[8];
  for (const BigCount& c : counter.slots) {
    if (!c.key) continue;
    unpack(c, content);
    big_pattern_symmetric_keys(content, c.size, keys);
    all.push_back(Merged{*std::min_element(keys, keys + 8), c.seen, c.played, c.size, &c});
  }
  std::sort(all.begin(), all.end(), [](const Merged& a, const Merged& b) {
    return a.canonical != b.canonical ? a.canonical < b.canonical : a.sample->key < b.sample->key;
  });
  std::vector<Merged> merged;
  for (const Merged& m : all) {
    if (!merged.empty() && merged.back().canonical == m.canonical) {
      merged.back().seen += m.seen, merged.back().played += m.played;
    } else {
      merged.push_back(m);
    }
  }
  // The engine scores a listed pattern by max(played / seen, least) and an
  // unlisted one by least * 1000, least being the smallest positive ratio of
  // its size. A pattern enters when its listed score explains its own
  // candidates better than the unlisted score would (Poisson log-likelihood
  // of a ratio shrunk toward the unlisted average), the largest gains first,
  // all sizes competing for the table.
  struct Pick {
    double gain;
    const Merged* m;
  };
  std::vector<Pick> picks;
  for (int size = BIG_PATTERN_SIZE_MIN; size <= BIG_PATTERN_SIZE_MAX; size++) {
    double least = 1.0, listed_seen = 0, listed_played = 0;
    for (const Merged& m : merged) {
      if (m.size != size || m.seen < uint32_t(min_seen)) continue;
      if (m.played) least = std::min(least, double(m.played) / m.seen);
      listed_seen += m.seen, listed_played += m.played;
    }
    const double rest_ratio = (total_played - listed_played) / std::max(1.0, total_seen - listed_seen);
    const double unlisted = std::max(least * BIG_PATTERN_SCALE, 1e-9);
    for (const Merged& m : merged) {
      if (m.size != size || m.seen < uint32_t(min_seen)) continue;
      const double expected = (m.played + BIG_PRIOR_WEIGHT * rest_ratio) / (m.seen + BIG_PRIOR_WEIGHT);
      const double listed = std::max(double(m.played) / m.seen, least);
      const double gain = m.seen * (expected * std::log(listed / unlisted) - (listed - unlisted));
      if (gain > 0) picks.push_back(Pick{gain, &m});
    }
  }
  std::sort(picks.begin(), picks.end(), [](const Pick& a, const Pick& b) {
    return a.gain != b.gain ? a.gain > b.gain : a.m->canonical < b.m->canonical;
  });
  if (int(picks.size()) > BIG_LIST_RECORDS) picks.resize(BIG_LIST_RECORDS);
  std::vector<HashpatList> records;
  for (const Pick& p : picks) {
    HashpatList r{};
    unpack(*p.m->sample, content);
    big_pattern_symmetric_keys(content, p.m->size, r.key);
    r.seen = p.m->seen, r.played = p.m->played, r.size = uint32_t(p.m->size);
    records.push_back(r);
    per_size[p.m->size]++;
  }
  return records;
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
  std::vector<int> begin{0}, feature, winner;
  std::vector<uint16_t> count;
  static BigCounter big;
  std::fill(big.slots.begin(), big.slots.end(), BigCount{});
  big.used = 0;
  std::vector<uint32_t> weak_seen(WEAK_A_NUM + WEAK_B_NUM), weak_played(WEAK_A_NUM + WEAK_B_NUM);
  int cand[BOARD_MAX * BOARD_MAX], feats[BOARD_MAX * BOARD_MAX];
  uint8_t content[BIG_PATTERN_POINTS];
  uint64_t keys[BIG_PATTERN_SIZE_MAX + 1];

  report.games = replay_games(sources, opt.first_game, opt.end_game, opt.game_step, opt.move_step, opt.move_max,
                              [&](const Position& pos) {
    const int n = candidates_of(pos.b, pos.color, cand);
    for (int i = 0; i < n; i++) {
      const int z = cand[i];
      const bool played = z == pos.z;
      feats[i] = mm_feature_of(pos.b, z, pos.color, pos.last);
      if (played) winner.push_back(feats[i]);
      big_pattern_content(pos.b, z, pos.color, content);
      big_pattern_keys(content, keys);
      for (int s = BIG_PATTERN_SIZE_MIN; s <= BIG_PATTERN_SIZE_MAX; s++) big.count(keys[s], s, content, played);
      const int w = weak_index(pos.b, z, pos.last, pos.color);
      weak_seen[w]++;
      weak_played[w] += played;
    }
    big.prune();
    std::sort(feats, feats + n);
    for (int i = 0; i < n;) {
      int j = i;
      while (j < n && feats[j] == feats[i]) j++;
      feature.push_back(feats[i]);
      count.push_back(uint16_t(j - i));
      i = j;
    }
    begin.push_back(int(feature.size()));
    report.positions++;
    report.candidates += n;
  });

  const auto t0 = std::chrono::steady_clock::now();
  std::vector<float> gamma = mm_train(begin, feature, count, winner, opt.mm_iterations, report.features);
  report.seconds_mm = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  std::vector<float> mm_image = mm_file_image(gamma);

  std::vector<HashpatList> records =
      patlist_records(big, opt.big_min_seen, double(report.candidates), double(report.positions), report.patterns);
  std::vector<HashpatList> table(HASHPAT_LIST_NUM);
  std::copy(records.begin(), records.end(), table.begin());
  const int32_t record_num = int32_t(records.size());

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
