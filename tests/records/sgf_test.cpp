#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "core/log.h"
#include "records/record_io.h"
#include "records/sgf.h"
#include "records/sjis.h"
#include "records/ugf.h"

namespace {

int at(int x, int y) { return figure_z(x, y); }

GameRecord read(const std::string& text, bool* complete = nullptr) {
  GameRecord r;
  r.reset();
  bool ok = read_sgf(text, r);
  if (complete) *complete = ok;
  complete_load(r, true);
  return r;
}

std::string written(const GameRecord& r) {
  SgfBuf buf;
  write_sgf(r, buf);
  EXPECT_FALSE(buf.overflow);
  return buf.text;
}

TEST(SgfRead, MovesSizeAndPasses) {
  GameRecord r = read("(;SZ[9];B[cc];W[gg])");
  EXPECT_EQ(r.main.b_size, 9);
  ASSERT_EQ(r.main.move_count, 2);
  EXPECT_EQ(r.main.moves[0].z, at(3, 3));
  EXPECT_EQ(r.main.moves[1].z, at(7, 7));
  EXPECT_EQ(r.main.moves[1].color, 2);

  r = read("(;B[pd];W[tt];B[];W[AS])");
  ASSERT_EQ(r.main.move_count, 4);
  EXPECT_EQ(r.main.moves[1].z, 0);
  EXPECT_EQ(r.main.moves[2].z, 0);
  EXPECT_EQ(r.main.moves[3].z, at(1, 1));  // upper-case row counts from the bottom
}

TEST(SgfRead, SecondVariationBecomesFigureAtBranchPoint) {
  GameRecord r = read("(;B[aa](;W[bb])(;W[cc]))");
  ASSERT_EQ(r.main.move_count, 2);
  EXPECT_EQ(r.main.moves[1].z, at(2, 2));
  ASSERT_EQ(r.figures.size(), 1u);
  const Figure& f = r.figures[0];
  EXPECT_EQ(f.anchor_move, 1);
  EXPECT_EQ(f.first_number, 1);
  ASSERT_EQ(f.move_count, 1);
  EXPECT_EQ(f.moves[0].z, at(3, 3));
  EXPECT_EQ(f.initial_board[at(1, 1)], 1);
}

TEST(SgfRead, VariationInsideVariationKeepsItsPosition) {
  GameRecord r = read("(;B[aa](;W[bb])(;W[cc];B[dd](;W[ee])(;W[ff])))");
  ASSERT_EQ(r.figures.size(), 2u);
  EXPECT_EQ(r.figures[0].move_count, 3);  // cc dd ee
  const Figure& g = r.figures[1];
  EXPECT_EQ(g.anchor_move, 1);
  ASSERT_EQ(g.move_count, 3);  // cc dd ff
  EXPECT_EQ(g.moves[1].z, at(4, 4));
  EXPECT_EQ(g.moves[2].z, at(6, 6));
}

TEST(SgfRead, ValuesWithEscapesLongTextsAndShiftJisTrailBytes) {
  GameRecord r = read("(;C[a\\]b\\\\c];B[aa])");
  ASSERT_EQ(r.figures.size(), 1u);
  EXPECT_EQ(r.figures[0].text, "a]b\\c");
  EXPECT_EQ(r.figures[0].anchor_move, 0);

  std::string long_text(20000, 'x');
  r = read("(;B[aa]C[" + long_text + "];W[bb])");
  ASSERT_EQ(r.main.move_count, 2);
  ASSERT_EQ(r.figures.size(), 1u);
  EXPECT_EQ(r.figures[0].text, long_text);
  EXPECT_EQ(r.figures[0].anchor_move, 1);

  // "表" is 0x95 0x5C: its trail byte is a backslash, not an escape.
  std::string hyo = utf8_to_cp932("表");
  r = read("(;CA[Shift_JIS]PB[" + hyo + "]B[aa])");
  EXPECT_EQ(r.main.info.black[0], hyo);
  EXPECT_EQ(r.main.move_count, 1);
}

TEST(SgfRead, TruncatedInputKeepsWhatWasRead) {
  bool complete = true;
  GameRecord r = read("(;B[aa];W[bb];C[unfinished", &complete);
  EXPECT_FALSE(complete);
  EXPECT_EQ(r.main.move_count, 2);
  r = read("(;B[aa];W[b", &complete);
  EXPECT_FALSE(complete);
  EXPECT_EQ(r.main.move_count, 1);
  std::string lead_at_end = "(;PB[" + std::string(1, '\x95');
  r = read(lead_at_end, &complete);
  EXPECT_FALSE(complete);
  log_clear();
  r = read("no tree here", &complete);
  EXPECT_FALSE(complete);
  EXPECT_NE(log_text().find("'(' が見つからない"), std::string::npos);
  std::string deep(2000, '(');
  r = read(deep + ";B[aa]", &complete);
  EXPECT_FALSE(complete);
}

TEST(SgfRead, GameInformationAndResults) {
  GameRecord r = read("(;PB[b]PW[w]BR[9d]WR[8d]EV[Cup]RO[final]GN[g]DT[2020-01-02]PC[Tokyo]KM[6.5]RU[Chinese]"
                      "RE[W+6.5]TM[3600]AN[an]CP[cp];B[aa])");
  const GameInfo& g = r.main.info;
  EXPECT_EQ(g.black[0], "b");
  EXPECT_EQ(g.white[1], "8d");
  EXPECT_EQ(g.title[0], "Cup");
  EXPECT_EQ(g.title[1], "final");
  EXPECT_EQ(g.title[2], "g");
  EXPECT_EQ(g.winner[0], "W");
  EXPECT_EQ(g.winner[1], "6.5");
  EXPECT_EQ(g.time[0], "J;60;0;0");
  EXPECT_EQ(g.rule, "Chinese");
  EXPECT_EQ(read("(;RE[B+Resign])").main.info.winner[1], "C");
  EXPECT_EQ(read("(;RE[W+T])").main.info.winner[1], "T");
  EXPECT_EQ(read("(;RE[0])").main.info.winner[0], "D");
  EXPECT_EQ(read("(;RE[Draw])").main.info.winner[0], "D");
}

TEST(SgfRead, HandicapStonesAndExplicitSetup) {
  GameRecord r = read("(;SZ[19]HA[2];W[dd])");
  EXPECT_EQ(r.main.initial_board[at(16, 4)], 1);
  EXPECT_EQ(r.main.first_color, 2);
  // An explicit setup replaces the standard placement.
  r = read("(;SZ[19]HA[2]AB[dp][pp];W[dd])");
  EXPECT_EQ(r.main.initial_board[at(16, 4)], 0);
  EXPECT_EQ(r.main.initial_board[at(4, 16)], 1);
  EXPECT_EQ(r.main.initial_board[at(16, 16)], 1);
  // Black moving first after HA: the stones were not placed in this game.
  r = read("(;SZ[19]HA[2];B[dd];W[pp])");
  EXPECT_EQ(r.main.initial_board[at(16, 4)], 0);
  // SZ after the setup in the root node keeps the stones.
  r = read("(;AB[dd][pp]HA[2]SZ[19];W[qd])");
  EXPECT_EQ(r.main.initial_board[at(4, 4)], 1);
  EXPECT_EQ(r.main.initial_board[at(16, 4)], 0);
  // Rectangles of setup points.
  r = read("(;SZ[9]AW[aa:bb])");
  EXPECT_EQ(r.main.initial_board[at(2, 2)], 2);
  EXPECT_EQ(r.main.initial_board[at(1, 2)], 2);
}

TEST(SgfRead, CharsetsAreConvertedToCp932) {
  std::string sjis_name = utf8_to_cp932("本因坊");
  EXPECT_EQ(read("(;CA[UTF-8]PB[本因坊])").main.info.black[0], sjis_name);
  // No CA, but UTF-8 with multi-byte characters.
  EXPECT_EQ(read("(;PB[本因坊])").main.info.black[0], sjis_name);
  // A declared charset iconv knows.
  EXPECT_EQ(read("(;CA[EUC-JP]PB[\xcb\xdc\xb0\xf8\xcb\xb7])").main.info.black[0], sjis_name);
  // UTF-8 that lost bytes (one character cut short) is still UTF-8; Shift_JIS stays as it is.
  EXPECT_EQ(read("(;PB[本因\xe5?])").main.info.black[0], utf8_to_cp932("本因") + "??");
  EXPECT_EQ(read("(;PB[" + sjis_name + "])").main.info.black[0], sjis_name);
  // A character CP932 lacks becomes "?".
  log_clear();
  EXPECT_EQ(read("(;CA[UTF-8]PB[a😀b])").main.info.black[0], "a?b");
  EXPECT_NE(log_text().find("replaced"), std::string::npos);
}

// Without CA: half-width katakana pairs are valid UTF-8 as well (DA B0 is
// U+06B0), so Shift_JIS must win unless the UTF-8 reading is clearly better.
TEST(SgfRead, CharsetGuessKeepsShiftJisThatAlsoPassesAsUtf8) {
  auto sjis = [](const char* utf8) { return utf8_to_cp932(utf8); };
  struct Case {
    std::string name;
    std::string expected;
  };
  const Case kShiftJis[] = {
      {sjis("ﾀﾛｳ"), sjis("ﾀﾛｳ")},
      {sjis("ﾚｰﾃｨﾝｸﾞ対局"), sjis("ﾚｰﾃｨﾝｸﾞ対局")},
      {sjis("ﾃｨ"), sjis("ﾃｨ")},    // C3 A8 would be an accented e
      {sjis("ﾅｶﾆｼ"), sjis("ﾅｶﾆｼ")},  // Latin Extended in UTF-8, no letter beside it
      {sjis("本因坊秀策 ひらがな カタカナ"), sjis("本因坊秀策 ひらがな カタカナ")},
      {sjis("ﾌｼﾞｻﾜ 藤沢秀行"), sjis("ﾌｼﾞｻﾜ 藤沢秀行")},
  };
  for (const Case& c : kShiftJis) {
    EXPECT_EQ(read("(;PB[" + c.name + "];B[aa])").main.info.black[0], c.expected) << cp932_to_utf8(c.name);
  }
  const Case kUtf8[] = {
      {"本因坊秀策", sjis("本因坊秀策")},
      {"ひらがな ﾀﾛｳ", sjis("ひらがな ﾀﾛｳ")},
      {"José Müller", "Jos? M?ller"},  // CP932 has no accented letters
      {"Дмитрий Σωκράτης", sjis("Дмитрий Σωκράτης")},
      {"Zoë 本因坊", "Zo? " + sjis("本因坊")},
      // One byte of 因 lost: valid CP932 by chance, still UTF-8.
      {"\xe6\x9c\xac\xe5\x9b?\xe5\x9d\x8a", sjis("本") + "??" + sjis("坊")},
  };
  for (const Case& c : kUtf8) {
    EXPECT_EQ(read("(;PB[" + c.name + "];B[aa])").main.info.black[0], c.expected) << c.name;
  }
  // A file mixing Shift_JIS fields: every field stays as it is.
  std::string title = sjis("ﾚｰﾃｨﾝｸﾞ対局"), white = sjis("ｺｳｽﾞｷ"), note = sjis("ﾅｲｽ ｼｮｯﾄ");
  GameRecord r = read("(;EV[" + title + "]PB[Smith]PW[" + white + "];B[aa]C[" + note + "])");
  EXPECT_EQ(r.main.info.title[0], title);
  EXPECT_EQ(r.main.info.white[0], white);
  ASSERT_EQ(r.figures.size(), 1u);
  EXPECT_EQ(r.figures[0].text, note);
}

TEST(SgfRead, MarksLabelsAndComments) {
  GameRecord r = read("(;SZ[9];B[ee]C[first]TR[aa]MA[bb]CR[cc]SQ[dd]LB[ef:A][eg:" + utf8_to_cp932("あ") +
                      "]C[second];W[ff])");
  ASSERT_EQ(r.figures.size(), 1u);
  const Figure& f = r.figures[0];
  EXPECT_EQ(f.anchor_move, 1);
  EXPECT_EQ(f.text, "first\r\nsecond");
  EXPECT_EQ(f.labels[at(1, 1)], LABEL_TRIANGLE);
  EXPECT_EQ(f.labels[at(2, 2)], LABEL_CROSS);
  EXPECT_EQ(f.labels[at(3, 3)], LABEL_CIRCLE);
  EXPECT_EQ(f.labels[at(4, 4)], LABEL_SQUARE);
  EXPECT_EQ(f.labels[at(5, 6)], 'A');
  EXPECT_EQ(f.labels[at(5, 7)], 0x82A0);
  EXPECT_EQ(f.initial_board[at(5, 5)], 1);
}

TEST(SgfWrite, HeaderResultAndTitleForms) {
  GameRecord r;
  r.reset();
  r.main.info.winner[0] = "B";
  r.main.info.winner[1] = "C";
  r.main.info.date[0] = "2013/04/11";
  r.main.info.title[0] = utf8_to_cp932("ﾚｰﾃｨﾝｸﾞ対局");
  std::string text = written(r);
  EXPECT_EQ(text.rfind("(;GM[1]SZ[19]CA[Shift_JIS]\r\n", 0), 0u);
  EXPECT_NE(text.find("RE[B+R]"), std::string::npos);
  EXPECT_NE(text.find("DT[2013-04-11]"), std::string::npos);
  EXPECT_NE(text.find("EV[" + utf8_to_cp932("レーティング対局") + "]"), std::string::npos);
  EXPECT_NE(text.find("AP[Ranvel Editor 1.04]"), std::string::npos);
  r.main.info.winner[0] = "W";
  r.main.info.winner[1] = "6.5";
  EXPECT_NE(written(r).find("RE[W+6.5]"), std::string::npos);
  r.main.info.winner[0] = "D";
  EXPECT_NE(written(r).find("RE[0]"), std::string::npos);
}

// Texts taken in from a damaged file may end in half a double-byte
// character; written as is, its lead byte would swallow the closing "]".
TEST(SgfWrite, CutDoubleByteCharacterAtTheEndOfAValueKeepsTheTreeReadable) {
  GameRecord r;
  r.reset();
  r.main.info.black[0] = "ab\x88";
  r.main.info.place = "\xe3";
  bool complete = false;
  GameRecord back = read(written(r), &complete);
  EXPECT_TRUE(complete);
  EXPECT_EQ(back.main.info.black[0], "ab?");
  EXPECT_EQ(back.main.info.place, "?");
}

TEST(SgfWrite, TenMovesPerLine) {
  GameRecord r;
  r.reset();
  for (int i = 0; i < 11; i++) r.main.append_move(at(1 + i, 1 + i % 2), 1 + i % 2);
  std::string text = written(r);
  size_t first = text.find(";B[aa]");
  ASSERT_NE(first, std::string::npos);
  std::string line = text.substr(first, text.find("\r\n", first) - first);
  EXPECT_EQ(std::count(line.begin(), line.end(), ';'), 10);
  EXPECT_NE(text.find("\r\n;B[ka])"), std::string::npos);
}

// Reading what was written gives the same text again, and the figures sit at
// the same anchors.
TEST(SgfRoundTrip, VariationsCommentsAndSetupSurviveAndTextIsStable) {
  std::string source =
      "(;GM[1]SZ[19]PB[Black]PW[White]KM[6.5]AB[dd]AW[pp]C[root comment]"
      ";B[qd];W[dp]C[move two \\] bracket]LB[cc:A]TR[ee]"
      "(;B[oq];W[qo](;B[cq])(;B[cp]C[inner]))"
      "(;B[qp]AE[dd]C[setup in a variation];W[oq])"
      "(;B[pq]))";
  GameRecord a = read(source);
  std::string first = written(a);
  GameRecord b = read(first);
  std::string second = written(b);
  EXPECT_EQ(first, second);
  ASSERT_EQ(a.main.move_count, b.main.move_count);
  ASSERT_EQ(a.figures.size(), b.figures.size());
  for (size_t i = 0; i < a.figures.size(); i++) {
    const Figure* match = nullptr;
    for (const Figure& g : b.figures) {
      if (g.anchor_move == a.figures[i].anchor_move && g.move_count == a.figures[i].move_count &&
          g.text == a.figures[i].text)
        match = &g;
    }
    ASSERT_NE(match, nullptr) << "figure " << i << " anchored at " << a.figures[i].anchor_move;
    for (int z = 0; z < FIGURE_POINTS; z++) {
      ASSERT_EQ(match->initial_board[z], a.figures[i].initial_board[z]);
      ASSERT_EQ(match->labels[z], a.figures[i].labels[z]);
    }
  }
  // The written tree is one game: exactly one ")" closes depth 0, at the end.
  int depth = 0, closes_at_zero = 0;
  bool in_value = false;
  for (size_t i = 0; i < first.size(); i++) {
    char c = first[i];
    if (in_value) {
      if (c == '\\') i++;
      else if (c == ']') in_value = false;
    } else if (c == '[') {
      in_value = true;
    } else if (c == '(') {
      depth++;
    } else if (c == ')') {
      if (--depth == 0) closes_at_zero++;
    }
  }
  EXPECT_EQ(closes_at_zero, 1);
  EXPECT_EQ(depth, 0);
}

// A comment or mark read before SZ, before AB/AW or before a first black move
// that undoes HA belongs to the root as it ends up: it is written on the root
// node (not as a side variation with AE points), and UGF lists the setup.
TEST(SgfRoundTrip, RootCommentsFollowTheFinalSizeAndSetup) {
  struct Case {
    const char* source;
    int size;
    int black_setup;  // setup stones on the final root
    int labels;       // marks left on the final board
  };
  const Case kCases[] = {
      {"(;GC[hello]SZ[9];B[cc])", 9, 0, 0},
      {"(;C[hello]TR[aa][ss]SZ[17]AB[dd];B[cc])", 17, 1, 1},  // ss is off the 17 x 17 board
      {"(;C[hello]AB[dd][pp];W[qq])", 19, 2, 0},
      {"(;SZ[13]C[hello]LB[aa:X]HA[4];W[cc])", 13, 4, 1},
      {"(;HA[2]C[hello];B[dd];W[pp])", 19, 0, 0},
      {"(;C[hello]SZ[9]AB[aa]AW[ab][ba];B[cc])", 9, 0, 0},  // a dead setup stone goes
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.source);
    GameRecord a = read(c.source);
    ASSERT_EQ(a.figures.size(), 1u);
    const Figure& note = a.figures[0];
    EXPECT_EQ(note.anchor_move, 0);
    EXPECT_EQ(note.b_size, c.size);
    EXPECT_EQ(std::memcmp(note.initial_board, a.main.initial_board, sizeof note.initial_board), 0);
    EXPECT_EQ(std::count(a.main.initial_board, a.main.initial_board + FIGURE_POINTS, 1), c.black_setup);
    int labels = 0;
    for (int z = 0; z < FIGURE_POINTS; z++) labels += note.labels[z] != 0;
    EXPECT_EQ(labels, c.labels);
    EXPECT_NE(note.labels[at(1, 1)] != 0, c.labels == 0);

    std::string text = written(a);
    EXPECT_EQ(text.find("AE["), std::string::npos) << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '('), 1) << text;
    size_t comment = text.find("C[hello]"), first_move = text.find(";", text.find("AP["));
    EXPECT_LT(comment, first_move) << text;
    EXPECT_EQ(written(read(text)), text);

    SgfBuf ugf;
    write_ugf(a, ugf);
    GameRecord u;
    u.reset();
    ASSERT_EQ(read_ugf(ugf.text, u), 1);
    complete_load(u, true);
    ASSERT_EQ(u.figures.size(), 1u);
    EXPECT_EQ(std::memcmp(u.figures[0].initial_board, a.main.initial_board, sizeof note.initial_board), 0);
    EXPECT_EQ(written(u).find("AE["), std::string::npos);
  }
  // A root reference figure with stones of its own is still a variation.
  GameRecord r = read("(;SZ[9];B[cc](;W[dd])(;AB[ee]C[diagram]))");
  ASSERT_EQ(r.figures.size(), 1u);
  EXPECT_EQ(r.figures[0].initial_board[at(5, 5)], 1);
}

TEST(SgfRoundTrip, VariationAfterTheLastMoveStaysAVariation) {
  GameRecord a = read("(;B[aa];W[bb])");
  Figure& v = a.annotation_at(2);
  v.append_move(at(3, 3), 1);
  GameRecord b = read(written(a));
  EXPECT_EQ(b.main.move_count, 2);
  ASSERT_EQ(b.figures.size(), 1u);
  EXPECT_EQ(b.figures[0].anchor_move, 2);
  EXPECT_EQ(b.figures[0].move_count, 1);
}

}  // namespace
