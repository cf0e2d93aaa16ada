// remotesetup.xml: how a remote setup starts, read against a fixed recorder list.
#include "host_loader_fuzz.h"

#include <ostrelhost/file_remote_setup_provider.h>
#include <ostrelhost/file_server_list_provider.h>

namespace {

// Recorders 1 to 3 with 0, 1 and 30 cameras.
ostrelhost::FileServerListProvider &recorders()
{
    static ostrelhost::FileServerListProvider servers = [] {
        ostrelhost::FileServerListProvider list;
        for (int cameras : {0, 1, 30}) {
            ServerRecord *server = nullptr;
            const std::string name = "Recorder with " + std::to_string(cameras) + " cameras";
            if (!list.getServer(list.createServer(name.c_str()), &server))
                __builtin_trap();
            for (int i = 0; i < cameras; ++i)
                ostrelhost::appendBlock(server->cameras)->channel = i + 1;
        }
        return list;
    }();
    return servers;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using ostrelhost::FileRemoteSetupProvider;
    return hostfuzz::loadAndRoundTrip(
        data, size, [] { return std::make_unique<FileRemoteSetupProvider>(&recorders()); },
        [](FileRemoteSetupProvider &setup) {
            for (std::int32_t id = 0; id <= 4; ++id) {
                RemoteSetupParameters block {};
                const bool known = setup.loadRemoteSetupParameters(id, &block);
                if (known != (id >= 1 && id <= 3))
                    __builtin_trap();
                ServerRecord *server = nullptr;
                if (known
                    && (!recorders().getServer(id - 1, &server)
                        || block.activeEntry >= static_cast<std::int32_t>(
                               std::min<std::size_t>(seqSize(server->cameras), 24))))
                    __builtin_trap(); // the camera to open first is one that the block names
            }
        });
}
