#include "tree_filter.h"

#include "common/folders.h"
#include "common/language.h"
#include "controls/node_tree_ctrl.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QScopedValueRollback>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

namespace setupmgr {

namespace {

// The locale of the installation's language, so that counts group their digits as its texts do.
QLocale installationLocale()
{
    static const struct
    {
        const char *code;
        QLocale::Language language;
        QLocale::Territory territory;
    } kLocales[] = {
        {"ko", QLocale::Korean, QLocale::SouthKorea},
        {"en", QLocale::English, QLocale::UnitedStates},
        {"ch_si", QLocale::Chinese, QLocale::China},
        {"ch_tr", QLocale::Chinese, QLocale::Taiwan},
        {"jpn", QLocale::Japanese, QLocale::Japan},
        {"sp", QLocale::Spanish, QLocale::Spain},
        {"de", QLocale::German, QLocale::Germany},
    };
    const QString code = Common::getLanguage();
    for (const auto &entry : kLocales) {
        if (code.compare(QLatin1String(entry.code), Qt::CaseInsensitive) == 0)
            return QLocale(entry.language, entry.territory);
    }
    return QLocale(QLocale::English, QLocale::UnitedStates);
}

// Paints a row as the view would, with the part of its text that matches the field marked.
// Only the painting changes: the row's text, and so its accessible name, stay the model's.
class MatchDelegate final : public QStyledItemDelegate
{
public:
    MatchDelegate(const QLineEdit *field, QObject *parent)
        : QStyledItemDelegate(parent)
        , m_field(field)
    { }

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        const QString needle = m_field->text();
        QStyleOptionViewItem opt(option);
        if (!needle.isEmpty())
            initStyleOption(&opt, index);
        const qsizetype at
            = needle.isEmpty() ? -1 : opt.text.indexOf(needle, 0, Qt::CaseInsensitive);
        if (at < 0) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        const QWidget *widget = opt.widget;
        QStyle *style = widget ? widget->style() : QApplication::style();
        QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget);
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
        textRect.adjust(margin, 0, -margin, 0);
        const QString text = opt.text;
        opt.text.clear();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

        painter->save();
        painter->setFont(opt.font);
        painter->setClipRect(textRect);
        const QFontMetrics metrics(opt.font);
        const QString shown = metrics.elidedText(text, opt.textElideMode, textRect.width());
        const bool selected = opt.state & QStyle::State_Selected;
        painter->setPen(opt.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(textRect, int(opt.displayAlignment), shown);
        // The mark goes over the text it holds, which is redrawn dark on it, also in a
        // selected row.
        const int left = textRect.left() + metrics.horizontalAdvance(text.left(at));
        const QString match = text.mid(at, needle.size());
        const QRect mark(left, textRect.center().y() - metrics.height() / 2,
                         metrics.horizontalAdvance(match), metrics.height());
        if (shown == text
            || mark.right() < textRect.right() - metrics.horizontalAdvance(QChar(0x2026))) {
            painter->fillRect(mark, QColor(255, 214, 92));
            painter->setPen(QColor(0, 0, 0));
            painter->drawText(mark, int(Qt::AlignLeft | Qt::AlignVCenter), match);
        }
        painter->restore();
    }

private:
    const QLineEdit *m_field;
};

} // namespace

