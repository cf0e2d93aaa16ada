// The tree the account, authority and recorder trees share: each item may carry a node that ties
// it to a provider record, and one signal reports every change of selection, so that the dialogs
// never look at tree items themselves. A node lives inside its item: deleting an item, with its
// children, deletes their nodes with them, and an item's node is found in constant time.
#pragma once

#include <QIcon>
#include <QList>
#include <QTreeWidget>

#include <cstdint>
#include <functional>

struct TreeNode
{
    QTreeWidgetItem *parent;
    QTreeWidgetItem *item;
    int kind;     // the tree's node kind
    void *record; // the provider's record; null for folders and for records found by position
    std::int32_t position = -1; // the record's position in its provider, for trees that keep one
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

    // The item's position under its parent and its node; -1 and null when the item has no node
    // (the root).
    int FindNode(const QTreeWidgetItem *item, TreeNode **node) const;
    // Deletes every item with its node.
    void DeleteAllItems();

    // The text of the item of a record. Record items read it when the view asks for it, so that
    // filling thousands of items converts no text up front; the base has none.
    virtual QString recordText(int kind, const void *record) const;
    // The record of a node, looked up when it is needed: the node's own pointer, unless the tree
    // finds its records by position.
    virtual void *recordOf(const TreeNode &node) const;

signals:
    // Sent for every change of selection: the node's kind and record, or -1 and null.
    void accountSelect(int kind, void *record);

protected:
    QIcon image(int index) const;
    // A new item (not yet in the tree) with its text and images. Only such items take nodes.
    QTreeWidgetItem *makeItem(const QString &text, int image, int selectedImage) const;
    // Gives an item made by makeItem its node.
    void addNode(QTreeWidgetItem *parent, QTreeWidgetItem *item, int kind, void *record);
    // A new item (not yet in the tree) for a record, with its node, showing recordText.
    QTreeWidgetItem *makeRecordItem(QTreeWidgetItem *parent, int kind, void *record, int image);
    // The same for a record that the tree finds by its position (recordOf).
    QTreeWidgetItem *makePositionItem(QTreeWidgetItem *parent, int kind, std::int32_t position,
                                      int image);
    // Deletes an item that has a node, with its children; false when it has none.
    bool deleteNodeItem(QTreeWidgetItem *item);
    // The first node, in the order of the tree, that matches; null when none does.
    TreeNode *findFirst(const std::function<bool(const TreeNode &)> &matches) const;

private:
    void onCurrentItemChanged(QTreeWidgetItem *current);

    QList<QIcon> m_images;
};
