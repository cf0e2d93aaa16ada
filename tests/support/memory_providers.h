// In-memory providers of every kind for tests. Each records the operations called on it (in a
// log shared with its working copies) and keeps "files" in a process-wide in-memory store, so
// the save-clear-load hand-over of a commit can be followed without touching the disk. Given a
// fault plan, a provider fails its Nth call, so that a dialog's path can be driven through each
// failure a client may report, one at a time.
#pragma once

#include <ostrel/data_provider.h>
#include <ostrelhost/owned_records.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace testhost {

// Which call fails, and what happened: shared by a provider and every working copy it hands out.
struct FaultPlan
{
    explicit FaultPlan(int failAt = 0)
        : failAt(failAt)
    { }

    // Counts a call; true when it is the one that fails. Copies' calls are named "copy.<op>".
    bool fails(const char *operation, bool onCopy);
    bool hit() const { return !failedCall.empty(); }

    int failAt = 0; // 1-based; 0 fails nothing
    int calls = 0;
    std::string failedCall; // empty until the failure hit
};

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

    // A recorder at that address and port, numbered after the others.
    ServerRecord *addServer(const char *name, const char *address = "", std::uint16_t port = 0);
    void eraseAt(std::size_t index) { servers.erase(servers.begin() + std::ptrdiff_t(index)); }
};

// Recorders kept by value, one after another in a vector, as real hosts keep them: adding one
// may move every record, so a pointer kept across createServer dangles. Copies are deep.
struct ServerValueData
{
    std::vector<ServerRecord> servers;

    ServerValueData() = default;
    // Leaves no spare room in the vector, so that the next recorder added moves them all.
    explicit ServerValueData(const ServerListData &records);
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

    ServerRecord *addServer(const char *name);
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

template <typename T>
T *pointer(Copied<T> &record)
{
    return record.get();
}

inline ServerRecord *pointer(ServerRecord &record)
{
    return &record;
}

inline AuthorityCategory *pointer(AuthorityData::Category &category)
{
    return category.category.get();
}

// The first record whose field (id or name) holds text, read no further than the field: a host
// may fill a field to its last byte without a terminating zero. -1 when there is none.
template <typename Records, typename Field>
std::int32_t findFirst(Records &records, Field field, const char *text)
{
    for (std::size_t i = 0; i < records.size(); ++i) {
        const auto &value = pointer(records[i])->*field;
        const std::size_t length = strnlen(value, sizeof value);
        if (text && std::strlen(text) == length && std::memcmp(value, text, length) == 0)
            return static_cast<std::int32_t>(i);
    }
    return -1;
}

// The record at index, through its holder or by value; false when there is none.
template <typename Records, typename T>
bool recordAt(Records &records, std::int32_t index, T **out)
{
    if (index < 0 || std::size_t(index) >= records.size())
        return false;
    *out = pointer(records[std::size_t(index)]);
    return true;
}

// Removes the first record whose field holds text, as the reference host does.
template <typename Records, typename Field>
bool eraseFirst(Records &records, Field field, const char *text)
{
    const std::int32_t found = findFirst(records, field, text);
    if (found >= 0)
        records.erase(records.begin() + found);
    return found >= 0;
}

template <typename Records>
std::int32_t countOf(const Records &records)
{
    return static_cast<std::int32_t>(records.size());
}

// The common operations over a Data value; Derived adds the kind's own operations. A call the
// fault plan fails answers as a client's would (false or -1, a null out pointer; a clear does
// nothing) and is not recorded, since it never reached the data; release is never failed.
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
        *out = act("queryLink") && link == LinkKind::Notification ? linkTarget : nullptr;
        return *out != nullptr;
    }
    void release(int) override
    {
        record("release");
        delete static_cast<Derived *>(this);
    }
    ProviderKind getKind() override { return act("getKind") ? kind : ProviderKind(-1); }
    bool loadFile(const char *path) override
    {
        if (!act("loadFile") || refuseLoad)
            return false;
        auto found = files().find(path);
        if (found == files().end())
            return false;
        data = found->second;
        return true;
    }
    bool saveFile(const char *path) override
    {
        if (!act("saveFile") || refuseSave)
            return false;
        files()[path] = data;
        return true;
    }
    void clear() override
    {
        if (act("clear"))
            data = Data();
    }
    bool createWorkingCopy(IDataProvider **out) override
    {
        *out = nullptr;
        if (!act("createWorkingCopy") || refuseWorkingCopy)
            return false;
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
    std::shared_ptr<CallLog> log;      // shared with working copies
    std::shared_ptr<FaultPlan> faults; // shared with working copies; none fails nothing
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
    // Records the call, or fails it as the plan says.
    bool act(const char *operation)
    {
        if (faults && faults->fails(operation, isWorkingCopy))
            return false;
        record(operation);
        return true;
    }
    // The same for a call that answers through out, which a failure sets to null.
    template <typename T>
    bool act(const char *operation, T **out)
    {
        if (act(operation))
            return true;
        *out = nullptr;
        return false;
    }
};

