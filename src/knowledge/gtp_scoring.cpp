#include "knowledge/gtp_scoring.h"

#include <cstdio>
#include <cstring>

#include "core/board.h"
#include "core/gtp.h"
#include "core/kifu.h"
#include "core/log.h"
#include "knowledge/analysis.h"

namespace {

constexpr const char* STATUS_WORDS[6] = {"alive", "dead", "seki", "white_territory", "black_territory", "dame"};
constexpr int STATUS_WORD_MAX = 31;

int evaluate_position() {
  analyze(gban, ban_analysis);
  fill_dame_before_count(gban, ban_analysis);
  return classic_score(gban, ban_analysis, fChineseRule != 0);
}

// The result of the game: Black's lead on the board minus the komi.
int cmd_final_score(const char*) {
  double score = evaluate_position() - komi;
  if (score > 0) return gtp_success("B+%3.1f", score);
  if (score < 0) return gtp_success("W+%3.1f", -score);
  return gtp_success("0");
}

int cmd_final_status(const char* args) {
  int z;
  if (!gtp_parse_vertex(args, z)) return gtp_failure("invalid coordinate");
  evaluate_position();
  int code = ban_analysis.final_status[z];
  if (code < FINAL_ALIVE || code > FINAL_DAME) {
    PRT("gtp_final_status Err!\n");
    return gtp_success("%s", "");
  }
  return gtp_success("%s", STATUS_WORDS[code]);
}

int cmd_final_status_list(const char* args) {
  char word[STATUS_WORD_MAX + 1];
  if (sscanf(args, "%31s", word) != 1) return gtp_failure("missing status");
  int wanted = -1;
  for (int i = 0; i < 6; i++) {
    if (strcmp(word, STATUS_WORDS[i]) == 0) wanted = i;
  }
  if (wanted < 0) return gtp_failure("invalid status");
  evaluate_position();
  gtp_header(false);
  bool any = false;
  for (int y = 1; y <= gban.size; y++) {
    bool row = false;
    for (int x = 1; x <= gban.size; x++) {
      int z = make_z(x, y);
      if (ban_analysis.final_status[z] != wanted) continue;
      char v[16];
      gtp_vertex_text(z, v);
      gtp_print("%s%s", row ? " " : "", v);
      row = any = true;
    }
    if (row) gtp_print("\n");
  }
  if (!any) gtp_print("\n");
  gtp_print("\n");
  return 0;
}

int cmd_dragon_status(const char* args) {
  int z;
  if (!gtp_parse_vertex(args, z)) return gtp_failure("invalid coordinate");
  if (gban.ban[z] != BLACK && gban.ban[z] != WHITE) return gtp_failure("vertex must not be empty");
  evaluate_position();
  const GlobalAnalysis& a = ban_analysis;
  const AnalysisString& s = a.str[a.rn[z]];
  const char* word;
  if (s.status != STATUS_ALIVE) {
    word = s.mark == MARK_REVIVED ? "alive" : "dead";
  } else {
    int st = a.group[s.group].status;
    word = st == STATUS_ALIVE ? "alive" : st == STATUS_UNSETTLED ? "unsettled" : "dead";
  }
  return gtp_success("%s", word);
}

// One line per row: the ownership value of every point, +100 black .. -100 white.
int cmd_eval_territory(const char*) {
  evaluate_position();
  gtp_header(false);
  for (int y = 1; y <= gban.size; y++) {
    for (int x = 1; x <= gban.size; x++) gtp_print(x > 1 ? " %d" : "%d", ban_analysis.owner_value[make_z(x, y)]);
    gtp_print("\n");
  }
  gtp_print("\n");
  return 0;
}

}  // namespace

void register_scoring_commands(bool extensions) {
  gtp_register("final_score", cmd_final_score);
  gtp_register("final_status", cmd_final_status);
  gtp_register("final_status_list", cmd_final_status_list);
  if (extensions) {
    gtp_register("dragon_status", cmd_dragon_status);
    gtp_register("eval_territory", cmd_eval_territory);
  }
}
