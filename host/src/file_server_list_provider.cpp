#include <ostrelhost/file_server_list_provider.h>

#include "record_utils.h"
#include "xml_file.h"

#include <algorithm>
#include <set>

namespace ostrelhost {

namespace {

constexpr char kRoot[] = "recorders";

// The firmware version as "b0.b1.b2.b3".
void readFirmware(const pugi::xml_node &node, std::uint8_t (&version)[4])
{
    const char *text = xml::text(node, "firmware");
    if (!*text)
        return;
    unsigned parts[4];
    char end = 0;
    if (std::sscanf(text, "%3u.%3u.%3u.%3u%c", &parts[0], &parts[1], &parts[2], &parts[3], &end)
            != 4
        || std::any_of(std::begin(parts), std::end(parts),
                       [](unsigned part) { return part > 255; }))
        throw xml::FormatError(node,
                               std::string("attribute firmware of <recorder> is \"") + text
                                   + "\", expected four numbers from 0 to 255 such as 2.1.0.5");
    for (int i = 0; i < 4; ++i)
        version[i] = static_cast<std::uint8_t>(parts[i]);
}

void writeFirmware(pugi::xml_node &node, const std::uint8_t (&version)[4])
{
    char text[20];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", version[0], version[1], version[2], version[3]);
    xml::setText(node, "firmware", text);
}

RecordPtr<ServerRecord> readRecorder(const pugi::xml_node &element, xml::Content &content,
                                     std::int32_t fallbackId)
{
    auto server = makeRecord<ServerRecord>();
    server->hostId
        = static_cast<std::int32_t>(xml::integer(element, "id", INT32_MIN, INT32_MAX, fallbackId));
    xml::readField(server->name, element, "name");
    server->productKind
        = static_cast<std::int32_t>(xml::integer(element, "productKind", INT32_MIN, INT32_MAX, 0));
    // Written as an unsigned hex number, so every 32-bit code reads back.
    server->productCode = static_cast<std::int32_t>(
        static_cast<std::uint32_t>(xml::integer(element, "productCode", 0, UINT32_MAX, 0)));
    readFirmware(element, server->version);
    server->connected = xml::boolean(element, "connected", false);
    server->hostFlags
        = static_cast<std::int32_t>(xml::integer(element, "flags", INT32_MIN, INT32_MAX, 0));
    server->hostData
        = static_cast<std::int32_t>(xml::integer(element, "data", INT32_MIN, INT32_MAX, 0));
    xml::readField(server->hostText, element, "note");

    const pugi::xml_node connection = element.child("connection");
    xml::readField(server->address, connection, "address");
    server->port = static_cast<std::uint16_t>(xml::integer(connection, "port", 0, 65535, 0));
    xml::readField(server->loginId, connection, "loginId");
    xml::readField(server->password, connection, "password");

    const pugi::xml_node ddns = element.child("ddns");
    server->useDdns = xml::boolean(ddns, "enabled", false);
    xml::readField(server->ddnsAddress, ddns, "address");
    xml::readField(server->ddnsId, ddns, "id");
    xml::readField(server->ddnsPassword, ddns, "password");

    content.each(element, "info", [&](const pugi::xml_node &infoElement) {
        const auto tag
            = static_cast<std::int32_t>(xml::integer(infoElement, "tag", INT32_MIN, INT32_MAX, -1));
        AdditionalInfo *info = appendBlock(server->additionalInfo);
        info->tag = tag;
        xml::readField(info->name, infoElement, "name");
        xml::readField(info->value, infoElement, "value");
    });
    content.each(element, "camera", [&](const pugi::xml_node &cameraElement) {
        const auto channel = static_cast<std::int32_t>(
            xml::integer(cameraElement, "channel", INT32_MIN, INT32_MAX, 0));
        CameraEntry *camera = appendBlock(server->cameras);
        camera->channel = channel;
        xml::readField(camera->name, cameraElement, "name");
    });
    return server;
}

void writeRecorder(pugi::xml_node &root, const ServerRecord &server)
{
    pugi::xml_node element = root.append_child("recorder");
    xml::setInteger(element, "id", server.hostId);
    xml::setField(element, "name", server.name);
    xml::setInteger(element, "productKind", server.productKind);
    xml::setHex(element, "productCode", static_cast<std::uint32_t>(server.productCode));
    writeFirmware(element, server.version);
    xml::setBoolean(element, "connected", server.connected != 0);
    // The host's own fields are written only when they hold something.
    if (server.hostFlags)
        xml::setInteger(element, "flags", server.hostFlags);
    if (server.hostData)
        xml::setInteger(element, "data", server.hostData);
    if (server.hostText[0])
        xml::setField(element, "note", server.hostText);

    pugi::xml_node connection = element.append_child("connection");
    xml::setField(connection, "address", server.address);
    xml::setInteger(connection, "port", server.port);
    xml::setField(connection, "loginId", server.loginId);
    xml::setField(connection, "password", server.password);

    pugi::xml_node ddns = element.append_child("ddns");
    xml::setBoolean(ddns, "enabled", server.useDdns != 0);
    xml::setField(ddns, "address", server.ddnsAddress);
    xml::setField(ddns, "id", server.ddnsId);
    xml::setField(ddns, "password", server.ddnsPassword);

    for (std::size_t i = 0, n = seqSize(server.additionalInfo); i < n; ++i) {
        const AdditionalInfo *info = server.additionalInfo.first[i];
        if (!info)
            continue;
        pugi::xml_node infoElement = element.append_child("info");
        xml::setInteger(infoElement, "tag", info->tag);
        xml::setField(infoElement, "name", info->name);
        xml::setField(infoElement, "value", info->value);
    }
    for (std::size_t i = 0, n = seqSize(server.cameras); i < n; ++i) {
        const CameraEntry *camera = server.cameras.first[i];
        if (!camera)
            continue;
        pugi::xml_node cameraElement = element.append_child("camera");
        xml::setInteger(cameraElement, "channel", camera->channel);
        xml::setField(cameraElement, "name", camera->name);
    }
}

std::int32_t nextId(const std::vector<CopyOnRead<ServerRecord>> &servers)
{
    std::vector<std::int32_t> ids;
    ids.reserve(servers.size());
    for (const auto &server : servers)
        ids.push_back(server->hostId);
    return detail::freeNumber(std::move(ids), 1);
}

} // namespace

FileServerListProvider::FileServerListProvider(std::shared_ptr<Diagnostics> diagnostics)
    : ProviderBase(std::move(diagnostics))
{ }

FileServerListProvider::FileServerListProvider(const FileServerListProvider &other)
    : ProviderBase(other)
    , m_servers(shareAll(other.m_servers))
{ }

bool FileServerListProvider::loadFile(const char *path)
{
    std::vector<CopyOnRead<ServerRecord>> servers;
    const bool whole = xml::loadDocument(
        path, kRoot, diagnostics(), origin(),
        [&](const pugi::xml_node &root, xml::Content &content) {
            std::vector<std::int32_t> ids;
            std::set<std::int32_t> idsInUse;
            std::set<std::string> names;
            std::int32_t highest = 0;
            const auto freeId
                = [&] { return highest < INT32_MAX ? highest + 1 : detail::freeNumber(ids, 1); };
            content.each(root, "recorder", [&](const pugi::xml_node &element) {
                auto server = readRecorder(element, content, freeId());
                // The remote setup finds a recorder by its id, so an id names one recorder; a
                // second one keeps its place in the list under an id of its own.
                if (idsInUse.count(server->hostId)) {
                    const std::int32_t id = freeId();
                    content.changed(element,
                                    "recorder id " + std::to_string(server->hostId)
                                        + " is used twice; this recorder gets id "
                                        + std::to_string(id));
                    server->hostId = id;
                }
                // The module removes a recorder by name, the first of that name; both are kept.
                const std::string name = xml::fieldText(server->name);
                if (!name.empty() && !names.insert(name).second)
                    content.warn(element,
                                 "the name \"" + name + "\" is used by another recorder too");
                ids.push_back(server->hostId);
                idsInUse.insert(server->hostId);
                highest = std::max(highest, server->hostId);
                servers.push_back(std::move(server));
            });
        });
    // What could be read is kept; the rest was reported, and the file is kept when replaced.
    clear();
    m_servers = std::move(servers);
    return whole;
}

bool FileServerListProvider::saveFile(const char *path)
{
    return xml::saveDocument(path, kRoot, diagnostics(), origin(), [this](pugi::xml_node &root) {
        for (const auto &server : m_servers)
            writeRecorder(root, *server);
    });
}

void FileServerListProvider::clear()
{
    m_servers.clear();
}

std::int32_t FileServerListProvider::getServerCount()
{
    return static_cast<std::int32_t>(m_servers.size());
}

std::int32_t FileServerListProvider::createServer(const char *name)
{
    if (!name || !*name || findServer(name, nullptr))
        return -1;
    try {
        auto server = makeRecord<ServerRecord>();
        server->hostId = nextId(m_servers);
        copyField(server->name, name);
        m_servers.push_back(std::move(server));
        return static_cast<std::int32_t>(m_servers.size()) - 1;
    } catch (const std::bad_alloc &) {
        return -1;
    }
}

bool FileServerListProvider::getServer(std::int32_t index, ServerRecord **out)
{
    return out && detail::validIndex(m_servers, index)
        && m_servers[static_cast<std::size_t>(index)].handOut(out);
}

const ServerRecord *FileServerListProvider::server(std::int32_t index) const
{
    return detail::validIndex(m_servers, index) ? &*m_servers[static_cast<std::size_t>(index)]
                                                : nullptr;
}

bool FileServerListProvider::findServer(const char *name, ServerRecord **out)
{
    for (auto &server : m_servers) {
        if (detail::fieldEquals(server->name, name))
            return !out || server.handOut(out);
    }
    return false;
}

bool FileServerListProvider::removeServer(const char *name)
{
    const auto found = std::find_if(m_servers.begin(), m_servers.end(), [name](const auto &server) {
        return detail::fieldEquals(server->name, name);
    });
    if (found == m_servers.end())
        return false;
    m_servers.erase(found);
    return true;
}

} // namespace ostrelhost
