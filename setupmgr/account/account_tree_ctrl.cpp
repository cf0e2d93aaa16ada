#include "account_tree_ctrl.h"

#include "account_images.h"
#include "controls/dialog_style.h"
#include "controls/widgets.h"
#include "member_list.h"

#include <cstring>

using namespace setupmgr;

CAccountTreeCtrl::CAccountTreeCtrl(QWidget *parent)
    : CNodeTreeCtrl(parent)
{ }

void CAccountTreeCtrl::Fill(IAccountProvider *accounts)
{
    DeleteAllItems();
    auto *root = makeItem(m_strings.getString("account", "label"), kImageRoot, kImageRoot);
    addTopLevelItem(root);
    auto *users = makeItem(m_strings.getString("user", "label"), kImageFolder, kImageOpenFolder);
    auto *groups = makeItem(m_strings.getString("group", "label"), kImageFolder, kImageOpenFolder);
    addNode(root, users, kUserFolder, nullptr);
    addNode(root, groups, kGroupFolder, nullptr);
    if (accounts) {
        // Thousands of accounts: the items go into their folder in one insertion, before the
        // folders join the tree, so the view lays them out once.
        QList<QTreeWidgetItem *> items;
        const std::int32_t userCount = accounts->getUserCount();
        items.reserve(userCount > 0 ? userCount : 0);
        m_nodes.reserve(m_nodes.size() + static_cast<std::size_t>(userCount > 0 ? userCount : 0));
        for (std::int32_t i = 0; i < userCount; ++i) {
            UserRecord *user = nullptr;
            if (!accounts->getUser(i, &user) || !user)
                continue;
            QTreeWidgetItem *item = makeItem(QString::fromUtf8(user->id), kImageUser, kImageUser);
            addNode(users, item, kUser, user);
            items.append(item);
        }
        users->addChildren(items);

        items.clear();
        const std::int32_t groupCount = accounts->getGroupCount();
        for (std::int32_t i = 0; i < groupCount; ++i) {
            GroupRecord *group = nullptr;
            if (!accounts->getGroup(i, &group) || !group)
                continue;
            QTreeWidgetItem *item
                = makeItem(QString::fromUtf8(group->id), kImageGroup, kImageGroup);
            addNode(groups, item, kGroup, group);
            items.append(item);
        }
        groups->addChildren(items);
    }
    root->addChildren({users, groups});
}

QTreeWidgetItem *CAccountTreeCtrl::AddUser(QTreeWidgetItem *parent, UserRecord *user)
{
    if (!parent || !user)
        return nullptr;
    auto *item = makeItem(QString::fromUtf8(user->id), kImageUser, kImageUser);
    parent->addChild(item);
    addNode(parent, item, kUser, user);
    return item;
}

QTreeWidgetItem *CAccountTreeCtrl::AddGroup(QTreeWidgetItem *parent, GroupRecord *group)
{
    if (!parent || !group)
        return nullptr;
    auto *item = makeItem(QString::fromUtf8(group->id), kImageGroup, kImageGroup);
    parent->addChild(item);
    addNode(parent, item, kGroup, group);
    return item;
}

int CAccountTreeCtrl::findByText(int kind, const char *id) const
{
    for (std::size_t i = 0; i < m_nodes.size(); ++i) {
        const TreeNode &node = *m_nodes[i];
        if (node.kind != kind || !node.record)
            continue;
        const char *recordId = kind == kUser ? static_cast<const UserRecord *>(node.record)->id
                                             : static_cast<const GroupRecord *>(node.record)->id;
        if (std::strcmp(recordId, id) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

int CAccountTreeCtrl::FindUser(const char *id, TreeNode **node) const
{
    const int position = id ? findByText(kUser, id) : -1;
    if (node)
        *node = position >= 0 ? m_nodes[static_cast<std::size_t>(position)] : nullptr;
    return position;
}

int CAccountTreeCtrl::FindGroup(const GroupRecord *group, TreeNode **node) const
{
    const int position = group ? findByText(kGroup, group->id) : -1;
    if (node)
        *node = position >= 0 ? m_nodes[static_cast<std::size_t>(position)] : nullptr;
    return position;
}

bool CAccountTreeCtrl::DeleteItem(QTreeWidgetItem *item)
{
    return deleteNodeItem(item);
}

QTreeWidgetItem *CAccountTreeCtrl::folder(int kind) const
{
    for (const auto &node : m_nodes) {
        if (node->kind == kind)
            return node->item;
    }
    return nullptr;
}

QTreeWidgetItem *CAccountTreeCtrl::UserFolder() const
{
    return folder(kUserFolder);
}

QTreeWidgetItem *CAccountTreeCtrl::GroupFolder() const
{
    return folder(kGroupFolder);
}
