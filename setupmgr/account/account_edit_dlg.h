// What the user and group dialogs share: the working copy they edit, their string table, the
// message line that shows refused input, the OK and Cancel buttons, and the order of events
// (filled when first shown, checked and stored on OK, nothing stored on Cancel).
#pragma once

#include "account_rules.h"
#include "common/string_table.h"
#include "controls/field_edits.h"

#include <ostrel/data_provider.h>

#include <QDialog>

class CFilterEdit;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace setupmgr {

class AccountEditDialog : public QDialog
{
    Q_OBJECT

public:
    // Checks and stores the account; on a refusal shows why and stays open.
    void accept() final;
    void reject() final;

protected:
    // stringFile: the dialog's language file; its message line's control id; the template's
    // size in dialog units.
    AccountEditDialog(const QString &stringFile, int messageLineId, int widthUnits, int heightUnits,
                      QWidget *parent);

    void showEvent(QShowEvent *event) override;
    // Fills the fields from the record (when one is edited) and sets the captions.
    virtual void initDialog() = 0;
    // Applies the rules and writes the account into the working copy; false after a refusal.
    virtual bool store() = 0;

    // The layout the fields go into, above the message line and the buttons.
    QGridLayout *fields() const { return m_fields; }
    // An edit for a record field of fieldSize bytes: its input is limited to what the field holds.
    QLineEdit *makeFieldEdit(int controlId, const char *objectName, int fieldSize);
    // The id edit: it refuses the id's forbidden characters from the first show on.
    CFilterEdit *makeIdEdit(int controlId, int fieldSize);
    // Shows the refusal's message (category "message") and moves the focus to the field at fault.
    void refuse(IdError error, QWidget *field);
    // The captions every account dialog has: the title, OK and Cancel.
    void setCommonTexts(bool modifying);

    IAccountProvider *m_accounts = nullptr;
    CStringTable m_strings;
    // What the edits showed of the edited record: fields the user leaves alone keep their bytes.
    FieldEdits m_loaded;

private:
    // Tab goes through the fields, then OK and Cancel; the first field that takes input has the
    // focus.
    void orderFocus();

    bool m_initialised = false;
    CFilterEdit *m_idEdit = nullptr;
    QGridLayout *m_fields;
    QLabel *m_message;
    QPushButton *m_ok;
    QPushButton *m_cancel;
};

} // namespace setupmgr
