#include "info_list_box.h"

#include "accessible_row.h"
#include "font_cache.h"

#include "common/info_view.h"
#include "common/text_field.h"

#include <QAbstractItemDelegate>
#include <QAbstractListModel>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QHash>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include <algorithm>
#include <utility>
#include <variant>
#include <vector>

namespace {

constexpr char kFace[] = "Gulim";
constexpr int kPointSize = 9;
const QString kCategoryMarker = QStringLiteral("C");
const QString kItemMarker = QStringLiteral("I");

// A row stands for a category or for one of its items.
using Row = std::variant<InfoCategory *, InfoItem *>;

bool isCategory(const Row &row)
{
    return std::holds_alternative<InfoCategory *>(row);
}

// The item rows that a category has, which are the rows it shows when expanded.
int itemCount(const InfoCategory &category)
{
    int count = 0;
    for (std::size_t i = 0, n = seqSize(category.items); i < n; ++i)
        count += category.items.first[i] != nullptr;
    return count;
}

// --- accessibility -----------------------------------------------------------------------------

// One row. It reads the list afresh on every question, so it stays right as rows come and go.
class InfoRowAccessible final : public setupmgr::AccessibleActionRow
{
public:
    InfoRowAccessible(CInfoListBox *list, int row)
        : m_list(list)
        , m_row(row)
    { }

    int row() const { return m_row; }

    bool isValid() const override { return m_list && m_row < m_list->count(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return parent() ? parent()->window() : nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *parent() const override
    {
        return m_list ? QAccessible::queryAccessibleInterface(m_list.data()) : nullptr;
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }

    QString text(QAccessible::Text kind) const override
    {
        if (!isValid())
            return QString();
        if (const InfoCategory *category = m_list->categoryAt(m_row))
            return kind == QAccessible::Name ? setupmgr::fieldString(category->label) : QString();
        if (const InfoItem *item = m_list->itemAt(m_row)) {
            if (kind == QAccessible::Name)
                return setupmgr::fieldString(item->label);
            if (kind == QAccessible::Value)
                return setupmgr::fieldString(item->value);
        }
        return QString();
    }
    void setText(QAccessible::Text, const QString &) override { }

    QRect rect() const override
    {
        if (!isValid())
            return QRect();
        return m_list->rowRect(m_row).translated(m_list->viewport()->mapToGlobal(QPoint(0, 0)));
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        state.selectable = true;
        state.focusable = true;
        state.selected = m_list->currentRow() == m_row;
        state.focused = m_list->hasFocus() && state.selected;
        const QRect shown = m_list->rowRect(m_row);
        state.invisible = !m_list->isVisible() || !m_list->viewport()->rect().intersects(shown);
        state.offscreen = state.invisible;
        if (const InfoCategory *category = m_list->categoryAt(m_row)) {
            state.expandable = true;
            state.expanded = category->expanded != 0;
            state.collapsed = category->expanded == 0;
        }
        return state;
    }

    QStringList actionNames() const override
    {
        if (!isValid())
            return {};
        if (m_list->rowKind(m_row) == CInfoListBox::CategoryRow)
            return {toggleAction(), setFocusAction()};
        return {setFocusAction()};
    }
    void doAction(const QString &name) override
    {
        if (!isValid())
            return;
        if (name == toggleAction())
            m_list->ToggleCategory(m_row);
        else if (name == setFocusAction())
            m_list->setCurrentRow(m_row);
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    QPointer<CInfoListBox> m_list;
    int m_row;
};

// The list: its children are its rows, made when first asked for and kept by index.
class InfoListAccessible final : public QAccessibleWidget
{
public:
    explicit InfoListAccessible(CInfoListBox *list)
        : QAccessibleWidget(list, QAccessible::List)
    { }
    ~InfoListAccessible() override
    {
        for (const QAccessible::Id id : std::as_const(m_rows))
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return list()->count(); }
    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        if (const auto known = m_rows.constFind(index); known != m_rows.constEnd())
            return QAccessible::accessibleInterface(*known);
        auto *row = new InfoRowAccessible(list(), index);
        m_rows.insert(index, QAccessible::registerAccessibleInterface(row));
        return row;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        const auto *row = dynamic_cast<const InfoRowAccessible *>(child);
        return row && row->parent() == this && row->isValid() ? row->row() : -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        const QPoint local = list()->viewport()->mapFromGlobal(QPoint(x, y));
        return child(list()->indexAt(local).row());
    }
    QAccessibleInterface *focusChild() const override
    {
        return list()->hasFocus() ? child(list()->currentRow()) : nullptr;
    }

private:
    CInfoListBox *list() const { return static_cast<CInfoListBox *>(widget()); }

    mutable QHash<int, QAccessible::Id> m_rows;
};

QAccessibleInterface *infoListFactory(const QString &className, QObject *object)
{
    if (className != QLatin1String("CInfoListBox"))
        return nullptr;
    auto *list = qobject_cast<CInfoListBox *>(object);
    return list ? new InfoListAccessible(list) : nullptr;
}

} // namespace

// --- rows --------------------------------------------------------------------------------------

// The rows as plain data: a row is the category or item it stands for, so that filling,
// expanding and collapsing each tell the view once.
class CInfoListBox::RowModel final : public QAbstractListModel
{
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole || !contains(index.row()))
            return QVariant();
        return isCategory(m_rows[static_cast<std::size_t>(index.row())]) ? kCategoryMarker
                                                                         : kItemMarker;
    }
    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        return contains(index.row())
            ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren
            : Qt::NoItemFlags;
    }

    bool contains(int row) const { return row >= 0 && row < rowCount(); }
    const Row *at(int row) const
    {
        return contains(row) ? &m_rows[static_cast<std::size_t>(row)] : nullptr;
    }
    void reset(std::vector<Row> replacement)
    {
        beginResetModel();
        m_rows = std::move(replacement);
        endResetModel();
    }
    void insert(int row, const std::vector<Row> &added)
    {
        if (added.empty())
            return;
        beginInsertRows(QModelIndex(), row, row + static_cast<int>(added.size()) - 1);
        m_rows.insert(m_rows.begin() + row, added.begin(), added.end());
        endInsertRows();
    }
    void remove(int row, int count)
    {
        count = std::min(count, rowCount() - row);
        if (count <= 0)
            return;
        beginRemoveRows(QModelIndex(), row, row + count - 1);
        m_rows.erase(m_rows.begin() + row, m_rows.begin() + row + count);
        endRemoveRows();
    }

