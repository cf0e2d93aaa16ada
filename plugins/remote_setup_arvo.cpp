// The remote-setup plug-in of product type 2.
#include "sample_remote_setup.h"

namespace {
constexpr std::int32_t kProductType = kRemoteSetupArvo;
}

OSTREL_PLUGIN_EXPORT IRemoteSetup *CreateSetup(std::int32_t productType)
{
    return sample::createSetup(productType, kProductType, "Arvo");
}

OSTREL_PLUGIN_EXPORT void ReleaseSetup(IRemoteSetup *setup)
{
    sample::releaseSetup(setup);
}

OSTREL_PLUGIN_EXPORT void SetupTerm()
{
    sample::terminate();
}
