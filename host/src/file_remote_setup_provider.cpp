#include <ostrelhost/file_remote_setup_provider.h>

#include "xml_file.h"

#include <cstdio>
#include <string>

namespace ostrelhost {

namespace {

constexpr char kRoot[] = "remoteSetup";

RemoteSetupSettings readSettings(const pugi::xml_node &node, const RemoteSetupSettings &fallback)
{
    RemoteSetupSettings settings;
    settings.flags
        = static_cast<std::uint32_t>(xml::integer(node, "flags", 0, UINT32_MAX, fallback.flags));
    settings.timeout = static_cast<std::uint16_t>(
        xml::integer(node, "timeout", 0, UINT16_MAX, fallback.timeout));
    settings.autoConnect = xml::boolean(node, "autoConnect", fallback.autoConnect);
    settings.enabled = xml::boolean(node, "enabled", fallback.enabled);
    settings.activeCamera = static_cast<std::int32_t>(
        xml::integer(node, "activeCamera", INT32_MIN, INT32_MAX, fallback.activeCamera));
    return settings;
}

void writeSettings(pugi::xml_node &node, const RemoteSetupSettings &settings)
{
    xml::setInteger(node, "flags", settings.flags);
    xml::setInteger(node, "timeout", settings.timeout);
    xml::setBoolean(node, "autoConnect", settings.autoConnect);
    xml::setBoolean(node, "enabled", settings.enabled);
    xml::setInteger(node, "activeCamera", settings.activeCamera);
}

const ServerRecord *findRecorder(IServerListProvider *servers, std::int32_t serverId)
{
    for (std::int32_t i = 0, n = servers->getServerCount(); i < n; ++i) {
        ServerRecord *server = nullptr;
        if (servers->getServer(i, &server) && server && server->hostId == serverId)
            return server;
    }
    return nullptr;
}

class BlockFiller
{
public:
    explicit BlockFiller(RemoteSetupParameters &block)
        : m_block(block)
    { }
    template <std::size_t N>
    void set(int row, int column, const char (&field)[N])
    {
        set(row, column, xml::fieldText(field));
    }
    void set(int row, int column, const std::string &text)
    {
        copyField(m_block.entries[row][column].data, text.c_str());
    }

private:
    RemoteSetupParameters &m_block;
};

std::string firmwareText(const std::uint8_t (&version)[4])
{
    if (!version[0] && !version[1] && !version[2] && !version[3])
        return {};
    char text[20];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", version[0], version[1], version[2], version[3]);
    return text;
}

} // namespace

FileRemoteSetupProvider::FileRemoteSetupProvider(IServerListProvider *servers,
                                                 std::shared_ptr<Diagnostics> diagnostics)
    : ProviderBase(std::move(diagnostics))
    , m_servers(servers)
{ }

bool FileRemoteSetupProvider::loadFile(const char *path)
{
    RemoteSetupSettings defaults;
    std::map<std::int32_t, RemoteSetupSettings> recorders;
    const bool whole = xml::loadDocument(
        path, kRoot, diagnostics(), origin(),
        [&](const pugi::xml_node &root, xml::Content &content) {
            content.first(root, "defaults", [&](const pugi::xml_node &element) {
                defaults = readSettings(element, RemoteSetupSettings {});
            });
            content.each(root, "recorder", [&](const pugi::xml_node &element) {
                const auto id
                    = static_cast<std::int32_t>(xml::integer(element, "id", 1, INT32_MAX, 0));
                if (!id)
                    throw xml::FormatError(element, "a <recorder> has no id");
                if (!recorders.emplace(id, readSettings(element, defaults)).second)
                    throw xml::FormatError(element,
                                           "recorder id " + std::to_string(id) + " is used twice");
            });
        });
    // What could be read is kept; the rest was reported, and the file is kept when replaced.
    clear();
    m_defaults = defaults;
    m_recorders = std::move(recorders);
    return whole;
}

bool FileRemoteSetupProvider::saveFile(const char *path)
{
    return xml::saveDocument(path, kRoot, diagnostics(), origin(), [this](pugi::xml_node &root) {
        pugi::xml_node defaults = root.append_child("defaults");
        writeSettings(defaults, m_defaults);
        for (const auto &[id, settings] : m_recorders) {
            pugi::xml_node element = root.append_child("recorder");
            xml::setInteger(element, "id", id);
            writeSettings(element, settings);
        }
    });
}

void FileRemoteSetupProvider::clear()
{
    m_defaults = RemoteSetupSettings {};
    m_recorders.clear();
}

bool FileRemoteSetupProvider::loadRemoteSetupParameters(std::int32_t serverId,
                                                        RemoteSetupParameters *parameters)
{
    if (!parameters || !m_servers)
        return false;
    const ServerRecord *server = findRecorder(m_servers, serverId);
    if (!server)
        return false;

    // Every entry is rewritten, so nothing of the recorder opened before stays in the block.
    std::memset(parameters->entries, 0, sizeof parameters->entries);
    parameters->hostValue = serverId;
    BlockFiller block(*parameters);
    block.set(RecorderRow, NameColumn, server->name);
    block.set(RecorderRow, AddressColumn, server->address);
    block.set(RecorderRow, PortColumn, std::to_string(server->port));
    block.set(RecorderRow, LoginIdColumn, server->loginId);
    block.set(RecorderRow, PasswordColumn, server->password);
    block.set(RecorderRow, ProductKindColumn, std::to_string(server->productKind));
    char code[16];
    std::snprintf(code, sizeof code, "0x%06X", static_cast<std::uint32_t>(server->productCode));
    block.set(RecorderRow, ProductCodeColumn, code);
    block.set(RecorderRow, FirmwareColumn, firmwareText(server->version));
    block.set(RecorderRow, UseDdnsColumn, server->useDdns ? "1" : "0");
    block.set(RecorderRow, DdnsAddressColumn, server->ddnsAddress);
    block.set(RecorderRow, DdnsIdColumn, server->ddnsId);
    block.set(RecorderRow, DdnsPasswordColumn, server->ddnsPassword);

    const std::size_t cameraCount
        = std::min<std::size_t>(seqSize(server->cameras), kRemoteSetupColumns);
    for (std::size_t i = 0; i < cameraCount; ++i) {
        if (const CameraEntry *camera = server->cameras.first[i]) {
            const int column = static_cast<int>(i);
            block.set(CameraNameRow, column, camera->name);
            block.set(CameraChannelRow, column, std::to_string(camera->channel));
        }
    }
    const std::size_t infoCount
        = std::min<std::size_t>(seqSize(server->additionalInfo), kRemoteSetupColumns);
    for (std::size_t i = 0; i < infoCount; ++i) {
        if (const AdditionalInfo *info = server->additionalInfo.first[i]) {
            const int column = static_cast<int>(i);
            block.set(InfoNameRow, column, info->name);
            block.set(InfoValueRow, column, info->value);
        }
    }

    const RemoteSetupSettings chosen = settings(serverId);
    parameters->activeEntry
        = chosen.activeCamera >= 0 && static_cast<std::size_t>(chosen.activeCamera) < cameraCount
        ? chosen.activeCamera
        : -1;
    parameters->flags = chosen.flags;
    parameters->timeout = chosen.timeout;
    parameters->autoConnect = chosen.autoConnect ? 1 : 0;
    parameters->enabled = chosen.enabled ? 1 : 0;
    return true;
}

RemoteSetupSettings FileRemoteSetupProvider::settings(std::int32_t serverId) const
{
    const auto found = m_recorders.find(serverId);
    return found != m_recorders.end() ? found->second : m_defaults;
}

void FileRemoteSetupProvider::setSettings(std::int32_t serverId,
                                          const RemoteSetupSettings &settings)
{
    m_recorders[serverId] = settings;
}

} // namespace ostrelhost
