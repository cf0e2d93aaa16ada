// The tree of the recorder manager: a root and one item per recorder of a recorder list, in
// list order. A selection change is reported with accountSelect, a double click on a recorder
// with serverOpen.
#pragma once

#include "controls/node_tree_ctrl.h"

#include <ostrel/data_provider.h>

class CServerTreeCtrl : public CNodeTreeCtrl
{
    Q_OBJECT

public:
    enum NodeKind { kServer = 0 };
    // Indexes into the tree's image strip.
    enum Image { kImageRoot = 0, kImageServer = 1 };

    explicit CServerTreeCtrl(QWidget *parent = nullptr);

    // Builds the whole tree: the root "DVR" and every recorder.
    void Fill(IServerListProvider *servers);
    // Appends an item for the recorder under the root.
    QTreeWidgetItem *AddServer(ServerRecord *server);
    // The item of the record, or null.
    QTreeWidgetItem *FindServer(const ServerRecord *server) const;
    // Deletes the item with its node; false when the item has no node.
    bool DeleteItem(QTreeWidgetItem *item);
    QTreeWidgetItem *rootItem() const { return topLevelItem(0); }

    // A recorder's name.
    QString recordText(int kind, const void *record) const override;

signals:
    // A double click on an item that has a node: its kind and record.
    void serverOpen(int kind, void *record);

private:
    void onItemDoubleClicked(QTreeWidgetItem *item);
};
