// In-memory providers of every kind for tests. Each records the operations called on it (in a
// log shared with its working copies) and keeps "files" in a process-wide in-memory store, so
// the save-clear-load hand-over of a commit can be followed without touching the disk.
#pragma once

#include <ostrel/data_provider.h>
#include <ostrelhost/owned_records.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace testhost {

struct CallLog
{
    std::vector<std::string> calls;
    // How often an operation was called, by name.
    int count(const std::string &operation) const;
};

// A record owned as the reference host owns it (with its blocks) that copies deeply, so that
// provider data copies as a value.
template <typename T>
struct Copied : ostrelhost::RecordPtr<T>
{
    Copied() = default;
    Copied(ostrelhost::RecordPtr<T> record)
        : ostrelhost::RecordPtr<T>(std::move(record))
    { }
    Copied(const Copied &other)
        : ostrelhost::RecordPtr<T>(other ? ostrelhost::cloneRecord(*other) : nullptr)
    { }
    Copied(Copied &&) = default;
    Copied &operator=(Copied other)
    {
        this->swap(other);
        return *this;
    }
};

template <typename T>
using Records = std::vector<Copied<T>>;

struct AccountData
{
    Records<UserRecord> users;
    Records<GroupRecord> groups;

    UserRecord *addUser(const char *id, const char *password = "", const char *name = "");
    // members: pairs of kind and id
    GroupRecord *addGroup(const char *id,
                          const std::vector<std::pair<MemberKind, std::string>> &members = {});
};

struct AuthorityData
{
    struct Category
    {
        Copied<AuthorityCategory> category;
        Records<AuthorityItem> items;
    };
    std::vector<Category> categories;

    int addCategory(const char *id, const char *name);
    AuthorityItem *addItem(int category, const char *id, const char *name,
                           const char *description = "");
};

struct ServerListData
{
    Records<ServerRecord> servers;

    ServerRecord *addServer(const char *name);
};

// Recorders kept by value, one after another in a vector, as real hosts keep them: adding one
// may move every record, so a pointer kept across createServer dangles. Copies are deep.
struct ServerValueData
{
    std::vector<ServerRecord> servers;

    ServerValueData() = default;
    ServerValueData(const ServerValueData &other);
    ServerValueData(ServerValueData &&other) noexcept
        : servers(std::move(other.servers))
    { }
    ServerValueData &operator=(ServerValueData other) noexcept
    {
        servers.swap(other.servers);
        return *this;
    }
    ~ServerValueData();

    // Takes over the record and the blocks it holds.
    void adopt(const ServerRecord &record);
    void eraseAt(std::size_t index);
};

struct OptionData
{
    OptionRecord options {};
};

struct DisplayTemplateData
{
    std::map<std::string, Copied<InfoView>> templates;

    InfoView *addTemplate(const char *name, const char *title);
    static InfoCategory *addCategory(InfoView *view, const char *name, const char *label);
    static InfoItem *addItem(InfoCategory *category, const char *name, const char *label,
                             const char *value);
};

struct RemoteSetupData
{
    bool accept = true; // what loadRemoteSetupParameters answers
};

// The common operations over a Data value; Derived adds the kind's own operations.
template <typename Derived, typename Interface, typename Data, ProviderKind Kind>
class MemoryProvider : public Interface
{
public:
    MemoryProvider()
        : log(std::make_shared<CallLog>())
    { }
    virtual ~MemoryProvider() = default;

    bool queryLink(LinkKind link, void **out) override
    {
        record("queryLink");
        *out = link == LinkKind::Notification ? linkTarget : nullptr;
        return *out != nullptr;
    }
    void release(int) override
    {
        record("release");
        delete static_cast<Derived *>(this);
    }
    ProviderKind getKind() override
    {
        record("getKind");
        return kind;
    }
    bool loadFile(const char *path) override
    {
        record("loadFile");
        if (refuseLoad)
            return false;
        auto found = files().find(path);
        if (found == files().end())
            return false;
        data = found->second;
        return true;
    }
    bool saveFile(const char *path) override
    {
        record("saveFile");
        if (refuseSave)
            return false;
        files()[path] = data;
        return true;
    }
    void clear() override
    {
        record("clear");
        data = Data();
    }
    bool createWorkingCopy(IDataProvider **out) override
    {
        record("createWorkingCopy");
        if (refuseWorkingCopy) {
            *out = nullptr;
            return false;
        }
        auto *copy = new Derived(static_cast<const Derived &>(*this));
        copy->isWorkingCopy = true;
        *out = copy;
        return true;
    }

