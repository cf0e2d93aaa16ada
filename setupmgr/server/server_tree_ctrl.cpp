#include "server_tree_ctrl.h"

#include "common/check.h"
#include "common/product_names.h"
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
    m_servers = servers;
    m_productNames.clear();
    // A fixed text: the tree's root is not translated.
    QTreeWidgetItem *root = makeItem(QStringLiteral("DVR"), kImageRoot, kImageRoot);
    if (servers) {
        // Thousands of recorders: they join the root in one insertion, before the root joins
        // the tree, so the view lays them out once.
        QList<QTreeWidgetItem *> items;
        const std::int32_t count = servers->getServerCount();
        items.reserve(std::max(count, 0));
        // The records are not read here: a row reads its recorder when shown, and a working
        // copy may copy a recorder only when it first hands it out.
        for (std::int32_t i = 0; i < count; ++i)
            items.append(makePositionItem<ServerRecord>(root, kServer, i, kImageServer));
        root->addChildren(items);
    }
    addTopLevelItem(root);
}

QTreeWidgetItem *CServerTreeCtrl::AddServer(std::int32_t position)
{
    QTreeWidgetItem *root = rootItem();
    // Recorders join a filled tree, at a position the list has just given a record for.
    OSTREL_CHECK(root && position >= 0, nullptr);
    QTreeWidgetItem *item = makePositionItem<ServerRecord>(root, kServer, position, kImageServer);
    root->addChild(item);
    return item;
}

QString CServerTreeCtrl::recordText(const TreeNode &node) const
{
    const ServerRecord *server = node.kind == kServer ? recordAs<ServerRecord>(node) : nullptr;
    return server ? fieldString(server->name) : QString();
}

bool CServerTreeCtrl::findWords(const QModelIndex &index, QString *words) const
{
    const TreeNode *node = nodeAt(index);
    if (!node || node->kind != kServer)
        return false;
    const ServerRecord *server = words ? recordAs<ServerRecord>(*node) : nullptr;
    if (!server)
        return true;
    auto product = m_productNames.constFind(server->productCode);
    if (product == m_productNames.constEnd())
        product = m_productNames.insert(server->productCode,
                                        Common::getProductName(server->productCode));
    *words = fieldString(server->name) + QLatin1Char('\n') + fieldString(server->address)
        + QLatin1Char('\n') + *product;
    return true;
}

void *CServerTreeCtrl::recordOf(const TreeNode &node) const
{
    ServerRecord *server = nullptr;
    if (!m_servers || node.position < 0 || !m_servers->getServer(node.position, &server))
        return nullptr;
    return server;
}

QTreeWidgetItem *CServerTreeCtrl::FindServer(std::int32_t position) const
{
    if (position < 0)
        return nullptr;
    // The recorder asked for is nearly always the selected one.
    TreeNode *node = nullptr;
    if (FindNode(currentItem(), &node) >= 0 && node->position == position)
        return node->item;
    node = findFirst([position](const TreeNode &candidate) {
        return candidate.kind == kServer && candidate.position == position;
    });
    return node ? node->item : nullptr;
}

std::int32_t CServerTreeCtrl::currentPosition() const
{
    TreeNode *node = nullptr;
    return FindNode(currentItem(), &node) >= 0 && node->kind == kServer ? node->position : -1;
}

void CServerTreeCtrl::onItemDoubleClicked(QTreeWidgetItem *item)
{
    TreeNode *node = nullptr;
    if (FindNode(item, &node) >= 0)
        emit serverOpen(node->kind, node);
}
