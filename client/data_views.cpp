#include "data_views.h"

#include <common/product_names.h>
#include <ostrelini/ini_file.h>

#include <QHash>
#include <QHeaderView>
#include <QTreeWidget>

namespace DataViews {

namespace {

QString text(const char *field)
{
    return QString::fromUtf8(field);
}

QString memberList(const PointerSeq<MemberRecord> &members)
{
    QStringList names;
    for (std::size_t i = 0; i < seqSize(members); ++i) {
        const MemberRecord *member = seqAt(members, i);
        names << (member->kind == MemberUser ? text(member->id)
                                             : text(member->id) + QStringLiteral(" (group)"));
    }
    return names.join(QStringLiteral(", "));
}

QString version(const ServerRecord &server)
{
    if (!server.version[0] && !server.version[1] && !server.version[2] && !server.version[3])
        return QString();
    return QStringLiteral("%1.%2%3%4")
        .arg(server.version[0])
        .arg(server.version[1])
        .arg(server.version[2])
        .arg(server.version[3]);
}

int directXVersion(const QString &ostrelIni)
{
    return ostrelini::IniFile::readInt(ostrelIni, u"DirectX", u"Version", 9);
}

void prepare(QTreeWidget *tree, const QStringList &headers)
{
    tree->clear();
    tree->setColumnCount(int(headers.size()));
    tree->setHeaderLabels(headers);
    tree->setRootIsDecorated(true);
    tree->setUniformRowHeights(true);
}

void fit(QTreeWidget *tree)
{
    tree->expandAll();
    for (int column = 0; column < tree->columnCount(); ++column)
        tree->resizeColumnToContents(column);
}

} // namespace

Snapshot accounts(ostrelhost::FileAccountProvider &provider)
{
    Snapshot snapshot;
    UserRecord *user = nullptr;
    for (std::int32_t i = 0, n = provider.getUserCount(); i < n; ++i) {
        if (provider.getUser(i, &user))
            snapshot.insert(QStringLiteral("user ") + text(user->id),
                            QStringLiteral("name \"%1\", description \"%2\"")
                                .arg(text(user->name), text(user->description)));
    }
    for (std::int32_t i = 0, n = provider.getGroupCount(); i < n; ++i) {
        if (const GroupRecord *group = provider.group(i))
            snapshot.insert(QStringLiteral("group ") + text(group->id),
                            QStringLiteral("members [%1]").arg(memberList(group->members)));
    }
    return snapshot;
}

Snapshot authority(IAuthorityProvider &provider)
{
    Snapshot snapshot;
    for (std::int32_t c = 0, categories = provider.getCategoryCount(); c < categories; ++c) {
        AuthorityCategory *category = nullptr;
        if (!provider.getCategory(c, &category))
            continue;
        AuthorityItem *item = nullptr;
        for (std::int32_t i = 0, n = provider.getAuthorityCount(c); i < n; ++i) {
            if (provider.getAuthority(c, i, &item))
                snapshot.insert(
                    QStringLiteral("authority %1 / %2").arg(text(category->name), text(item->name)),
                    QStringLiteral("held by [%1]").arg(memberList(item->members)));
        }
    }
    return snapshot;
}

Snapshot recorders(ostrelhost::FileServerListProvider &provider)
{
    Snapshot snapshot;
    for (std::int32_t i = 0, n = provider.getServerCount(); i < n; ++i) {
        const ServerRecord *server = provider.server(i);
        if (!server)
            continue;
        QStringList extra;
        for (std::size_t a = 0; a < seqSize(server->additionalInfo); ++a) {
            const AdditionalInfo *info = seqAt(server->additionalInfo, a);
            extra << text(info->name) + QLatin1Char('=') + text(info->value);
        }
        snapshot.insert(QStringLiteral("recorder ") + text(server->name),
                        QStringLiteral("%1:%2, product %3, login \"%4\", DDNS %5 %6, info [%7]")
                            .arg(text(server->address))
                            .arg(server->port)
                            .arg(server->productKind)
                            .arg(text(server->loginId))
                            .arg(server->useDdns ? QStringLiteral("on") : QStringLiteral("off"),
                                 text(server->ddnsAddress), extra.join(QStringLiteral(", "))));
    }
    return snapshot;
}

Snapshot options(IOptionProvider &provider, const QString &ostrelIni)
{
    Snapshot snapshot;
    OptionRecord *record = nullptr;
    if (provider.getOptions(&record)) {
        snapshot.insert(QStringLiteral("option language"), text(record->language));
        snapshot.insert(QStringLiteral("option alarm service auto-connect"),
                        record->alarmServiceAutoConnect ? QStringLiteral("on")
                                                        : QStringLiteral("off"));
        snapshot.insert(QStringLiteral("option alarm service polling time"),
                        QStringLiteral("%1 (%2..%3)")
                            .arg(record->alarmServicePollingTime)
                            .arg(record->alarmServicePollingMin)
                            .arg(record->alarmServicePollingMax));
    }
    snapshot.insert(QStringLiteral("option DirectX version"),
                    QString::number(directXVersion(ostrelIni)));
    return snapshot;
}

QStringList difference(const Snapshot &before, const Snapshot &after)
{
    QStringList lines;
    for (auto it = after.cbegin(); it != after.cend(); ++it) {
        const auto old = before.constFind(it.key());
        if (old == before.cend())
            lines << QStringLiteral("+ %1: %2").arg(it.key(), it.value());
        else if (old.value() != it.value())
            lines << QStringLiteral("~ %1: %2 -> %3").arg(it.key(), old.value(), it.value());
    }
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        if (!after.contains(it.key()))
            lines << QStringLiteral("- %1").arg(it.key());
    }
    return lines;
}

