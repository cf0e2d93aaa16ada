// The library's process-wide objects, made when the host loads the library and destroyed when it
// unloads it, in one explicit order: the log first, since everything after it may write to it,
// then the font cache and the theme library, then the setup manager. At unload the setup manager
// is released first, with the shared language document, whether or not the host released it
// itself; the theme library and the font cache (with its fonts) follow and the log goes last.

#include "common/module_log.h"
#include "controls/font_cache.h"
#include "controls/theme_library.h"

#include <ostrel/setup_manager.h>

namespace {

struct ModuleObjects
{
    ModuleObjects() { GetSetupManager(); }
    // Runs before the members are destroyed.
    ~ModuleObjects() { ReleaseSetupManager(); }

    ModuleLog log;
    FontCache fonts;
    ThemeLibrary themes;
} g_module;

} // namespace
