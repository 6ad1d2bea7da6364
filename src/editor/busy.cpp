#include "editor/busy.h"

#include <QCoreApplication>

namespace {
int busy_depth = 0;
}  // namespace

bool editor_busy() { return busy_depth > 0; }

void editor_pump_messages() {
  busy_depth++;
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  busy_depth--;
}
