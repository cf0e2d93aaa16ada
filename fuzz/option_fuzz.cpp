// option.xml: the general options.
#include "host_loader_fuzz.h"

#include <ostrelhost/file_option_provider.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using ostrelhost::FileOptionProvider;
    return hostfuzz::loadAndRoundTrip(
        data, size, [] { return std::make_unique<FileOptionProvider>(); },
        [](FileOptionProvider &options) {
            OptionRecord *record = nullptr;
            if (!options.getOptions(&record) || record->language[sizeof record->language - 1])
                __builtin_trap();
        });
}
