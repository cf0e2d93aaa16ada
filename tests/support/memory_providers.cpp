#include "memory_providers.h"

#include <algorithm>
#include <cstring>

namespace testhost {

namespace {

// Whether the field holds exactly text, read no further than the field: a host may fill a field
// to its last byte without a terminating zero.
template <std::size_t N>
bool fieldEquals(const char (&field)[N], const char *text)
{
    const std::size_t length = strnlen(field, N);
    return text && std::strlen(text) == length && std::memcmp(field, text, length) == 0;
}

template <typename T>
T *pointer(Copied<T> &record)
{
    return record.get();
}

ServerRecord *pointer(ServerRecord &record)
{
    return &record;
}

template <typename Records>
std::int32_t countOf(const Records &records)
{
    return static_cast<std::int32_t>(records.size());
}

template <typename Records, typename T>
bool recordAt(Records &records, std::int32_t index, T **out)
{
    if (index < 0 || index >= countOf(records))
        return false;
    *out = pointer(records[static_cast<std::size_t>(index)]);
    return true;
}

// The first record whose field (id or name) holds text, as a host that looks records up so
// finds it; -1 when there is none.
template <typename Records, typename Field>
std::int32_t findFirst(Records &records, Field field, const char *text)
{
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (fieldEquals(pointer(records[i])->*field, text))
            return static_cast<std::int32_t>(i);
    }
    return -1;
}

// Removes the first record with that id.
template <typename Records, typename Field>
bool eraseFirst(Records &records, Field field, const char *text)
{
    const std::int32_t found = findFirst(records, field, text);
    if (found >= 0)
        records.erase(records.begin() + found);
    return found >= 0;
}

} // namespace

int CallLog::count(const std::string &operation) const
{
    return static_cast<int>(std::count(calls.begin(), calls.end(), operation));
}

// --- accounts ----------------------------------------------------------------------------------

UserRecord *AccountData::addUser(const char *id, const char *password, const char *name)
{
    auto user = ostrelhost::makeRecord<UserRecord>();
    copyField(user->id, id);
    copyField(user->password, password);
    copyField(user->name, name);
    user->number = static_cast<std::int32_t>(users.size());
    users.push_back(std::move(user));
    return users.back().get();
}

GroupRecord *AccountData::addGroup(const char *id,
                                   const std::vector<std::pair<MemberKind, std::string>> &members)
{
    auto group = ostrelhost::makeRecord<GroupRecord>();
    copyField(group->id, id);
    group->number = static_cast<std::int32_t>(groups.size());
    for (const auto &[kind, memberId] : members) {
        auto *member = ostrelhost::appendBlock(group->members);
        member->kind = kind;
        copyField(member->id, memberId.c_str());
    }
    groups.push_back(std::move(group));
    return groups.back().get();
}

std::int32_t AccountProvider::getUserCount()
{
    record("getUserCount");
    return countOf(data.users);
}

bool AccountProvider::getUser(std::int32_t index, UserRecord **out)
{
    record("getUser");
    return recordAt(data.users, index, out);
}

bool AccountProvider::addUser(const UserRecord *user)
{
    record("addUser");
    data.users.push_back(ostrelhost::cloneRecord(*user));
    return true;
}

bool AccountProvider::deleteUser(const char *id)
{
    record("deleteUser");
    return eraseFirst(data.users, &UserRecord::id, id);
}

std::int32_t AccountProvider::getGroupCount()
{
    record("getGroupCount");
    return countOf(data.groups);
}

bool AccountProvider::getGroup(std::int32_t index, GroupRecord **out)
{
    record("getGroup");
    return recordAt(data.groups, index, out);
}

bool AccountProvider::addGroup(const GroupRecord *group)
{
    record("addGroup");
    data.groups.push_back(ostrelhost::cloneRecord(*group));
    return true;
}

bool AccountProvider::deleteGroup(const char *id)
{
    record("deleteGroup");
    return eraseFirst(data.groups, &GroupRecord::id, id);
}

// --- authority ---------------------------------------------------------------------------------

int AuthorityData::addCategory(const char *id, const char *name)
{
    Category category;
    category.category = ostrelhost::makeRecord<AuthorityCategory>();
    copyField(category.category->id, id);
    copyField(category.category->name, name);
    categories.push_back(std::move(category));
    return static_cast<int>(categories.size()) - 1;
}

AuthorityItem *AuthorityData::addItem(int category, const char *id, const char *name,
                                      const char *description)
{
    auto item = ostrelhost::makeRecord<AuthorityItem>();
    copyField(item->id, id);
    copyField(item->name, name);
    copyField(item->description, description);
    auto &items = categories.at(static_cast<size_t>(category)).items;
    items.push_back(std::move(item));
    return items.back().get();
}

std::int32_t AuthorityProvider::getCategoryCount()
{
    record("getCategoryCount");
    return countOf(data.categories);
}

bool AuthorityProvider::getCategory(std::int32_t index, AuthorityCategory **out)
{
    record("getCategory");
    if (index < 0 || index >= countOf(data.categories))
        return false;
    *out = data.categories[static_cast<size_t>(index)].category.get();
    return true;
}

