// "HAPPO_LIST": the games of the game database that reached the position on
// the board, the next moves played there, and those moves lettered A, B, C …
// on the board while the dialog is open.
#pragma once
#include <QDialog>
#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

#include "knowledge/gamedb.h"
#include "records/figure.h"

class BoardView;
class QLabel;
class QTableWidget;
class CandidateMarks;
struct Settings;

// A next move of the search: where, how often, and who won the games.
struct NextMove {
  int zc;        // compact point code, 0 for a pass
  int count;
  int black_wins;
  int white_wins;
  char letter;   // 'A'.. on the board, 0 for none (a pass, or past Z)
};

// The next moves by count, the first point in row order first among equals.
std::vector<NextMove> rank_next_moves(const HappoResult& r);

class GameDbDialog : public QDialog {
  Q_OBJECT
 public:
  // open_game opens a game file and shows the given move (false: not opened).
  using OpenGame = std::function<bool(const QString& path, int move)>;
  GameDbDialog(Settings& settings, const Figure* shown, BoardView* board, OpenGame open_game,
               QWidget* parent = nullptr);
  ~GameDbDialog() override;

  // Searches the position shown now, HAPPO_WHOLE or HAPPO_CORNER.
  void search(int mode);
  // Finds happo.db: beside the program (or in its parent), then in the
  // user's folder. False when there is none.
  bool locate_database();
  void choose_database_folder();

  QTableWidget* match_table() const { return matches_; }
  QTableWidget* next_table() const { return next_; }
  const std::vector<NextMove>& next_moves() const { return ranked_; }
  const HappoResult* result() const { return result_.get(); }
  // The letters belong to the searched position: false once the board shows another.
  bool marks_apply() const;

 protected:
  void showEvent(QShowEvent* e) override;
  void hideEvent(QHideEvent* e) override;

 private:
  void fill();
  void open_row(int row);
  void explain_missing_database();

  Settings& settings_;
  const Figure* shown_;
  QPointer<BoardView> board_;
  OpenGame open_game_;
  std::unique_ptr<HappoResult> result_;
  std::vector<NextMove> ranked_;
  std::vector<int32_t> searched_board_;
  int searched_size_ = 0;
  QTableWidget* matches_;
  QTableWidget* next_;
  QLabel* summary_;
  QPointer<CandidateMarks> marks_;
};
