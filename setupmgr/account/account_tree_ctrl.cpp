#include "account_tree_ctrl.h"

#include "account_images.h"
#include "common/check.h"
#include "common/text_field.h"

using namespace setupmgr;

CAccountTreeCtrl::CAccountTreeCtrl(QWidget *parent)
    : CNodeTreeCtrl(parent)
{ }

void CAccountTreeCtrl::Fill(IAccountProvider *accounts)
{
    DeleteAllItems();
    m_accounts = accounts;
    auto *root = makeItem(m_strings.getString("account", "label"), kImageRoot, kImageRoot);
    addTopLevelItem(root);
    auto *users = makeItem(m_strings.getString("user", "label"), kImageFolder, kImageOpenFolder);
    auto *groups = makeItem(m_strings.getString("group", "label"), kImageFolder, kImageOpenFolder);
    addNode(root, users, kUserFolder);
    addNode(root, groups, kGroupFolder);
    if (accounts) {
        // Thousands of accounts: the items go into their folder in one insertion, before the
        // folders join the tree, so the view lays them out once.
        QList<QTreeWidgetItem *> items;
        const std::int32_t userCount = accounts->getUserCount();
        items.reserve(userCount > 0 ? userCount : 0);
        for (std::int32_t i = 0; i < userCount; ++i) {
            UserRecord *user = nullptr;
            if (!accounts->getUser(i, &user) || !user)
                continue;
            items.append(makePositionItem<UserRecord>(users, kUser, i, kImageUser));
        }
        users->addChildren(items);

        // Groups are not read here: a group's row reads it when shown, and a working copy may
        // copy a group's member blocks only when it first hands the group out.
        items.clear();
        const std::int32_t groupCount = accounts->getGroupCount();
        for (std::int32_t i = 0; i < groupCount; ++i)
            items.append(makePositionItem<GroupRecord>(groups, kGroup, i, kImageGroup));
        groups->addChildren(items);
    }
    root->addChildren({users, groups});
}

int CAccountTreeCtrl::recordCount() const
{
    // Every row under a folder is a user or a group.
    const QTreeWidgetItem *root = rootItem();
    int count = 0;
    for (int i = 0; root && i < root->childCount(); ++i)
        count += root->child(i)->childCount();
    return count;
}

QString CAccountTreeCtrl::recordText(const TreeNode &node) const
{
    if (node.kind == kUser) {
        const UserRecord *user = recordAs<UserRecord>(node);
        return user ? fieldString(user->id) : QString();
    }
    if (node.kind == kGroup) {
        const GroupRecord *group = recordAs<GroupRecord>(node);
        return group ? fieldString(group->id) : QString();
    }
    return QString();
}

bool CAccountTreeCtrl::findWords(const QModelIndex &index, QString *words) const
{
    const TreeNode *node = nodeAt(index);
    if (!node || (node->kind != kUser && node->kind != kGroup))
        return false;
    if (!words)
        return true;
    if (node->kind == kGroup) {
        *words = recordText(*node);
    } else if (const UserRecord *user = recordAs<UserRecord>(*node)) {
        *words = fieldString(user->id) + QLatin1Char('\n') + fieldString(user->name);
    }
    return true;
}

void *CAccountTreeCtrl::recordOf(const TreeNode &node) const
{
    if (!m_accounts || node.position < 0)
        return node.record;
    if (node.kind == kUser) {
        UserRecord *user = nullptr;
        return m_accounts->getUser(node.position, &user) ? user : nullptr;
    }
    if (node.kind == kGroup) {
        GroupRecord *group = nullptr;
        return m_accounts->getGroup(node.position, &group) ? group : nullptr;
    }
    return node.record;
}

int CAccountTreeCtrl::findById(int kind, const QByteArray &id, TreeNode **node) const
{
    TreeNode *found = findFirst([this, kind, &id](const TreeNode &candidate) {
        if (candidate.kind != kind)
            return false;
        if (kind == kUser) {
            const UserRecord *user = recordAs<UserRecord>(candidate);
            return user && fieldBytes(user->id) == id;
        }
        const GroupRecord *group = recordAs<GroupRecord>(candidate);
        return group && fieldBytes(group->id) == id;
    });
    if (node)
        *node = found;
    return found ? FindNode(found->item, nullptr) : -1;
}

int CAccountTreeCtrl::FindUser(const QByteArray &id, TreeNode **node) const
{
    return findById(kUser, id, node);
}

int CAccountTreeCtrl::FindGroup(const QByteArray &id, TreeNode **node) const
{
    return findById(kGroup, id, node);
}

QTreeWidgetItem *CAccountTreeCtrl::FindRecord(int kind, std::int32_t position) const
{
    TreeNode *node = findFirst([kind, position](const TreeNode &candidate) {
        return candidate.kind == kind && candidate.position == position;
    });
    return node ? node->item : nullptr;
}

bool CAccountTreeCtrl::DeleteItem(QTreeWidgetItem *item)
{
    return deleteNodeItem(item);
}

QTreeWidgetItem *CAccountTreeCtrl::folder(int kind) const
{
    TreeNode *node
        = findFirst([kind](const TreeNode &candidate) { return candidate.kind == kind; });
    // Fill makes both folders, whatever the provider holds.
    OSTREL_CHECK(node, nullptr);
    return node->item;
}

QTreeWidgetItem *CAccountTreeCtrl::UserFolder() const
{
    return folder(kUserFolder);
}

QTreeWidgetItem *CAccountTreeCtrl::GroupFolder() const
{
    return folder(kGroupFolder);
}
