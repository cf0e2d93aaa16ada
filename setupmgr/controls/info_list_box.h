// The list that shows a recorder's information view: collapsible categories, each a row with a
// plus/minus box and a bold caption, and under an expanded category one row per item with its
// label and value in two columns between grid lines. The list paints every row itself.
//
// Rows: a category row has the text "C" and stands for its InfoCategory, an item row has the
// text "I" and stands for its InfoItem. A category's expanded flag says whether its item rows
// are present.
//
// Expanding and collapsing: a double click toggles the selected category; a left press in the
// expander column (x below 17) toggles the category under it. Keys: Plus or Right expands the
// selected category, Minus or Left collapses it (on an item row they select its category), Space
// toggles it. Up, Down, Page Up, Page Down, Home and End move the selection as in any list.
//
// Accessibility: each row is a list item named by its caption or label; item rows give their
// value as the accessible value; category rows are expandable and report expanded or collapsed,
// with the toggle action.
#pragma once

#include <ostrel/records.h>

#include <QColor>
#include <QFont>
#include <QListView>

class CInfoListBox : public QListView
{
    Q_OBJECT

public:
    enum RowKind { NoRow, CategoryRow, ItemRow };

    explicit CInfoListBox(QWidget *parent = nullptr);
    // Frees the view it owns.
    ~CInfoListBox() override;

    // Category text, row background, label text, value text, grid lines, plus/minus box. The
    // selected item's background keeps its colour. A shown list repaints at once.
    void SetColors(const QColor &categoryText, const QColor &rowBackground, const QColor &labelText,
                   const QColor &valueText, const QColor &grid, const QColor &box);
    // Takes ownership of the view (freed with setupmgr::freeInfoView) and shows its rows; a view
    // held before is cleared first. Null shows nothing.
    void SetView(InfoView *view);
    // Removes every row and frees the view.
    void ClearView();
    const InfoView *view() const { return m_view; }

    // Collapses an expanded category row or expands a collapsed one, then selects it. Rows other
    // than category rows do not react.
    void ToggleCategory(int row);

    int count() const;
    // "C" for a category row, "I" for an item row, empty for no row.
    QString rowText(int row) const;
    RowKind rowKind(int row) const;
    // The category or item a row stands for; null for a row of the other kind.
    InfoCategory *categoryAt(int row) const;
    InfoItem *itemAt(int row) const;
    // The selected row, or -1; selecting a row makes it the current one.
    int currentRow() const;
    void setCurrentRow(int row);
    // The row's rectangle in the viewport.
    QRect rowRect(int row) const;
    // True while SetView adds rows; nothing is painted meanwhile.
    bool isFilling() const { return m_filling; }
    // The FontCache indexes of the captions' bold font and of the list's font; -1 without a
    // cache.
    int boldFontIndex() const { return m_boldFontIndex; }
    int normalFontIndex() const { return m_normalFontIndex; }

    // Indexes into InfoItem::flags. An item whose last flag byte is set shows its label and value
    // in the window text colour.
    enum ItemFlag { kEmphasisFlag = 4 };

    // The expander column's width; a press left of kToggleLimit toggles.
    static constexpr int kIndent = 16;
    static constexpr int kToggleLimit = 17;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    class RowModel;
    class RowDelegate;

    void setUpFonts();
    int rowHeight() const;
    void paintRow(QPainter *painter, const QStyleOptionViewItem &option, int row) const;
    // The plus/minus box of a category row, in its expander cell.
    void paintExpander(QPainter *painter, const QRect &cell, bool expanded) const;
    void announceToggle(int row);

    QColor m_categoryText {204, 204, 204};
    QColor m_rowBackground {21, 105, 131};
    QColor m_labelText {51, 51, 51};
    QColor m_valueText {0, 153, 255};
    QColor m_grid {28, 51, 67};
    QColor m_box {0, 153, 255};
    QColor m_selectedBackground {136, 136, 136};
    RowModel *m_rows;
    InfoView *m_view = nullptr;
    int m_boldFontIndex = -1;
    int m_normalFontIndex = -1;
    QFont m_boldFont;
    bool m_filling = false;
};
