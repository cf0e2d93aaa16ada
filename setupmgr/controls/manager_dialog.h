// What the managers share (accounts, authority, recorders): the banner along the left edge, a
// tree beside the details, OK (enabled by the first change) and Close, the modified flag, the
// first-show initialisation, and the commit of a working copy that keeps the dialog open when
// the store fails.
#pragma once

#include <ostrel/data_provider.h>

#include <QDialog>

class QLabel;
class QLayout;
class QPushButton;

namespace setupmgr {

class ManagerDialog : public QDialog
{
    Q_OBJECT

public:
    void reject() override;
    bool isModified() const { return m_modified; }

protected:
    explicit ManagerDialog(QWidget *parent);

    // The dialog's layout: the banner, then the tree and the details side by side over OK and
    // Close; closeName is the Close button's object name; the template's size in dialog units.
    void layOut(QWidget *tree, QLayout *details, const char *closeName, int widthUnits,
                int heightUnits);
    void showEvent(QShowEvent *event) override;
    // Fills the dialog when it is first shown, once the caller has handed it its data.
    virtual void initDialog() = 0;

    // Every accepted change: sets the flag and enables OK.
    void setModified();
    // When something changed: saves the working copy to the file of the Path.ini key and, when
    // reloaded is given, has that provider clear itself and load the file. A failure is told to
    // the user. False when the file was not written: the dialog must stay open. A failed reload
    // still stored the work, so the dialog may close.
    bool commitChanges(IDataProvider *workingCopy, IDataProvider *reloaded, const char *pathKey);

    // Destroys the dialog's widgets now. A dialog whose widgets read its working copy calls it
    // first in its destructor, so that the copy, a member, outlives them.
    void destroyWidgets();

    QPushButton *okButton() const { return m_ok; }
    QPushButton *closeButton() const { return m_close; }

private:
    QLabel *m_banner;
    QPushButton *m_ok;
    QPushButton *m_close;
    bool m_modified = false;
    bool m_initialised = false;
};

} // namespace setupmgr
