#include "node_tree_ctrl.h"

#include <QHeaderView>

namespace {

// An item that carries its node, and its image without storing it per item: the image is the
// tree's shared icon, given back when the view asks for it.
class NodeItem final : public QTreeWidgetItem
{
public:
    explicit NodeItem(const QIcon &image)
        : QTreeWidgetItem(UserType)
        , m_image(image)
    { }

    QVariant data(int column, int role) const override
    {
        if (column == 0 && role == Qt::DecorationRole && !m_image.isNull())
            return m_image;
        return QTreeWidgetItem::data(column, role);
    }

    TreeNode node {};

private:
    QIcon m_image;
};

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
    if (!item || item->type() != QTreeWidgetItem::UserType)
        return;
    TreeNode &node = static_cast<NodeItem *>(item)->node;
    node = TreeNode {parent, item, kind, record};
    m_nodes.push_back(&node);
}

int CNodeTreeCtrl::FindNode(const QTreeWidgetItem *item, TreeNode **node) const
{
    for (std::size_t i = 0; i < m_nodes.size(); ++i) {
        if (m_nodes[i]->item == item) {
            if (node)
                *node = m_nodes[i];
            return static_cast<int>(i);
        }
    }
    if (node)
        *node = nullptr;
    return -1;
}

bool CNodeTreeCtrl::deleteNodeItem(QTreeWidgetItem *item)
{
    const int position = FindNode(item, nullptr);
    if (position < 0)
        return false;
    m_nodes.erase(m_nodes.begin() + position);
    delete item;
    return true;
}

void CNodeTreeCtrl::DeleteAllItems()
{
    m_nodes.clear();
    clear();
}

void CNodeTreeCtrl::onCurrentItemChanged(QTreeWidgetItem *current)
{
    if (!current)
        return;
    TreeNode *node = nullptr;
    FindNode(current, &node);
    if (node)
        emit accountSelect(node->kind, node->record);
    else
        emit accountSelect(-1, nullptr);
}
