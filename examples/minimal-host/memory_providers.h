// In-memory data providers of the five kinds the dialogs need. A real host keeps its data in files
// or a database; here a "file" is a slot in memory with a generation number.
#pragma once

#include <ostrel/data_provider.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

// Appends a zeroed malloc block to a record's sequence: the module frees and allocates these
// blocks too (a group's members, a recorder's additional information).
template <typename T>
T *appendBlock(PointerSeq<T> &seq)
{
    T *block = static_cast<T *>(std::calloc(1, sizeof(T)));
    seqAppend(seq, block);
    return block;
}

// One record owned by the host, with its blocks. It stays at one address while it lives: the
// module changes records in place through the pointers the provider hands out.
template <typename T>
class Record
{
public:
    Record() = default;
    explicit Record(const T &record)
        : m_record(new T(record))
    {
        eachSequence([](auto &seq) {
            const auto shared = seq; // the copied record still points to the original's blocks
            seq = {};
            seqCopyBlocks(seq, shared);
        });
    }
    Record(const Record &other)
        : Record(*other.m_record)
    { }
    Record(Record &&other) noexcept
        : m_record(std::exchange(other.m_record, nullptr))
    { }
    Record &operator=(Record other) noexcept
    {
        std::swap(m_record, other.m_record);
        return *this;
    }
    ~Record()
    {
        if (m_record)
            eachSequence([](auto &seq) { seqFreeBlocks(seq); }, true);
        delete m_record;
    }
    T *get() const { return m_record; }
    T &operator*() const { return *m_record; }
    T *operator->() const { return m_record; }

private:
    // Calls f on each block sequence of the record. An information view's categories hold
    // sequences of their own: a copy needs the categories first, a free their items first.
    template <typename F>
    void eachSequence(F f, bool innerFirst = false)
    {
        if constexpr (requires { m_record->members; })
            f(m_record->members);
        if constexpr (std::is_same_v<T, ServerRecord>) {
            f(m_record->additionalInfo);
            f(m_record->cameras);
        }
        if constexpr (std::is_same_v<T, InfoView>) {
            PointerSeq<InfoCategory> &categories = m_record->categories;
            if (!innerFirst)
                f(categories);
            for (std::size_t i = 0; i < seqSize(categories); ++i)
                f(categories.first[i]->items);
            if (innerFirst)
                f(categories);
        }
    }

    T *m_record = new T(); // every byte zero
};

