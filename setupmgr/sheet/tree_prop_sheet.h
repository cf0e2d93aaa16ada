// A property sheet whose pages are chosen in a tree instead of tabs. The tree comes from the
// page captions: "Network::Mail" puts a page row Mail under a node row Network. Selecting a node
// without a page hides the current page and shows a text in the page frame instead; the frame's
// caption bar shows the selected row's text and image.
#pragma once

#include "sheet/property_sheet.h"

#include <QIcon>
#include <QList>

#include <memory>

class CPageFrame;
class QTreeWidget;
class QTreeWidgetItem;

class CTreePropSheet : public CPropertySheet
{
    Q_OBJECT

public:
    // What each tree row carries: the index of its page (-1 for a node without a page), and the
    // index of its image in the page images (-1 for none).
    enum RowRole { PageIndexRole = Qt::UserRole, ImageIndexRole = Qt::UserRole + 1 };

    explicit CTreePropSheet(const QString &caption = QString(), QWidget *parent = nullptr,
                            int selectPage = 0);
    ~CTreePropSheet() override;

    // Only before the sheet is first shown; the two flags count only in tree mode.
    bool EnablePageTree(bool treeMode = true, bool pageCaptions = false, bool treeImages = false);
    bool IsTreeMode() const { return m_treeMode; }
    bool HasPageCaptions() const { return m_pageCaptions; }
    bool HasTreeImages() const { return m_treeImages; }

    // The text shown for a node without a page; "%s" (or "%1") takes the node's text.
    void SetEmptyPageFormat(const QString &format) { m_emptyPageText = format; }
    QString GetEmptyPageFormat() const { return m_emptyPageText; }
    // Exactly two images: [0] for rows without a page, [1] for pages without an image of their
    // own. false, and nothing changes, for any other count.
    bool SetPageTreeImages(const QList<QIcon> &images);
    // The tree's images: the pages' own images, then the two default images.
    const QList<QIcon> &pageImages() const { return m_pageImages; }

    // Ctrl+Tab and Ctrl+Shift+Tab: the next and the previous row in the tree's reading order,
    // wrapping around; without tree mode the next and previous page.
    void SelectNextPage();
    void SelectPreviousPage();

    void AddPage(CPropertyPage *page) override;
    void RemovePage(int index) override;
    using CPropertySheet::RemovePage;
    bool SetActivePage(int index) override;
    using CPropertySheet::SetActivePage;

    // Null until the sheet is first shown, and without tree mode.
    QTreeWidget *GetPageTree() const { return m_tree.get(); }
    CPageFrame *GetPageFrame() const { return m_frame.get(); }

protected:
    virtual QString FormatEmptyPageText(const QString &format, const QString &rowText) const;
    virtual QTreeWidget *NewPageTree();
    virtual CPageFrame *NewPageFrame();

    void OnInitDialog() override;
    QWidget *pageParent() const override;
    QRect pageRect() const override;
    bool preTranslateKey(QWidget *target, QKeyEvent *key) override;
    void updatePageArea() override;

    // Fills the tree from the pages' captions and images.
    void RefillPageTree();
    // The row of a "::" path under parent (the root for null), made as needed.
    QTreeWidgetItem *InsertPageRow(QString path, QTreeWidgetItem *parent);
    // Takes the first component off path: the text before the first "::" that is not escaped
    // by a backslash.
    static QString SplitPagePath(QString &path);
    // Hides the current page when it may be left.
    bool DeactivateCurrentPage();
    // The caption bar shows the selected row; without a page, the frame shows the empty page
    // text.
    void UpdateFrameCaption();
    // The row of a page, searched from start and its following siblings, depth first.
    QTreeWidgetItem *FindPageRow(int index, QTreeWidgetItem *start = nullptr) const;
    bool SelectPageRow(int index);
    bool SelectCurrentPageRow();

private:
    void onRowChanged(QTreeWidgetItem *current, QTreeWidgetItem *previous);
    // Selects and shows the active page's row, as a row change would, without handling it as one.
    void followCurrentPage();
    void setRowImage(QTreeWidgetItem *row, int image) const;
    void selectRow(QTreeWidgetItem *row);
    QTreeWidgetItem *nextSibling(QTreeWidgetItem *row) const;
    QTreeWidgetItem *previousSibling(QTreeWidgetItem *row) const;
    bool hasTree() const { return m_treeMode && m_tree; }

    bool m_treeMode = true;
    std::unique_ptr<QTreeWidget> m_tree;
    std::unique_ptr<CPageFrame> m_frame;
    bool m_selecting = false;
    bool m_pageCaptions = false;
    bool m_treeImages = false;
    QList<QIcon> m_pageImages;
    QList<QIcon> m_defaultImages;
    QString m_emptyPageText;
    int m_treeWidth = 150;
};