private:
    std::vector<Row> m_rows;
};

// --- painting ----------------------------------------------------------------------------------

class CInfoListBox::RowDelegate final : public QAbstractItemDelegate
{
public:
    explicit RowDelegate(CInfoListBox *list)
        : QAbstractItemDelegate(list)
        , m_list(list)
    { }

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        m_list->paintRow(painter, option, index.row());
    }
    QSize sizeHint(const QStyleOptionViewItem &, const QModelIndex &) const override
    {
        // The rows take the list's width; a narrow hint keeps the horizontal scroll bar away.
        return QSize(1, m_list->rowHeight());
    }

private:
    CInfoListBox *m_list;
};

CInfoListBox::CInfoListBox(QWidget *parent)
    : QListView(parent)
    , m_rows(new RowModel(this))
{
    static const bool accessible = [] {
        QAccessible::installFactory(&infoListFactory);
        return true;
    }();
    Q_UNUSED(accessible);

    setModel(m_rows);
    setItemDelegate(new RowDelegate(this));
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
    setAccessibleName(QStringLiteral("Information"));
    setUpFonts();
}

CInfoListBox::~CInfoListBox()
{
    ClearView();
}

void CInfoListBox::setUpFonts()
{
    const QString face = QLatin1String(kFace);
    FontCache *cache = FontCache::current();
    if (!cache) {
        // Used where the module did not load: the same face, without sharing.
        QFont normal(face, kPointSize);
        setFont(normal);
        m_boldFont = normal;
        m_boldFont.setBold(true);
        return;
    }
    m_boldFontIndex = cache->getFont(face, kPointSize, FontCache::Bold);
    m_normalFontIndex = cache->getFont(face, kPointSize, FontCache::Normal);
    if (const QFont *normal = cache->getFontAt(m_normalFontIndex))
        setFont(*normal);
    const QFont *bold = cache->getFontAt(m_boldFontIndex);
    m_boldFont = bold ? *bold : font();
}

int CInfoListBox::rowHeight() const
{
    return qMax(kIndent, QFontMetrics(font()).height() + 4);
}

void CInfoListBox::SetColors(const QColor &categoryText, const QColor &rowBackground,
                             const QColor &labelText, const QColor &valueText, const QColor &grid,
                             const QColor &box)
{
    m_categoryText = categoryText;
    m_rowBackground = rowBackground;
    m_labelText = labelText;
    m_valueText = valueText;
    m_grid = grid;
    m_box = box;
    viewport()->repaint();
}

