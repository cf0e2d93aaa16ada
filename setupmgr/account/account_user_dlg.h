// The dialog in which the operator creates a user or changes one. On OK it applies the id rules
// and writes the user into the working copy itself: a new user through addUser, a changed one
// in place.
#pragma once

#include "common/string_table.h"

#include <ostrel/data_provider.h>

#include <QDialog>

class CFilterEdit;
class QLabel;
class QLineEdit;
class QPushButton;

class CAccountUserDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CAccountUserDlg(QWidget *parent = nullptr);

    // The working copy to edit and the user to change, or null for a new user. Call before the
    // dialog is shown.
    void SetProvider(IAccountProvider *accounts, UserRecord *user);

    // Stores the user when the rules pass, else shows why in the message line and stays open.
    void accept() override;
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void initDialog();
    void showMessage(const QString &text, QWidget *focus);

    IAccountProvider *m_accounts = nullptr;
    UserRecord *m_user = nullptr;
    bool m_initialised = false;
    CStringTable m_strings {QStringLiteral("dlg_account_user.xml")};

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
    QLabel *m_message;
    QPushButton *m_ok;
    QPushButton *m_cancel;
};