    // The in-memory file store of this kind.
    static std::map<std::string, Data> &files()
    {
        static std::map<std::string, Data> store;
        return store;
    }

    Data data;
    ProviderKind kind = Kind;
    std::shared_ptr<CallLog> log; // shared with working copies
    void *linkTarget = nullptr;
    bool refuseWorkingCopy = false;
    bool refuseSave = false; // copied into working copies, as a full disk would be
    bool refuseLoad = false; // the data stays as it is (cleared, after a commit's clear)
    bool isWorkingCopy = false;

protected:
    MemoryProvider(const MemoryProvider &) = default;
    void record(const char *operation) const
    {
        log->calls.push_back(isWorkingCopy ? std::string("copy.") + operation
                                           : std::string(operation));
    }
};

class AccountProvider final
    : public MemoryProvider<AccountProvider, IAccountProvider, AccountData, ProviderKind::Account>
{
public:
    AccountProvider() = default;
    AccountProvider(const AccountProvider &) = default;
    std::int32_t getUserCount() override;
    bool getUser(std::int32_t index, UserRecord **out) override;
    bool addUser(const UserRecord *user) override;
    bool deleteUser(const char *id) override;
    std::int32_t getGroupCount() override;
    bool getGroup(std::int32_t index, GroupRecord **out) override;
    bool addGroup(const GroupRecord *group) override;
    bool deleteGroup(const char *id) override;
};

class AuthorityProvider final : public MemoryProvider<AuthorityProvider, IAuthorityProvider,
                                                      AuthorityData, ProviderKind::Authority>
{
public:
    AuthorityProvider() = default;
    AuthorityProvider(const AuthorityProvider &) = default;
    std::int32_t getCategoryCount() override;
    bool getCategory(std::int32_t index, AuthorityCategory **out) override;
    std::int32_t findCategory(const char *id) override;
    std::int32_t getAuthorityCount(std::int32_t category) override;
    bool getAuthority(std::int32_t category, std::int32_t index, AuthorityItem **out) override;
};

// What both recorder lists answer alike: the count, a recorder by position, and the first
// recorder of a name.
template <typename Derived, typename Data>
class RecorderProvider
    : public MemoryProvider<Derived, IServerListProvider, Data, ProviderKind::ServerList>
{
public:
    std::int32_t getServerCount() override;
    bool getServer(std::int32_t index, ServerRecord **out) override;
    bool findServer(const char *name, ServerRecord **out) override;
};

class ServerListProvider : public RecorderProvider<ServerListProvider, ServerListData>
{
public:
    ServerListProvider() = default;
    ServerListProvider(const ServerListProvider &) = default;
    std::int32_t createServer(const char *name) override;
    bool removeServer(const char *name) override;
};

class ServerValueListProvider final
    : public RecorderProvider<ServerValueListProvider, ServerValueData>
{
public:
    ServerValueListProvider() = default;
    ServerValueListProvider(const ServerValueListProvider &) = default;
    std::int32_t createServer(const char *name) override;
    bool removeServer(const char *name) override;
};

class OptionProvider final
    : public MemoryProvider<OptionProvider, IOptionProvider, OptionData, ProviderKind::Option>
{
public:
    OptionProvider() = default;
    OptionProvider(const OptionProvider &) = default;
    bool getOptions(OptionRecord **out) override;
};

class DisplayTemplateProvider final
    : public MemoryProvider<DisplayTemplateProvider, IDisplayTemplateProvider, DisplayTemplateData,
                            ProviderKind::DisplayTemplate>
{
public:
    DisplayTemplateProvider() = default;
    DisplayTemplateProvider(const DisplayTemplateProvider &) = default;
    bool getTemplate(const char *name, DisplayTemplate **out) override;
};

// Records the notifications it receives.
class NotificationRecorder final : public INotificationTarget
{
public:
    struct Received
    {
        std::string name;
        std::uint32_t id;
        IDataProvider *sender;
        std::uint32_t group;
        std::size_t argumentCount;
    };
    void notify(const char *name, NotifyMessage *message) override;
    std::vector<Received> received;
};

} // namespace testhost
