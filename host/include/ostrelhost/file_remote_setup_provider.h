// The remote-setup parameters (kind 4). The block handed to a plug-in is filled from the
// recorder list (connection, cameras, additional information) and from this provider's own
// file, which keeps per-recorder settings of the remote setup.
#pragma once

#include <ostrelhost/provider_base.h>

#include <map>

namespace ostrelhost {

// How a remote setup of one recorder starts.
struct RemoteSetupSettings
{
    std::uint32_t flags = 0;
    std::uint16_t timeout = 100; // seconds the plug-in waits for the recorder
    bool autoConnect = false;    // connect as soon as the setup opens
    bool enabled = true;
    std::int32_t activeCamera = -1; // camera to open first, by position; -1 (or none such) for none

    bool operator==(const RemoteSetupSettings &) const = default;
};

class FileRemoteSetupProvider final
    : public ProviderBase<FileRemoteSetupProvider, IRemoteSetupParameterProvider,
                          ProviderKind::RemoteSetupParameters>
{
public:
    // Rows of the block's entries: entry (row, column) holds one text.
    enum Row : int {
        RecorderRow = 0,      // the RecorderColumn fields
        CameraNameRow = 1,    // camera names, one column per camera (the first 24)
        CameraChannelRow = 2, // their channel numbers, decimal
        InfoNameRow = 3,      // additional-information names (the first 24)
        InfoValueRow = 4,     // their values
    };
    enum RecorderColumn : int {
        NameColumn,
        AddressColumn,
        PortColumn,
        LoginIdColumn,
        PasswordColumn,
        ProductKindColumn,
        ProductCodeColumn, // "0x" and six hex digits
        FirmwareColumn,    // "b0.b1.b2.b3", empty when unknown
        UseDdnsColumn,     // "1" or "0"
        DdnsAddressColumn,
        DdnsIdColumn,
        DdnsPasswordColumn,
    };

    // The recorder list is read, never changed; it must outlive this provider and its copies.
    explicit FileRemoteSetupProvider(IServerListProvider *servers,
                                     std::shared_ptr<Diagnostics> diagnostics = {});
    FileRemoteSetupProvider(const FileRemoteSetupProvider &other) = default;

    bool loadFile(const char *path) override;
    bool saveFile(const char *path) override;
    // Forgets every recorder's settings and restores the default settings.
    void clear() override;

    // Fills the whole block for the recorder whose hostId is serverId; false (block untouched)
    // when the recorder list has no such recorder.
    bool loadRemoteSetupParameters(std::int32_t serverId,
                                   RemoteSetupParameters *parameters) override;

    // The recorder's settings, or the defaults when it has none of its own.
    RemoteSetupSettings settings(std::int32_t serverId) const;
    void setSettings(std::int32_t serverId, const RemoteSetupSettings &settings);
    const RemoteSetupSettings &defaults() const { return m_defaults; }
    void setDefaults(const RemoteSetupSettings &settings) { m_defaults = settings; }

private:
    IServerListProvider *m_servers;
    RemoteSetupSettings m_defaults;
    std::map<std::int32_t, RemoteSetupSettings> m_recorders;
};

} // namespace ostrelhost
