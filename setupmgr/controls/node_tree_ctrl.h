// The part that the account and authority trees share: beside the tree items, a list of nodes
// that ties each item to its provider record, and one signal on every change of selection, so
// that the dialogs never look at tree items themselves.
#pragma once

#include <QIcon>
#include <QList>
#include <QTreeWidget>

#include <vector>

struct TreeNode
{
    QTreeWidgetItem *parent;
    QTreeWidgetItem *item;
    int kind;     // the tree's node kind
    void *record; // the provider's record; null for folders
};

class CNodeTreeCtrl : public QTreeWidget
{
    Q_OBJECT

public:
    explicit CNodeTreeCtrl(QWidget *parent = nullptr);
    ~CNodeTreeCtrl() override;

    // The dialog's image list; items take their images from it by index.
    void SetImageList(const QList<QIcon> &images);
    const QList<QIcon> &imageList() const { return m_images; }

    // Position and node of the first node of the item; -1 and null when it has none (the root).
    int FindNode(const QTreeWidgetItem *item, TreeNode **node) const;
    int nodeCount() const { return static_cast<int>(m_nodes.size()); }
    const TreeNode *nodeAt(int position) const { return m_nodes.at(position); }
    // Frees every node and deletes every item.
    void DeleteAllItems();

signals:
    // Sent for every change of selection: the node's kind and record, or -1 and null.
    void accountSelect(int kind, void *record);

protected:
    QIcon image(int index) const;
    // A new item (not yet in the tree) with its text and images. Only such items take nodes.
    QTreeWidgetItem *makeItem(const QString &text, int image, int selectedImage) const;
    // Gives an item made by makeItem its node and appends the node to the list.
    void addNode(QTreeWidgetItem *parent, QTreeWidgetItem *item, int kind, void *record);
    // Deletes the item of a node and the node; false when the item has none.
    bool deleteNodeItem(QTreeWidgetItem *item);

    // Each node lives in its item, so that a tree of thousands of accounts costs one block per
    // item; the list keeps the order in which they were added.
    std::vector<TreeNode *> m_nodes;

private:
    void onCurrentItemChanged(QTreeWidgetItem *current);

    QList<QIcon> m_images;
};
