#include "setup_manager.h"

#include "account/account_manager_dlg.h"
#include "account/authority_dlg.h"
#include "common/folders.h"
#include "common/language.h"
#include "frame/missing_provider.h"
#include "options/option_sheet.h"
#include "server/server_info_view.h"
#include "server/server_list_dlg.h"

#include <dlfcn.h>

#include <cstring>
#include <filesystem>
#include <new>
#include <string>
#include <utility>

namespace {

CSetupManager *g_setupManager = nullptr;

constexpr const char *kPluginFiles[] = {"RemoteSetupArvo.so", "RemoteSetupNeq.so"};

// The module's RUNPATH ($ORIGIN) finds the plug-ins beside it, but only when the loader sees the
// module as the caller of dlopen; a sanitizer's dlopen interceptor hides it. Looking beside the
// object that holds the setup manager gives the same folder either way.
void *openBesideModule(const char *file)
{
    Dl_info info {};
    if (!dladdr(reinterpret_cast<void *>(&GetSetupManager), &info) || !info.dli_fname)
        return nullptr;
    const std::string path = std::filesystem::path(info.dli_fname).parent_path() / file;
    return std::filesystem::exists(path) ? dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL) : nullptr;
}

void initialiseParameters(RemoteSetupParameters &parameters)
{
    // hostValue is the host's and is left as it is.
    std::memset(parameters.entries, 0, sizeof parameters.entries);
    parameters.activeEntry = -1;
    parameters.flags = 0;
    parameters.timeout = 100;
    parameters.autoConnect = 0;
    parameters.enabled = 1;
}

} // namespace

CSetupManager::CSetupManager()
    : m_version(kSetupManagerVersion)
    , m_parameters {} // the host's first field too, so nothing reads indeterminate bytes
{
    initialiseParameters(m_parameters);
}

CSetupManager::~CSetupManager()
{
    // The template provider is one of the registered providers, which the host may now destroy.
    setupmgr::setDisplayTemplateProvider(nullptr);
    CloseRemoteSetup();
    unloadPlugin(m_plugins[kArvoSlot]);
    unloadPlugin(m_plugins[kNeqSlot]);
}

CSetupManager *CSetupManager::instance()
{
    return g_setupManager;
}

std::int32_t CSetupManager::GetVersion()
{
    return m_version;
}

void CSetupManager::Reserved() { }

void CSetupManager::RegisterProvider(IDataProvider *provider)
{
    if (!provider)
        return;
    const ProviderKind kind = provider->getKind();
    for (auto it = m_providers.begin(); it != m_providers.end(); ++it) {
        if ((*it)->getKind() == kind) {
            m_providers.erase(it);
            break;
        }
    }
    m_providers.push_back(provider);
}

IDataProvider *CSetupManager::FindProvider(ProviderKind kind)
{
    for (IDataProvider *provider : m_providers) {
        if (provider->getKind() == kind)
            return provider;
    }
    return nullptr;
}

IDataProvider *CSetupManager::requireProvider(ProviderKind kind)
{
    IDataProvider *provider = FindProvider(kind);
    if (!provider)
        setupmgr::reportMissingProvider(kind);
    return provider;
}

std::int32_t CSetupManager::ShowOptionSheet()
{
    auto *options = static_cast<IOptionProvider *>(requireProvider(ProviderKind::Option));
    return options ? setupmgr::showOptionSheet(options) : kDialogCancel;
}

void CSetupManager::ShowAccountManager()
{
    auto *accounts = static_cast<IAccountProvider *>(requireProvider(ProviderKind::Account));
    if (!accounts)
        return;
    CAccountManagerDlg dialog;
    dialog.SetProvider(accounts);
    dialog.exec();
}

void CSetupManager::ShowAuthorityManager()
{
    auto *authority = static_cast<IAuthorityProvider *>(requireProvider(ProviderKind::Authority));
    if (!authority)
        return;
    auto *accounts = static_cast<IAccountProvider *>(requireProvider(ProviderKind::Account));
    if (!accounts)
        return;
    CAuthorityDlg dialog;
    dialog.SetProvider(authority);
    dialog.SetAccountProvider(accounts);
    dialog.exec();
}

bool CSetupManager::ShowServerManager()
{
    // The information view reads the templates through this reference; without a template
    // provider it shows empty views.
    setupmgr::setDisplayTemplateProvider(
        static_cast<IDisplayTemplateProvider *>(FindProvider(ProviderKind::DisplayTemplate)));
    auto *servers = static_cast<IServerListProvider *>(requireProvider(ProviderKind::ServerList));
    if (!servers)
        return false;
    CServerListDlg dialog;
    dialog.SetProvider(servers);
    return dialog.exec() == kDialogOk;
}

