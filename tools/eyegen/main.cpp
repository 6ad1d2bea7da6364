// Builds the eye-shape database: every connected shape of up to
// EYE_GEN_POINTS_MAX points, each edge code and occupancy, solved exhaustively.
// Usage: eyegen OUTPUT_FILE
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/random.h"
#include "eye_solver.h"
#include "knowledge/eye_shape.h"

namespace {

// Shapes of eight points would need 2,725 x 6,912 entries, far beyond the
// table's 3,200,000; and areas of seven or more points count as two eyes
// without a lookup anyway.
constexpr int EYE_GEN_POINTS_MAX = 7;

struct Cell {
  int r, c;
};

using Shape = std::vector<uint32_t>;  // normalised point codes, ascending

Shape normalise(std::vector<Cell> cells) {
  int r0 = 99, c0 = 99;
  for (auto& p : cells) r0 = std::min(r0, p.r), c0 = std::min(c0, p.c);
  Shape s;
  for (auto& p : cells) s.push_back(uint32_t((p.r - r0) * 256 + (p.c - c0)));
  std::sort(s.begin(), s.end());
  return s;
}

std::vector<Cell> cells_of(const Shape& s) {
  std::vector<Cell> cells;
  for (uint32_t p : s) cells.push_back({int(p >> 8), int(p & 255)});
  return cells;
}

// All fixed polyominoes by size, each size in ascending order of point lists.
std::vector<std::vector<Shape>> enumerate_shapes() {
  std::vector<std::vector<Shape>> by_size(EYE_GEN_POINTS_MAX + 1);
  std::set<Shape> current = {Shape{0}};
  for (int n = 1; n <= EYE_GEN_POINTS_MAX; n++) {
    by_size[n].assign(current.begin(), current.end());
    if (n == EYE_GEN_POINTS_MAX) break;
    std::set<Shape> next;
    for (const Shape& s : current) {
      std::vector<Cell> cells = cells_of(s);
      for (const Cell& p : cells) {
        static constexpr int dr[4] = {-1, 1, 0, 0}, dc[4] = {0, 0, -1, 1};
        for (int d = 0; d < 4; d++) {
          Cell q{p.r + dr[d], p.c + dc[d]};
          bool inside = false;
          for (const Cell& o : cells) inside |= o.r == q.r && o.c == q.c;
          if (inside) continue;
          std::vector<Cell> grown = cells;
          grown.push_back(q);
          next.insert(normalise(grown));
        }
      }
    }
    current = std::move(next);
  }
  return by_size;
}

// The space's graph: neighbours inside, and which points touch the wall (any
// on-board neighbour outside the space) rather than only the board's edge.
EyeGeometry geometry(const std::vector<Cell>& cells, EyeEdges e) {
  EyeGeometry g{int(cells.size()), {}, 0};
  int maxr = 0, maxc = 0;
  for (auto& p : cells) maxr = std::max(maxr, p.r), maxc = std::max(maxc, p.c);
  for (int i = 0; i < g.n; i++) {
    static constexpr int dr[4] = {-1, 1, 0, 0}, dc[4] = {0, 0, -1, 1};
    for (int d = 0; d < 4; d++) {
      int r = cells[i].r + dr[d], c = cells[i].c + dc[d];
      int j = -1;
      for (int k = 0; k < g.n; k++)
        if (cells[k].r == r && cells[k].c == c) j = k;
      if (j >= 0) {
        g.nb[i] |= uint8_t(1 << j);
        continue;
      }
      bool off_board = (r < 0 && e.top) || (r > maxr && e.bottom) || (c < 0 && e.left) || (c > maxc && e.right);
      if (!off_board) g.wall |= uint8_t(1 << i);
    }
  }
  return g;
}

std::vector<uint8_t> signature(const EyeGeometry& g) {
  std::vector<uint8_t> s(2 + g.n);
  s[0] = uint8_t(g.n);
  s[1] = g.wall;
  for (int i = 0; i < g.n; i++) s[2 + i] = g.nb[i];
  return s;
}

// The same space turned or mirrored is the same game: solve one orientation
// (the smallest signature) and map its points. perm[i] = canonical index of point i.
struct Canonical {
  EyeGeometry g;
  std::vector<int> perm;
};

Canonical canonical(const Shape& shape, EyeEdges e) {
  int n = int(shape.size());
  std::vector<Cell> base = cells_of(shape);
  Canonical best{};
  std::vector<uint8_t> best_sig;
  for (int t = 0; t < 8; t++) {
    std::vector<Cell> cells = base;
    EyeEdges f = e;
    if (t & 1) {
      for (auto& p : cells) std::swap(p.r, p.c);
      f = {e.left, e.right, e.top, e.bottom};
    }
    int maxr = 0, maxc = 0;
    for (auto& p : cells) maxr = std::max(maxr, p.r), maxc = std::max(maxc, p.c);
    if (t & 2) {
      for (auto& p : cells) p.r = maxr - p.r;
      std::swap(f.top, f.bottom);
    }
    if (t & 4) {
      for (auto& p : cells) p.c = maxc - p.c;
      std::swap(f.left, f.right);
    }
    std::vector<int> order(n);
    for (int i = 0; i < n; i++) order[i] = i;
    std::sort(order.begin(), order.end(), [&](int a, int b) {
      return cells[a].r * 256 + cells[a].c < cells[b].r * 256 + cells[b].c;
    });
    std::vector<Cell> sorted(n);
    std::vector<int> perm(n);
    for (int k = 0; k < n; k++) sorted[k] = cells[order[k]], perm[order[k]] = k;
    EyeGeometry g = geometry(sorted, f);
    std::vector<uint8_t> sig = signature(g);
    if (best_sig.empty() || sig < best_sig) best_sig = sig, best = {g, perm};
  }
  return best;
}

int remap_bits(int bits, int n, const std::vector<int>& perm, bool to_canonical) {
  int out = 0;
  for (int i = 0; i < n; i++) {
    int from = to_canonical ? i : perm[i], to = to_canonical ? perm[i] : i;
    if (bits & (1 << (n - 1 - from))) out |= 1 << (n - 1 - to);
  }
  return out;
}

void put_u32(std::vector<uint8_t>& file, long at, uint32_t v) {
  for (int k = 0; k < 4; k++) file[at + k] = uint8_t(v >> (8 * k));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: eyegen OUTPUT_FILE\n");
    return 2;
  }
  auto started = std::chrono::steady_clock::now();
  random_startup();  // the shape key reads the global board's key table
  int rehash[EYE_REHASH_NUM];
  make_eye_rehash(rehash);

