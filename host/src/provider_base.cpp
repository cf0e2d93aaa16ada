#include <ostrelhost/provider_base.h>

#include "host_log.h"

namespace ostrelhost {

void warnForeignRelease(ProviderKind kind)
{
    qCWarning(lcHost) << "release() on the kind" << static_cast<int>(kind)
                      << "provider that the application owns was ignored";
}

} // namespace ostrelhost