void CInfoListBox::SetView(InfoView *view)
{
    if (m_view)
        ClearView();
    m_view = view;
    if (!view)
        return;
    m_filling = true;
    std::vector<Row> rows;
    for (std::size_t c = 0, categories = seqSize(view->categories); c < categories; ++c) {
        InfoCategory *category = view->categories.first[c];
        if (!category)
            continue;
        rows.emplace_back(category);
        if (!category->expanded)
            continue;
        for (std::size_t i = 0, items = seqSize(category->items); i < items; ++i) {
            if (InfoItem *item = category->items.first[i])
                rows.emplace_back(item);
        }
    }
    m_rows->reset(std::move(rows));
    m_filling = false;
    // Laid out now rather than at the next turn of the event loop, so that whoever looks at the
    // list right away (a screen reader, a screenshot) finds its rows.
    doItemsLayout();
    viewport()->update();
}

void CInfoListBox::ClearView()
{
    // The rows point into the view: they go first.
    m_rows->reset({});
    setupmgr::freeInfoView(std::exchange(m_view, nullptr));
}

int CInfoListBox::count() const
{
    return m_rows->rowCount();
}

QString CInfoListBox::rowText(int row) const
{
    const Row *info = m_rows->at(row);
    return info ? (isCategory(*info) ? kCategoryMarker : kItemMarker) : QString();
}

CInfoListBox::RowKind CInfoListBox::rowKind(int row) const
{
    const Row *info = m_rows->at(row);
    if (!info)
        return NoRow;
    return isCategory(*info) ? CategoryRow : ItemRow;
}

InfoCategory *CInfoListBox::categoryAt(int row) const
{
    const Row *info = m_rows->at(row);
    InfoCategory *const *category = info ? std::get_if<InfoCategory *>(info) : nullptr;
    return category ? *category : nullptr;
}

InfoItem *CInfoListBox::itemAt(int row) const
{
    const Row *info = m_rows->at(row);
    InfoItem *const *item = info ? std::get_if<InfoItem *>(info) : nullptr;
    return item ? *item : nullptr;
}

int CInfoListBox::currentRow() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() && selectionModel()->isSelected(current) ? current.row() : -1;
}

void CInfoListBox::setCurrentRow(int row)
{
    setCurrentIndex(m_rows->index(row, 0));
}

QRect CInfoListBox::rowRect(int row) const
{
    return visualRect(m_rows->index(row, 0));
}

void CInfoListBox::ToggleCategory(int row)
{
    InfoCategory *category = categoryAt(row);
    if (!category)
        return;
    if (category->expanded) {
        category->expanded = 0;
        m_rows->remove(row + 1, itemCount(*category));
    } else {
        category->expanded = 1;
        std::vector<Row> items;
        for (std::size_t i = 0, n = seqSize(category->items); i < n; ++i) {
            if (InfoItem *item = category->items.first[i])
                items.emplace_back(item);
        }
        m_rows->insert(row + 1, items);
    }
    doItemsLayout();
    setCurrentRow(row);
    announceToggle(row);
}

void CInfoListBox::announceToggle(int row)
{
    if (!QAccessible::isActive())
        return;
    QAccessible::State changed;
    changed.expanded = true;
    changed.collapsed = true;
    QAccessibleStateChangeEvent event(this, changed);
    event.setChild(row);
    QAccessible::updateAccessibility(&event);
}

// --- input -------------------------------------------------------------------------------------

void CInfoListBox::mousePressEvent(QMouseEvent *event)
{
    const QPoint point = event->position().toPoint();
    if (event->button() == Qt::LeftButton && point.x() < kToggleLimit) {
        if (const QModelIndex under = indexAt(point); under.isValid())
            ToggleCategory(under.row());
    }
    QListView::mousePressEvent(event);
}

void CInfoListBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    QListView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid())
        ToggleCategory(currentRow());
}

void CInfoListBox::keyPressEvent(QKeyEvent *event)
{
    const int row = currentRow();
    const InfoCategory *category = categoryAt(row);
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Right:
        if (category && !category->expanded)
            ToggleCategory(row);
        break;
    case Qt::Key_Minus:
    case Qt::Key_Left:
        if (category) {
            if (category->expanded)
                ToggleCategory(row);
        } else if (rowKind(row) == ItemRow) {
            int above = row - 1;
            while (above >= 0 && rowKind(above) != CategoryRow)
                --above;
            if (above >= 0)
                setCurrentRow(above);
        }
        break;
    case Qt::Key_Space:
        ToggleCategory(row);
        break;
    default:
        QListView::keyPressEvent(event);
        return;
    }
    event->accept();
}

// --- painting ----------------------------------------------------------------------------------

