#include "tree_prop_sheet.h"

#include "common/check.h"
#include "common/language.h"
#include "controls/control_factory.h"
#include "sheet/property_page.h"
#include "sheet/themed_page_frame.h"

#include <QBoxLayout>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTabBar>
#include <QTreeWidget>

#include <utility>

namespace {
enum : int { kIdPageFrame = 0xFFFF, kIdPageTree = 0x7EEE };
// The tree stands this far off the frame.
constexpr int kTreeGap = 5;
// The border of the tab pane that the frame takes the place of, on each side.
constexpr int kPaneBorder = 2;
constexpr int kMaxCaptionLength = 260;
const QLatin1String kSeparator("::");

// The page tree's vertical scroll bar. Following the active page scrolls the tree by a row or so
// at a time; then only the slider moves, so only where it was and where it is are repainted.
// Repainting the whole bar would fill its tall groove, a fill the raster engine splits among
// worker threads and waits for, which costs more than the rest of the page switch.
class PageTreeScrollBar : public QScrollBar
{
public:
    using QScrollBar::QScrollBar;

protected:
    void sliderChange(SliderChange change) override
    {
        if (change != SliderValueChange || m_painted.isEmpty()) {
            QScrollBar::sliderChange(change);
            return;
        }
        update(QRegion(m_painted) + sliderRect());
    }
    void paintEvent(QPaintEvent *event) override
    {
        QScrollBar::paintEvent(event);
        m_painted = sliderRect();
    }

private:
    // With a margin, since a style may draw the slider's outline just outside its rectangle.
    QRect sliderRect() const
    {
        QStyleOptionSlider option;
        initStyleOption(&option);
        const QRect slider = style()->subControlRect(QStyle::CC_ScrollBar, &option,
                                                     QStyle::SC_ScrollBarSlider, this);
        return slider.adjusted(-kSliderMargin, -kSliderMargin, kSliderMargin, kSliderMargin);
    }

    static constexpr int kSliderMargin = 2;

    // The slider where it was painted last: until the next paint, it is still shown there.
    QRect m_painted;
};
} // namespace

CTreePropSheet::CTreePropSheet(const QString &caption, QWidget *parent, int selectPage)
    : CPropertySheet(caption, parent, selectPage)
{ }

CTreePropSheet::~CTreePropSheet()
{
    // The pages live in the frame's window, but they are their owner's.
    releasePages();
    if (m_tree)
        m_tree->disconnect(this);
    m_tree.reset();
    m_frame.reset();
}

bool CTreePropSheet::EnablePageTree(bool treeMode, bool pageCaptions, bool treeImages)
{
    if (IsInitialised())
        return false;
    m_treeMode = treeMode;
    if (treeMode) {
        m_pageCaptions = pageCaptions;
        m_treeImages = treeImages;
    }
    return true;
}

bool CTreePropSheet::SetPageTreeImages(const QList<QIcon> &images)
{
    if (images.size() != 2)
        return false;
    m_defaultImages = images;
    if (hasTree()) {
        RefillPageTree();
        SelectCurrentPageRow();
    }
    return true;
}

void CTreePropSheet::SelectNextPage()
{
    if (!hasTree()) {
        stepPage(1);
        return;
    }
    QTreeWidgetItem *row = m_tree->currentItem();
    QTreeWidgetItem *next = nullptr;
    if (!row)
        next = m_tree->topLevelItem(0);
    else if (row->childCount() > 0)
        next = row->child(0);
    for (QTreeWidgetItem *up = row; up && !next; up = up->parent())
        next = nextSibling(up);
    selectRow(next ? next : m_tree->topLevelItem(0));
}

void CTreePropSheet::SelectPreviousPage()
{
    if (!hasTree()) {
        stepPage(-1);
        return;
    }
    QTreeWidgetItem *row = m_tree->currentItem();
    QTreeWidgetItem *previous = row ? previousSibling(row) : nullptr;
    if (row && !previous && row->parent()) {
        selectRow(row->parent());
        return;
    }
    // Before the very first row comes the last row of the whole tree.
    if (!previous && m_tree->topLevelItemCount() > 0)
        previous = m_tree->topLevelItem(m_tree->topLevelItemCount() - 1);
    while (previous && previous->childCount() > 0)
        previous = previous->child(previous->childCount() - 1);
    selectRow(previous);
}

