#include "server_tree_ctrl.h"

#include "common/text_field.h"

using setupmgr::fieldString;

CServerTreeCtrl::CServerTreeCtrl(QWidget *parent)
    : CNodeTreeCtrl(parent)
{
    connect(this, &QTreeWidget::itemDoubleClicked, this, &CServerTreeCtrl::onItemDoubleClicked);
}

void CServerTreeCtrl::Fill(IServerListProvider *servers)
{
    DeleteAllItems();
    // A fixed text: the tree's root is not translated.
    QTreeWidgetItem *root = makeItem(QStringLiteral("DVR"), kImageRoot, kImageRoot);
    if (servers) {
        // Thousands of recorders: they join the root in one insertion, before the root joins
        // the tree, so the view lays them out once.
        QList<QTreeWidgetItem *> items;
        const std::int32_t count = servers->getServerCount();
        items.reserve(std::max(count, 0));
        for (std::int32_t i = 0; i < count; ++i) {
            ServerRecord *server = nullptr;
            if (!servers->getServer(i, &server) || !server)
                continue;
            items.append(makeRecordItem(root, kServer, server, kImageServer));
        }
        root->addChildren(items);
    }
    addTopLevelItem(root);
}

QTreeWidgetItem *CServerTreeCtrl::AddServer(ServerRecord *server)
{
    QTreeWidgetItem *root = rootItem();
    if (!root || !server)
        return nullptr;
    QTreeWidgetItem *item = makeRecordItem(root, kServer, server, kImageServer);
    root->addChild(item);
    return item;
}

QString CServerTreeCtrl::recordText(int kind, const void *record) const
{
    return kind == kServer ? fieldString(static_cast<const ServerRecord *>(record)->name)
                           : QString();
}

QTreeWidgetItem *CServerTreeCtrl::FindServer(const ServerRecord *server) const
{
    if (!server)
        return nullptr;
    // The record asked for is nearly always the selected one.
    TreeNode *node = nullptr;
    if (FindNode(currentItem(), &node) >= 0 && node->record == server)
        return node->item;
    node = findFirst([server](const TreeNode &candidate) { return candidate.record == server; });
    return node ? node->item : nullptr;
}

bool CServerTreeCtrl::DeleteItem(QTreeWidgetItem *item)
{
    return deleteNodeItem(item);
}

void CServerTreeCtrl::onItemDoubleClicked(QTreeWidgetItem *item)
{
    TreeNode *node = nullptr;
    if (FindNode(item, &node) >= 0)
        emit serverOpen(node->kind, node->record);
}
