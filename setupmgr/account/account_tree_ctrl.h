// The tree of the account manager: a root with a user folder and a group folder holding every
// user and every group of an account provider, in provider order. Items know their record by its
// position in the provider and read it when they need it: a provider may move its records when
// one is added or deleted, after which the tree is filled anew.
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

    // Builds the whole tree: root, the two folders, every user, every group. The tree reads the
    // provider until it is filled again or destroyed.
    void Fill(IAccountProvider *accounts);
    // The item's position under its parent and the node of the first user whose id has exactly
    // these bytes; -1 and null if none.
    int FindUser(const QByteArray &id, TreeNode **node) const;
    int FindGroup(const QByteArray &id, TreeNode **node) const;
    // The item of the user or group at that position of the provider, or null.
    QTreeWidgetItem *FindRecord(int kind, std::int32_t position) const;
    // Deletes the item with its node and its children; false when the item has no node.
    bool DeleteItem(QTreeWidgetItem *item);
    QTreeWidgetItem *UserFolder() const;
    QTreeWidgetItem *GroupFolder() const;
    QTreeWidgetItem *rootItem() const { return topLevelItem(0); }
    // The users and groups the tree shows.
    int recordCount() const override;

    // A user's or a group's id.
    QString recordText(const TreeNode &node) const override;
    // The user or group at the node's position, as the provider gives it now.
    void *recordOf(const TreeNode &node) const override;
    // What the find field matches a row by (TreeFilter::RowWords): a user's id and name, a
    // group's id; the root and the folders only hold the others.
    bool findWords(const QModelIndex &index, QString *words) const override;

private:
    QTreeWidgetItem *folder(int kind) const;
    int findById(int kind, const QByteArray &id, TreeNode **node) const;

    IAccountProvider *m_accounts = nullptr;

    CStringTable m_strings {QStringLiteral("dlg_account_tree.xml")};
};
