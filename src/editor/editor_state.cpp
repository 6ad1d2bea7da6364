#include "editor/editor_state.h"

#include <QFileInfo>
#include <algorithm>
#include <numeric>

QString EditorState::title() const {
  const QString product = QString::fromLatin1(PRODUCT_NAME);
  const QString marker = QStringLiteral(" (更新)");
  if (file_path.isEmpty()) return modified ? QStringLiteral("(更新) ") + product : product;
  return QFileInfo(file_path).fileName() + (modified ? marker : QString()) + " - " + product;
}

const Figure* EditorState::annotation(int n) const {
  const FigureList& list = records.working.figures;
  for (auto it = list.rbegin(); it != list.rend(); ++it)
    if (it->anchor_move == n) return &*it;
  return nullptr;
}

int EditorState::previous_annotated(int n) const {
  for (int i = n - 1; i >= 0; i--)
    if (annotation(i)) return i;
  return -1;
}

int EditorState::next_annotated(int n) const {
  for (int i = n + 1; i <= working().move_count; i++)
    if (annotation(i)) return i;
  return -1;
}

namespace {

// A scratch copy of the main line: a Figure is big for the stack.
Figure& scratch_main(const Figure& main) {
  static Figure shown;
  shown = main;
  return shown;
}

bool has_own_stones(const Figure& fig, const Figure& main_position) {
  for (int y = 1; y <= fig.b_size; y++)
    for (int x = 1; x <= fig.b_size; x++)
      if (fig.initial_board[figure_z(x, y)] != main_position.board[figure_z(x, y)]) return true;
  return false;
}

}  // namespace

bool EditorState::is_reference(const Figure& fig) const {
  if (fig.move_count > 0) return true;
  Figure& shown = scratch_main(working());
  shown.goto_move(fig.anchor_move);
  return has_own_stones(fig, shown);
}

std::vector<int> EditorState::reference_figures() const {
  const FigureList& list = records.working.figures;
  std::vector<int> by_anchor(list.size());
  std::iota(by_anchor.begin(), by_anchor.end(), 0);
  std::stable_sort(by_anchor.begin(), by_anchor.end(),
                   [&](int a, int b) { return list[a].anchor_move < list[b].anchor_move; });
  Figure& shown = scratch_main(working());
  shown.goto_move(0);
  std::vector<char> reference(list.size(), 0);
  for (int i : by_anchor) {
    const Figure& fig = list[i];
    if (fig.move_count > 0) {
      reference[i] = 1;
      continue;
    }
    while (shown.tesuu < fig.anchor_move && shown.step_forward()) {
    }
    reference[i] = has_own_stones(fig, shown);
  }
  std::vector<int> out;
  for (size_t i = 0; i < list.size(); i++)
    if (reference[i]) out.push_back((int)i);
  return out;
}

void EditorState::truncate_after_shown() {
  Figure& f = working();
  f.move_count = f.tesuu;
  for (int i = f.move_count; i < FIGURE_MOVES_MAX; i++) f.moves[i] = FigureMove{0, 0, 0};
  FigureList& list = records.working.figures;
  std::erase_if(list, [&](const Figure& fig) { return fig.anchor_move > f.tesuu; });
}