void fillAccounts(QTreeWidget *tree, ostrelhost::FileAccountProvider &provider)
{
    prepare(
        tree,
        {QStringLiteral("Id"), QStringLiteral("Name / members"), QStringLiteral("Description")});
    auto *users = new QTreeWidgetItem(tree, {QStringLiteral("Users")});
    auto *groups = new QTreeWidgetItem(tree, {QStringLiteral("Groups")});
    UserRecord *user = nullptr;
    for (std::int32_t i = 0, n = provider.getUserCount(); i < n; ++i) {
        if (provider.getUser(i, &user))
            new QTreeWidgetItem(users, {text(user->id), text(user->name), text(user->description)});
    }
    for (std::int32_t i = 0, n = provider.getGroupCount(); i < n; ++i) {
        if (const GroupRecord *group = provider.group(i))
            new QTreeWidgetItem(
                groups, {text(group->id), memberList(group->members), text(group->description)});
    }
    fit(tree);
}

void fillAuthority(QTreeWidget *tree, IAuthorityProvider &provider)
{
    prepare(
        tree,
        {QStringLiteral("Authority"), QStringLiteral("Held by"), QStringLiteral("Description")});
    for (std::int32_t c = 0, categories = provider.getCategoryCount(); c < categories; ++c) {
        AuthorityCategory *category = nullptr;
        if (!provider.getCategory(c, &category))
            continue;
        auto *parent = new QTreeWidgetItem(tree, {text(category->name)});
        AuthorityItem *item = nullptr;
        for (std::int32_t i = 0, n = provider.getAuthorityCount(c); i < n; ++i) {
            if (provider.getAuthority(c, i, &item))
                new QTreeWidgetItem(
                    parent, {text(item->name), memberList(item->members), text(item->description)});
        }
    }
    fit(tree);
}

void fillRecorders(QTreeWidget *tree, ostrelhost::FileServerListProvider &provider,
                   const QString &oemIni)
{
    prepare(tree,
            {QStringLiteral("Name"), QStringLiteral("Address"), QStringLiteral("Port"),
             QStringLiteral("Product"), QStringLiteral("Family"), QStringLiteral("Version"),
             QStringLiteral("Cameras"), QStringLiteral("Login"), QStringLiteral("DDNS")});
    tree->setRootIsDecorated(false);
    // The family is the product list's entry of the recorder's kind, as the setup dialog offers it.
    QHash<std::int32_t, QString> families;
    for (const setupmgr::ProductEntry &entry : setupmgr::readProductList(oemIni))
        families.insert(static_cast<std::int32_t>(entry.kind), entry.name);
    for (std::int32_t i = 0, n = provider.getServerCount(); i < n; ++i) {
        const ServerRecord *server = provider.server(i);
        if (!server)
            continue;
        auto *row = new QTreeWidgetItem(
            tree,
            {text(server->name), text(server->address), QString::number(server->port),
             setupmgr::productName(server->productCode, oemIni),
             families.value(server->productKind,
                            QStringLiteral("kind %1").arg(server->productKind)),
             version(*server), QString::number(seqSize(server->cameras)), text(server->loginId),
             server->useDdns ? text(server->ddnsAddress) : QString()});
        row->setData(kFamilyColumn, Qt::UserRole, server->productKind);
    }
    fit(tree);
}

void fillOptions(QTreeWidget *tree, IOptionProvider &provider, const QString &ostrelIni)
{
    prepare(tree, {QStringLiteral("Option"), QStringLiteral("Value")});
    tree->setRootIsDecorated(false);
    const Snapshot values = options(provider, ostrelIni);
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        new QTreeWidgetItem(tree, {it.key().mid(7), it.value()}); // without "option "
    fit(tree);
}

QString recorderName(QTreeWidget *tree)
{
    const QTreeWidgetItem *item = tree->currentItem();
    return item ? item->text(0) : QString();
}

} // namespace DataViews