void CTreePropSheet::AddPage(CPropertyPage *page)
{
    CPropertySheet::AddPage(page);
    if (hasTree()) {
        RefillPageTree();
        SelectCurrentPageRow();
    }
}

void CTreePropSheet::RemovePage(int index)
{
    CPropertySheet::RemovePage(index);
    if (hasTree()) {
        RefillPageTree();
        SelectCurrentPageRow();
    }
}

bool CTreePropSheet::SetActivePage(int index)
{
    const bool activated = CPropertySheet::SetActivePage(index);
    // Reacting to a row change, the row is selected already and the caption follows once the
    // change is handled.
    if (hasTree() && !m_selecting) {
        followCurrentPage();
        UpdateFrameCaption();
    }
    return activated;
}

QString CTreePropSheet::FormatEmptyPageText(const QString &format, const QString &rowText) const
{
    return Common::formatMessage(format, rowText);
}

QTreeWidget *CTreePropSheet::NewPageTree()
{
    return new QTreeWidget;
}

CPageFrame *CTreePropSheet::NewPageFrame()
{
    return new CThemedPageFrame;
}

void CTreePropSheet::OnInitDialog()
{
    if (!m_treeMode) {
        CPropertySheet::OnInitDialog();
        return;
    }
    m_frame.reset(NewPageFrame());
    m_tree.reset(NewPageTree());
    if (!m_frame || !m_tree) {
        setupmgr::logFailedCheck("m_frame && m_tree", __FILE__, __LINE__);
        m_frame.reset();
        m_tree.reset();
        m_treeMode = false;
        CPropertySheet::OnInitDialog();
        return;
    }
    GetTabControl()->hide();
    GetTabControl()->setEnabled(false);
    pagePane()->hide();

    // The caption bar takes the place of the tab strip: it is one tab high.
    QTabBar measure;
    measure.addTab(QString());
    const int captionHeight = measure.tabRect(0).height();

    m_frame->CreateFrameWindow(this, QRect(), kIdPageFrame);
    m_frame->SetCaptionVisible(m_pageCaptions);
    m_frame->SetCaptionBarHeight(captionHeight);
    pageColumn()->addWidget(m_frame->GetFrameWindow(), 1);

    QTreeWidget *tree = m_tree.get();
    tree->setParent(this);
    setupmgr::markControl(tree, kIdPageTree, "pageTree");
    tree->setWindowTitle(QStringLiteral("PageTree"));
    setupmgr::nameFromLanguage(tree, "pageTree", "Pages");
    tree->setColumnCount(1);
    tree->setHeaderHidden(true);
    tree->setRootIsDecorated(true);
    tree->setSelectionMode(QAbstractItemView::SingleSelection);
    tree->setFixedWidth(m_treeWidth - kTreeGap);
    // The pages decide the sheet's height, not the tree.
    tree->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
    // A tree of the sheet's own making gets the scroll bar that repaints only what moved.
    if (tree->verticalScrollBar()->metaObject() == &QScrollBar::staticMetaObject)
        tree->setVerticalScrollBar(new PageTreeScrollBar(Qt::Vertical));
    if (m_treeImages) {
        const QList<QSize> sizes = m_defaultImages.isEmpty()
            ? QList<QSize>()
            : m_defaultImages.constFirst().availableSizes();
        tree->setIconSize(sizes.isEmpty() ? QSize(16, 16) : sizes.constFirst());
    }
    contentRow()->setSpacing(kTreeGap);
    contentRow()->insertWidget(0, tree);
    connect(tree, &QTreeWidget::currentItemChanged, this, &CTreePropSheet::onRowChanged);

    // The pages join after the tree, so that they follow it in the focus chain.
    CPropertySheet::OnInitDialog();
    RefillPageTree();
    if (GetTabControl()->currentIndex() >= 0)
        SelectCurrentPageRow();
}

QWidget *CTreePropSheet::pageParent() const
{
    if (m_treeMode && m_frame && m_frame->GetFrameWindow())
        return m_frame->GetFrameWindow();
    return CPropertySheet::pageParent();
}

QRect CTreePropSheet::pageRect() const
{
    if (m_treeMode && m_frame && m_frame->GetFrameWindow())
        return m_frame->GetMessageRect();
    return CPropertySheet::pageRect();
}

