// Random records through every writer and reader: the text written after one
// read is the text written again, and UGF and SGF carry the same record.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>
#include <string>

#include "records/record_io.h"
#include "records/sgf.h"
#include "records/ugf.h"

namespace {

std::string random_text(std::mt19937& rng) {
  static const char* const kPieces[] = {"a", "]", "\\", " ", "\x95\x5c", "\x83\x5c", "\x82\xa0", "x\ny", "[", ":", ";", ")("};
  std::string s;
  int n = rng() % 6;
  for (int i = 0; i < n; i++) s += kPieces[rng() % (sizeof kPieces / sizeof *kPieces)];
  return s;
}

// Moves that are legal in the figure's own position, so replay keeps them all.
void random_moves(std::mt19937& rng, Figure& f, int count, int color) {
  f.goto_move(f.move_count);
  for (int i = 0; i < count; i++) {
    int z = 0;
    for (int tries = 0; tries < 20 && z == 0; tries++) {
      int p = figure_z(1 + rng() % f.b_size, 1 + rng() % f.b_size);
      Figure probe = f;
      if (f.board[p] == 0 && probe.play_on_figure(p, color) == FIGURE_OK) z = p;
    }
    f.append_move(z, color);
    f.play_on_figure(z, color);
    f.tesuu = f.move_count;
    color = 3 - color;
  }
}

GameRecord random_record(std::mt19937& rng) {
  static const int kSizes[] = {9, 13, 19, 7};
  static const int32_t kLabels[] = {LABEL_TRIANGLE, LABEL_CROSS, LABEL_CIRCLE, LABEL_SQUARE, 'A', 'z', 0x82A0};
  GameRecord r;
  r.reset();
  Figure& m = r.main;
  m.set_size(kSizes[rng() % 4]);
  GameInfo& g = m.info;
  g.black[0] = "b" + std::to_string(rng() % 100);
  g.white[0] = "w";
  g.black[1] = "9d";
  g.title[0] = "T";
  g.title[1] = rng() % 2 ? "R" : "";
  g.title[2] = "G";
  g.date[0] = "2020-02-02";
  g.place = "p";
  g.copyright = "c";
  g.winner[0] = rng() % 2 ? "B" : "W";
  g.winner[1] = rng() % 2 ? "C" : "3.5";
  g.komi = 6.5;
  int setup = rng() % 4;
  for (int i = 0; i < setup; i++) m.initial_board[figure_z(1 + rng() % m.b_size, 1 + rng() % m.b_size)] = 1 + i % 2;
  m.remove_dead_setup_stones();
  random_moves(rng, m, rng() % 40, 1);
  int figures = rng() % 5;
  for (int k = 0; k < figures; k++) {
    int anchor = rng() % (m.move_count + 1);
    // A fresh figure each time (annotation_at would reuse one at the same move).
    r.figures.emplace_back();
    Figure& f = r.figures.back();
    f.copy_info(m);
    f.figure_from_main(m, anchor);
    f.anchor_move = anchor;
    f.first_number = 1;
    if (rng() % 2) random_moves(rng, f, 1 + rng() % 5, 1 + rng() % 2);
    f.text = random_text(rng);
    for (int l = rng() % 3; l > 0; l--) f.labels[figure_z(1 + rng() % m.b_size, 1 + rng() % m.b_size)] = kLabels[rng() % 7];
  }
  complete_load(r, false);
  return r;
}

std::string write(RecordFormat format, const GameRecord& r) {
  SgfBuf buf;
  EXPECT_TRUE(write_record(format, r, buf));
  return buf.text;
}

GameRecord read(RecordFormat format, const std::string& text) {
  GameRecord r;
  EXPECT_EQ(read_record(format, text, r, false), LOAD_OK) << text;
  return r;
}

// SGF orders figures by the tree (annotations by move, variations after the
// main line), so compare UGF texts with their figures sorted and unnumbered.
std::string figures_sorted(const std::string& ugf) {
  size_t first = ugf.find(".Fig,");
  if (first == std::string::npos) return ugf;
  std::vector<std::string> blocks;
  for (size_t p = first; p != std::string::npos;) {
    size_t next = ugf.find(".Fig,", p + 1);
    std::string block = ugf.substr(p, next == std::string::npos ? std::string::npos : next - p);
    size_t line_end = block.find("\r\n");
    size_t cut = block.rfind(',', block.rfind(',', line_end - 1) - 1);
    blocks.push_back(block.substr(0, cut) + block.substr(line_end));
    p = next;
  }
  std::sort(blocks.begin(), blocks.end());
  std::string out = ugf.substr(0, first);
  for (const std::string& b : blocks) out += b;
  return out;
}

TEST(RandomRoundTrip, WritingAfterOneReadIsStable) {
  std::mt19937 rng(20260406);
  for (int i = 0; i < 500; i++) {
    GameRecord r = random_record(rng);
    for (RecordFormat f : {FORMAT_SGF, FORMAT_UGF}) {
      std::string first = write(f, read(f, write(f, r)));
      std::string second = write(f, read(f, first));
      ASSERT_EQ(first, second) << "record " << i << " format " << f;
    }
    // SGF to UGF: the same UGF text as the record's own.
    std::string via_sgf = write(FORMAT_UGF, read(FORMAT_SGF, write(FORMAT_SGF, read(FORMAT_UGF, write(FORMAT_UGF, r)))));
    std::string direct = write(FORMAT_UGF, read(FORMAT_UGF, write(FORMAT_UGF, r)));
    ASSERT_EQ(figures_sorted(via_sgf), figures_sorted(direct)) << "record " << i;
  }
}

}  // namespace
