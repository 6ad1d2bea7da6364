// Long operations run on the GUI thread and let window messages through; while
// they do, the windows ignore commands and clicks (they would change the
// record under the operation).
#pragma once

bool editor_busy();
// Dispatches the waiting window messages with the busy flag set.
void editor_pump_messages();
