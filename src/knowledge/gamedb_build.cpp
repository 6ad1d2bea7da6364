// "ranvel --build-gamedb": re-encodes record collections as the game database
// and one SGF file per game.
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "core/board.h"
#include "core/folders.h"
#include "knowledge/gamedb.h"
#include "knowledge/gamedb_source.h"
#include "records/record_io.h"
#include "records/sjis.h"

namespace fs = std::filesystem;

namespace {

constexpr int DATABASE_BOARD = 19;

// Copies a CP932 text, cut at a character boundary so that it stays terminated.
void copy_text(char* dst, size_t size, const std::string& src) {
  size_t n = 0;
  while (n < src.size()) {
    const size_t step = is_sjis_lead((unsigned char)src[n]) && n + 1 < src.size() ? 2 : 1;
    if (n + step >= size) break;
    n += step;
  }
  memcpy(dst, src.data(), n);
  dst[n] = 0;
}

void fill_record(const Figure& f, HappoRecord& r) {
  r = HappoRecord{};
  bool usable = f.b_size == DATABASE_BOARD && f.move_count > 0 && !has_setup_stones(f);
  const int n = std::min<int>(f.move_count, HAPPO_MOVES);
  for (int k = 0; k < n; k++) {
    const FigureMove& m = f.moves[k];
    if (m.color != ((k & 1) ? WHITE : BLACK)) usable = false;
    r.moves[k] = int16_t(m.z ? z_from_zc(m.z) : 0);
  }
  r.move_num = n;
  r.excluded = !usable;
  const std::string& w = f.info.winner[0];
  r.result = w == "B" ? 1 : w == "W" ? 2 : 0;
  copy_text(r.black, sizeof r.black, f.info.black[0]);
  copy_text(r.white, sizeof r.white, f.info.white[0]);
  copy_text(r.date, sizeof r.date, f.info.date[0]);
}

}  // namespace

int build_gamedb(const std::vector<std::string>& sources, const std::string& dest, FILE* out,
                 const std::function<bool(long games)>& progress) {
  std::error_code ec;
  fs::create_directories(dest, ec);
  // Everything is written into a staging folder first: an old database in
  // dest stays whole and matches its game files until the new one is complete.
  const std::string staging = dest + "/.happo-build.tmp";
  fs::remove_all(staging, ec);
  fs::create_directories(staging, ec);
  const std::string db_path = dest + "/" + HAPPO_FILE, temp_path = staging + "/" + HAPPO_FILE;
  FILE* db = fopen(temp_path.c_str(), "wb");
  if (!db) {
    fprintf(out, "cannot write %s\n", temp_path.c_str());
    fs::remove_all(staging, ec);
    return 1;
  }
  long excluded = 0, failed_files = 0;
  bool ok = true, stopped = false;
  SgfBuf buf;
  HappoRecord r;
  const long games = for_each_source_game(sources, [&](const GameRecord& rec, long index) {
    fill_record(rec.main, r);
    excluded += r.excluded != 0;
    ok &= fwrite(&r, sizeof r, 1, db) == 1;
    buf.text.clear();
    buf.overflow = false;
    std::string error;
    if (!write_record(FORMAT_SGF, rec, buf) ||
        !replace_file(staging + "/" + std::to_string(index + 1) + ".sgf", buf.text, error)) {
      failed_files++;
    }
    if (ok && progress && !progress(index + 1)) stopped = true;
    return ok && !stopped;
  });
  ok &= fclose(db) == 0;
  if (!ok || stopped || games == 0) {
    fs::remove_all(staging, ec);
    if (stopped) fprintf(out, "stopped; %s is unchanged\n", dest.c_str());
    else if (games == 0) fprintf(out, "no games in the sources\n");
    else fprintf(out, "cannot write %s\n", db_path.c_str());
    return 1;
  }
  // The game files first, the database last: a database never names missing games.
  for (long i = 1; i <= games && ok; i++) {
    const std::string name = "/" + std::to_string(i) + ".sgf";
    if (!fs::exists(staging + name, ec)) continue;
    fs::rename(staging + name, dest + name, ec);
    ok = !ec;
  }
  if (ok) fs::rename(temp_path, db_path, ec);
  if (!ok || ec) {
    fs::remove_all(staging, ec);
    fprintf(out, "cannot write %s\n", db_path.c_str());
    return 1;
  }
  fs::remove_all(staging, ec);
  fprintf(out, "%s: %ld games (%ld not searchable), game files not written: %ld\n", db_path.c_str(), games, excluded,
          failed_files);
  return failed_files ? 1 : 0;
}

int build_gamedb_main(int argc, char** argv) {
  int first = 1;
  while (first < argc && strcmp(argv[first], "--build-gamedb") != 0) first++;
  std::vector<std::string> args;
  // The program may have changed into its own folder: paths follow the user's.
  for (int i = first + 1; i < argc; i++) args.push_back(user_path(argv[i]));
  if (args.size() < 2) {
    fprintf(stderr, "usage: ranvel --build-gamedb SOURCE... DEST\n");
    return 2;
  }
  const std::string dest = args.back();
  args.pop_back();
  return build_gamedb(args, dest, stdout);
}
