#include "account_user_dlg.h"

#include "common/text_field.h"
#include "controls/control_factory.h"
#include "controls/filter_edit.h"
#include "controls/messages.h"
#include "controls/utf8_limit_validator.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

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
};

} // namespace

CAccountUserDlg::CAccountUserDlg(QWidget *parent)
    : AccountEditDialog(QStringLiteral("dlg_account_user.xml"), kMessageLine, 220, 153, parent)
{
    setWindowTitle(QStringLiteral("New Account"));
    m_idEdit = makeIdEdit(kIdEdit, sizeof(UserRecord::id));
    m_nameEdit = makeFieldEdit(kNameEdit, "nameEdit", sizeof(UserRecord::name));
    m_descEdit = makeFieldEdit(kDescEdit, "descriptionEdit", sizeof(UserRecord::description));
    m_passEdit = makeFieldEdit(kPassEdit, "passwordEdit", sizeof(UserRecord::password));
    m_passEdit->setEchoMode(QLineEdit::Password);
    m_confirmEdit = makeFieldEdit(kConfirmEdit, "confirmEdit", sizeof(UserRecord::password));
    m_confirmEdit->setEchoMode(QLineEdit::Password);
    m_idLabel = makeLabel(this, "User &Id:", kIdLabel, "idLabel", m_idEdit);
    m_nameLabel = makeLabel(this, "User &Name:", kNameLabel, "nameLabel", m_nameEdit);
    m_descLabel = makeLabel(this, "&Description:", kDescLabel, "descriptionLabel", m_descEdit);
    m_passLabel = makeLabel(this, "&Password:", kPassLabel, "passwordLabel", m_passEdit);
    m_confirmLabel = makeLabel(this, "&Confirm:", kConfirmLabel, "confirmLabel", m_confirmEdit);

    const std::pair<QLabel *, QLineEdit *> rows[] = {{m_idLabel, m_idEdit},
                                                     {m_nameLabel, m_nameEdit},
                                                     {m_descLabel, m_descEdit},
                                                     {m_passLabel, m_passEdit},
                                                     {m_confirmLabel, m_confirmEdit}};
    int row = 0;
    for (const auto &[label, edit] : rows) {
        fields()->addWidget(label, row, 0);
        fields()->addWidget(edit, row++, 1);
    }
}

void CAccountUserDlg::SetProvider(IAccountProvider *accounts, UserRecord *user)
{
    m_accounts = accounts;
    m_user = user;
}

void CAccountUserDlg::initDialog()
{
    if (m_user) {
        m_loaded.load(m_idEdit, m_user->id);
        m_loaded.load(m_nameEdit, m_user->name);
        m_loaded.load(m_descEdit, m_user->description);
        m_loaded.load(m_passEdit, m_user->password);
        m_loaded.load(m_confirmEdit, m_user->password);
        // The administrator's login name is fixed; the rest of it may change.
        if (isAdminId(fieldString(m_user->id)))
            m_idEdit->setEnabled(false);
    }
    setCommonTexts(m_user != nullptr);
    m_idLabel->setText(m_strings.getString("id", "label"));
    m_nameLabel->setText(m_strings.getString("name", "label"));
    m_descLabel->setText(m_strings.getString("desc", "label"));
    m_passLabel->setText(m_strings.getString("pass", "label"));
    m_confirmLabel->setText(m_strings.getString("confirm", "label"));
}

bool CAccountUserDlg::store()
{
    // An id the user left alone is the record's own: it is neither trimmed nor checked again, so
    // an account whose id an older installation stored differently still opens and closes as is.
    const bool idChanged = !m_user || m_loaded.changed(m_idEdit);
    const QString id = trimId(m_idEdit->text());
    const QString password = m_passEdit->text();
    const QString confirmation = m_confirmEdit->text();
    IdError error = IdError::None;
    if (idChanged)
        error = checkUser(m_accounts, id, m_user, password, confirmation);
    else if (password != confirmation)
        error = IdError::PasswordConfirm;
    if (error != IdError::None) {
        refuse(error, error == IdError::PasswordConfirm ? m_passEdit : m_idEdit);
        return false;
    }
    if (m_user) {
        // The record the manager handed over, changed in place where the user changed it.
        if (idChanged)
            setField(m_user->id, id);
        if (m_loaded.changed(m_nameEdit))
            setField(m_user->name, m_nameEdit->text());
        if (m_loaded.changed(m_descEdit))
            setField(m_user->description, m_descEdit->text());
        if (m_loaded.changed(m_passEdit))
            setField(m_user->password, password);
    } else if (m_accounts) {
        UserRecord user;
        std::memset(&user, 0, sizeof user);
        user.number = -1;
        setUserFields(user, id, m_nameEdit->text(), m_descEdit->text(), password);
        if (!m_accounts->addUser(&user)) {
            showRecordNotStored(this);
            return false;
        }
    }
    return true;
}