bool CTreePropSheet::preTranslateKey(QWidget *target, QKeyEvent *key)
{
    const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
    if (tab && (key->modifiers() & Qt::ControlModifier)) {
        if (key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier))
            SelectPreviousPage();
        else
            SelectNextPage();
        return true;
    }
    // Enter in the tree would press OK; the tree has nothing to do with it either.
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (enter && hasTree() && target == m_tree.get())
        return true;
    return CPropertySheet::preTranslateKey(target, key);
}

void CTreePropSheet::updatePageArea()
{
    QWidget *window = m_frame ? m_frame->GetFrameWindow() : nullptr;
    if (!m_treeMode || !window) {
        CPropertySheet::updatePageArea();
        return;
    }
    // As large as the tab control it replaces; without the caption bar one tab row less.
    QSize size = largestPage() + QSize(2 * kPaneBorder, 2 * kPaneBorder);
    if (m_frame->IsCaptionVisible())
        size.rheight() += m_frame->GetCaptionBarHeight();
    window->setMinimumSize(size);
}

void CTreePropSheet::RefillPageTree()
{
    if (!m_tree)
        return;
    const QSignalBlocker quiet(m_tree.get());
    m_tree->clear();
    if (m_treeImages) {
        m_pageImages = tabImages();
        m_pageImages += m_defaultImages;
    }
    const QTabBar *tabs = GetTabControl();
    for (int i = 0; i < tabs->count(); ++i) {
        QTreeWidgetItem *row = InsertPageRow(tabs->tabText(i).left(kMaxCaptionLength), nullptr);
        if (!row)
            continue;
        row->setData(0, PageIndexRole, i);
        if (m_treeImages) {
            const int own = tabImageIndex(i);
            if (own >= 0 && own < m_pageImages.size())
                setRowImage(row, own);
            else
                setRowImage(row, m_defaultImages.isEmpty() ? -1 : m_pageImages.size() - 1);
        }
    }
}

QTreeWidgetItem *CTreePropSheet::InsertPageRow(QString path, QTreeWidgetItem *parent)
{
    // A quote cannot be part of a language key, and would break the lookup's query.
    if (!path.contains(QLatin1Char('\''))) {
        const QString text = Common::getString(path.toUtf8().constData(), "option");
        if (!text.isEmpty())
            path = text;
    }
    const QString component = SplitPagePath(path);
    const int count = parent ? parent->childCount() : m_tree->topLevelItemCount();
    QTreeWidgetItem *row = nullptr;
    for (int i = 0; i < count && !row; ++i) {
        QTreeWidgetItem *child = parent ? parent->child(i) : m_tree->topLevelItem(i);
        if (child->text(0) == component)
            row = child;
    }
    if (!row) {
        row = new QTreeWidgetItem(QStringList {component});
        row->setData(0, PageIndexRole, -1);
        row->setData(0, ImageIndexRole, -1);
        if (!path.isEmpty() && m_treeImages && !m_defaultImages.isEmpty())
            setRowImage(row, m_pageImages.size() - 2);
        if (parent)
            parent->addChild(row);
        else
            m_tree->addTopLevelItem(row);
    }
    return path.isEmpty() ? row : InsertPageRow(path, row);
}

QString CTreePropSheet::SplitPagePath(QString &path)
{
    qsizetype at = path.indexOf(kSeparator);
    while (at >= 0) {
        qsizetype backslashes = 0;
        while (at - backslashes > 0 && path.at(at - backslashes - 1) == QLatin1Char('\\'))
            ++backslashes;
        if (backslashes % 2 == 0)
            break;
        at = path.indexOf(kSeparator, at + kSeparator.size());
    }
    if (at < 0)
        return std::exchange(path, QString());

    const QString escaped = path.left(at);
    path = path.mid(at + kSeparator.size());
    QString component;
    component.reserve(escaped.size());
    for (qsizetype i = 0; i < escaped.size(); ++i) {
        if (escaped.at(i) == QLatin1Char('\\') && i + 1 < escaped.size()) {
            if (escaped.at(i + 1) == QLatin1Char('\\')) {
                component += QLatin1Char('\\');
                ++i;
                continue;
            }
            if (escaped.mid(i + 1, kSeparator.size()) == kSeparator) {
                component += kSeparator;
                i += kSeparator.size();
                continue;
            }
        }
        component += escaped.at(i);
    }
    return component;
}