  std::vector<uint8_t> file(EYE_FILE_BYTES, 0);
  constexpr long table_at = 8 + long(EYE_SLOT_NUM) * EYE_SLOT_BYTES;
  std::map<std::vector<uint8_t>, std::vector<uint8_t>> solved;
  std::vector<uint8_t> slot_used(EYE_SLOT_NUM, 0);
  uint32_t base = 0, shapes = 0;

  for (const auto& size_class : enumerate_shapes()) {
    for (const Shape& shape : size_class) {
      int n = int(shape.size());
      if (base + eye_shape_entries(n) > uint32_t(EYE_RESULT_MAX)) {
        fprintf(stderr, "eyegen: result table full\n");
        return 1;
      }
      int slot = int(eye_shape_key(shape.data(), n) & EYE_SLOT_MASK);
      for (int k = 1; slot_used[slot]; k++) {
        if (k == EYE_PROBE_MAX) {
          fprintf(stderr, "eyegen: no free slot within %d steps\n", EYE_PROBE_MAX);
          return 1;
        }
        slot = eye_next_slot(slot, k, rehash);
      }
      slot_used[slot] = 1;
      long at = 8 + long(slot) * EYE_SLOT_BYTES;
      put_u32(file, at, uint32_t(n));
      for (int i = 0; i < n; i++) put_u32(file, at + 4 + 4 * i, shape[i]);
      put_u32(file, at + 36, base);

      for (int edge = 0; edge < EYE_EDGE_NUM; edge++) {
        Canonical canon = canonical(shape, eye_edges_of(edge));
        std::vector<uint8_t>& result = solved[signature(canon.g)];
        if (result.empty()) {
          result.resize(size_t(EYE_CONTEXT_NUM) * 3 << n);
          solve_eye_space(canon.g, result.data());
        }
        for (int occ = 0; occ < (1 << n); occ++) {
          int canon_occ = remap_bits(occ, n, canon.perm, true);
          for (int ctx = 0; ctx < EYE_CONTEXT_NUM; ctx++) {
            const uint8_t* r = &result[(canon_occ * EYE_CONTEXT_NUM + ctx) * 3];
            long entry = long(base) + (edge + long(occ) * EYE_EDGE_NUM) * EYE_CONTEXT_NUM + ctx;
            uint8_t* out = &file[table_at + entry * 3];
            out[0] = r[0];
            out[1] = uint8_t(remap_bits(r[1], n, canon.perm, false));
            out[2] = uint8_t(remap_bits(r[2], n, canon.perm, false));
          }
        }
      }
      base += uint32_t(eye_shape_entries(n));
      shapes++;
    }
  }
  put_u32(file, 0, base);
  put_u32(file, 4, shapes);

  std::string tmp = std::string(argv[1]) + ".tmp";
  FILE* fp = fopen(tmp.c_str(), "wb");
  bool written = fp && fwrite(file.data(), 1, file.size(), fp) == file.size();
  if (fp) written = fclose(fp) == 0 && written;
  if (!written || rename(tmp.c_str(), argv[1]) != 0) {
    fprintf(stderr, "eyegen: cannot write %s\n", argv[1]);
    return 1;
  }
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  printf("eyegen: %u shapes, %u entries, %zu distinct spaces solved, %.1f s\n", shapes, base, solved.size(), seconds);
  return 0;
}
