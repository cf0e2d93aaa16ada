// The recorders (DVRs) the client knows (kind 3), with their additional information and
// cameras, kept in an XML file. hostId is the recorder's id, unique in the list.
#pragma once

#include <ostrelhost/owned_records.h>
#include <ostrelhost/provider_base.h>

#include <vector>

namespace ostrelhost {

class FileServerListProvider final
    : public ProviderBase<FileServerListProvider, IServerListProvider, ProviderKind::ServerList>
{
public:
    explicit FileServerListProvider(std::shared_ptr<Diagnostics> diagnostics = {});
    FileServerListProvider(const FileServerListProvider &other);

    bool loadFile(const char *path) override;
    bool saveFile(const char *path) override;
    void clear() override;

    std::int32_t getServerCount() override;
    // Refuses (-1) an empty name and a name that is taken; the new recorder gets the next id.
    std::int32_t createServer(const char *name) override;
    bool getServer(std::int32_t index, ServerRecord **out) override;
    bool findServer(const char *name, ServerRecord **out) override;
    bool removeServer(const char *name) override;

    // The recorder at index, or null, to read only: unlike getServer it does not hand the
    // record out, so working copies made later still share it instead of copying it at once.
    const ServerRecord *server(std::int32_t index) const;

private:
    // A copy's recorders are copied, with their blocks, when first handed out.
    std::vector<CopyOnRead<ServerRecord>> m_servers;
};

} // namespace ostrelhost
