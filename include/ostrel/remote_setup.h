// Remote setup of one recorder through a product plug-in: the object a plug-in creates, the host
// object that shows it, the parameter block lent to both, and the plug-in's exports.
#pragma once

#include <cstddef>
#include <cstdint>

// The product families whose recorders are set up remotely, each by a plug-in of its own.
enum RemoteSetupProduct : std::int32_t {
    kRemoteSetupArvo = 2, // RemoteSetupArvo.so
    kRemoteSetupNeq = 3,  // RemoteSetupNeq.so
};

struct ServerIdentity
{
    std::int32_t serverId;
    std::int32_t productType; // a RemoteSetupProduct
};

struct RemoteSetupEntry
{
    char data[112];
};

enum { kRemoteSetupRows = 8, kRemoteSetupColumns = 24 };

// Owned by the setup manager for its whole life, filled by the host, read by the plug-in.
struct RemoteSetupParameters
{
    std::int32_t hostValue; // never written by the setup manager
    RemoteSetupEntry entries[kRemoteSetupRows][kRemoteSetupColumns];
    std::int32_t activeEntry; // initially -1
    std::uint32_t flags;      // initially 0
    std::uint16_t timeout;    // initially 100
    std::uint8_t autoConnect; // initially 0
    std::uint8_t enabled;     // initially 1
};

static_assert(offsetof(RemoteSetupParameters, entries) == 4);
static_assert(offsetof(RemoteSetupParameters, activeEntry) == 21508);
static_assert(offsetof(RemoteSetupParameters, flags) == 21512);
static_assert(offsetof(RemoteSetupParameters, timeout) == 21516);
static_assert(offsetof(RemoteSetupParameters, autoConnect) == 21518);
static_assert(offsetof(RemoteSetupParameters, enabled) == 21519);
static_assert(sizeof(RemoteSetupParameters) == 21520);

class IRemoteSetup
{
public:
    virtual std::int32_t getInterfaceVersion() = 0;
    virtual std::int32_t getProductType() = 0;
    // Hands over the recorder and the block (which stays the setup manager's); reserved is 0.
    virtual bool prepare(const ServerIdentity *identity, RemoteSetupParameters *parameters,
                         std::int32_t reserved)
        = 0;
    // The plug-in's top-level window (a QWidget*), null until started.
    virtual void *window() = 0;
    virtual bool start() = 0;

protected:
    ~IRemoteSetup() = default;
};

// The host object that shows a remote setup.
class IRemoteSetupSite
{
public:
    // The recorder to set up, or null.
    virtual const ServerIdentity *getServerIdentity() = 0;
    // True when the host took the object.
    virtual bool attachRemoteSetup(IRemoteSetup *setup) = 0;

protected:
    ~IRemoteSetupSite() = default;
};

// The plug-in's exports, with C linkage and these names.
extern "C" {
typedef IRemoteSetup *(*CreateSetupFn)(std::int32_t productType);
typedef void (*ReleaseSetupFn)(IRemoteSetup *setup);
typedef void (*SetupTermFn)();
}

inline constexpr const char kCreateSetupExport[] = "CreateSetup";
inline constexpr const char kReleaseSetupExport[] = "ReleaseSetup";
inline constexpr const char kSetupTermExport[] = "SetupTerm";
