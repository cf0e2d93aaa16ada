#include "check.h"

#include "module_log.h"

#include <cstring>

namespace setupmgr {

void logFailedCheck(const char *condition, const char *file, int line)
{
    const char *slash = std::strrchr(file, '/');
    Common::writeLog("Check failed: %s (%s:%d)", condition, slash ? slash + 1 : file, line);
}

} // namespace setupmgr
