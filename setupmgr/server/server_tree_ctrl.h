// The tree of the recorder manager: a root and one item per recorder of a recorder list, in
// list order. A selection change is reported with accountSelect, a double click on a recorder
// with serverOpen.
//
// Items know their recorder by its position in the list, never by a pointer: a host may move its
// records when one is added or removed, and the tree reads each name from the list when the view
// asks for it. After a removal the tree is filled anew.
#pragma once

#include "controls/node_tree_ctrl.h"

#include <ostrel/data_provider.h>

#include <QHash>

class CServerTreeCtrl : public CNodeTreeCtrl
{
    Q_OBJECT

public:
    enum NodeKind { kServer = 0 };
    // Indexes into the tree's image strip.
    enum Image { kImageRoot = 0, kImageServer = 1 };

    explicit CServerTreeCtrl(QWidget *parent = nullptr);

    // Builds the whole tree: the root "DVR" and every recorder of the list, which the tree reads
    // from until it is filled again or destroyed.
    void Fill(IServerListProvider *servers);
    // Appends an item for the recorder at that position of the list under the root.
    QTreeWidgetItem *AddServer(std::int32_t position);
    // The item of the recorder at that position, or null.
    QTreeWidgetItem *FindServer(std::int32_t position) const;
    // The position of the selected recorder, or -1 when no recorder is selected.
    std::int32_t currentPosition() const;
    QTreeWidgetItem *rootItem() const { return topLevelItem(0); }
    // The recorders the tree shows: the root's rows.
    int recordCount() const override { return rootItem() ? rootItem()->childCount() : 0; }

    // A recorder's name; empty for a record the list no longer gives.
    QString recordText(const TreeNode &node) const override;
    // The recorder at the node's position, as the list gives it now.
    void *recordOf(const TreeNode &node) const override;
    // What the find field matches a row by (TreeFilter::RowWords): a recorder's name, address
    // and product name; the root only holds the recorders.
    bool findWords(const QModelIndex &index, QString *words) const override;

signals:
    // A double click on an item that has a node: its kind and node.
    void serverOpen(int kind, const TreeNode *node);

private:
    void onItemDoubleClicked(QTreeWidgetItem *item);

    IServerListProvider *m_servers = nullptr;
    // Product names by code: thousands of recorders share a handful of products, and each
    // name costs a look at oem.ini.
    mutable QHash<std::int32_t, QString> m_productNames;
};
