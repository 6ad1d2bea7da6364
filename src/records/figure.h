// The editor's record model: a Figure is one line of play (initial position,
// moves, position shown, labels, text, game information); reference figures
// are Figures anchored at a main-line move. Texts are Shift_JIS bytes.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Points use the compact code zc = row * 32 + column (both from 1).
constexpr int FIGURE_STRIDE = 32;
constexpr int FIGURE_POINTS = 21 * FIGURE_STRIDE;  // 672
constexpr int FIGURE_MOVES_MAX = 1024;              // move entries; 1023 usable
constexpr int FIGURE_SIZE_MAX = 19;
constexpr int32_t FIGURE_NUMBER_NONE = 2147483647;

inline int figure_z(int x, int y) { return y * FIGURE_STRIDE + x; }
inline int figure_x(int zc) { return zc & (FIGURE_STRIDE - 1); }
inline int figure_y(int zc) { return zc / FIGURE_STRIDE; }

// Result codes of play_on_figure.
enum FigurePlay : int {
  FIGURE_OK = 0,
  FIGURE_SUICIDE = 1,
  FIGURE_KO = 2,
  FIGURE_OCCUPIED = 4,
  FIGURE_BAD_COLOR = 7,
};

struct FigureMove {
  int32_t z;      // 0 = pass
  int32_t color;  // 1 black, 2 white
  int32_t time;   // SGF T value, else 0
};

enum PhotoIndex : int { PHOTO_BLACK = 0, PHOTO_WHITE = 1, PHOTO_COMMENTATOR = 2, PHOTO_ICON = 3, PHOTO_NUM = 4 };

struct GameInfo {
  std::string black[3];  // name, rank, remark
  std::string white[3];
  std::string title[3];
  std::string place;
  std::string date[4];
  std::string time[4];  // allowance, byo-yomi, used by black, used by white
  std::string rule;     // "Japanese", "Chinese", "Unknown"
  bool rule_read = false;  // the file named the rule (else rule is the default)
  std::string winner[2];  // kind code, detail
  std::string writer;
  std::string copyright;
  std::string comment;
  double komi = 6.5;
  bool komi_read = false;  // the file named the komi (else komi is the default)
  int32_t nHand = 0;
  std::string photos[PHOTO_NUM];       // raw image bytes; empty = none
  std::string photo_names[PHOTO_NUM];  // the names a UGF [Files] section uses

  void clear();
};

// Label values for the SGF marks (Shift_JIS double-byte characters).
constexpr int32_t LABEL_TRIANGLE = 0x81A2;  // △ TR
constexpr int32_t LABEL_CROSS = 0x817E;     // × MA
constexpr int32_t LABEL_CIRCLE = 0x819B;    // ○ CR
constexpr int32_t LABEL_SQUARE = 0x81A0;    // □ SQ

struct Figure {
  int32_t anchor_move = 0;  // reference figure: main-line move it branches after
  int32_t b_size = 19;
  int32_t board[FIGURE_POINTS];
  int32_t initial_board[FIGURE_POINTS];
  int32_t ko_point = 0;
  int32_t prisoners[2] = {0, 0};  // taken by black, by white
  int32_t tesuu = 0;
  int32_t move_count = 0;
  int32_t first_number = FIGURE_NUMBER_NONE;
  int32_t analysis_base = FIGURE_NUMBER_NONE;
  int32_t first_color = 1;
  int32_t ko_color = 0;  // the colour ko_point forbids (the capturer's opponent)
  FigureMove moves[FIGURE_MOVES_MAX];
  std::string text;
  int32_t labels[FIGURE_POINTS];
  GameInfo info;
  int32_t scratch[FIGURE_POINTS];  // flood-fill marks: == scratch_stamp means visited
  int32_t scratch_stamp = 0;

  Figure();
  Figure(const Figure& o);
  Figure& operator=(const Figure& o);  // refuses self-assignment ("self copy?")
  void copy_info(const Figure& o);     // game information only ("self info copy?")

  void clear();
  void set_size(int n);
  void clear_labels();
  void reset();
  void append_move(int z, int color, int time = 0);
  int play_on_figure(int z, int color);
  void goto_move(int n);
  // Plays move tesuu + 1 as goto_move would; false (nothing changed) at the
  // end of the moves or at a move that stops a replay.
  bool step_forward();
  int side_to_move() const;
  // alternative: three stones with the lower right corner empty.
  void place_handicap(int n, bool alternative = false);
  void remove_dead_setup_stones();
  void figure_from_main(Figure& main, int n);
  std::string result_text() const;

  bool on_board(int x, int y) const { return x >= 1 && y >= 1 && x <= b_size && y <= b_size; }
  // Stones and liberties of the string at zc (flood fill over scratch). With
  // a limit the fill stops once that many liberties are found (stones is then partial).
  void count_string(int zc, int& stones, int& liberties, int liberty_limit = FIGURE_POINTS);
};

using FigureList = std::vector<Figure>;

// A winning margin as the result texts write it: "3目勝ち", "6目半勝ち", "半目勝ち".
std::string win_by_words(double margin);

// One record image: the main line and its reference figures.
struct GameRecord {
  Figure main;
  FigureList figures;

  void reset();
  // Element-wise copy of another record (main whole, list resized first).
  void copy_from(const GameRecord& o);
  // The figure anchored at n searched from the end, created from the main line
  // when missing. Growing the list invalidates references into it.
  Figure& annotation_at(int n);
};

// The editor's two record images.
struct EditorRecords {
  GameRecord file;     // what readers fill and writers write
  GameRecord working;  // what the board shows and the user edits

  void file_to_working() { working.copy_from(file); }
  void working_to_file() { file.copy_from(working); }
};

// Completes a load after a reader filled the record: dead setup stones,
// replay (logging "棋譜読込エラー！" at the first bad move), first colour,
// then move 0 unless last_move_load. Returns the number of moves replayed.
int complete_load(GameRecord& rec, bool last_move_load);
