// Providers as the dialogs use them: each forwards every call to the host's provider and writes a
// line to the module log when the host reports a failure (a getter without a record, a negative
// count, an append or removal refused). A host that fails a call is thus never met in silence,
// wherever in a dialog the call is made. Records pass through untouched.
#pragma once

#include <ostrel/data_provider.h>

#include <memory>
#include <type_traits>

namespace setupmgr {

// Writes "<role>: <operation> failed" to the module log.
void logProviderFailure(const char *role, const char *operation, long long argument = -1);

template <typename Interface>
class LoggedProvider : public Interface
{
public:
    // role names the provider in the log; ownsInner: a working copy, released with this one.
    LoggedProvider(Interface *inner, const char *role, bool ownsInner)
        : m_inner(inner)
        , m_role(role)
        , m_ownsInner(ownsInner)
    { }
    virtual ~LoggedProvider() = default;
    LoggedProvider(const LoggedProvider &) = delete;
    LoggedProvider &operator=(const LoggedProvider &) = delete;

    Interface *inner() const { return m_inner; }

    bool queryLink(LinkKind link, void **out) override { return m_inner->queryLink(link, out); }
    void release(int flag) override
    {
        if (m_ownsInner)
            m_inner->release(flag);
        delete this;
    }
    ProviderKind getKind() override { return m_inner->getKind(); }
    bool loadFile(const char *path) override
    {
        return checked(m_inner->loadFile(path), "loadFile");
    }
    bool saveFile(const char *path) override
    {
        return checked(m_inner->saveFile(path), "saveFile");
    }
    void clear() override { m_inner->clear(); }
    bool createWorkingCopy(IDataProvider **out) override
    {
        return checked(m_inner->createWorkingCopy(out) && *out, "createWorkingCopy");
    }

protected:
    bool checked(bool done, const char *operation, long long argument = -1) const
    {
        if (!done)
            logProviderFailure(m_role, operation, argument);
        return done;
    }
    template <typename Record>
    bool checkedGet(bool done, Record **out, const char *operation, long long argument) const
    {
        return checked(done && *out, operation, argument);
    }
    std::int32_t checkedCount(std::int32_t count, const char *operation) const
    {
        checked(count >= 0, operation);
        return count;
    }

    Interface *m_inner;
    const char *m_role;
    bool m_ownsInner;
};

class LoggedAccountProvider final : public LoggedProvider<IAccountProvider>
{
public:
    using LoggedProvider::LoggedProvider;
    std::int32_t getUserCount() override;
    bool getUser(std::int32_t index, UserRecord **out) override;
    bool addUser(const UserRecord *user) override;
    bool deleteUser(const char *id) override;
    std::int32_t getGroupCount() override;
    bool getGroup(std::int32_t index, GroupRecord **out) override;
    bool addGroup(const GroupRecord *group) override;
    bool deleteGroup(const char *id) override;
};

class LoggedAuthorityProvider final : public LoggedProvider<IAuthorityProvider>
{
public:
    using LoggedProvider::LoggedProvider;
    std::int32_t getCategoryCount() override;
    bool getCategory(std::int32_t index, AuthorityCategory **out) override;
    std::int32_t findCategory(const char *id) override;
    std::int32_t getAuthorityCount(std::int32_t category) override;
    bool getAuthority(std::int32_t category, std::int32_t index, AuthorityItem **out) override;
};

class LoggedServerListProvider final : public LoggedProvider<IServerListProvider>
{
public:
    using LoggedProvider::LoggedProvider;
    std::int32_t getServerCount() override;
    std::int32_t createServer(const char *name) override;
    bool getServer(std::int32_t index, ServerRecord **out) override;
    // A name not found is an answer, not a failure: not logged.
    bool findServer(const char *name, ServerRecord **out) override;
    bool removeServer(const char *name) override;
};

// The logging provider of an interface, or void when its kind has none.
template <typename Provider>
struct Logged
{
    using type = void;
};
template <>
struct Logged<IAccountProvider>
{
    using type = LoggedAccountProvider;
};
template <>
struct Logged<IAuthorityProvider>
{
    using type = LoggedAuthorityProvider;
};
template <>
struct Logged<IServerListProvider>
{
    using type = LoggedServerListProvider;
};

// A registered provider, read through a logging provider that the holder owns; the host's
// provider stays the host's.
template <typename Provider>
class LoggedRegistration
{
    using Wrapper = typename Logged<Provider>::type;

public:
    explicit LoggedRegistration(const char *role)
        : m_role(role)
    { }
    ~LoggedRegistration() { reset(nullptr); }
    LoggedRegistration(const LoggedRegistration &) = delete;
    LoggedRegistration &operator=(const LoggedRegistration &) = delete;

    void reset(Provider *provider)
    {
        delete m_wrapper;
        m_wrapper = provider ? new Wrapper(provider, m_role, false) : nullptr;
    }
    Provider *get() const { return m_wrapper; }
    // The host's own provider, for what must reach it unwrapped (a working copy of it).
    Provider *host() const { return m_wrapper ? m_wrapper->inner() : nullptr; }

private:
    const char *m_role;
    Wrapper *m_wrapper = nullptr;
};

} // namespace setupmgr
