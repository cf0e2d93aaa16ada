// The two directions of a dialog's data exchange: values into the controls when the dialog
// fills them, and back out of the controls when it applies them.
#pragma once

namespace setupmgr {

enum class DataExchange { Load, Save };

} // namespace setupmgr