// The first record whose field holds text, compared as bytes, or -1. A full field may lack its
// terminating zero, so no more than the field is read.
template <typename T, std::size_t N>
int findRecord(const std::vector<Record<T>> &records, char (T::*field)[N], const char *text)
{
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (std::strncmp(records[i].get()->*field, text, N) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

template <typename T, std::size_t N>
bool eraseRecord(std::vector<Record<T>> &records, char (T::*field)[N], const char *text)
{
    const int found = findRecord(records, field, text);
    if (found >= 0)
        records.erase(records.begin() + found);
    return found >= 0;
}

template <typename T>
bool recordAt(const std::vector<Record<T>> &records, std::int32_t index, T **out)
{
    if (index < 0 || static_cast<std::size_t>(index) >= records.size())
        return false;
    *out = records[static_cast<std::size_t>(index)].get();
    return true;
}

template <typename Data>
struct StoredFile
{
    std::string path;
    Data data;
    int generation = 0; // counts the stores; 0 while nothing was stored
};

// Derived is the provider class itself, so that a working copy is made as one.
template <typename Derived, typename Interface, typename Data, ProviderKind Kind>
class MemoryProvider : public Interface
{
public:
    bool queryLink(LinkKind link, void **out) override
    {
        *out = link == LinkKind::Notification ? notificationTarget : nullptr;
        return *out != nullptr;
    }
    // The module releases only the working copies it asked for; the registered provider is the
    // host's and lives on the host's stack here.
    void release(int) override { delete static_cast<Derived *>(this); }
    ProviderKind getKind() override { return Kind; }
    bool loadFile(const char *path) override
    {
        if (s_file.path != path)
            return false;
        data = s_file.data;
        m_generation = s_file.generation;
        return true;
    }
    // Refuses to store over a file that changed since this data was loaded from it: the module
    // then keeps its dialog open with the user's work.
    bool saveFile(const char *path) override
    {
        if (s_file.generation != m_generation)
            return false;
        s_file = {path, data, m_generation + 1};
        m_generation = s_file.generation;
        return true;
    }
    void clear() override { data = Data(); }
    bool createWorkingCopy(IDataProvider **out) override
    {
        *out = new Derived(static_cast<const Derived &>(*this));
        return true;
    }
    // What a host does after the recorder manager's OK, which leaves the reload to the host. An
    // OK without a change stored nothing.
    bool reload()
    {
        if (s_file.generation == m_generation)
            return true;
        clear();
        return loadFile(s_file.path.c_str());
    }

    Data data;
    INotificationTarget *notificationTarget = nullptr;

private:
    static inline StoredFile<Data> s_file; // the one "file" of this kind
    int m_generation = 0;                  // of the file this data came from; copies inherit it
};

struct Accounts
{
    std::vector<Record<UserRecord>> users;
    std::vector<Record<GroupRecord>> groups;
};

class AccountProvider final
    : public MemoryProvider<AccountProvider, IAccountProvider, Accounts, ProviderKind::Account>
{
public:
    std::int32_t getUserCount() override { return std::int32_t(data.users.size()); }
    bool getUser(std::int32_t index, UserRecord **out) override
    {
        return recordAt(data.users, index, out);
    }
    bool addUser(const UserRecord *user) override
    {
        data.users.emplace_back(*user);
        return true;
    }
    bool deleteUser(const char *id) override
    {
        return eraseRecord(data.users, &UserRecord::id, id);
    }
    std::int32_t getGroupCount() override { return std::int32_t(data.groups.size()); }
    bool getGroup(std::int32_t index, GroupRecord **out) override
    {
        return recordAt(data.groups, index, out);
    }
    // Copies the members too: the caller frees its own blocks.
    bool addGroup(const GroupRecord *group) override
    {
        data.groups.emplace_back(*group);
        return true;
    }
    bool deleteGroup(const char *id) override
    {
        return eraseRecord(data.groups, &GroupRecord::id, id);
    }
};

struct Authorities
{
    std::vector<Record<AuthorityCategory>> categories;
    std::vector<std::vector<Record<AuthorityItem>>> items; // per category
};

class AuthorityProvider final : public MemoryProvider<AuthorityProvider, IAuthorityProvider,
                                                      Authorities, ProviderKind::Authority>
{
public:
    std::int32_t getCategoryCount() override { return std::int32_t(data.categories.size()); }
    bool getCategory(std::int32_t index, AuthorityCategory **out) override
    {
        return recordAt(data.categories, index, out);
    }
    std::int32_t findCategory(const char *id) override
    {
        return findRecord(data.categories, &AuthorityCategory::id, id);
    }
    std::int32_t getAuthorityCount(std::int32_t category) override
    {
        return hasCategory(category) ? std::int32_t(data.items[std::size_t(category)].size()) : 0;
    }
    // The module replaces the item's member list in place when the user changes it.
    bool getAuthority(std::int32_t category, std::int32_t index, AuthorityItem **out) override
    {
        return hasCategory(category) && recordAt(data.items[std::size_t(category)], index, out);
    }

private:
    bool hasCategory(std::int32_t index) { return index >= 0 && index < getCategoryCount(); }
};

class ServerListProvider final
    : public MemoryProvider<ServerListProvider, IServerListProvider,
                            std::vector<Record<ServerRecord>>, ProviderKind::ServerList>
{
public:
    std::int32_t getServerCount() override { return std::int32_t(data.size()); }
    // The module fills in the new record through getServer.
    std::int32_t createServer(const char *name) override
    {
        data.emplace_back();
        copyField(data.back()->name, name);
        data.back()->hostId = nextId++;
        return std::int32_t(data.size()) - 1;
    }
    bool getServer(std::int32_t index, ServerRecord **out) override
    {
        return recordAt(data, index, out);
    }
    bool findServer(const char *name, ServerRecord **out) override
    {
        return recordAt(data, findRecord(data, &ServerRecord::name, name), out);
    }
    bool removeServer(const char *name) override
    {
        return eraseRecord(data, &ServerRecord::name, name);
    }

    std::int32_t nextId = 1; // the host's own recorder ids
};

class OptionProvider final
    : public MemoryProvider<OptionProvider, IOptionProvider, OptionRecord, ProviderKind::Option>
{
public:
    bool getOptions(OptionRecord **out) override
    {
        *out = &data;
        return true;
    }
};

class TemplateProvider final
    : public MemoryProvider<TemplateProvider, IDisplayTemplateProvider, Record<InfoView>,
                            ProviderKind::DisplayTemplate>
{
public:
    bool getTemplate(const char *name, DisplayTemplate **out) override
    {
        *out = data.get();
        return std::strcmp(name, "serverInfo") == 0; // the one template the module asks for
    }
};
