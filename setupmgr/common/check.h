// Checks of the module's own invariants. A broken invariant must not take the host's process
// down with it: the check writes the failed condition to the module log and returns from the
// function, with the given value when it returns one.
#pragma once

namespace setupmgr {

// Writes "Check failed: <condition> (<file>:<line>)" to the module log.
void logFailedCheck(const char *condition, const char *file, int line);

} // namespace setupmgr

#define OSTREL_CHECK(condition, ...)                                                               \
    do {                                                                                           \
        if (!(condition)) [[unlikely]] {                                                           \
            ::setupmgr::logFailedCheck(#condition, __FILE__, __LINE__);                            \
            return __VA_ARGS__;                                                                    \
        }                                                                                          \
    } while (false)
