// The setup manager: the one object through which a host drives the module.
#pragma once

#include <cstdint>

class IDataProvider;
class IRemoteSetup;
class IRemoteSetupSite;

class IModuleObject
{
public:
    virtual std::int32_t GetVersion() = 0;
    virtual ~IModuleObject() = default;
};

class ISetupManager : public IModuleObject
{
public:
    virtual void Reserved() = 0;
    // 1 when the options were confirmed and saved, 2 otherwise.
    virtual std::int32_t ShowOptionSheet() = 0;
    // Opens the remote setup of the site's recorder; the current remote setup or null.
    virtual IRemoteSetup *OpenRemoteSetup(IRemoteSetupSite *site) = 0;
    virtual bool IsRemoteSetupOpen() = 0;
    virtual void CloseRemoteSetup() = 0;
    // Registers a provider, replacing the one of the same kind; the host keeps ownership.
    virtual void RegisterProvider(IDataProvider *provider) = 0;
    virtual void ShowAccountManager() = 0;
    virtual void ShowAuthorityManager() = 0;
    // True when the recorder manager was closed with OK.
    virtual bool ShowServerManager() = 0;
};

enum : std::int32_t { kSetupManagerVersion = 5, kDialogOk = 1, kDialogCancel = 2 };

#if defined(OSTREL_SETUPMGR_BUILD)
#define OSTREL_SETUPMGR_EXPORT __attribute__((visibility("default")))
#else
#define OSTREL_SETUPMGR_EXPORT
#endif

// The module's two exports, bound by a host with dlsym under their C++ names.
OSTREL_SETUPMGR_EXPORT ISetupManager *GetSetupManager();
OSTREL_SETUPMGR_EXPORT void ReleaseSetupManager();

// The names a host passes to dlsym.
inline constexpr const char kGetSetupManagerSymbol[] = "_Z15GetSetupManagerv";
inline constexpr const char kReleaseSetupManagerSymbol[] = "_Z19ReleaseSetupManagerv";
