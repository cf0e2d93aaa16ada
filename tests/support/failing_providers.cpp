#include "failing_providers.h"

namespace testhost {

bool FaultPlan::fails(const char *operation, bool onCopy)
{
    const std::string name = onCopy ? std::string("copy.") + operation : std::string(operation);
    if (++calls != failAt)
        return false;
    failedCall = name;
    return true;
}

} // namespace testhost
