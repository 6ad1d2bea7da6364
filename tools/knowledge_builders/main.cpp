// knowledge_builder COMMAND [options] SOURCE...
//   book      [--out DIR]             book19.db and book11.db
//   patterns  [--out DIR] [--game-step G] [--move-step M]
//             [--pool-iterations P] [--mm-iterations I] [--joint-3x3]
//                                     mm3x3.db, patlist.db and weak255.db
//   gamedb    SOURCE... DEST          happo.db and the game files (as ranvel --build-gamedb)
//   predict   --data DIR [--move-step M] --holdout N
//                                     move prediction on the last N games
//   areasum   [--out DIR] [--data DIR] [--game-step G] [--move-step M]
//             [--playouts P] [--size N]  areasum.db
// Common options: --holdout N keeps the last N games of the sources out of
// training (list the newest collection last).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "area_sum.h"
#include "core/log.h"
#include "core/random.h"
#include "knowledge/book_build.h"
#include "knowledge/gamedb.h"
#include "knowledge/gamedb_source.h"
#include "mc/patterns.h"
#include "mc/patterns_train.h"

namespace {

struct Args {
  std::string command;
  std::string out = ".";
  long holdout = 0;
  int game_step = 0;
  int move_step = 0;
  int pool_iterations = -1, mm_iterations = -1;
  bool joint_3x3 = false;
  int playouts = 0;
  int size = 19;
  std::string data = ".";
  std::vector<std::string> sources;
};

int usage() {
  fprintf(stderr,
          "usage: knowledge_builder book [--out DIR] [--holdout N] SOURCE...\n"
          "       knowledge_builder patterns [--out DIR] [--holdout N] [--game-step G] [--move-step M]\n"
          "                 [--pool-iterations P] [--mm-iterations I] [--joint-3x3] SOURCE...\n"
          "       knowledge_builder predict --data DIR --holdout N [--move-step M] SOURCE...\n"
          "       knowledge_builder areasum [--out DIR] [--data DIR] [--holdout N] [--game-step G]\n"
          "                 [--move-step M] [--playouts P] [--size N] SOURCE...\n");
  return 2;
}

long count_games(const std::vector<std::string>& sources) {
  return for_each_source_game(sources, [](const GameRecord&, long) { return true; });
}

int build_book(const Args& a) {
  BookBuildOptions opt;
  if (a.holdout > 0) opt.end_game = count_games(a.sources) - a.holdout;
  BookBuildResult r = build_books(a.sources, opt);
  printf("games %ld, positions whole %ld corner %ld, entries book19 %d book11 %d\n", r.games_used,
         r.positions19, r.positions11, r.entries19, r.entries11);
  if (!book_table_save(book19, a.out + "/" + BOOK19_FILE) || !book_table_save(book11, a.out + "/" + BOOK11_FILE)) {
    fprintf(stderr, "knowledge_builder: cannot write the books into %s\n", a.out.c_str());
    return 1;
  }
  return 0;
}

int build_patterns(const Args& a) {
  PatternTrainOptions opt;
  if (a.holdout > 0) opt.end_game = count_games(a.sources) - a.holdout;
  if (a.game_step > 0) opt.game_step = a.game_step;
  if (a.move_step > 0) opt.move_step = a.move_step;
  if (a.pool_iterations >= 0) opt.mm_pool_iterations = a.pool_iterations;
  if (a.mm_iterations >= 0) opt.mm_iterations = a.mm_iterations;
  opt.progress = stdout;
  opt.joint_3x3 = a.joint_3x3;
  PatternTrainReport r;
  if (!train_patterns(a.sources, opt, a.out, r)) {
    fprintf(stderr, "knowledge_builder: cannot write the pattern files into %s\n", a.out.c_str());
    return 1;
  }
  printf("games %ld, positions %ld, candidates %ld, 3x3 features %d, MM %.1f s, mean log-likelihood %.4f\n",
         r.games, r.positions, r.candidates, r.features, r.seconds_mm, r.mean_log_likelihood);
  printf("large patterns: size 2 %d, size 3 %d, size 4 %d, size 5 %d\n", r.patterns[2], r.patterns[3],
         r.patterns[4], r.patterns[5]);
  return 0;
}

int predict(const Args& a) {
  if (a.holdout <= 0) return usage();
  const long total = count_games(a.sources);
  if (chdir(a.data.c_str()) != 0 || !load_mm3x3() || !make_pattern_weights(19) || !load_hashpat_list()) {
    fprintf(stderr, "knowledge_builder: the pattern files are not in %s\n", a.data.c_str());
    return 1;
  }
  PredictionFigures f = predict_moves(a.sources, total - a.holdout, total, a.move_step > 0 ? a.move_step : 1);
  printf("moves %ld\n", f.moves);
  printf("3x3 weights: top-1 %.1f %%, top-5 %.1f %%\n", 100 * f.top1_3x3, 100 * f.top5_3x3);
  printf("whole prior: top-1 %.1f %%, top-5 %.1f %%\n", 100 * f.top1_prior, 100 * f.top5_prior);
  return 0;
}

int build_area_sum(const Args& a) {
  if (a.size < 5 || a.size > BOARD_MAX) return usage();
  AreaSumOptions opt;
  if (a.holdout > 0) opt.end_game = count_games(a.sources) - a.holdout;
  if (a.game_step > 0) opt.game_step = a.game_step;
  if (a.move_step > 0) opt.move_step = a.move_step;
  if (a.playouts > 0) opt.playouts = a.playouts;
  opt.board_size = a.size;
  opt.progress = stdout;
  const std::string out = std::filesystem::absolute(a.out).string() + "/" + AREA_SUM_FILE;
  static int32_t table[AREA_SUM_ROWS][AREA_SUM_BANDS];
  AreaSumReport r;
  if (chdir(a.data.c_str()) != 0 || !count_area_sum(a.sources, opt, table, r)) {
    fprintf(stderr, "knowledge_builder: the pattern file mm3x3.db is not in %s\n", a.data.c_str());
    return 1;
  }
  if (!save_area_sum(out, table)) {
    fprintf(stderr, "knowledge_builder: cannot write %s\n", out.c_str());
    return 1;
  }
  printf("games %ld, positions %ld, %d playouts each, %.0f s\n", r.games, r.positions, opt.playouts, r.seconds);
  print_area_sum_summary(stdout, table);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  Args a;
  a.command = argv[1];
  for (int i = 2; i < argc; i++) {
    if (!strcmp(argv[i], "--out") && i + 1 < argc) a.out = argv[++i];
    else if (!strcmp(argv[i], "--holdout") && i + 1 < argc) a.holdout = atol(argv[++i]);
    else if (!strcmp(argv[i], "--game-step") && i + 1 < argc) a.game_step = atoi(argv[++i]);
    else if (!strcmp(argv[i], "--move-step") && i + 1 < argc) a.move_step = atoi(argv[++i]);
    else if (!strcmp(argv[i], "--pool-iterations") && i + 1 < argc) a.pool_iterations = atoi(argv[++i]);
    else if (!strcmp(argv[i], "--mm-iterations") && i + 1 < argc) a.mm_iterations = atoi(argv[++i]);
    else if (!strcmp(argv[i], "--joint-3x3")) a.joint_3x3 = true;
    else if (!strcmp(argv[i], "--playouts") && i + 1 < argc) a.playouts = atoi(argv[++i]);
    else if (!strcmp(argv[i], "--size") && i + 1 < argc) a.size = atoi(argv[++i]);
    else if (!strcmp(argv[i], "--data") && i + 1 < argc) a.data = argv[++i];
    else a.sources.push_back(std::filesystem::absolute(argv[i]).string());
  }
  if (a.sources.empty()) return usage();
  random_startup();
  if (a.command == "book") return build_book(a);
  if (a.command == "patterns") return build_patterns(a);
  if (a.command == "predict") return predict(a);
  if (a.command == "areasum") return build_area_sum(a);
  if (a.command == "gamedb" && a.sources.size() >= 2) {
    std::vector<std::string> sources(a.sources.begin(), a.sources.end() - 1);
    return build_gamedb(sources, a.sources.back(), stdout);
  }
  return usage();
}
