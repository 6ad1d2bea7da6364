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

void EditorState::truncate_after_shown() {
  Figure& f = working();
  f.move_count = f.tesuu;
  for (int i = f.move_count; i < FIGURE_MOVES_MAX; i++) f.moves[i] = FigureMove{0, 0, 0};
  FigureList& list = records.working.figures;
  std::erase_if(list, [&](const Figure& fig) { return fig.anchor_move > f.tesuu; });
}
