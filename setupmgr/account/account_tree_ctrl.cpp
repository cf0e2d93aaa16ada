#include "account_tree_ctrl.h"

#include "account_images.h"
#include "common/text_field.h"

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
        for (std::int32_t i = 0; i < userCount; ++i) {
            UserRecord *user = nullptr;
            if (!accounts->getUser(i, &user) || !user)
                continue;
            items.append(makeRecordItem(users, kUser, user, kImageUser));
        }
        users->addChildren(items);

        items.clear();
        const std::int32_t groupCount = accounts->getGroupCount();
        for (std::int32_t i = 0; i < groupCount; ++i) {
            GroupRecord *group = nullptr;
            if (!accounts->getGroup(i, &group) || !group)
                continue;
            items.append(makeRecordItem(groups, kGroup, group, kImageGroup));
        }
        groups->addChildren(items);
    }
    root->addChildren({users, groups});
}

QString CAccountTreeCtrl::recordText(int kind, const void *record) const
{
    if (kind == kUser)
        return fieldString(static_cast<const UserRecord *>(record)->id);
    if (kind == kGroup)
        return fieldString(static_cast<const GroupRecord *>(record)->id);
    return QString();
}

QTreeWidgetItem *CAccountTreeCtrl::AddUser(QTreeWidgetItem *parent, UserRecord *user)
{
    if (!parent || !user)
        return nullptr;
    QTreeWidgetItem *item = makeRecordItem(parent, kUser, user, kImageUser);
    parent->addChild(item);
    return item;
}

QTreeWidgetItem *CAccountTreeCtrl::AddGroup(QTreeWidgetItem *parent, GroupRecord *group)
{
    if (!parent || !group)
        return nullptr;
    QTreeWidgetItem *item = makeRecordItem(parent, kGroup, group, kImageGroup);
    parent->addChild(item);
    return item;
}

int CAccountTreeCtrl::findById(int kind, const char *id, TreeNode **node) const
{
    TreeNode *found = !id ? nullptr : findFirst([kind, id](const TreeNode &candidate) {
        if (candidate.kind != kind || !candidate.record)
            return false;
        return kind == kUser
            ? setupmgr::fieldEquals(static_cast<const UserRecord *>(candidate.record)->id, id)
            : setupmgr::fieldEquals(static_cast<const GroupRecord *>(candidate.record)->id, id);
    });
    if (node)
        *node = found;
    return found ? FindNode(found->item, nullptr) : -1;
}

int CAccountTreeCtrl::FindUser(const char *id, TreeNode **node) const
{
    return findById(kUser, id, node);
}

int CAccountTreeCtrl::FindGroup(const GroupRecord *group, TreeNode **node) const
{
    return findById(kGroup, group ? group->id : nullptr, node);
}

bool CAccountTreeCtrl::DeleteItem(QTreeWidgetItem *item)
{
    return deleteNodeItem(item);
}

QTreeWidgetItem *CAccountTreeCtrl::folder(int kind) const
{
    TreeNode *node
        = findFirst([kind](const TreeNode &candidate) { return candidate.kind == kind; });
    return node ? node->item : nullptr;
}

QTreeWidgetItem *CAccountTreeCtrl::UserFolder() const
{
    return folder(kUserFolder);
}

QTreeWidgetItem *CAccountTreeCtrl::GroupFolder() const
{
    return folder(kGroupFolder);
}
