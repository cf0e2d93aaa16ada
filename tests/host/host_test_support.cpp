#include "host_test_support.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace ostrelhost;

namespace hosttest {

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << utf8(path);
    ASSERT_EQ(file.write(bytes), bytes.size());
}

std::string utf8(const QString &path)
{
    return path.toStdString();
}

QByteArray savedBytes(IDataProvider &provider, const QString &folder)
{
    const QString path = QDir(folder).filePath(QStringLiteral("saved-copy.xml"));
    EXPECT_TRUE(provider.saveFile(utf8(path).c_str()));
    const QByteArray bytes = readBytes(path);
    QFile::remove(path);
    return bytes;
}

bool sameTemplate(const DisplayTemplate &a, const DisplayTemplate &b)
{
    if (std::memcmp(a.title, b.title, sizeof a.title) != 0
        || seqSize(a.categories) != seqSize(b.categories))
        return false;
    for (std::size_t i = 0; i < seqSize(a.categories); ++i) {
        if (!sameRecord(*a.categories.first[i], *b.categories.first[i], &InfoCategory::items))
            return false;
    }
    return true;
}

void addUser(FileAccountProvider &accounts, const char *id, const char *name,
             const char *description)
{
    UserRecord user {};
    copyField(user.id, id);
    copyField(user.password, "secret");
    copyField(user.name, name);
    copyField(user.description, description);
    user.number = -1;
    ASSERT_TRUE(accounts.addUser(&user));
}

void addGroup(FileAccountProvider &accounts, const char *id,
              std::initializer_list<const char *> members)
{
    GroupRecord group {};
    group.number = -1;
    copyField(group.id, id);
    for (const char *member : members) {
        MemberRecord *block = appendBlock(group.members);
        block->kind = member[0] == 'g' ? MemberGroup : MemberUser;
        copyField(block->id, member + 2);
    }
    ASSERT_TRUE(accounts.addGroup(&group));
    seqFreeBlocks(group.members);
}

ServerRecord *addRecorder(FileServerListProvider &servers, const std::string &name, int productKind,
                          int infos, int cameras)
{
    ServerRecord *server = nullptr;
    const std::int32_t index = servers.createServer(name.c_str());
    if (index < 0 || !servers.getServer(index, &server))
        return nullptr;
    server->productKind = productKind;
    server->productCode = 0x100800 + productKind;
    server->port = static_cast<std::uint16_t>(7000 + index);
    server->connected = index % 2;
    const std::uint8_t version[4] = {2, 1, 0, static_cast<std::uint8_t>(index % 10)};
    std::memcpy(server->version, version, sizeof version);
    copyField(server->address,
              ("10.0." + std::to_string(index / 250) + "." + std::to_string(index % 250)).c_str());
    copyField(server->loginId, "admin");
    copyField(server->password, "pass-word");
    server->useDdns = 1;
    copyField(server->ddnsAddress, "ddns.example.net");
    copyField(server->ddnsId, name.c_str());
    copyField(server->ddnsPassword, "ddns-secret");
    for (int i = 0; i < infos; ++i) {
        AdditionalInfo *info = appendBlock(server->additionalInfo);
        info->tag = i;
        copyField(info->name, ("Info " + std::to_string(i)).c_str());
        copyField(info->value, ("Value of " + name).c_str());
    }
    for (int i = 0; i < cameras; ++i) {
        CameraEntry *camera = appendBlock(server->cameras);
        camera->channel = i + 1;
        copyField(camera->name, (name + " camera " + std::to_string(i + 1)).c_str());
    }
    return server;
}

QByteArray authorityXml(int categories, int items, int members, const char *tag)
{
    QByteArray text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<authority version=\"1\">\n";
    for (int c = 0; c < categories; ++c) {
        text += "<category id=\"cat" + QByteArray::number(c) + "\" name=\"Category " + tag
            + QByteArray::number(c) + "\">\n";
        for (int i = 0; i < items; ++i) {
            text += "<item id=\"item" + QByteArray::number(i) + "\" name=\"Item "
                + QByteArray::number(i) + "\" description=\"Allows thing " + QByteArray::number(i)
                + "\">";
            for (int m = 0; m < members; ++m)
                text += "<member type=\"" + QByteArray(m % 3 ? "user" : "group") + "\" id=\"member"
                    + tag + QByteArray::number(m) + "\"/>";
            text += "</item>\n";
        }
        text += "</category>\n";
    }
    return text + "</authority>\n";
}

void fillAccounts(FileAccountProvider &accounts, int users, const char *variant)
{
    for (int i = 0; i < users; ++i) {
        const std::string id = "user" + std::to_string(i) + variant;
        addUser(accounts, id.c_str(), "A user with a reasonably long name", "and a description");
    }
    for (int i = 0; i < users / 10; ++i) {
        const std::string id = "group" + std::to_string(i) + variant;
        addGroup(accounts, id.c_str(), {"u:user1", "u:user2", "g:group0", "u:user3"});
    }
}

void fillServers(FileServerListProvider &servers, int recorders, const char *variant)
{
    for (int i = 0; i < recorders; ++i)
        addRecorder(servers, "Recorder " + std::to_string(i) + variant, 1 + i % 3, 5, 16);
}

void fillTemplates(FileTemplateProvider &templates, int count, const char *variant)
{
    for (int t = 0; t < count; ++t) {
        auto view = makeRecord<DisplayTemplate>();
        copyField(view->title, (std::string("Template ") + variant).c_str());
        for (int c = 0; c < 4; ++c) {
            InfoCategory *category = appendBlock(view->categories);
            copyField(category->name, ("category" + std::to_string(c)).c_str());
            copyField(category->label, "A category");
            category->expanded = c % 2;
            for (int i = 0; i < 10; ++i) {
                InfoItem *item = appendBlock(category->items);
                copyField(item->name, ("item" + std::to_string(i)).c_str());
                copyField(item->label, variant);
                copyField(item->value, "a value");
                item->flags[i % 5] = 1;
            }
        }
        templates.setTemplate("template" + std::to_string(t), std::move(view));
    }
}

void fillRemoteSetup(FileRemoteSetupProvider &remote, int recorders, int variant)
{
    for (int i = 1; i <= recorders; ++i) {
        RemoteSetupSettings settings;
        settings.timeout = static_cast<std::uint16_t>(100 + variant);
        settings.autoConnect = i % 2;
        settings.activeCamera = i % 5;
        remote.setSettings(i, settings);
    }
}

} // namespace hosttest
