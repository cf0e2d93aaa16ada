#include "node_tree_ctrl.h"

#include <QTreeWidgetItemIterator>

namespace {

// An item that carries its node, and its image and text without storing them per item: the
// image is the tree's shared icon and the text the record's, given back when the view asks.
class NodeItem final : public QTreeWidgetItem
{
public:
    static constexpr int kType = UserType;

    // image: an index into the tree's image list, or -1 for an icon of the item's own.
    explicit NodeItem(int image)
        : QTreeWidgetItem(kType)
        , m_image(image)
    { }

    QVariant data(int column, int role) const override
    {
        const bool ownImage = role == Qt::DecorationRole && m_image >= 0;
        const bool ownText = (role == Qt::DisplayRole || role == Qt::EditRole) && textFromRecord;
        if (column == 0 && (ownImage || ownText)) {
            if (const auto *tree = qobject_cast<const CNodeTreeCtrl *>(treeWidget()))
                return ownImage ? QVariant(tree->imageList().value(m_image))
                                : QVariant(tree->recordText(node));
        }
        return QTreeWidgetItem::data(column, role);
    }

    void setData(int column, int role, const QVariant &value) override
    {
        // A text set on the item replaces the record's.
        if (column == 0 && (role == Qt::DisplayRole || role == Qt::EditRole))
            textFromRecord = false;
        QTreeWidgetItem::setData(column, role, value);
    }

    bool hasNode = false;
    bool textFromRecord = false;
    TreeNode node {};

private:
    int m_image;
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
    const QSignalBlocker silent(this);
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
        auto *item = new NodeItem(image);
        item->setText(0, text);
        return item;
    }
    auto *item = new NodeItem(-1);
    item->setText(0, text);
    QIcon icon;
    // Both resolutions, so that a scaled screen still paints the finer pictures.
    for (const qreal ratio : {1.0, 2.0}) {
        icon.addPixmap(this->image(image).pixmap(QSize(16, 16), ratio), QIcon::Normal);
        icon.addPixmap(this->image(selectedImage).pixmap(QSize(16, 16), ratio), QIcon::Selected);
    }
    item->setIcon(0, icon);
    return item;
}

void CNodeTreeCtrl::addNode(QTreeWidgetItem *parent, QTreeWidgetItem *item, int kind)
{
    // Only items of makeItem take nodes.
    OSTREL_CHECK(item && item->type() == NodeItem::kType);
    auto *nodeItem = static_cast<NodeItem *>(item);
    nodeItem->node = TreeNode {parent, item, kind, nullptr};
    nodeItem->hasNode = true;
}

QTreeWidgetItem *CNodeTreeCtrl::makeNodeItem(QTreeWidgetItem *parent, int kind, void *record,
                                             std::int32_t position, const std::type_info &type,
                                             int image)
{
    auto *item = new NodeItem(image);
    item->textFromRecord = record != nullptr || position >= 0;
    item->node = TreeNode {parent, item, kind, record, position, &type};
    item->hasNode = true;
    return item;
}

QString CNodeTreeCtrl::recordText(const TreeNode &) const
{
    return QString();
}

bool CNodeTreeCtrl::findWords(const QModelIndex &, QString *) const
{
    return false;
}

int CNodeTreeCtrl::recordCount() const
{
    return 0;
}

void *CNodeTreeCtrl::recordOf(const TreeNode &node) const
{
    return node.record;
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

const TreeNode *CNodeTreeCtrl::nodeAt(const QModelIndex &index) const
{
    return nodeOf(itemFromIndex(index));
}

void CNodeTreeCtrl::DeleteAllItems()
{
    clear();
}

void CNodeTreeCtrl::onCurrentItemChanged(QTreeWidgetItem *current)
{
    if (!current)
        return;
    if (const TreeNode *node = nodeOf(current))
        emit accountSelect(node->kind, node);
    else
        emit accountSelect(-1, nullptr);
}
