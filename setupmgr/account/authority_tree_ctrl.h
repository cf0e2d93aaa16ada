// The tree of the authority dialog: a root with the authority categories and, under each, its
// authority items.
#pragma once

#include "controls/node_tree_ctrl.h"

#include <ostrel/data_provider.h>

class CAuthorityTreeCtrl : public CNodeTreeCtrl
{
    Q_OBJECT

public:
    enum NodeKind { kItem = 0, kCategory = 1 };

    explicit CAuthorityTreeCtrl(QWidget *parent = nullptr);

    // Builds the whole tree; a category whose getter fails is skipped with its items.
    void Fill(IAuthorityProvider *authority);
    QTreeWidgetItem *AddCategory(QTreeWidgetItem *parent, AuthorityCategory *category);
    QTreeWidgetItem *AddItem(QTreeWidgetItem *parent, AuthorityItem *item);
    QTreeWidgetItem *rootItem() const { return topLevelItem(0); }

    // A category's or an authority item's name.
    QString recordText(const TreeNode &node) const override;
};
