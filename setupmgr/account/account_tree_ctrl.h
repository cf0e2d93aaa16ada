// The tree of the account manager: a root with a user folder and a group folder holding every
// user and every group of an account provider, in provider order.
#pragma once

#include "common/string_table.h"
#include "controls/node_tree_ctrl.h"

#include <ostrel/data_provider.h>

class CAccountTreeCtrl : public CNodeTreeCtrl
{
    Q_OBJECT

public:
    enum NodeKind { kUser = 0, kGroup = 1, kUserFolder = 2, kGroupFolder = 3 };

    explicit CAccountTreeCtrl(QWidget *parent = nullptr);

    // Builds the whole tree: root, the two folders, every user, every group.
    void Fill(IAccountProvider *accounts);
    QTreeWidgetItem *AddUser(QTreeWidgetItem *parent, UserRecord *user);
    QTreeWidgetItem *AddGroup(QTreeWidgetItem *parent, GroupRecord *group);
    // The item's position under its parent and the node of the first user whose id equals id
    // exactly; -1 and null if none.
    int FindUser(const char *id, TreeNode **node) const;
    // The same for the group's id.
    int FindGroup(const GroupRecord *group, TreeNode **node) const;
    // Deletes the item with its node and its children; false when the item has no node.
    bool DeleteItem(QTreeWidgetItem *item);
    QTreeWidgetItem *UserFolder() const;
    QTreeWidgetItem *GroupFolder() const;
    QTreeWidgetItem *rootItem() const { return topLevelItem(0); }

    // A user's or a group's id.
    QString recordText(int kind, const void *record) const override;

private:
    QTreeWidgetItem *folder(int kind) const;
    int findById(int kind, const char *id, TreeNode **node) const;

    CStringTable m_strings {QStringLiteral("dlg_account_tree.xml")};
};
