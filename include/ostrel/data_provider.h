// The host's data providers as the setup manager sees them. Every provider implements
// IDataProvider; the kind it reports selects one of the kind interfaces below. The order of the
// virtual operations is binary interface and must not change.
#pragma once

#include <cstdint>

#include "records.h"
#include "remote_setup.h"

class QVariant;

enum class ProviderKind : std::int32_t {
    Account = 0,
    Authority = 1,
    ServerList = 3,
    RemoteSetupParameters = 4,
    Option = 7,
    DisplayTemplate = 8,
};

// release's flag for an object the module asked for (a working copy).
enum : int { kReleaseWorkingCopy = 1 };

// queryLink's link kinds.
enum class LinkKind : std::int32_t {
    Notification = 3, // yields an INotificationTarget
};

class IDataProvider
{
public:
    // Gives another host object linked to this one (for LinkKind::Notification an
    // INotificationTarget*), or leaves *out null.
    virtual bool queryLink(LinkKind link, void **out) = 0;
    // Destroys the object; the module calls it only on working copies it asked for, with
    // kReleaseWorkingCopy.
    virtual void release(int flag) = 0;
    virtual ProviderKind getKind() = 0;
    virtual bool loadFile(const char *path) = 0;
    virtual bool saveFile(const char *path) = 0;
    virtual void clear() = 0;
    // Makes an independent copy of the data as a new provider of the same kind, owned by the
    // caller.
    virtual bool createWorkingCopy(IDataProvider **out) = 0;

protected:
    ~IDataProvider() = default;
};

class IAccountProvider : public IDataProvider
{
public:
    virtual std::int32_t getUserCount() = 0;
    // The record stays the provider's; the caller may change it in place.
    virtual bool getUser(std::int32_t index, UserRecord **out) = 0;
    // Copies and appends the record.
    virtual bool addUser(const UserRecord *user) = 0;
    virtual bool deleteUser(const char *id) = 0;
    virtual std::int32_t getGroupCount() = 0;
    virtual bool getGroup(std::int32_t index, GroupRecord **out) = 0;
    // Copies the record and every member block; the caller keeps (and frees) its own blocks.
    virtual bool addGroup(const GroupRecord *group) = 0;
    virtual bool deleteGroup(const char *id) = 0;

protected:
    ~IAccountProvider() = default;
};

class IAuthorityProvider : public IDataProvider
{
public:
    virtual std::int32_t getCategoryCount() = 0;
    virtual bool getCategory(std::int32_t index, AuthorityCategory **out) = 0;
    // Index of the category with that id, or -1; for the host's own use.
    virtual std::int32_t findCategory(const char *id) = 0;
    virtual std::int32_t getAuthorityCount(std::int32_t category) = 0;
    // The item stays the provider's; the caller may replace its member list in place.
    virtual bool getAuthority(std::int32_t category, std::int32_t index, AuthorityItem **out) = 0;

protected:
    ~IAuthorityProvider() = default;
};

class IServerListProvider : public IDataProvider
{
public:
    virtual std::int32_t getServerCount() = 0;
    // Appends a new record with that name; its index, or -1.
    virtual std::int32_t createServer(const char *name) = 0;
    virtual bool getServer(std::int32_t index, ServerRecord **out) = 0;
    virtual bool findServer(const char *name, ServerRecord **out) = 0;
    virtual bool removeServer(const char *name) = 0;

protected:
    ~IServerListProvider() = default;
};

class IRemoteSetupParameterProvider : public IDataProvider
{
public:
    // Fills the block for the recorder with that id.
    virtual bool loadRemoteSetupParameters(std::int32_t serverId, RemoteSetupParameters *parameters)
        = 0;

protected:
    ~IRemoteSetupParameterProvider() = default;
};

class IOptionProvider : public IDataProvider
{
public:
    virtual bool getOptions(OptionRecord **out) = 0;

protected:
    ~IOptionProvider() = default;
};

class IDisplayTemplateProvider : public IDataProvider
{
public:
    // The template stays the provider's.
    virtual bool getTemplate(const char *name, DisplayTemplate **out) = 0;

protected:
    ~IDisplayTemplateProvider() = default;
};

// The message sent with a notification. The sender of the message owns the record and its
// arguments (QVariant objects made with new).
struct NotifyMessage
{
    std::uint32_t id;
    IDataProvider *sender;
    std::uint32_t group; // id >> 24
    PointerSeq<QVariant> arguments;
};

enum : std::uint32_t { kSaveNotificationId = 13 };

class INotificationTarget
{
public:
    virtual void notify(const char *name, NotifyMessage *message) = 0;

protected:
    ~INotificationTarget() = default;
};
