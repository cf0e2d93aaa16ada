// serverinfo.xml: the recorder list.
#include "host_loader_fuzz.h"

#include <ostrelhost/file_server_list_provider.h>

#include <set>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using ostrelhost::FileServerListProvider;
    return hostfuzz::loadAndRoundTrip(
        data, size, [] { return std::make_unique<FileServerListProvider>(); },
        [](FileServerListProvider &servers) {
            // The remote setup finds a recorder by its id: every id names one recorder, also
            // that of a recorder added now.
            servers.createServer("A recorder added by the fuzzer");
            std::set<std::int32_t> ids;
            for (std::int32_t i = 0; i < servers.getServerCount(); ++i) {
                ServerRecord *server = nullptr;
                if (!servers.getServer(i, &server) || !ids.insert(server->hostId).second)
                    __builtin_trap();
            }
            ServerRecord *first = nullptr;
            if (servers.getServer(0, &first)) {
                const std::string name(first->name, strnlen(first->name, sizeof first->name));
                const std::int32_t before = servers.getServerCount();
                if (!servers.removeServer(name.c_str()) || servers.getServerCount() != before - 1)
                    __builtin_trap();
            }
        });
}
