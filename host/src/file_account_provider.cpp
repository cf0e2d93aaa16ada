#include <ostrelhost/file_account_provider.h>

#include "record_utils.h"
#include "record_xml.h"

#include <QSet>

#include <algorithm>

namespace ostrelhost {

namespace {

constexpr char kRoot[] = "accounts";

bool insertIfNew(QSet<QString> &set, const QString &key)
{
    const qsizetype before = set.size();
    set.insert(key);
    return set.size() != before;
}

// Removes the first record with that id.
template <typename Records>
bool eraseById(Records &records, const char *id)
{
    const auto found = std::find_if(records.begin(), records.end(), [id](const auto &record) {
        return detail::fieldEquals(record->id, id);
    });
    if (found == records.end())
        return false;
    records.erase(found);
    return true;
}

} // namespace

FileAccountProvider::FileAccountProvider(std::shared_ptr<Diagnostics> diagnostics)
    : ProviderBase(std::move(diagnostics))
{ }

FileAccountProvider::FileAccountProvider(const FileAccountProvider &other)
    : ProviderBase(other)
    , m_users(cloneAllPooled(other.m_users, m_userPool))
    , m_groups(shareAll(other.m_groups))
{ }

bool FileAccountProvider::loadFile(const char *path)
{
    std::vector<RecordPtr<UserRecord>> users;
    std::vector<CopyOnRead<GroupRecord>> groups;
    const bool whole = xml::loadDocument(
        path, kRoot, diagnostics(), origin(),
        [&](const pugi::xml_node &root, xml::Content &content) {
            // Users and groups share one name space, compared without regard to case. An id used
            // twice is kept as it is, so that no account is lost, and reported.
            QSet<QString> ids;
            const auto checkId = [&](const pugi::xml_node &element, const char(&id)[51]) {
                const std::string text = xml::fieldText(id);
                if (!text.empty() && !insertIfNew(ids, QString::fromStdString(text).toCaseFolded()))
                    content.warn(element, "the id \"" + text + "\" is used by another account too");
            };
            content.each(root, "user", [&](const pugi::xml_node &element) {
                auto user = makeRecord<UserRecord>();
                user->number = static_cast<std::int32_t>(
                    xml::integer(element, "number", INT32_MIN, INT32_MAX,
                                 static_cast<std::int64_t>(users.size())));
                xml::readField(user->id, element, "id");
                xml::readField(user->password, element, "password");
                xml::readField(user->name, element, "name");
                xml::readField(user->description, element, "description");
                checkId(element, user->id);
                users.push_back(std::move(user));
            });
            content.each(root, "group", [&](const pugi::xml_node &element) {
                auto group = makeRecord<GroupRecord>();
                group->number = static_cast<std::int32_t>(
                    xml::integer(element, "number", INT32_MIN, INT32_MAX,
                                 static_cast<std::int64_t>(groups.size())));
                xml::readField(group->id, element, "id");
                xml::readField(group->description, element, "description");
                xml::readMembers(element, content, group->members);
                checkId(element, group->id);
                groups.push_back(std::move(group));
            });
        });
    // What could be read is kept; the rest was reported, and the file is kept when replaced.
    clear();
    m_users = std::move(users);
    m_groups = std::move(groups);
    return whole;
}

bool FileAccountProvider::saveFile(const char *path)
{
    return xml::saveDocument(path, kRoot, diagnostics(), origin(), [this](pugi::xml_node &root) {
        for (const auto &user : m_users) {
            pugi::xml_node element = root.append_child("user");
            xml::setInteger(element, "number", user->number);
            xml::setField(element, "id", user->id);
            xml::setField(element, "password", user->password);
            xml::setField(element, "name", user->name);
            xml::setField(element, "description", user->description);
        }
        for (const auto &group : m_groups) {
            pugi::xml_node element = root.append_child("group");
            xml::setInteger(element, "number", group->number);
            xml::setField(element, "id", group->id);
            xml::setField(element, "description", group->description);
            xml::writeMembers(element, group->members);
        }
    });
}

void FileAccountProvider::clear()
{
    m_users.clear();
    m_userPool.reset();
    m_groups.clear();
}

std::int32_t FileAccountProvider::getUserCount()
{
    return static_cast<std::int32_t>(m_users.size());
}

bool FileAccountProvider::getUser(std::int32_t index, UserRecord **out)
{
    if (!out || !detail::validIndex(m_users, index))
        return false;
    *out = m_users[static_cast<std::size_t>(index)].get();
    return true;
}

bool FileAccountProvider::addUser(const UserRecord *user)
{
    if (!user)
        return false;
    try {
        auto copy = cloneRecord(*user);
        if (copy->number < 0)
            copy->number = detail::nextNumber(m_users);
        m_users.push_back(std::move(copy));
        return true;
    } catch (const std::bad_alloc &) {
        return false;
    }
}

bool FileAccountProvider::deleteUser(const char *id)
{
    return eraseById(m_users, id);
}

std::int32_t FileAccountProvider::getGroupCount()
{
    return static_cast<std::int32_t>(m_groups.size());
}

bool FileAccountProvider::getGroup(std::int32_t index, GroupRecord **out)
{
    return out && detail::validIndex(m_groups, index)
        && m_groups[static_cast<std::size_t>(index)].handOut(out);
}

const GroupRecord *FileAccountProvider::group(std::int32_t index) const
{
    return detail::validIndex(m_groups, index) ? &*m_groups[static_cast<std::size_t>(index)]
                                               : nullptr;
}

bool FileAccountProvider::addGroup(const GroupRecord *group)
{
    if (!group)
        return false;
    try {
        auto copy = cloneRecord(*group);
        if (copy->number < 0)
            copy->number = detail::nextNumber(m_groups);
        m_groups.push_back(std::move(copy));
        return true;
    } catch (const std::bad_alloc &) {
        return false;
    }
}

bool FileAccountProvider::deleteGroup(const char *id)
{
    return eraseById(m_groups, id);
}

} // namespace ostrelhost
