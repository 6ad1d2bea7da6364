#include "editor/editor_state.h"

#include <QFileInfo>

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

bool EditorState::is_reference(const Figure& fig) const {
  if (fig.move_count > 0) return true;
  static Figure shown;  // scratch: a Figure is big for the stack
  shown = working();
  shown.goto_move(fig.anchor_move);
  for (int y = 1; y <= fig.b_size; y++)
    for (int x = 1; x <= fig.b_size; x++)
      if (fig.initial_board[figure_z(x, y)] != shown.board[figure_z(x, y)]) return true;
  return false;
}

void EditorState::truncate_after_shown() {
  Figure& f = working();
  f.move_count = f.tesuu;
  for (int i = f.move_count; i < FIGURE_MOVES_MAX; i++) f.moves[i] = FigureMove{0, 0, 0};
  FigureList& list = records.working.figures;
  std::erase_if(list, [&](const Figure& fig) { return fig.anchor_move > f.tesuu; });
}
