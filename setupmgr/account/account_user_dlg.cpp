#include "account_user_dlg.h"

#include "account_images.h"
#include "account_rules.h"
#include "common/text_field.h"
#include "controls/dialog_style.h"
#include "controls/filter_edit.h"
#include "controls/widgets.h"
#include "member_list.h"

#include <ostrel/setup_manager.h>

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstring>

using namespace setupmgr;

namespace {

enum ControlId {
    kIdLabel = 21167,
    kIdEdit = 21017,
    kNameLabel = 21168,
    kNameEdit = 21020,
    kDescLabel = 21169,
    kDescEdit = 21021,
    kPassLabel = 21170,
    kPassEdit = 21022,
    kConfirmLabel = 21171,
    kConfirmEdit = 21023,
    kMessageLine = 21197,
    kOkButton = 1,
    kCancelButton = 2,
};

QLineEdit *makeEdit(QWidget *parent, int id, const char *name, int maxLength)
{
    auto *edit = new QLineEdit(parent);
    markControl(edit, id, name);
    edit->setMaxLength(maxLength);
    return edit;
}

} // namespace

CAccountUserDlg::CAccountUserDlg(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("New Account"));
    m_idEdit = new CFilterEdit(0, QString::fromLatin1(kInitialForbiddenChars), this);
    markControl(m_idEdit, kIdEdit, "idEdit");
    m_idEdit->setMaxLength(kIdLength);
    m_nameEdit = makeEdit(this, kNameEdit, "nameEdit", kNameLength);
    m_descEdit = makeEdit(this, kDescEdit, "descriptionEdit", kDescriptionLength);
    m_passEdit = makeEdit(this, kPassEdit, "passwordEdit", kPasswordLength);
    m_passEdit->setEchoMode(QLineEdit::Password);
    m_confirmEdit = makeEdit(this, kConfirmEdit, "confirmEdit", kPasswordLength);
    m_confirmEdit->setEchoMode(QLineEdit::Password);
    m_idLabel = makeLabel(this, "User &Id:", kIdLabel, "idLabel", m_idEdit);
    m_nameLabel = makeLabel(this, "User &Name:", kNameLabel, "nameLabel", m_nameEdit);
    m_descLabel = makeLabel(this, "&Description:", kDescLabel, "descriptionLabel", m_descEdit);
    m_passLabel = makeLabel(this, "&Password:", kPassLabel, "passwordLabel", m_passEdit);
    m_confirmLabel = makeLabel(this, "&Confirm:", kConfirmLabel, "confirmLabel", m_confirmEdit);
    m_message = new QLabel(this);
    markControl(m_message, kMessageLine, "messageLine");
    makeMessageLine(m_message);
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    markControl(m_ok, kOkButton, "okButton");
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    markControl(m_cancel, kCancelButton, "cancelButton");

    auto *fields = new QGridLayout;
    const std::pair<QLabel *, QLineEdit *> rows[] = {{m_idLabel, m_idEdit},
                                                     {m_nameLabel, m_nameEdit},
                                                     {m_descLabel, m_descEdit},
                                                     {m_passLabel, m_passEdit},
                                                     {m_confirmLabel, m_confirmEdit}};
    int row = 0;
    for (const auto &[label, edit] : rows) {
        fields->addWidget(label, row, 0);
        fields->addWidget(edit, row++, 1);
    }
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(m_message);
    layout->addStretch();
    layout->addLayout(makeButtonRow(m_ok, m_cancel));
    setUpDialog(this, 220, 153);

    connect(m_ok, &QPushButton::clicked, this, &CAccountUserDlg::accept);
    connect(m_cancel, &QPushButton::clicked, this, &CAccountUserDlg::reject);
}

void CAccountUserDlg::SetProvider(IAccountProvider *accounts, UserRecord *user)
{
    m_accounts = accounts;
    m_user = user;
}

void CAccountUserDlg::showEvent(QShowEvent *event)
{
    if (firstShow(m_initialised))
        initDialog();
    QDialog::showEvent(event);
}

void CAccountUserDlg::initDialog()
{
    m_idEdit->SetForbiddenChars(QString::fromLatin1(kForbiddenIdChars));
    if (m_user) {
        m_idEdit->setText(fieldString(m_user->id));
        m_nameEdit->setText(fieldString(m_user->name));
        m_descEdit->setText(fieldString(m_user->description));
        m_passEdit->setText(fieldString(m_user->password));
        m_confirmEdit->setText(fieldString(m_user->password));
        setWindowTitle(m_strings.getString("title_modify", "label"));
        // The administrator's login name is fixed; the rest of it may change.
        if (isAdminId(fieldString(m_user->id)))
            m_idEdit->setEnabled(false);
    } else {
        setWindowTitle(m_strings.getString("title_new", "label"));
    }
    m_idLabel->setText(m_strings.getString("id", "label"));
    m_nameLabel->setText(m_strings.getString("name", "label"));
    m_descLabel->setText(m_strings.getString("desc", "label"));
    m_passLabel->setText(m_strings.getString("pass", "label"));
    m_confirmLabel->setText(m_strings.getString("confirm", "label"));
    m_ok->setText(m_strings.getString("ok", "label"));
    m_cancel->setText(m_strings.getString("cancel", "label"));
}

void CAccountUserDlg::showMessage(const QString &text, QWidget *focus)
{
    m_message->setText(text);
    focus->setFocus();
}

void CAccountUserDlg::accept()
{
    const QString id = trimId(m_idEdit->text());
    const QString name = m_nameEdit->text();
    const QString description = m_descEdit->text();
    const QString password = m_passEdit->text();
    switch (checkUser(m_accounts, id, m_user, password, m_confirmEdit->text())) {
    case IdError::None:
        break;
    case IdError::RequiredUserId:
    case IdError::RequiredGroupId:
        showMessage(m_strings.getString("required_user_id", "message"), m_idEdit);
        return;
    case IdError::ExistUserId:
        showMessage(m_strings.getString("exist_user_id", "message"), m_idEdit);
        return;
    case IdError::ExistGroupId:
        showMessage(m_strings.getString("exist_group_id", "message"), m_idEdit);
        return;
    case IdError::PasswordConfirm:
        showMessage(m_strings.getString("error_password_confirm", "message"), m_passEdit);
        return;
    }
    m_message->clear();
    if (m_user) {
        if (UserRecord *stored = findUserNoCase(m_accounts, m_user->id))
            setUserFields(*stored, id, name, description, password);
    } else if (m_accounts) {
        UserRecord user;
        std::memset(&user, 0, sizeof user);
        user.number = -1;
        setUserFields(user, id, name, description, password);
        m_accounts->addUser(&user);
    }
    done(kDialogOk);
}

void CAccountUserDlg::reject()
{
    done(kDialogCancel);
}
