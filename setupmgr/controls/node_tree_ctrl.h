// The tree the account, authority and recorder trees share: each item may carry a node that ties
// it to a provider record, and one signal reports every change of selection, so that the dialogs
// never look at tree items themselves. A node lives inside its item: deleting an item, with its
// children, deletes their nodes with them, and an item's node is found in constant time.
#pragma once

#include "common/check.h"

#include <QIcon>
#include <QList>
#include <QTreeWidget>

#include <cstdint>
#include <functional>
#include <typeinfo>

struct TreeNode
{
    QTreeWidgetItem *parent;
    QTreeWidgetItem *item;
    int kind;     // the tree's node kind
    void *record; // the provider's record; null for folders and for records found by position
    std::int32_t position = -1; // the record's position in its provider, for trees that keep one
    // The type of the node's record, read through CNodeTreeCtrl::recordAs; null for folders.
    const std::type_info *recordType = nullptr;
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
    // The node of the row at index, or null (the root, a row without one).
    const TreeNode *nodeAt(const QModelIndex &index) const;

    // The text of the item of a record. Record items read it when the view asks for it, so that
    // filling thousands of items converts no text up front; the base has none.
    virtual QString recordText(const TreeNode &node) const;
    // The record of a node, looked up when it is needed: the node's own pointer, unless the tree
    // finds its records by position. Untyped: read it through recordAs.
    virtual void *recordOf(const TreeNode &node) const;
    // What the find field matches a row by (TreeFilter::RowWords); the base matches no row.
    virtual bool findWords(const QModelIndex &index, QString *words) const;
    // The records the tree shows, which the find field counts; the base shows none.
    virtual int recordCount() const;
    // The node's record as the type the tree gave it, looked up as recordOf does; null when the
    // provider gives none now. Asking a node for a record of another type is a bug: it is
    // logged, and the answer is null.
    template <class Record>
    Record *recordAs(const TreeNode &node) const
    {
        OSTREL_CHECK(node.recordType && *node.recordType == typeid(Record), nullptr);
        return static_cast<Record *>(recordOf(node));
    }

signals:
    // Sent for every change of selection: the node's kind and the node, or -1 and null. The node
    // lives in its item: read it before the tree changes.
    void accountSelect(int kind, const TreeNode *node);

protected:
    QIcon image(int index) const;
    // A new item (not yet in the tree) with its text and images. Only such items take nodes.
    QTreeWidgetItem *makeItem(const QString &text, int image, int selectedImage) const;
    // Gives an item made by makeItem a node without a record: a folder's.
    void addNode(QTreeWidgetItem *parent, QTreeWidgetItem *item, int kind);
    // A new item (not yet in the tree) for a record, with its node, showing recordText.
    template <class Record>
    QTreeWidgetItem *makeRecordItem(QTreeWidgetItem *parent, int kind, Record *record, int image)
    {
        return makeNodeItem(parent, kind, record, -1, typeid(Record), image);
    }
    // The same for a record that the tree finds by its position (recordOf).
    template <class Record>
    QTreeWidgetItem *makePositionItem(QTreeWidgetItem *parent, int kind, std::int32_t position,
                                      int image)
    {
        return makeNodeItem(parent, kind, nullptr, position, typeid(Record), image);
    }
    // Deletes an item that has a node, with its children; false when it has none.
    bool deleteNodeItem(QTreeWidgetItem *item);
    // The first node, in the order of the tree, that matches; null when none does.
    TreeNode *findFirst(const std::function<bool(const TreeNode &)> &matches) const;

private:
    QTreeWidgetItem *makeNodeItem(QTreeWidgetItem *parent, int kind, void *record,
                                  std::int32_t position, const std::type_info &type, int image);
    void onCurrentItemChanged(QTreeWidgetItem *current);

    QList<QIcon> m_images;
};
