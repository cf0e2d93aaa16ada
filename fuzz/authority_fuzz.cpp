// authority.xml: categories of authority items and their members.
#include "host_loader_fuzz.h"

#include <ostrelhost/file_authority_provider.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using ostrelhost::FileAuthorityProvider;
    return hostfuzz::loadAndRoundTrip(
        data, size, [] { return std::make_unique<FileAuthorityProvider>(); },
        [](FileAuthorityProvider &authority) {
            for (std::int32_t c = 0; c < authority.getCategoryCount(); ++c) {
                AuthorityCategory *category = nullptr;
                if (!authority.getCategory(c, &category))
                    __builtin_trap();
                if (authority.findCategory(category->id) > c)
                    __builtin_trap(); // the first category of that id
                for (std::int32_t i = 0; i < authority.getAuthorityCount(c); ++i) {
                    AuthorityItem *item = nullptr;
                    if (!authority.getAuthority(c, i, &item))
                        __builtin_trap();
                }
            }
        });
}
