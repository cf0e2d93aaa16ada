// The one implementation of ISetupManager, created once per process.
#pragma once

#include <ostrel/data_provider.h>
#include <ostrel/remote_setup.h>
#include <ostrel/setup_manager.h>

#include <mutex>
#include <vector>

class CSetupManager final : public ISetupManager
{
public:
    CSetupManager();
    ~CSetupManager() override;

    std::int32_t GetVersion() override;
    void Reserved() override;
    std::int32_t ShowOptionSheet() override;
    IRemoteSetup *OpenRemoteSetup(IRemoteSetupSite *site) override;
    bool IsRemoteSetupOpen() override;
    void CloseRemoteSetup() override;
    void RegisterProvider(IDataProvider *provider) override;
    void ShowAccountManager() override;
    void ShowAuthorityManager() override;
    bool ShowServerManager() override;

    // The first registered provider that now reports that kind; kinds are asked on every lookup.
    IDataProvider *FindProvider(ProviderKind kind);

    // The process's singleton, or null.
    static CSetupManager *instance();

    const RemoteSetupParameters &remoteSetupParameters() const { return m_parameters; }

private:
    enum PluginSlot { kArvoSlot = 0, kNeqSlot = 1, kPluginSlots = 2 };
    struct Plugin
    {
        void *handle = nullptr;
        CreateSetupFn createSetup = nullptr;
        ReleaseSetupFn releaseSetup = nullptr;
        SetupTermFn setupTerm = nullptr;
    };

    // Loads the product type's plug-in and creates the current object; false leaves nothing open.
    bool createRemoteSetup(std::int32_t productType);
    static void unloadPlugin(Plugin &plugin);
    // Finds the provider or tells the user it is missing.
    IDataProvider *requireProvider(ProviderKind kind);

    std::int32_t m_version;
    std::vector<IDataProvider *> m_providers;
    Plugin m_plugins[kPluginSlots];
    IRemoteSetup *m_remoteSetup = nullptr;
    RemoteSetupParameters m_parameters;
    std::recursive_mutex m_lock;
};
