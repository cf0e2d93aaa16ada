// account.xml: users and groups with their members.
#include "host_loader_fuzz.h"

#include <ostrelhost/file_account_provider.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using ostrelhost::FileAccountProvider;
    return hostfuzz::loadAndRoundTrip(
        data, size, [] { return std::make_unique<FileAccountProvider>(); },
        [](FileAccountProvider &accounts) {
            // As the account manager deletes: by id, which may be taken twice.
            UserRecord *user = nullptr;
            if (accounts.getUser(0, &user))
                accounts.deleteUser(
                    std::string(user->id, strnlen(user->id, sizeof user->id)).c_str());
            for (std::int32_t i = 0; i < accounts.getGroupCount(); ++i) {
                GroupRecord *group = nullptr;
                if (!accounts.getGroup(i, &group))
                    __builtin_trap();
                for (std::size_t m = 0; m < seqSize(group->members); ++m) {
                    if (!group->members.first[m])
                        __builtin_trap();
                }
            }
        });
}
