#include "property_sheet.h"

#include "common/check.h"
#include "common/language.h"
#include "controls/control_factory.h"
#include "sheet/property_page.h"

#include <QApplication>
#include <QBoxLayout>
#include <QFrame>
#include <QKeyEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabBar>

#include <algorithm>

namespace {
// The control ids of the sheet's own controls.
enum : int { kIdOk = 1, kIdCancel = 2, kIdTabControl = 0x3020, kIdApply = 0x3021 };
} // namespace

CPropertySheet::CPropertySheet(const QString &caption, QWidget *parent, int selectPage)
    : QDialog(parent)
    , m_startPage(selectPage)
{
    setWindowTitle(caption);
    // The buttons come first in the focus chain, so that the pages, which join it when they are
    // added, sit between the page chooser and OK.
    m_ok = setupmgr::makeButton(this, "OK", kIdOk, "okButton");
    m_ok->setDefault(true);
    m_cancel = setupmgr::makeButton(this, "Cancel", kIdCancel, "cancelButton");
    m_apply = setupmgr::makeButton(this, "&Apply", kIdApply, "applyButton");
    m_apply->setEnabled(false);

    m_tabs = new QTabBar(this);
    setupmgr::markControl(m_tabs, kIdTabControl, "tabControl");
    m_tabs->setAccessibleName(QStringLiteral("Pages"));
    m_tabs->setDrawBase(false);
    m_pane = new QFrame(this);
    setupmgr::markControl(m_pane, -1, "pagePane");
    m_pane->setAccessibleName(QStringLiteral("Page"));
    m_pane->setFrameShape(QFrame::StyledPanel);

    m_column = new QVBoxLayout;
    m_column->setSpacing(0);
    m_column->addWidget(m_tabs);
    m_column->addWidget(m_pane, 1);
    m_content = new QHBoxLayout;
    m_content->addLayout(m_column, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(m_content, 1);
    layout->addLayout(setupmgr::makeButtonRow({m_ok, m_cancel, m_apply}));

    connect(m_ok, &QPushButton::clicked, this, &CPropertySheet::accept);
    connect(m_cancel, &QPushButton::clicked, this, &CPropertySheet::reject);
    connect(m_apply, &QPushButton::clicked, this, &CPropertySheet::applyPages);
    connect(m_tabs, &QTabBar::currentChanged, this, &CPropertySheet::onTabChanged);
}

CPropertySheet::~CPropertySheet()
{
    qApp->removeEventFilter(this);
    releasePages();
}

void CPropertySheet::AddPage(CPropertyPage *page)
{
    OSTREL_CHECK(page && GetPageIndex(page) < 0);
    m_pages.append(page);
    connect(page, &CPropertyPage::modifiedChanged, this, &CPropertySheet::updateApplyButton);
    // Hidden until activated. Pages join the sheet when it is set up, after its page chooser,
    // which puts them after it in the focus chain.
    page->setParent(m_initialised ? pageParent() : nullptr);
    page->hide();
    {
        const QSignalBlocker quiet(m_tabs);
        m_tabs->addTab(page->GetIcon(), page->GetCaption());
    }
    if (m_initialised) {
        placePages();
        updatePageArea();
        if (m_current < 0)
            activatePage(0);
    }
    updateApplyButton();
}

void CPropertySheet::RemovePage(int index)
{
    if (index < 0 || index >= GetPageCount())
        return;
    const QPointer<CPropertyPage> page = m_pages.takeAt(index);
    {
        const QSignalBlocker quiet(m_tabs);
        m_tabs->removeTab(index);
    }
    if (page) {
        disconnect(page, nullptr, this, nullptr);
        page->setParent(nullptr);
    }
    if (!m_initialised) {
        if (m_startPage > index)
            --m_startPage;
    } else if (index == m_current) {
        m_current = -1;
        if (GetPageCount() > 0)
            activatePage(std::min(index, GetPageCount() - 1));
    } else if (index < m_current) {
        --m_current;
        const QSignalBlocker quiet(m_tabs);
        m_tabs->setCurrentIndex(m_current);
    }
    if (m_initialised)
        updatePageArea();
    updateApplyButton();
}

void CPropertySheet::RemovePage(CPropertyPage *page)
{
    RemovePage(GetPageIndex(page));
}

CPropertyPage *CPropertySheet::GetPage(int index) const
{
    return index >= 0 && index < GetPageCount() ? m_pages.at(index).data() : nullptr;
}

int CPropertySheet::GetPageIndex(const CPropertyPage *page) const
{
    for (int i = 0; page && i < GetPageCount(); ++i) {
        if (m_pages.at(i) == page)
            return i;
    }
    return -1;
}

bool CPropertySheet::SetActivePage(int index)
{
    return activatePage(index);
}

QList<QIcon> CPropertySheet::tabImages() const
{
    QList<QIcon> images;
    for (const QPointer<CPropertyPage> &page : m_pages) {
        if (page && !page->GetIcon().isNull())
            images.append(page->GetIcon());
    }
    return images;
}

int CPropertySheet::tabImageIndex(int index) const
{
    const CPropertyPage *page = GetPage(index);
    if (!page || page->GetIcon().isNull())
        return -1;
    int position = 0;
    for (int i = 0; i < index; ++i) {
        if (GetPage(i) && !GetPage(i)->GetIcon().isNull())
            ++position;
    }
    return position;
}

void CPropertySheet::accept()
{
    if (applyPages() && (!m_commit || m_commit()))
        done(Ok);
}

void CPropertySheet::reject()
{
    for (const QPointer<CPropertyPage> &page : m_pages) {
        if (page && page->IsInitialised())
            page->OnCancel();
    }
    done(Cancel);
}

void CPropertySheet::setVisible(bool visible)
{
    if (visible && !m_initialised) {
        m_initialised = true;
        OnInitDialog();
    }
    QDialog::setVisible(visible);
}

void CPropertySheet::OnInitDialog()
{
    // The buttons speak the installation's language where its shared texts have them.
    m_ok->setText(setupmgr::getStringOr("ok", "common", QStringLiteral("OK")));
    m_cancel->setText(setupmgr::getStringOr("cancel", "common", QStringLiteral("Cancel")));
    m_apply->setText(setupmgr::getStringOr("apply", "common", QStringLiteral("&Apply")));
    placePages();
    updatePageArea();
    if (GetPageCount() > 0) {
        const int start = m_startPage >= 0 && m_startPage < GetPageCount() ? m_startPage : 0;
        activatePage(start);
    }
    updateApplyButton();
}

QWidget *CPropertySheet::pageParent() const
{
    return m_pane;
}

QRect CPropertySheet::pageRect() const
{
    return m_pane->contentsRect();
}

bool CPropertySheet::preTranslateKey(QWidget *, QKeyEvent *key)
{
    const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
    if (!tab || !(key->modifiers() & Qt::ControlModifier))
        return false;
    const bool back = key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier);
    stepPage(back ? -1 : 1);
    return true;
}

