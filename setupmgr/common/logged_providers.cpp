#include "logged_providers.h"

#include "module_log.h"

namespace setupmgr {

void logProviderFailure(const char *role, const char *operation, long long argument)
{
    if (argument >= 0)
        Common::writeLog("%s: %s(%lld) failed", role, operation, argument);
    else
        Common::writeLog("%s: %s failed", role, operation);
}

std::int32_t LoggedAccountProvider::getUserCount()
{
    return checkedCount(m_inner->getUserCount(), "getUserCount");
}

bool LoggedAccountProvider::getUser(std::int32_t index, UserRecord **out)
{
    return checkedGet(m_inner->getUser(index, out), out, "getUser", index);
}

bool LoggedAccountProvider::addUser(const UserRecord *user)
{
    return checked(m_inner->addUser(user), "addUser");
}

bool LoggedAccountProvider::deleteUser(const char *id)
{
    return checked(m_inner->deleteUser(id), "deleteUser");
}

std::int32_t LoggedAccountProvider::getGroupCount()
{
    return checkedCount(m_inner->getGroupCount(), "getGroupCount");
}

bool LoggedAccountProvider::getGroup(std::int32_t index, GroupRecord **out)
{
    return checkedGet(m_inner->getGroup(index, out), out, "getGroup", index);
}

bool LoggedAccountProvider::addGroup(const GroupRecord *group)
{
    return checked(m_inner->addGroup(group), "addGroup");
}

bool LoggedAccountProvider::deleteGroup(const char *id)
{
    return checked(m_inner->deleteGroup(id), "deleteGroup");
}

std::int32_t LoggedAuthorityProvider::getCategoryCount()
{
    return checkedCount(m_inner->getCategoryCount(), "getCategoryCount");
}

bool LoggedAuthorityProvider::getCategory(std::int32_t index, AuthorityCategory **out)
{
    return checkedGet(m_inner->getCategory(index, out), out, "getCategory", index);
}

std::int32_t LoggedAuthorityProvider::findCategory(const char *id)
{
    return m_inner->findCategory(id);
}

std::int32_t LoggedAuthorityProvider::getAuthorityCount(std::int32_t category)
{
    return checkedCount(m_inner->getAuthorityCount(category), "getAuthorityCount");
}

bool LoggedAuthorityProvider::getAuthority(std::int32_t category, std::int32_t index,
                                           AuthorityItem **out)
{
    return checkedGet(m_inner->getAuthority(category, index, out), out, "getAuthority", index);
}

std::int32_t LoggedServerListProvider::getServerCount()
{
    return checkedCount(m_inner->getServerCount(), "getServerCount");
}

std::int32_t LoggedServerListProvider::createServer(const char *name)
{
    const std::int32_t index = m_inner->createServer(name);
    checked(index >= 0, "createServer");
    return index;
}

bool LoggedServerListProvider::getServer(std::int32_t index, ServerRecord **out)
{
    return checkedGet(m_inner->getServer(index, out), out, "getServer", index);
}

bool LoggedServerListProvider::findServer(const char *name, ServerRecord **out)
{
    return m_inner->findServer(name, out);
}

bool LoggedServerListProvider::removeServer(const char *name)
{
    return checked(m_inner->removeServer(name), "removeServer");
}

} // namespace setupmgr
