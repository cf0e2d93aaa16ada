// The library's process-wide objects. They are constructed when the host loads the library, in
// the order of their definitions here, and destroyed in the reverse order when it unloads it.

#include "common/module_log.h"

#include <ostrel/setup_manager.h>

namespace {

// First: every later object may write to the log.
ModuleLog g_moduleLog;

struct ModuleAttach
{
    ModuleAttach() { GetSetupManager(); }
    ~ModuleAttach() { ReleaseSetupManager(); }
} g_moduleAttach;

} // namespace