void CInfoListBox::paintEvent(QPaintEvent *event)
{
    if (m_filling)
        return;
    QListView::paintEvent(event);
    if (count() == 0)
        return;
    // The grid line along the expander column runs the list's whole height, below the last row
    // too.
    QPainter painter(viewport());
    const QRect client = viewport()->rect();
    painter.fillRect(QRect(client.left() + kIndent, client.top(), 1, client.height()), m_grid);
}

namespace {

// Coordinates here and in paintRow are Windows-style: right and bottom are one past the last
// pixel.
void fillSpan(QPainter *painter, int x0, int y0, int x1, int y1, const QColor &color)
{
    if (x1 > x0 && y1 > y0)
        painter->fillRect(QRect(x0, y0, x1 - x0, y1 - y0), color);
}

} // namespace

void CInfoListBox::paintExpander(QPainter *painter, const QRect &cell, bool expanded) const
{
    // The box: the expander cell shrunk by 4, moved up and left by 1 and grown by 1 at its right
    // and bottom, then made square by taking from its top and bottom.
    const int boxLeft = cell.left() + 3;
    int boxTop = cell.top() + 3;
    const int boxRight = cell.right() + 1 - 4;
    int boxBottom = cell.bottom() + 1 - 4;
    const int excess = ((boxBottom - boxTop) - (boxRight - boxLeft)) / 2;
    boxTop += excess;
    boxBottom -= excess;
    fillSpan(painter, boxLeft, boxTop, boxRight, boxTop + 1, m_box);
    fillSpan(painter, boxLeft, boxBottom - 1, boxRight, boxBottom, m_box);
    fillSpan(painter, boxLeft, boxTop, boxLeft + 1, boxBottom, m_box);
    fillSpan(painter, boxRight - 1, boxTop, boxRight, boxBottom, m_box);
    const int cx = (boxLeft + boxRight) / 2;
    const int cy = (boxTop + boxBottom) / 2;
    fillSpan(painter, cx - 2, cy, cx + 3, cy + 1, m_box);
    if (!expanded)
        fillSpan(painter, cx, cy - 2, cx + 1, cy + 3, m_box);
}

void CInfoListBox::paintRow(QPainter *painter, const QStyleOptionViewItem &option, int row) const
{
    if (m_filling)
        return;
    const RowKind kind = rowKind(row);
    if (kind == NoRow)
        return;
    const bool isCategory = kind == CategoryRow;
    const InfoCategory *category = categoryAt(row);
    const InfoItem *infoItem = itemAt(row);

    const QRect client = viewport()->rect();
    const int left = option.rect.left();
    const int top = option.rect.top();
    const int right = left + option.rect.width();
    const int bottom = top + option.rect.height();
    const int indent = client.left() + kIndent;
    const auto fill = [painter](int x0, int y0, int x1, int y1, const QColor &color) {
        fillSpan(painter, x0, y0, x1, y1, color);
    };

    painter->save();
    fill(left, top, left + kIndent, bottom, m_rowBackground);

    if (isCategory)
        paintExpander(painter, QRect(QPoint(left, top), QPoint(indent - 1, bottom - 1)),
                      category->expanded != 0);

    const int middle = indent + (right - (left + kIndent)) / 2;
    fill(indent, bottom - 1, right, bottom, m_grid);
    fill(middle, top, middle + 1, bottom - 1, m_grid);

    const bool selected = option.state & QStyle::State_Selected;
    const bool flagged = infoItem && infoItem->flags[kEmphasisFlag] != 0;
    const QColor windowText = palette().color(QPalette::Text);
    QColor background = m_rowBackground;
    QColor text = m_categoryText;
    if (!isCategory) {
        background = selected ? m_selectedBackground : m_rowBackground;
        text = flagged || selected ? windowText : m_labelText;
    }
    const QRect label(QPoint(left + kIndent + 1, top),
                      QPoint((isCategory ? right : middle) - 1, bottom - 2));
    painter->fillRect(label, background);

    constexpr int format = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
    painter->setPen(text);
    painter->setFont(isCategory ? m_boldFont : font());
    painter->drawText(label.adjusted(2, 1, -2, 1), format,
                      isCategory ? setupmgr::fieldString(category->label)
                                 : setupmgr::fieldString(infoItem->label));
    if (!isCategory) {
        painter->setPen(flagged ? windowText : m_valueText);
        painter->drawText(QRect(QPoint(middle + 3, top + 1), QPoint(right - 1, bottom - 1)), format,
                          setupmgr::fieldString(infoItem->value));
    }

    // The selection of a category row does not show in its colours; keyboard users see it here.
    if ((option.state & QStyle::State_HasFocus) && hasFocus()) {
        painter->setPen(QPen(text, 1, Qt::DotLine));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(label.adjusted(0, 0, -1, -1));
    }
    painter->restore();
}