TreeFilter::TreeFilter(QTreeView *view, RowWords rowWords, const char *placeholderId,
                       QWidget *parent)
    : QWidget(parent)
    , m_view(view)
    , m_rowWords(std::move(rowWords))
    , m_edit(new QLineEdit(this))
    , m_count(new QLabel(this))
    , m_countFormat(getStringOr("count", "filter", QStringLiteral("%1 of %2")))
    , m_locale(installationLocale())
{
    setObjectName(QStringLiteral("treeFilter"));
    m_edit->setObjectName(QStringLiteral("filterEdit"));
    m_count->setObjectName(QStringLiteral("filterCount"));
    m_edit->setClearButtonEnabled(true);
    // The clear button is a control of its own to a screen reader: it needs a name too.
    for (QToolButton *clear : m_edit->findChildren<QToolButton *>())
        clear->setAccessibleName(getStringOr("clear", "filter", QStringLiteral("Clear")));
    m_edit->setPlaceholderText(Common::getString(placeholderId, "filter"));
    m_edit->setAccessibleName(getStringOr("field", "filter", QStringLiteral("Find")));
    // A narrow field cuts its placeholder; the whole text is one hover away.
    m_edit->setToolTip(m_edit->placeholderText());
    m_edit->setAccessibleDescription(m_edit->placeholderText());

    auto *row = new QHBoxLayout;
    row->addWidget(m_edit, 1);
    row->addWidget(m_count);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addLayout(row);
    column->addWidget(view, 1);
    // The field comes right before the view it filters.
    QWidget::setTabOrder(m_edit, view);

    view->setItemDelegate(new MatchDelegate(m_edit, this));
    connect(m_edit, &QLineEdit::textChanged, this, &TreeFilter::apply);
    QAbstractItemModel *model = view->model();
    connect(model, &QAbstractItemModel::modelReset, this, &TreeFilter::onModelChanged);
    connect(model, &QAbstractItemModel::layoutChanged, this, &TreeFilter::onModelChanged);
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(model, signal, this, &TreeFilter::onModelChanged);
    connect(model, &QAbstractItemModel::dataChanged, this, &TreeFilter::refresh);
    // However the current row changes (a dialog choosing a folder after a deletion), it is
    // never one the filter hides.
    connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) {
                if (isFiltering() && current.isValid() && isHiddenInView(current))
                    keepSelectionVisible();
            });

    auto *find = new QShortcut(QKeySequence::Find, this);
    find->setContext(Qt::WindowShortcut);
    connect(find, &QShortcut::activated, this, [this] {
        m_edit->setFocus(Qt::ShortcutFocusReason);
        m_edit->selectAll();
    });
    m_edit->installEventFilter(this);
    if (parent)
        parent->window()->installEventFilter(this);
    onModelChanged();
}

TreeFilter::TreeFilter(CNodeTreeCtrl *tree, const char *placeholderId, QWidget *parent)
    : TreeFilter(
        tree,
        [tree](const QModelIndex &index, QString *words) { return tree->findWords(index, words); },
        placeholderId, parent)
{
    m_nodeTree = tree;
    onModelChanged();
}

TreeFilter::~TreeFilter()
{
    // The view goes with this widget's children, after this object has stopped being one: its
    // model must not reach the filter while it empties.
    for (QObject *sender : {static_cast<QObject *>(m_view->model()),
                            static_cast<QObject *>(m_view->selectionModel())}) {
        if (sender)
            disconnect(sender, nullptr, this, nullptr);
    }
    if (parentWidget())
        parentWidget()->window()->removeEventFilter(this);
}

bool TreeFilter::isFiltering() const
{
    return !m_edit->text().isEmpty();
}

void TreeFilter::clear()
{
    m_edit->clear();
}

void TreeFilter::refresh()
{
    m_wordsRead = false;
    if (isFiltering())
        apply();
}

void TreeFilter::onModelChanged()
{
    m_rowsRead = false;
    m_wordsRead = false;
    if (isFiltering()) {
        apply();
        return;
    }
    // Unfiltered, as when a dialog fills its tree, only the count changes: the rows are read
    // when a filter is typed.
    m_total = m_nodeTree ? m_nodeTree->recordCount() : countUnder(QModelIndex());
    showCount();
}

int TreeFilter::countUnder(const QModelIndex &parent) const
{
    const QAbstractItemModel *model = m_view->model();
    int count = 0;
    for (int r = 0, n = model->rowCount(parent); r < n; ++r) {
        const QModelIndex index = model->index(r, 0, parent);
        count += m_rowWords(index, nullptr) ? 1 : 0;
        if (model->hasChildren(index))
            count += countUnder(index);
    }
    return count;
}

void TreeFilter::readRows()
{
    const std::size_t known = m_rows.size();
    m_rows.clear();
    m_rows.reserve(std::max<std::size_t>(known, std::size_t(m_total)));
    m_total = 0;
    readRowsUnder(QModelIndex(), -1);
    m_rowsRead = true;
}

void TreeFilter::readRowsUnder(const QModelIndex &parent, int holder)
{
    // In the view's order, each holder before the rows it holds.
    const QAbstractItemModel *model = m_view->model();
    for (int r = 0, n = model->rowCount(parent); r < n; ++r) {
        const QModelIndex index = model->index(r, 0, parent);
        const bool matched = m_rowWords(index, nullptr);
        m_total += matched ? 1 : 0;
        m_rows.push_back({index, parent, holder, matched, m_view->isRowHidden(r, parent), {}});
        if (model->hasChildren(index))
            readRowsUnder(index, int(m_rows.size()) - 1);
    }
}