std::int32_t AuthorityProvider::findCategory(const char *id)
{
    record("findCategory");
    for (size_t i = 0; i < data.categories.size(); ++i) {
        if (fieldEquals(data.categories[i].category->id, id))
            return static_cast<std::int32_t>(i);
    }
    return -1;
}

std::int32_t AuthorityProvider::getAuthorityCount(std::int32_t category)
{
    record("getAuthorityCount");
    if (category < 0 || category >= countOf(data.categories))
        return 0;
    return countOf(data.categories[static_cast<size_t>(category)].items);
}

bool AuthorityProvider::getAuthority(std::int32_t category, std::int32_t index, AuthorityItem **out)
{
    record("getAuthority");
    return category >= 0 && category < countOf(data.categories)
        && recordAt(data.categories[static_cast<size_t>(category)].items, index, out);
}

// --- recorders ---------------------------------------------------------------------------------

ServerRecord *ServerListData::addServer(const char *name)
{
    auto server = ostrelhost::makeRecord<ServerRecord>();
    copyField(server->name, name);
    server->hostId = static_cast<std::int32_t>(servers.size()) + 1;
    servers.push_back(std::move(server));
    return servers.back().get();
}

template <typename Derived, typename Data>
std::int32_t RecorderProvider<Derived, Data>::getServerCount()
{
    this->record("getServerCount");
    return countOf(this->data.servers);
}

template <typename Derived, typename Data>
bool RecorderProvider<Derived, Data>::getServer(std::int32_t index, ServerRecord **out)
{
    this->record("getServer");
    return recordAt(this->data.servers, index, out);
}

template <typename Derived, typename Data>
bool RecorderProvider<Derived, Data>::findServer(const char *name, ServerRecord **out)
{
    this->record("findServer");
    return recordAt(this->data.servers, findFirst(this->data.servers, &ServerRecord::name, name),
                    out);
}

template class RecorderProvider<ServerListProvider, ServerListData>;
template class RecorderProvider<ServerValueListProvider, ServerValueData>;

std::int32_t ServerListProvider::createServer(const char *name)
{
    record("createServer");
    data.addServer(name);
    return static_cast<std::int32_t>(data.servers.size()) - 1;
}

bool ServerListProvider::removeServer(const char *name)
{
    record("removeServer");
    return eraseFirst(data.servers, &ServerRecord::name, name);
}

ServerValueData::ServerValueData(const ServerValueData &other)
{
    // Exactly as much room as needed: the next record added moves them all.
    servers.reserve(other.servers.size());
    for (const ServerRecord &record : other.servers) {
        auto copy = ostrelhost::cloneRecord(record);
        servers.push_back(*copy);
        copy->additionalInfo = {};
        copy->cameras = {};
    }
}

ServerValueData::~ServerValueData()
{
    for (ServerRecord &record : servers) {
        seqFreeBlocks(record.additionalInfo);
        seqFreeBlocks(record.cameras);
    }
}

void ServerValueData::adopt(const ServerRecord &record)
{
    servers.push_back(record);
}

void ServerValueData::eraseAt(std::size_t index)
{
    seqFreeBlocks(servers[index].additionalInfo);
    seqFreeBlocks(servers[index].cameras);
    servers.erase(servers.begin() + std::ptrdiff_t(index));
}

std::int32_t ServerValueListProvider::createServer(const char *name)
{
    record("createServer");
    ServerRecord server;
    std::memset(static_cast<void *>(&server), 0, sizeof server);
    copyField(server.name, name);
    server.hostId = static_cast<std::int32_t>(data.servers.size()) + 1;
    data.adopt(server);
    return static_cast<std::int32_t>(data.servers.size()) - 1;
}

bool ServerValueListProvider::removeServer(const char *name)
{
    record("removeServer");
    const std::int32_t found = findFirst(data.servers, &ServerRecord::name, name);
    if (found >= 0)
        data.eraseAt(static_cast<std::size_t>(found));
    return found >= 0;
}

// --- remote setup, options, display templates --------------------------------------------------

bool OptionProvider::getOptions(OptionRecord **out)
{
    record("getOptions");
    *out = &data.options;
    return true;
}

InfoView *DisplayTemplateData::addTemplate(const char *name, const char *title)
{
    auto view = ostrelhost::makeRecord<InfoView>();
    copyField(view->title, title);
    auto &slot = templates[name];
    slot = std::move(view);
    return slot.get();
}

InfoCategory *DisplayTemplateData::addCategory(InfoView *view, const char *name, const char *label)
{
    auto *category = ostrelhost::appendBlock(view->categories);
    copyField(category->name, name);
    copyField(category->label, label);
    category->expanded = 1;
    return category;
}

InfoItem *DisplayTemplateData::addItem(InfoCategory *category, const char *name, const char *label,
                                       const char *value)
{
    auto *item = ostrelhost::appendBlock(category->items);
    copyField(item->name, name);
    copyField(item->label, label);
    copyField(item->value, value);
    return item;
}

bool DisplayTemplateProvider::getTemplate(const char *name, DisplayTemplate **out)
{
    record("getTemplate");
    auto found = data.templates.find(name);
    if (found == data.templates.end())
        return false;
    *out = found->second.get();
    return true;
}

void NotificationRecorder::notify(const char *name, NotifyMessage *message)
{
    received.push_back(
        {name, message->id, message->sender, message->group, seqSize(message->arguments)});
}

} // namespace testhost
