// Providers that forward every call to an inner provider and make the Nth call fail, so that a
// dialog's path can be driven through each failure a client may report, one at a time. The count
// runs over a wrapper and every working copy it hands out (they share one plan).
//
// A failing call returns false or -1, sets its out pointer to null, and a failing clear does
// nothing. release is never counted: a release that did nothing would only leak.
#pragma once

#include <ostrel/data_provider.h>

#include <memory>
#include <string>

namespace testhost {

// Which call fails, and what happened: shared by a wrapper and its working copies.
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

template <typename Derived, typename Interface>
class FailingProvider : public Interface
{
public:
    // A wrapper of a provider that stays its owner's, or (ownsInner) of a working copy that this
    // wrapper releases when it is released.
    FailingProvider(Interface *inner, std::shared_ptr<FaultPlan> plan, bool ownsInner = false)
        : m_inner(inner)
        , m_plan(std::move(plan))
        , m_ownsInner(ownsInner)
    { }
    virtual ~FailingProvider() = default;
    FailingProvider(const FailingProvider &) = delete;
    FailingProvider &operator=(const FailingProvider &) = delete;

    bool queryLink(LinkKind link, void **out) override
    {
        if (fail("queryLink"))
            return refuse(out);
        return m_inner->queryLink(link, out);
    }
    void release(int flag) override
    {
        // Only copies are released; the registered wrapper belongs to the test.
        if (!m_ownsInner)
            return;
        m_inner->release(flag);
        delete static_cast<Derived *>(this);
    }
    ProviderKind getKind() override
    {
        return fail("getKind") ? static_cast<ProviderKind>(-1) : m_inner->getKind();
    }
    bool loadFile(const char *path) override
    {
        return !fail("loadFile") && m_inner->loadFile(path);
    }
    bool saveFile(const char *path) override
    {
        return !fail("saveFile") && m_inner->saveFile(path);
    }
    void clear() override
    {
        if (!fail("clear"))
            m_inner->clear();
    }
    bool createWorkingCopy(IDataProvider **out) override
    {
        if (fail("createWorkingCopy"))
            return refuse(out);
        IDataProvider *copy = nullptr;
        if (!m_inner->createWorkingCopy(&copy) || !copy)
            return refuse(out);
        *out = new Derived(static_cast<Interface *>(copy), m_plan, true);
        return true;
    }

protected:
    Interface *inner() const { return m_inner; }
    bool fail(const char *operation) { return m_plan->fails(operation, m_ownsInner); }
    template <typename T>
    static bool refuse(T **out)
    {
        if (out)
            *out = nullptr;
        return false;
    }

private:
    Interface *m_inner;
    std::shared_ptr<FaultPlan> m_plan;
    bool m_ownsInner;
};

// Each call below fails as a client's would: a count or index of -1, false with a null out
// pointer.
class FailingAccountProvider final
    : public FailingProvider<FailingAccountProvider, IAccountProvider>
{
public:
    using FailingProvider::FailingProvider;
    std::int32_t getUserCount() override
    {
        return fail("getUserCount") ? -1 : inner()->getUserCount();
    }
    bool getUser(std::int32_t index, UserRecord **out) override
    {
        return fail("getUser") ? refuse(out) : inner()->getUser(index, out);
    }
    bool addUser(const UserRecord *user) override
    {
        return !fail("addUser") && inner()->addUser(user);
    }
    bool deleteUser(const char *id) override
    {
        return !fail("deleteUser") && inner()->deleteUser(id);
    }
    std::int32_t getGroupCount() override
    {
        return fail("getGroupCount") ? -1 : inner()->getGroupCount();
    }
    bool getGroup(std::int32_t index, GroupRecord **out) override
    {
        return fail("getGroup") ? refuse(out) : inner()->getGroup(index, out);
    }
    bool addGroup(const GroupRecord *group) override
    {
        return !fail("addGroup") && inner()->addGroup(group);
    }
    bool deleteGroup(const char *id) override
    {
        return !fail("deleteGroup") && inner()->deleteGroup(id);
    }
};

class FailingAuthorityProvider final
    : public FailingProvider<FailingAuthorityProvider, IAuthorityProvider>
{
public:
    using FailingProvider::FailingProvider;
    std::int32_t getCategoryCount() override
    {
        return fail("getCategoryCount") ? -1 : inner()->getCategoryCount();
    }
    bool getCategory(std::int32_t index, AuthorityCategory **out) override
    {
        return fail("getCategory") ? refuse(out) : inner()->getCategory(index, out);
    }
    std::int32_t findCategory(const char *id) override
    {
        return fail("findCategory") ? -1 : inner()->findCategory(id);
    }
    std::int32_t getAuthorityCount(std::int32_t category) override
    {
        return fail("getAuthorityCount") ? -1 : inner()->getAuthorityCount(category);
    }
    bool getAuthority(std::int32_t category, std::int32_t index, AuthorityItem **out) override
    {
        return fail("getAuthority") ? refuse(out) : inner()->getAuthority(category, index, out);
    }
};

class FailingServerListProvider final
    : public FailingProvider<FailingServerListProvider, IServerListProvider>
{
public:
    using FailingProvider::FailingProvider;
    std::int32_t getServerCount() override
    {
        return fail("getServerCount") ? -1 : inner()->getServerCount();
    }
    std::int32_t createServer(const char *name) override
    {
        return fail("createServer") ? -1 : inner()->createServer(name);
    }
    bool getServer(std::int32_t index, ServerRecord **out) override
    {
        return fail("getServer") ? refuse(out) : inner()->getServer(index, out);
    }
    bool findServer(const char *name, ServerRecord **out) override
    {
        return fail("findServer") ? refuse(out) : inner()->findServer(name, out);
    }
    bool removeServer(const char *name) override
    {
        return !fail("removeServer") && inner()->removeServer(name);
    }
};

class FailingOptionProvider final : public FailingProvider<FailingOptionProvider, IOptionProvider>
{
public:
    using FailingProvider::FailingProvider;
    bool getOptions(OptionRecord **out) override
    {
        return fail("getOptions") ? refuse(out) : inner()->getOptions(out);
    }
};

class FailingDisplayTemplateProvider final
    : public FailingProvider<FailingDisplayTemplateProvider, IDisplayTemplateProvider>
{
public:
    using FailingProvider::FailingProvider;
    bool getTemplate(const char *name, DisplayTemplate **out) override
    {
        return fail("getTemplate") ? refuse(out) : inner()->getTemplate(name, out);
    }
};

} // namespace testhost