void CPropertySheet::updatePageArea()
{
    const int frame = 2 * m_pane->frameWidth();
    m_pane->setMinimumSize(largestPage() + QSize(frame, frame));
}

bool CPropertySheet::applyPages()
{
    CPropertyPage *current = GetPage(m_current);
    if (current && !current->isHidden() && !current->OnKillActive())
        return false;
    for (int i = 0; i < GetPageCount(); ++i) {
        CPropertyPage *page = GetPage(i);
        if (page && page->IsInitialised() && !page->OnApply()) {
            SetActivePage(i);
            return false;
        }
    }
    for (const QPointer<CPropertyPage> &page : m_pages) {
        if (page)
            page->SetModified(false);
    }
    return true;
}

void CPropertySheet::stepPage(int delta)
{
    const int count = GetPageCount();
    if (count > 0)
        SetActivePage(((GetActiveIndex() + delta) % count + count) % count);
}

void CPropertySheet::placePages()
{
    QWidget *parent = pageParent();
    OSTREL_CHECK(parent);
    if (m_filteredParent != parent) {
        if (m_filteredParent)
            m_filteredParent->removeEventFilter(this);
        parent->installEventFilter(this);
        m_filteredParent = parent;
    }
    const QRect rect = pageRect();
    for (const QPointer<CPropertyPage> &page : m_pages) {
        if (!page)
            continue;
        if (page->parentWidget() != parent) {
            page->setParent(parent);
            // Explicitly, or it would show with its new parent.
            page->hide();
        }
        page->setGeometry(rect);
    }
}

QSize CPropertySheet::largestPage() const
{
    QSize largest(0, 0);
    for (const QPointer<CPropertyPage> &page : m_pages) {
        if (page) {
            largest = largest.expandedTo(page->sizeHint())
                          .expandedTo(page->minimumSizeHint())
                          .expandedTo(page->minimumSize());
        }
    }
    return largest;
}

void CPropertySheet::releasePages()
{
    for (const QPointer<CPropertyPage> &page : std::as_const(m_pages)) {
        if (!page)
            continue;
        disconnect(page, nullptr, this, nullptr);
        page->setParent(nullptr);
    }
    m_pages.clear();
}

bool CPropertySheet::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize && watched == m_filteredParent) {
        const QRect rect = pageRect();
        for (const QPointer<CPropertyPage> &page : std::as_const(m_pages)) {
            if (page)
                page->setGeometry(rect);
        }
    } else if (event->type() == QEvent::KeyPress) {
        // Keys reach the sheet before the control with the focus, as a dialog's own keys do.
        auto *target = qobject_cast<QWidget *>(watched);
        if (target && (target == this || isAncestorOf(target))
            && preTranslateKey(target, static_cast<QKeyEvent *>(event)))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void CPropertySheet::showEvent(QShowEvent *event)
{
    qApp->installEventFilter(this);
    QDialog::showEvent(event);
}

void CPropertySheet::hideEvent(QHideEvent *event)
{
    qApp->removeEventFilter(this);
    QDialog::hideEvent(event);
}

bool CPropertySheet::activatePage(int index)
{
    if (index < 0 || index >= GetPageCount())
        return false;
    if (!m_initialised) {
        m_startPage = index;
        return true;
    }
    CPropertyPage *old = GetPage(m_current);
    CPropertyPage *next = GetPage(index);
    if (!next)
        return false;
    if (old == next && !next->isHidden())
        return true;
    const bool leaving = old && old != next && !old->isHidden();
    if (leaving) {
        if (!old->OnKillActive())
            return false;
        old->hide();
    }
    if (!showPage(index)) {
        if (leaving)
            old->show();
        return false;
    }
    m_current = index;
    const QSignalBlocker quiet(m_tabs);
    m_tabs->setCurrentIndex(index);
    return true;
}

bool CPropertySheet::showPage(int index)
{
    CPropertyPage *page = GetPage(index);
    page->initialise();
    if (!page->OnSetActive())
        return false;
    page->setGeometry(pageRect());
    page->show();
    return true;
}

void CPropertySheet::onTabChanged(int index)
{
    if (!SetActivePage(index)) {
        const QSignalBlocker quiet(m_tabs);
        m_tabs->setCurrentIndex(m_current);
    }
}

void CPropertySheet::updateApplyButton()
{
    const bool modified = std::any_of(m_pages.cbegin(), m_pages.cend(),
                                      [](const auto &page) { return page && page->IsModified(); });
    m_apply->setEnabled(modified);
}
