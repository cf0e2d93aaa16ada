// One page of a property sheet. Qt has no property sheet of its own; this is the page side of
// the one the module's sheets are built on (CPropertySheet).
#pragma once

#include <QIcon>
#include <QString>
#include <QWidget>

class CPropertySheet;

class CPropertyPage : public QWidget
{
    Q_OBJECT

public:
    explicit CPropertyPage(const QString &caption = QString(), QWidget *parent = nullptr);
    ~CPropertyPage() override;

    // The caption names the page's tab, or its row in a page tree. Read when the page is added.
    QString GetCaption() const { return m_caption; }
    void SetCaption(const QString &caption);
    // The page's own image beside its caption; none by default.
    QIcon GetIcon() const { return m_icon; }
    void SetIcon(const QIcon &icon) { m_icon = icon; }
    // Whether the page offers help. The module has no help, so its sheets show no Help button;
    // the flag is kept for the page's owner.
    bool HasHelp() const { return m_hasHelp; }
    void SetHasHelp(bool hasHelp) { m_hasHelp = hasHelp; }

    // Marks the page changed (the sheet's Apply button follows) or unchanged.
    void SetModified(bool changed = true);
    bool IsModified() const { return m_modified; }

    // Once, before the page is shown the first time; the base fills the controls.
    virtual bool OnInitDialog();
    // The page becomes the visible one; false refuses. The base refills the controls on every
    // activation after the first, since another page may have changed the data.
    virtual bool OnSetActive();
    // The page is about to be left; false keeps it. The base takes the controls' values.
    virtual bool OnKillActive();
    // The sheet applies its pages (OK or Apply); false keeps the sheet open on this page.
    virtual bool OnApply();
    // The sheet is cancelled. The base does nothing.
    virtual void OnCancel();

    // Moves values between the page's data and its controls: saving takes them from the
    // controls. false when a value is not acceptable.
    bool UpdateData(bool saving = true);
    // Whether OnInitDialog has run: only such pages are applied or cancelled.
    bool IsInitialised() const { return m_initialised; }

signals:
    void modifiedChanged(bool modified);

protected:
    // The data-exchange hook of the page; the base exchanges nothing.
    virtual bool DoDataExchange(bool saving);

private:
    friend class CPropertySheet;
    bool initialise();

    QString m_caption;
    QIcon m_icon;
    bool m_hasHelp = true;
    bool m_modified = false;
    bool m_initialised = false;
    bool m_firstSetActive = true;
};
