// Helpers shared by the host library's tests: files in a scratch folder, record comparisons and
// records built through the providers' own operations.
#pragma once

#include <ostrelhost/reference_host.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>

// gtest shows Qt texts as text.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace hosttest {

using namespace ostrelhost;

inline std::string utf8(const QString &path)
{
    return path.toStdString();
}

inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << utf8(path);
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// What a provider's saveFile writes, through a scratch file in folder.
inline QByteArray savedBytes(IDataProvider &provider, const QString &folder)
{
    const QString path = QDir(folder).filePath(QStringLiteral("saved-copy.xml"));
    EXPECT_TRUE(provider.saveFile(utf8(path).c_str()));
    const QByteArray bytes = readBytes(path);
    QFile::remove(path);
    return bytes;
}

// Two records are equal byte for byte (padding included: every record here starts zeroed), and
// the named sequences hold blocks that are equal byte for byte.
template <typename T, typename... E>
bool sameRecord(const T &a, const T &b, PointerSeq<E> T::*...seqs)
{
    [[maybe_unused]] const auto sameBlocks = [](const auto &x, const auto &y) {
        if (seqSize(x) != seqSize(y))
            return false;
        for (std::size_t i = 0; i < seqSize(x); ++i) {
            if (std::memcmp(x.first[i], y.first[i], sizeof *x.first[i]) != 0)
                return false;
        }
        return true;
    };
    T x, y;
    std::memcpy(static_cast<void *>(&x), &a, sizeof(T));
    std::memcpy(static_cast<void *>(&y), &b, sizeof(T));
    ((x.*seqs = {}, y.*seqs = {}), ...);
    return std::memcmp(&x, &y, sizeof(T)) == 0 && (sameBlocks(a.*seqs, b.*seqs) && ...);
}

inline bool sameTemplate(const DisplayTemplate &a, const DisplayTemplate &b)
{
    bool same = std::memcmp(a.title, b.title, sizeof a.title) == 0
        && seqSize(a.categories) == seqSize(b.categories);
    for (std::size_t i = 0; same && i < seqSize(a.categories); ++i)
        same = sameRecord(*a.categories.first[i], *b.categories.first[i], &InfoCategory::items);
    return same;
}

inline void addUser(FileAccountProvider &accounts, const char *id, const char *name,
                    const char *description = "")
{
    UserRecord user {};
    copyField(user.id, id);
    copyField(user.password, "secret");
    copyField(user.name, name);
    copyField(user.description, description);
    user.number = -1;
    ASSERT_TRUE(accounts.addUser(&user));
}

// A group whose members are ("u:" or "g:") + id; the caller's member blocks are freed again
// after addGroup, which must have taken copies.
inline void addGroup(FileAccountProvider &accounts, const char *id,
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

// A recorder with every field set, `infos` additional-information rows and `cameras` cameras.
inline ServerRecord *addRecorder(FileServerListProvider &servers, const std::string &name,
                                 int productKind, int infos, int cameras)
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
    copyField(server->address, ("10.0.0." + std::to_string(index % 250)).c_str());
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

// An authority file text: `categories` categories of `items` items with `members` members each.
inline QByteArray authorityXml(int categories, int items, int members, const char *tag = "")
{
    QByteArray text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<authority version=\"1\">\n";
    for (int c = 0; c < categories; ++c) {
        text += "<category id=\"cat" + QByteArray::number(c) + "\" name=\"Category " + tag
            + QByteArray::number(c) + "\">\n";
        for (int i = 0; i < items; ++i) {
            text += "<item id=\"item" + QByteArray::number(i) + "\" name=\"Item "
                + QByteArray::number(i) + "\" description=\"Allows thing\">";
            for (int m = 0; m < members; ++m)
                text += "<member type=\"" + QByteArray(m % 3 ? "user" : "group") + "\" id=\"member"
                    + tag + QByteArray::number(m) + "\"/>";
            text += "</item>\n";
        }
        text += "</category>\n";
    }
    return text + "</authority>\n";
}

// A template of four categories of ten items each, every text marked with variant.
inline RecordPtr<DisplayTemplate> makeTemplate(const char *variant)
{
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
    return view;
}

} // namespace hosttest
