// The one sound of refused input in the module, counted so that tests can tell it was made.
#pragma once

namespace setupmgr {

// Sounds the exclamation beep.
void beep();
// Beeps sounded since the process started.
int beepCount();

} // namespace setupmgr
