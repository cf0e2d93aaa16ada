#include "memory_providers.h"

#include <algorithm>

namespace testhost {

bool FaultPlan::fails(const char *operation, bool onCopy)
{
    if (++calls != failAt)
        return false;
    failedCall = onCopy ? std::string("copy.") + operation : std::string(operation);
    return true;
}

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

bool AccountProvider::addUser(const UserRecord *user)
{
    if (!act("addUser"))
        return false;
    data.users.push_back(ostrelhost::cloneRecord(*user));
    return true;
}

bool AccountProvider::addGroup(const GroupRecord *group)
{
    if (!act("addGroup"))
        return false;
    data.groups.push_back(ostrelhost::cloneRecord(*group));
    return true;
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

std::int32_t AuthorityProvider::getAuthorityCount(std::int32_t category)
{
    if (!act("getAuthorityCount"))
        return -1;
    if (category < 0 || category >= countOf(data.categories))
        return 0;
    return countOf(data.categories[static_cast<size_t>(category)].items);
}

bool AuthorityProvider::getAuthority(std::int32_t category, std::int32_t index, AuthorityItem **out)
{
    return act("getAuthority", out) && category >= 0 && category < countOf(data.categories)
        && recordAt(data.categories[static_cast<size_t>(category)].items, index, out);
}

// --- recorders ---------------------------------------------------------------------------------

ServerRecord *ServerListData::addServer(const char *name, const char *address, std::uint16_t port)
{
    auto server = ostrelhost::makeRecord<ServerRecord>();
    copyField(server->name, name);
    copyField(server->address, address);
    server->port = port;
    server->hostId = static_cast<std::int32_t>(servers.size()) + 1;
    servers.push_back(std::move(server));
    return servers.back().get();
}

namespace {

// A deep copy of the record, appended: the blocks it points to are the copy's own.
void appendCopy(std::vector<ServerRecord> &copies, const ServerRecord &record)
{
    auto copy = ostrelhost::cloneRecord(record);
    copies.push_back(*copy);
    copy->additionalInfo = {};
    copy->cameras = {};
}

} // namespace

// Exactly as much room as needed in both: the next record added moves them all.
ServerValueData::ServerValueData(const ServerListData &records)
{
    servers.reserve(records.servers.size());
    for (const auto &record : records.servers)
        appendCopy(servers, *record);
}

ServerValueData::ServerValueData(const ServerValueData &other)
{
    servers.reserve(other.servers.size());
    for (const ServerRecord &record : other.servers)
        appendCopy(servers, record);
}

ServerValueData::~ServerValueData()
{
    for (ServerRecord &record : servers) {
        seqFreeBlocks(record.additionalInfo);
        seqFreeBlocks(record.cameras);
    }
}

ServerRecord *ServerValueData::addServer(const char *name)
{
    ServerRecord server;
    std::memset(static_cast<void *>(&server), 0, sizeof server);
    copyField(server.name, name);
    server.hostId = static_cast<std::int32_t>(servers.size()) + 1;
    servers.push_back(server);
    return &servers.back();
}

void ServerValueData::eraseAt(std::size_t index)
{
    seqFreeBlocks(servers[index].additionalInfo);
    seqFreeBlocks(servers[index].cameras);
    servers.erase(servers.begin() + std::ptrdiff_t(index));
}

// --- display templates, notifications ----------------------------------------------------------

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
    if (!act("getTemplate", out))
        return false;
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