class AccountProvider final
    : public MemoryProvider<AccountProvider, IAccountProvider, AccountData, ProviderKind::Account>
{
public:
    std::int32_t getUserCount() override { return act("getUserCount") ? countOf(data.users) : -1; }
    bool getUser(std::int32_t index, UserRecord **out) override
    {
        return act("getUser", out) && recordAt(data.users, index, out);
    }
    bool addUser(const UserRecord *user) override;
    bool deleteUser(const char *id) override
    {
        return act("deleteUser") && eraseFirst(data.users, &UserRecord::id, id);
    }
    std::int32_t getGroupCount() override
    {
        return act("getGroupCount") ? countOf(data.groups) : -1;
    }
    bool getGroup(std::int32_t index, GroupRecord **out) override
    {
        return act("getGroup", out) && recordAt(data.groups, index, out);
    }
    bool addGroup(const GroupRecord *group) override;
    bool deleteGroup(const char *id) override
    {
        return act("deleteGroup") && eraseFirst(data.groups, &GroupRecord::id, id);
    }
};

class AuthorityProvider final : public MemoryProvider<AuthorityProvider, IAuthorityProvider,
                                                      AuthorityData, ProviderKind::Authority>
{
public:
    std::int32_t getCategoryCount() override
    {
        return act("getCategoryCount") ? countOf(data.categories) : -1;
    }
    bool getCategory(std::int32_t index, AuthorityCategory **out) override
    {
        return act("getCategory", out) && recordAt(data.categories, index, out);
    }
    std::int32_t findCategory(const char *id) override
    {
        return act("findCategory") ? findFirst(data.categories, &AuthorityCategory::id, id) : -1;
    }
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
    std::int32_t getServerCount() override
    {
        return this->act("getServerCount") ? countOf(this->data.servers) : -1;
    }
    bool getServer(std::int32_t index, ServerRecord **out) override
    {
        return this->act("getServer", out) && recordAt(this->data.servers, index, out);
    }
    bool findServer(const char *name, ServerRecord **out) override
    {
        auto &servers = this->data.servers;
        return this->act("findServer", out)
            && recordAt(servers, findFirst(servers, &ServerRecord::name, name), out);
    }
    std::int32_t createServer(const char *name) override
    {
        if (!this->act("createServer"))
            return -1;
        this->data.addServer(name);
        return countOf(this->data.servers) - 1;
    }
    bool removeServer(const char *name) override
    {
        const std::int32_t found = findFirst(this->data.servers, &ServerRecord::name, name);
        if (!this->act("removeServer") || found < 0)
            return false;
        this->data.eraseAt(std::size_t(found));
        return true;
    }
};

class ServerListProvider : public RecorderProvider<ServerListProvider, ServerListData>
{
public:
};

class ServerValueListProvider final
    : public RecorderProvider<ServerValueListProvider, ServerValueData>
{
public:
};

class OptionProvider final
    : public MemoryProvider<OptionProvider, IOptionProvider, OptionData, ProviderKind::Option>
{
public:
    bool getOptions(OptionRecord **out) override
    {
        *out = &data.options;
        return act("getOptions", out);
    }
};

class DisplayTemplateProvider final
    : public MemoryProvider<DisplayTemplateProvider, IDisplayTemplateProvider, DisplayTemplateData,
                            ProviderKind::DisplayTemplate>
{
public:
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
