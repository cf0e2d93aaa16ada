#include "failing_providers.h"

namespace testhost {

bool FaultPlan::fails(const char *operation, bool onCopy)
{
    const std::string name = onCopy ? std::string("copy.") + operation : std::string(operation);
    trace.push_back(name);
    if (++calls != failAt)
        return false;
    failedCall = name;
    return true;
}

// --- accounts ----------------------------------------------------------------------------------

std::int32_t FailingAccountProvider::getUserCount()
{
    return fail("getUserCount") ? -1 : inner()->getUserCount();
}

bool FailingAccountProvider::getUser(std::int32_t index, UserRecord **out)
{
    return fail("getUser") ? refuse(out) : inner()->getUser(index, out);
}

bool FailingAccountProvider::addUser(const UserRecord *user)
{
    return !fail("addUser") && inner()->addUser(user);
}

bool FailingAccountProvider::deleteUser(const char *id)
{
    return !fail("deleteUser") && inner()->deleteUser(id);
}

std::int32_t FailingAccountProvider::getGroupCount()
{
    return fail("getGroupCount") ? -1 : inner()->getGroupCount();
}

bool FailingAccountProvider::getGroup(std::int32_t index, GroupRecord **out)
{
    return fail("getGroup") ? refuse(out) : inner()->getGroup(index, out);
}

bool FailingAccountProvider::addGroup(const GroupRecord *group)
{
    return !fail("addGroup") && inner()->addGroup(group);
}

bool FailingAccountProvider::deleteGroup(const char *id)
{
    return !fail("deleteGroup") && inner()->deleteGroup(id);
}

// --- authority ---------------------------------------------------------------------------------

std::int32_t FailingAuthorityProvider::getCategoryCount()
{
    return fail("getCategoryCount") ? -1 : inner()->getCategoryCount();
}

bool FailingAuthorityProvider::getCategory(std::int32_t index, AuthorityCategory **out)
{
    return fail("getCategory") ? refuse(out) : inner()->getCategory(index, out);
}

std::int32_t FailingAuthorityProvider::findCategory(const char *id)
{
    return fail("findCategory") ? -1 : inner()->findCategory(id);
}

std::int32_t FailingAuthorityProvider::getAuthorityCount(std::int32_t category)
{
    return fail("getAuthorityCount") ? -1 : inner()->getAuthorityCount(category);
}

bool FailingAuthorityProvider::getAuthority(std::int32_t category, std::int32_t index,
                                            AuthorityItem **out)
{
    return fail("getAuthority") ? refuse(out) : inner()->getAuthority(category, index, out);
}

// --- recorders ---------------------------------------------------------------------------------

std::int32_t FailingServerListProvider::getServerCount()
{
    return fail("getServerCount") ? -1 : inner()->getServerCount();
}

std::int32_t FailingServerListProvider::createServer(const char *name)
{
    return fail("createServer") ? -1 : inner()->createServer(name);
}

bool FailingServerListProvider::getServer(std::int32_t index, ServerRecord **out)
{
    return fail("getServer") ? refuse(out) : inner()->getServer(index, out);
}

bool FailingServerListProvider::findServer(const char *name, ServerRecord **out)
{
    return fail("findServer") ? refuse(out) : inner()->findServer(name, out);
}

bool FailingServerListProvider::removeServer(const char *name)
{
    return !fail("removeServer") && inner()->removeServer(name);
}

// --- options and templates ---------------------------------------------------------------------

bool FailingOptionProvider::getOptions(OptionRecord **out)
{
    return fail("getOptions") ? refuse(out) : inner()->getOptions(out);
}

bool FailingDisplayTemplateProvider::getTemplate(const char *name, DisplayTemplate **out)
{
    return fail("getTemplate") ? refuse(out) : inner()->getTemplate(name, out);
}

} // namespace testhost