// --- remote setup ------------------------------------------------------------------------------

bool CSetupManager::IsRemoteSetupOpen()
{
    std::lock_guard lock(m_lock);
    return m_remoteSetup != nullptr;
}

IRemoteSetup *CSetupManager::OpenRemoteSetup(IRemoteSetupSite *site)
{
    std::lock_guard lock(m_lock);
    const ServerIdentity *identity = site ? site->getServerIdentity() : nullptr;
    if (!identity) {
        CloseRemoteSetup();
        return m_remoteSetup;
    }
    if (IsRemoteSetupOpen())
        return m_remoteSetup;
    if (!createRemoteSetup(identity->productType)) {
        CloseRemoteSetup();
        return nullptr;
    }
    auto *parameters = static_cast<IRemoteSetupParameterProvider *>(
        FindProvider(ProviderKind::RemoteSetupParameters));
    if (!parameters || !parameters->loadRemoteSetupParameters(identity->serverId, &m_parameters)) {
        CloseRemoteSetup();
        return nullptr;
    }
    m_remoteSetup->prepare(identity, &m_parameters, 0);
    if (!site->attachRemoteSetup(m_remoteSetup)) {
        CloseRemoteSetup();
        return nullptr;
    }
    m_remoteSetup->start();
    return m_remoteSetup;
}

bool CSetupManager::createRemoteSetup(std::int32_t productType)
{
    if (productType != kRemoteSetupArvo && productType != kRemoteSetupNeq) {
        m_remoteSetup = nullptr;
        return false;
    }
    const int slot = productType == kRemoteSetupArvo ? kArvoSlot : kNeqSlot;
    Plugin &plugin = m_plugins[slot];
    if (!plugin.handle) {
        plugin.handle = dlopen(kPluginFiles[slot], RTLD_NOW | RTLD_LOCAL);
        if (!plugin.handle)
            plugin.handle = openBesideModule(kPluginFiles[slot]);
        if (!plugin.handle) {
            m_remoteSetup = nullptr;
            return false;
        }
    }
    if (!plugin.createSetup)
        plugin.createSetup
            = reinterpret_cast<CreateSetupFn>(dlsym(plugin.handle, kCreateSetupExport));
    if (!plugin.releaseSetup)
        plugin.releaseSetup
            = reinterpret_cast<ReleaseSetupFn>(dlsym(plugin.handle, kReleaseSetupExport));
    if (!plugin.setupTerm)
        plugin.setupTerm = reinterpret_cast<SetupTermFn>(dlsym(plugin.handle, kSetupTermExport));
    if (!plugin.createSetup || !plugin.releaseSetup || !plugin.setupTerm) {
        unloadPlugin(plugin);
        return false;
    }
    m_remoteSetup = plugin.createSetup(productType);
    // A plug-in that creates nothing has failed; it must not stay loaded.
    if (!m_remoteSetup) {
        unloadPlugin(plugin);
        return false;
    }
    return true;
}

void CSetupManager::CloseRemoteSetup()
{
    // Forgotten before it is released: a host that closes the remote setup again when the
    // plug-in destroys its window must find nothing open, or the object would be released twice
    // and the plug-in unloaded while its ReleaseSetup still runs.
    IRemoteSetup *setup = std::exchange(m_remoteSetup, nullptr);
    if (!setup)
        return;
    const std::int32_t type = setup->getProductType();
    if (type != kRemoteSetupArvo && type != kRemoteSetupNeq)
        return;
    Plugin &plugin = m_plugins[type == kRemoteSetupArvo ? kArvoSlot : kNeqSlot];
    if (plugin.handle) {
        plugin.releaseSetup(setup);
        unloadPlugin(plugin);
    }
}

void CSetupManager::unloadPlugin(Plugin &plugin)
{
    if (plugin.handle)
        dlclose(plugin.handle);
    plugin = Plugin();
}

// --- exports -------------------------------------------------------------------------------------

ISetupManager *GetSetupManager()
{
    Common::recordInstallFolder();
    if (!g_setupManager)
        g_setupManager = new (std::nothrow) CSetupManager();
    return g_setupManager;
}

void ReleaseSetupManager()
{
    Common::releaseLanguage();
    if (g_setupManager) {
        ISetupManager *manager = g_setupManager;
        g_setupManager = nullptr;
        delete manager;
    }
}
