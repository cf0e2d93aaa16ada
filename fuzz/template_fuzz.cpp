// template.xml: the display templates.
#include "host_loader_fuzz.h"

#include <ostrelhost/file_template_provider.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using ostrelhost::FileTemplateProvider;
    return hostfuzz::loadAndRoundTrip(
        data, size, [] { return std::make_unique<FileTemplateProvider>(); },
        [](FileTemplateProvider &templates) {
            DisplayTemplate *view = nullptr;
            if (templates.getTemplate("serverInfo", &view)) {
                for (std::size_t c = 0; c < seqSize(view->categories); ++c) {
                    const InfoCategory *category = view->categories.first[c];
                    if (!category || category->name[sizeof category->name - 1])
                        __builtin_trap(); // text fields end in a zero
                }
            }
        });
}
