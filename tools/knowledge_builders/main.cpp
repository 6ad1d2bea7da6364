// knowledge_builder COMMAND [options] SOURCE...
//   book     --out DIR       book19.db and book11.db
// Common options: --holdout N keeps the last N games of the sources out of
// training (list the newest collection last).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/log.h"
#include "core/random.h"
#include "knowledge/book_build.h"
#include "knowledge/gamedb_source.h"

namespace {

struct Args {
  std::string command;
  std::string out = ".";
  long holdout = 0;
  std::vector<std::string> sources;
};

int usage() {
  fprintf(stderr,
          "usage: knowledge_builder book [--out DIR] [--holdout N] SOURCE...\n");
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

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  Args a;
  a.command = argv[1];
  for (int i = 2; i < argc; i++) {
    if (!strcmp(argv[i], "--out") && i + 1 < argc) a.out = argv[++i];
    else if (!strcmp(argv[i], "--holdout") && i + 1 < argc) a.holdout = atol(argv[++i]);
    else a.sources.push_back(argv[i]);
  }
  if (a.sources.empty()) return usage();
  random_startup();
  if (a.command == "book") return build_book(a);
  return usage();
}
