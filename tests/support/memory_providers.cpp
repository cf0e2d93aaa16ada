#include "memory_providers.h"

#include <algorithm>
#include <cstring>

namespace testhost {

namespace {

template <typename T>
std::unique_ptr<T> copyRecord(const T &record)
{
    auto copy = std::make_unique<T>();
    std::memcpy(static_cast<void *>(copy.get()), &record, sizeof(T));
    return copy;
}

// A copy of a record that owns one sequence of blocks, with its own copies of the blocks.
template <typename T, typename E>
std::unique_ptr<T> copyWithBlocks(const T &record, PointerSeq<E> T::*seq)
{
    auto copy = copyRecord(record);
    (*copy).*seq = PointerSeq<E> {};
    seqCopyBlocks((*copy).*seq, record.*seq);
    return copy;
}

} // namespace

int CallLog::count(const std::string &operation) const
{
    return static_cast<int>(std::count(calls.begin(), calls.end(), operation));
}

// --- accounts ----------------------------------------------------------------------------------

AccountData::AccountData(const AccountData &other)
{
    for (const auto &user : other.users)
        users.push_back(copyRecord(*user));
    for (const auto &group : other.groups)
        groups.push_back(copyWithBlocks(*group, &GroupRecord::members));
}

AccountData &AccountData::operator=(const AccountData &other)
{
    if (this != &other) {
        AccountData copy(other);
        std::swap(users, copy.users);
        std::swap(groups, copy.groups);
    }
    return *this;
}

AccountData::~AccountData()
{
    for (auto &group : groups)
        seqFreeBlocks(group->members);
}

UserRecord *AccountData::addUser(const char *id, const char *password, const char *name)
{
    auto user = std::make_unique<UserRecord>();
    std::memset(user.get(), 0, sizeof(UserRecord));
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
    auto group = std::make_unique<GroupRecord>();
    std::memset(static_cast<void *>(group.get()), 0, sizeof(GroupRecord));
    copyField(group->id, id);
    group->number = static_cast<std::int32_t>(groups.size());
    for (const auto &[kind, memberId] : members) {
        auto *member = static_cast<MemberRecord *>(std::calloc(1, sizeof(MemberRecord)));
        member->kind = kind;
        copyField(member->id, memberId.c_str());
        seqAppend(group->members, member);
    }
    groups.push_back(std::move(group));
    return groups.back().get();
}

GroupRecord *AccountData::findGroup(const std::string &id) const
{
    for (const auto &group : groups) {
        if (id == group->id)
            return group.get();
    }
    return nullptr;
}

std::int32_t AccountProvider::getUserCount()
{
    record("getUserCount");
    return static_cast<std::int32_t>(data.users.size());
}

bool AccountProvider::getUser(std::int32_t index, UserRecord **out)
{
    record("getUser");
    if (index < 0 || index >= getUserCount())
        return false;
    *out = data.users[static_cast<size_t>(index)].get();
    return true;
}

bool AccountProvider::addUser(const UserRecord *user)
{
    record("addUser");
    data.users.push_back(copyRecord(*user));
    return true;
}

bool AccountProvider::deleteUser(const char *id)
{
    record("deleteUser");
    return std::erase_if(data.users,
                         [id](const auto &user) { return std::strcmp(user->id, id) == 0; });
}

std::int32_t AccountProvider::getGroupCount()
{
    record("getGroupCount");
    return static_cast<std::int32_t>(data.groups.size());
}

bool AccountProvider::getGroup(std::int32_t index, GroupRecord **out)
{
    record("getGroup");
    if (index < 0 || index >= static_cast<std::int32_t>(data.groups.size()))
        return false;
    *out = data.groups[static_cast<size_t>(index)].get();
    return true;
}

bool AccountProvider::addGroup(const GroupRecord *group)
{
    record("addGroup");
    data.groups.push_back(copyWithBlocks(*group, &GroupRecord::members));
    return true;
}

bool AccountProvider::deleteGroup(const char *id)
{
    record("deleteGroup");
    for (auto it = data.groups.begin(); it != data.groups.end(); ++it) {
        if (std::strcmp((*it)->id, id) == 0) {
            seqFreeBlocks((*it)->members);
            data.groups.erase(it);
            return true;
        }
    }
    return false;
}

// --- authority ---------------------------------------------------------------------------------

AuthorityData::AuthorityData(const AuthorityData &other)
{
    for (const Category &category : other.categories) {
        Category copy;
        copy.category = copyRecord(*category.category);
        for (const auto &item : category.items)
            copy.items.push_back(copyWithBlocks(*item, &AuthorityItem::members));
        categories.push_back(std::move(copy));
    }
}

AuthorityData &AuthorityData::operator=(const AuthorityData &other)
{
    if (this != &other) {
        AuthorityData copy(other);
        std::swap(categories, copy.categories);
    }
    return *this;
}

AuthorityData::~AuthorityData()
{
    for (Category &category : categories) {
        for (auto &item : category.items)
            seqFreeBlocks(item->members);
    }
}

int AuthorityData::addCategory(const char *id, const char *name)
{
    Category category;
    category.category = std::make_unique<AuthorityCategory>();
    std::memset(category.category.get(), 0, sizeof(AuthorityCategory));
    copyField(category.category->id, id);
    copyField(category.category->name, name);
    categories.push_back(std::move(category));
    return static_cast<int>(categories.size()) - 1;
}

AuthorityItem *AuthorityData::addItem(int category, const char *id, const char *name,
                                      const char *description)
{
    auto item = std::make_unique<AuthorityItem>();
    std::memset(static_cast<void *>(item.get()), 0, sizeof(AuthorityItem));
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
    return static_cast<std::int32_t>(data.categories.size());
}

bool AuthorityProvider::getCategory(std::int32_t index, AuthorityCategory **out)
{
    record("getCategory");
    if (index < 0 || index >= static_cast<std::int32_t>(data.categories.size()))
        return false;
    *out = data.categories[static_cast<size_t>(index)].category.get();
    return true;
}

std::int32_t AuthorityProvider::findCategory(const char *id)
{
    record("findCategory");
    for (size_t i = 0; i < data.categories.size(); ++i) {
        if (std::strcmp(data.categories[i].category->id, id) == 0)
            return static_cast<std::int32_t>(i);
    }
    return -1;
}

std::int32_t AuthorityProvider::getAuthorityCount(std::int32_t category)
{
    record("getAuthorityCount");
    if (category < 0 || category >= static_cast<std::int32_t>(data.categories.size()))
        return 0;
    return static_cast<std::int32_t>(data.categories[static_cast<size_t>(category)].items.size());
}

bool AuthorityProvider::getAuthority(std::int32_t category, std::int32_t index, AuthorityItem **out)
{
    record("getAuthority");
    if (category < 0 || category >= static_cast<std::int32_t>(data.categories.size()))
        return false;
    auto &items = data.categories[static_cast<size_t>(category)].items;
    if (index < 0 || index >= static_cast<std::int32_t>(items.size()))
        return false;
    *out = items[static_cast<size_t>(index)].get();
    return true;
}

// --- recorders ---------------------------------------------------------------------------------

ServerListData::ServerListData(const ServerListData &other)
{
    for (const auto &server : other.servers) {
        auto copy = copyWithBlocks(*server, &ServerRecord::additionalInfo);
        copy->cameras = PointerSeq<CameraEntry> {};
        seqCopyBlocks(copy->cameras, server->cameras);
        servers.push_back(std::move(copy));
    }
}

ServerListData &ServerListData::operator=(const ServerListData &other)
{
    if (this != &other) {
        ServerListData copy(other);
        std::swap(servers, copy.servers);
    }
    return *this;
}

ServerListData::~ServerListData()
{
    for (auto &server : servers) {
        seqFreeBlocks(server->additionalInfo);
        seqFreeBlocks(server->cameras);
    }
}

ServerRecord *ServerListData::addServer(const char *name)
{
    auto server = std::make_unique<ServerRecord>();
    std::memset(static_cast<void *>(server.get()), 0, sizeof(ServerRecord));
    copyField(server->name, name);
    server->hostId = static_cast<std::int32_t>(servers.size()) + 1;
    servers.push_back(std::move(server));
    return servers.back().get();
}

std::int32_t ServerListProvider::getServerCount()
{
    record("getServerCount");
    return static_cast<std::int32_t>(data.servers.size());
}

std::int32_t ServerListProvider::createServer(const char *name)
{
    record("createServer");
    data.addServer(name);
    return static_cast<std::int32_t>(data.servers.size()) - 1;
}

bool ServerListProvider::getServer(std::int32_t index, ServerRecord **out)
{
    record("getServer");
    if (index < 0 || index >= static_cast<std::int32_t>(data.servers.size()))
        return false;
    *out = data.servers[static_cast<size_t>(index)].get();
    return true;
}

bool ServerListProvider::findServer(const char *name, ServerRecord **out)
{
    record("findServer");
    for (const auto &server : data.servers) {
        if (std::strcmp(server->name, name) == 0) {
            *out = server.get();
            return true;
        }
    }
    return false;
}

bool ServerListProvider::removeServer(const char *name)
{
    record("removeServer");
    for (auto it = data.servers.begin(); it != data.servers.end(); ++it) {
        if (std::strcmp((*it)->name, name) == 0) {
            seqFreeBlocks((*it)->additionalInfo);
            seqFreeBlocks((*it)->cameras);
            data.servers.erase(it);
            return true;
        }
    }
    return false;
}

// --- remote setup, options, display templates --------------------------------------------------

bool RemoteSetupProvider::loadRemoteSetupParameters(std::int32_t serverId,
                                                    RemoteSetupParameters *parameters)
{
    record("loadRemoteSetupParameters");
    if (!data.accept)
        return false;
    parameters->hostValue = serverId;
    return true;
}

bool OptionProvider::getOptions(OptionRecord **out)
{
    record("getOptions");
    *out = &data.options;
    return true;
}

DisplayTemplateData::DisplayTemplateData(const DisplayTemplateData &other)
{
    for (const auto &[name, view] : other.templates) {
        auto copy = copyRecord(*view);
        copy->categories = PointerSeq<InfoCategory> {};
        for (size_t i = 0; i < seqSize(view->categories); ++i) {
            const InfoCategory *category = seqAt(view->categories, i);
            auto *categoryCopy = static_cast<InfoCategory *>(std::malloc(sizeof(InfoCategory)));
            std::memcpy(static_cast<void *>(categoryCopy), category, sizeof(InfoCategory));
            categoryCopy->items = PointerSeq<InfoItem> {};
            seqCopyBlocks(categoryCopy->items, category->items);
            seqAppend(copy->categories, categoryCopy);
        }
        templates[name] = std::move(copy);
    }
}

DisplayTemplateData &DisplayTemplateData::operator=(const DisplayTemplateData &other)
{
    if (this != &other) {
        DisplayTemplateData copy(other);
        std::swap(templates, copy.templates);
    }
    return *this;
}

DisplayTemplateData::~DisplayTemplateData()
{
    for (auto &[name, view] : templates) {
        for (size_t i = 0; i < seqSize(view->categories); ++i)
            seqFreeBlocks(seqAt(view->categories, i)->items);
        seqFreeBlocks(view->categories);
    }
}

InfoView *DisplayTemplateData::addTemplate(const char *name, const char *title)
{
    auto view = std::make_unique<InfoView>();
    std::memset(static_cast<void *>(view.get()), 0, sizeof(InfoView));
    copyField(view->title, title);
    auto &slot = templates[name];
    slot = std::move(view);
    return slot.get();
}

InfoCategory *DisplayTemplateData::addCategory(InfoView *view, const char *name, const char *label)
{
    auto *category = static_cast<InfoCategory *>(std::calloc(1, sizeof(InfoCategory)));
    copyField(category->name, name);
    copyField(category->label, label);
    category->expanded = 1;
    seqAppend(view->categories, category);
    return category;
}

InfoItem *DisplayTemplateData::addItem(InfoCategory *category, const char *name, const char *label,
                                       const char *value)
{
    auto *item = static_cast<InfoItem *>(std::calloc(1, sizeof(InfoItem)));
    copyField(item->name, name);
    copyField(item->label, label);
    copyField(item->value, value);
    seqAppend(category->items, item);
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
