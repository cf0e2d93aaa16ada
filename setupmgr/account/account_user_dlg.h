// The dialog in which the operator creates a user or changes one. On OK it applies the id rules
// and writes the user into the working copy itself: a new user through addUser, a changed one
// in place.
#pragma once

#include "account_edit_dlg.h"

class CFilterEdit;
class QLabel;
class QLineEdit;

class CAccountUserDlg : public setupmgr::AccountEditDialog
{
    Q_OBJECT

public:
    explicit CAccountUserDlg(QWidget *parent = nullptr);

    // The working copy to edit and the user to change, or null for a new user. Call before the
    // dialog is shown.
    void SetProvider(IAccountProvider *accounts, UserRecord *user);

private:
    void initDialog() override;
    bool store() override;

    UserRecord *m_user = nullptr;

    QLabel *m_idLabel;
    CFilterEdit *m_idEdit;
    QLabel *m_nameLabel;
    QLineEdit *m_nameEdit;
    QLabel *m_descLabel;
    QLineEdit *m_descEdit;
    QLabel *m_passLabel;
    QLineEdit *m_passEdit;
    QLabel *m_confirmLabel;
    QLineEdit *m_confirmEdit;
};
