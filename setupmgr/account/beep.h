// The one sound of refused input in the module, counted so that tests can tell it was made.
#pragma once

namespace Beep {

// Sounds the exclamation beep.
void sound();
// Beeps sounded since the process started.
int count();

} // namespace Beep
