// A property sheet: pages chosen by tabs, OK, Cancel and Apply. The pages stay their owner's: the
// sheet shows them and gives them back, parentless, when it is destroyed or they are removed.
#pragma once

#include <QDialog>
#include <QIcon>
#include <QList>
#include <QPointer>

#include <functional>

class CPropertyPage;
class QBoxLayout;
class QFrame;
class QKeyEvent;
class QPushButton;
class QTabBar;

class CPropertySheet : public QDialog
{
    Q_OBJECT

public:
    // The modal results.
    enum Result { Ok = 1, Cancel = 2 };

    explicit CPropertySheet(const QString &caption = QString(), QWidget *parent = nullptr,
                            int selectPage = 0);
    ~CPropertySheet() override;

    virtual void AddPage(CPropertyPage *page);
    virtual void RemovePage(int index);
    void RemovePage(CPropertyPage *page);

    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    CPropertyPage *GetPage(int index) const;
    int GetPageIndex(const CPropertyPage *page) const;
    // Before the sheet is first shown, the page it will show first.
    int GetActiveIndex() const { return m_initialised ? m_current : m_startPage; }
    CPropertyPage *GetActivePage() const { return GetPage(GetActiveIndex()); }
    // Leaves the current page (it may refuse) and shows the page; before the sheet is first
    // shown, only chooses the page it will show first.
    virtual bool SetActivePage(int index);
    bool SetActivePage(CPropertyPage *page) { return SetActivePage(GetPageIndex(page)); }

    // The tabs: the source of the pages' captions and images and of the current page, also
    // while a subclass hides them.
    QTabBar *GetTabControl() const { return m_tabs; }
    // The tab image index of each page: its position among the pages that have an image, or -1.
    QList<QIcon> tabImages() const;
    int tabImageIndex(int index) const;
    // Whether the sheet has been set up for showing (its first show); some settings are fixed
    // from then on.
    bool IsInitialised() const { return m_initialised; }

    // Runs on OK after the pages have applied and before the sheet closes, so that the owner
    // stores what the pages wrote while the user can still act on a failure: false keeps the
    // sheet open.
    void SetCommitHandler(std::function<bool()> commit) { m_commit = std::move(commit); }

    // OK: the current page is left, every page that was shown applies and the commit handler
    // runs; then the sheet closes with Ok. Cancel (Escape, the close box) tells those pages and
    // closes with Cancel.
    void accept() override;
    void reject() override;
    void setVisible(bool visible) override;

protected:
    // Runs once, on the first show, before the sheet becomes visible.
    virtual void OnInitDialog();
    // Where the pages live and where inside it they go.
    virtual QWidget *pageParent() const;
    virtual QRect pageRect() const;
    // Keys seen before the focused control sees them; true when handled.
    virtual bool preTranslateKey(QWidget *target, QKeyEvent *key);
    // Makes room for the largest page.
    virtual void updatePageArea();

    // Leaves the current page and applies every shown page; false keeps the sheet as it is.
    bool applyPages();
    // The page after (delta 1) or before (-1) the active one, wrapping around.
    void stepPage(int delta);
    // Moves the pages into pageParent() and fits them to pageRect().
    void placePages();
    // The size of the largest page.
    QSize largestPage() const;
    // The row beside which a subclass puts its page chooser, and the column of tabs and pane.
    QBoxLayout *contentRow() const { return m_content; }
    QBoxLayout *pageColumn() const { return m_column; }
    QFrame *pagePane() const { return m_pane; }
    // Gives every page back to its owner, parentless.
    void releasePages();

    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    // Activation without the subclass's follow-up, for the sheet's own bookkeeping.
    bool activatePage(int index);
    bool showPage(int index);
    void onTabChanged(int index);
    void updateApplyButton();

    QList<QPointer<CPropertyPage>> m_pages;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
    QPushButton *m_apply = nullptr;
    QTabBar *m_tabs = nullptr;
    QFrame *m_pane = nullptr;
    QBoxLayout *m_content = nullptr;
    QBoxLayout *m_column = nullptr;
    QPointer<QWidget> m_filteredParent;
    std::function<bool()> m_commit;
    int m_startPage = 0;
    int m_current = -1;
    bool m_initialised = false;
};
