#include "node_tree_ctrl.h"

#include <QTreeWidgetItemIterator>

namespace {

// An item that carries its node, and its image without storing it per item: the image is the
// tree's shared icon, given back when the view asks for it.
class NodeItem final : public QTreeWidgetItem
{
public:
    static constexpr int kType = UserType;

    explicit NodeItem(const QIcon &image)
        : QTreeWidgetItem(kType)
        , m_image(image)
    { }

    QVariant data(int column, int role) const override
    {
        if (column == 0 && role == Qt::DecorationRole && !m_image.isNull())
            return m_image;
        return QTreeWidgetItem::data(column, role);
    }

    bool hasNode = false;
    TreeNode node {};

private:
    QIcon m_image;
};

TreeNode *nodeOf(const QTreeWidgetItem *item)
{
    if (!item || item->type() != NodeItem::kType)
        return nullptr;
    auto *nodeItem = const_cast<NodeItem *>(static_cast<const NodeItem *>(item));
    return nodeItem->hasNode ? &nodeItem->node : nullptr;
}

} // namespace

CNodeTreeCtrl::CNodeTreeCtrl(QWidget *parent)
    : QTreeWidget(parent)
{
    setColumnCount(1);
    setHeaderHidden(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setRootIsDecorated(true);
    connect(this, &QTreeWidget::currentItemChanged, this, &CNodeTreeCtrl::onCurrentItemChanged,
            Qt::DirectConnection);
}

CNodeTreeCtrl::~CNodeTreeCtrl()
{
    // The dialog that listens is half destroyed by now; it must not hear the items go.
    blockSignals(true);
    DeleteAllItems();
}

void CNodeTreeCtrl::SetImageList(const QList<QIcon> &images)
{
    m_images = images;
}

QIcon CNodeTreeCtrl::image(int index) const
{
    return index >= 0 && index < m_images.size() ? m_images.at(index) : QIcon();
}

QTreeWidgetItem *CNodeTreeCtrl::makeItem(const QString &text, int image, int selectedImage) const
{
    if (selectedImage == image) {
        auto *item = new NodeItem(this->image(image));
        item->setText(0, text);
        return item;
    }
    auto *item = new NodeItem(QIcon());
    item->setText(0, text);
    QIcon icon;
    icon.addPixmap(this->image(image).pixmap(16, 16), QIcon::Normal);
    icon.addPixmap(this->image(selectedImage).pixmap(16, 16), QIcon::Selected);
    item->setIcon(0, icon);
    return item;
}

void CNodeTreeCtrl::addNode(QTreeWidgetItem *parent, QTreeWidgetItem *item, int kind, void *record)
{
    if (!item || item->type() != NodeItem::kType)
        return;
    auto *nodeItem = static_cast<NodeItem *>(item);
    nodeItem->node = TreeNode {parent, item, kind, record};
    nodeItem->hasNode = true;
}

int CNodeTreeCtrl::FindNode(const QTreeWidgetItem *item, TreeNode **node) const
{
    TreeNode *found = nodeOf(item);
    if (node)
        *node = found;
    if (!found)
        return -1;
    const QTreeWidgetItem *parent = item->parent();
    return parent ? parent->indexOfChild(const_cast<QTreeWidgetItem *>(item))
                  : indexOfTopLevelItem(const_cast<QTreeWidgetItem *>(item));
}

bool CNodeTreeCtrl::deleteNodeItem(QTreeWidgetItem *item)
{
    if (!nodeOf(item))
        return false;
    delete item;
    return true;
}

TreeNode *CNodeTreeCtrl::findFirst(const std::function<bool(const TreeNode &)> &matches) const
{
    for (QTreeWidgetItemIterator it(const_cast<CNodeTreeCtrl *>(this)); *it; ++it) {
        TreeNode *node = nodeOf(*it);
        if (node && matches(*node))
            return node;
    }
    return nullptr;
}

void CNodeTreeCtrl::DeleteAllItems()
{
    clear();
}

void CNodeTreeCtrl::onCurrentItemChanged(QTreeWidgetItem *current)
{
    if (!current)
        return;
    if (TreeNode *node = nodeOf(current))
        emit accountSelect(node->kind, node->record);
    else
        emit accountSelect(-1, nullptr);
}