bool CTreePropSheet::DeactivateCurrentPage()
{
    CPropertyPage *page = GetActivePage();
    if (!page || page->isHidden())
        return true;
    if (!page->OnKillActive())
        return false;
    page->hide();
    return true;
}

void CTreePropSheet::UpdateFrameCaption()
{
    if (!m_frame || !m_tree)
        return;
    const CPropertyPage *page = GetActivePage();
    const bool pageShown = page && !page->isHidden();
    const QTreeWidgetItem *row = m_tree->currentItem();
    if (!row)
        return;
    if (!pageShown)
        m_frame->SetMessageText(FormatEmptyPageText(m_emptyPageText, row->text(0)));
    if (!m_frame->IsCaptionVisible())
        return;
    QIcon icon;
    if (m_treeImages) {
        icon = m_pageImages.value(row->data(0, ImageIndexRole).toInt());
    } else if (pageShown) {
        const int image = tabImageIndex(row->data(0, PageIndexRole).toInt());
        if (image >= 0)
            icon = tabImages().value(image);
    }
    m_frame->SetCaptionContent(row->text(0), icon);
}

QTreeWidgetItem *CTreePropSheet::FindPageRow(int index, QTreeWidgetItem *start) const
{
    if (!m_tree || index < 0 || index >= GetPageCount())
        return nullptr;
    for (QTreeWidgetItem *row = start ? start : m_tree->topLevelItem(0); row;
         row = nextSibling(row)) {
        if (row->data(0, PageIndexRole).toInt() == index)
            return row;
        if (row->childCount() > 0) {
            if (QTreeWidgetItem *found = FindPageRow(index, row->child(0)))
                return found;
        }
    }
    return nullptr;
}

bool CTreePropSheet::SelectPageRow(int index)
{
    QTreeWidgetItem *row = FindPageRow(index);
    if (row)
        selectRow(row);
    return row != nullptr;
}

bool CTreePropSheet::SelectCurrentPageRow()
{
    return SelectPageRow(GetTabControl()->currentIndex());
}

void CTreePropSheet::onRowChanged(QTreeWidgetItem *current, QTreeWidgetItem *previous)
{
    // Whoever moves the row while the sheet handles a change updates the caption when done.
    if (m_selecting)
        return;
    if (current) {
        const QScopedValueRollback<bool> guard(m_selecting, true);
        const int index = current->data(0, PageIndexRole).toInt();
        const bool allowed = index >= 0 ? SetActivePage(index) : DeactivateCurrentPage();
        m_tree->setFocus();
        // A page that refuses to be left or shown keeps the old selection.
        if (!allowed)
            m_tree->setCurrentItem(previous);
    }
    UpdateFrameCaption();
}

void CTreePropSheet::followCurrentPage()
{
    QTreeWidgetItem *row = FindPageRow(GetTabControl()->currentIndex());
    if (!row)
        return;
    if (row != m_tree->currentItem()) {
        // The page is shown already: the row follows it without activating it again.
        const QScopedValueRollback<bool> guard(m_selecting, true);
        m_tree->setCurrentItem(row);
        m_tree->setFocus();
    }
    m_tree->scrollToItem(row);
}

void CTreePropSheet::setRowImage(QTreeWidgetItem *row, int image) const
{
    row->setData(0, ImageIndexRole, image);
    row->setIcon(0, m_pageImages.value(image));
}

void CTreePropSheet::selectRow(QTreeWidgetItem *row)
{
    if (!row)
        return;
    m_tree->setCurrentItem(row);
    m_tree->scrollToItem(row);
}

QTreeWidgetItem *CTreePropSheet::nextSibling(QTreeWidgetItem *row) const
{
    QTreeWidgetItem *parent = row->parent();
    if (parent)
        return parent->child(parent->indexOfChild(row) + 1);
    return m_tree->topLevelItem(m_tree->indexOfTopLevelItem(row) + 1);
}

QTreeWidgetItem *CTreePropSheet::previousSibling(QTreeWidgetItem *row) const
{
    QTreeWidgetItem *parent = row->parent();
    if (parent)
        return parent->child(parent->indexOfChild(row) - 1);
    return m_tree->topLevelItem(m_tree->indexOfTopLevelItem(row) - 1);
}