void TreeFilter::readWords()
{
    for (Row &row : m_rows) {
        row.words.clear();
        if (row.matched) {
            m_rowWords(row.index, &row.words);
            row.words = row.words.toCaseFolded();
        }
    }
    m_wordsRead = true;
}

void TreeFilter::setShown(const QString &needle)
{
    // Every row first as its own words decide, top-level holders shown; then each shown row
    // shows its holders.
    std::vector<char> shown(m_rows.size(), 0);
    m_shown = 0;
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        const Row &row = m_rows[i];
        shown[i] = needle.isEmpty() || (row.matched ? row.words.contains(needle) : row.holder < 0);
        m_shown += shown[i] && row.matched ? 1 : 0;
    }
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        if (!shown[i])
            continue;
        for (int up = m_rows[i].holder; up >= 0 && !shown[std::size_t(up)];
             up = m_rows[std::size_t(up)].holder)
            shown[std::size_t(up)] = 1;
    }
    // Only the rows that change: the view keeps a hidden row as a persistent index. A holder
    // of matches opens, so that what was found is in sight.
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        Row &row = m_rows[i];
        if (!needle.isEmpty() && shown[i] && !row.matched && !m_view->isExpanded(row.index))
            m_view->expand(row.index);
        if (row.hidden == !shown[i])
            continue;
        row.hidden = !shown[i];
        m_view->setRowHidden(row.index.row(), row.parent, row.hidden);
    }
}

void TreeFilter::apply()
{
    if (m_applying)
        return;
    const QScopedValueRollback<bool> applying(m_applying, true);
    if (!m_rowsRead)
        readRows();
    const QString needle = m_edit->text().toCaseFolded();
    if (!needle.isEmpty() && !m_wordsRead)
        readWords();
    setShown(needle);
    keepSelectionVisible();
    showCount();
}

bool TreeFilter::isHiddenInView(QModelIndex index) const
{
    for (; index.isValid(); index = index.parent()) {
        if (m_view->isRowHidden(index.row(), index.parent()))
            return true;
    }
    return false;
}

void TreeFilter::keepSelectionVisible()
{
    QItemSelectionModel *selection = m_view->selectionModel();
    const QModelIndex current = selection->currentIndex();
    if (current.isValid() && isHiddenInView(current)) {
        const QModelIndex top = m_view->model()->index(0, 0);
        if (top.isValid() && !m_rowWords(top, nullptr))
            m_view->setCurrentIndex(top);
        else
            selection->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
    QItemSelection visible;
    bool dropped = false;
    for (const QItemSelectionRange &range : selection->selection()) {
        for (int r = range.top(); r <= range.bottom(); ++r) {
            const QModelIndex index = range.model()->index(r, range.left(), range.parent());
            if (isHiddenInView(index))
                dropped = true;
            else
                visible.select(index, range.model()->index(r, range.right(), range.parent()));
        }
    }
    if (dropped)
        selection->select(visible, QItemSelectionModel::ClearAndSelect);
}

QModelIndex TreeFilter::firstShownMatch() const
{
    for (const Row &row : m_rows) {
        if (row.matched && !isHiddenInView(row.index))
            return row.index;
    }
    return QModelIndex();
}

void TreeFilter::showCount()
{
    if (!isFiltering())
        m_shown = m_total;
    m_count->setText(m_countFormat.arg(m_locale.toString(m_shown), m_locale.toString(m_total)));
}

bool TreeFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    if (watched == m_edit && key->key() == Qt::Key_Down && key->modifiers() == Qt::NoModifier) {
        m_view->setFocus(Qt::TabFocusReason);
        const QModelIndex current = m_view->currentIndex();
        if (isFiltering() && !(current.isValid() && m_rowWords(current, nullptr))) {
            if (const QModelIndex first = firstShownMatch(); first.isValid())
                m_view->setCurrentIndex(first);
        }
        return true;
    }
    // The window sees an Escape that no control took; while the field holds text, Escape
    // clears it instead of closing the window.
    if (watched != m_edit && key->matches(QKeySequence::Cancel) && isFiltering()) {
        clear();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace setupmgr
