// The records the main window holds and the facts its title is made from.
#pragma once
#include <QString>
#include <vector>

#include "records/figure.h"

constexpr const char* PRODUCT_NAME = "Ranvel Editor";

struct EditorState {
  EditorRecords records;
  QString file_path;  // the file last loaded or saved; empty for a new record
  bool modified = false;

  Figure& working() { return records.working.main; }
  const Figure& working() const { return records.working.main; }
  QString title() const;
  // The figure hanging at move n of the working record, or null.
  const Figure* annotation(int n) const;
  // Moves before / after n that carry a comment or figure (-1 when none).
  int previous_annotated(int n) const;
  int next_annotated(int n) const;
  // A figure with moves or stones of its own gets a tab; one with only a
  // comment or marks is drawn on the main board.
  bool is_reference(const Figure& fig) const;
  // FigureList indices of the figures that are references, in list order
  // (one replay of the main line for them all).
  std::vector<int> reference_figures() const;
  // Cuts the record after the shown move: later moves and the figures hung after it.
  void truncate_after_shown();
};
