#include "account_group_dlg.h"

#include "account_images.h"
#include "account_rules.h"
#include "choose_member_dlg.h"
#include "common/text_field.h"
#include "common/working_copy.h"
#include "controls/dialog_style.h"
#include "controls/filter_edit.h"
#include "controls/widgets.h"
#include "member_list.h"

#include <ostrel/setup_manager.h>

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstring>

using namespace setupmgr;

namespace {

enum ControlId {
    kIdLabel = 21172,
    kIdEdit = 21033,
    kDescLabel = 21173,
    kDescEdit = 21034,
    kMemberLabel = 21174,
    kMemberList = 21035,
    kMemberButton = 21036,
    kMessageLine = 21198,
    kOkButton = 1,
    kCancelButton = 2,
};

} // namespace

CAccountGroupDlg::CAccountGroupDlg(QWidget *parent)
    : QDialog(parent)
    , m_images(loadImageList(QLatin1String(kAccountImages)))
{
    setWindowTitle(QStringLiteral("New Group"));
    m_idEdit = new CFilterEdit(0, QString::fromLatin1(kInitialForbiddenChars), this);
    markControl(m_idEdit, kIdEdit, "idEdit");
    m_idEdit->setMaxLength(kIdLength);
    m_descEdit = new QLineEdit(this);
    markControl(m_descEdit, kDescEdit, "descriptionEdit");
    m_descEdit->setMaxLength(kDescriptionLength);
    m_memberList = new QListWidget(this);
    markControl(m_memberList, kMemberList, "memberList");
    setUpMemberList(m_memberList);
    m_memberButton = makeButton(this, "&Member...", kMemberButton, "memberButton");
    m_idLabel = makeLabel(this, "Group &Id:", kIdLabel, "idLabel", m_idEdit);
    m_descLabel = makeLabel(this, "&Description:", kDescLabel, "descriptionLabel", m_descEdit);
    m_memberLabel = makeLabel(this, "&Member:", kMemberLabel, "memberLabel", m_memberList);
    m_message = new QLabel(this);
    markControl(m_message, kMessageLine, "messageLine");
    makeMessageLine(m_message);
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    markControl(m_ok, kOkButton, "okButton");
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    markControl(m_cancel, kCancelButton, "cancelButton");

    auto *fields = new QGridLayout;
    fields->addWidget(m_idLabel, 0, 0);
    fields->addWidget(m_idEdit, 0, 1);
    fields->addWidget(m_descLabel, 1, 0);
    fields->addWidget(m_descEdit, 1, 1);
    fields->addWidget(m_memberLabel, 2, 0, Qt::AlignTop);
    fields->addWidget(m_memberList, 2, 1);
    auto *memberRow = new QHBoxLayout;
    memberRow->addStretch();
    memberRow->addWidget(m_memberButton);
    fields->addLayout(memberRow, 3, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(m_message);
    layout->addLayout(makeButtonRow(m_ok, m_cancel));
    setUpDialog(this, 200, 204);

    connect(m_memberButton, &QPushButton::clicked, this, &CAccountGroupDlg::onMemberButton);
    connect(m_ok, &QPushButton::clicked, this, &CAccountGroupDlg::accept);
    connect(m_cancel, &QPushButton::clicked, this, &CAccountGroupDlg::reject);
}

CAccountGroupDlg::~CAccountGroupDlg()
{
    seqFreeBlocks(m_members);
}

void CAccountGroupDlg::SetProvider(IAccountProvider *accounts, GroupRecord *group)
{
    m_accounts = accounts;
    m_group = group;
}

void CAccountGroupDlg::showEvent(QShowEvent *event)
{
    if (firstShow(m_initialised))
        initDialog();
    QDialog::showEvent(event);
}

void CAccountGroupDlg::initDialog()
{
    m_idEdit->SetForbiddenChars(QString::fromLatin1(kForbiddenIdChars));
    if (m_group) {
        m_idEdit->setText(fieldString(m_group->id));
        m_descEdit->setText(fieldString(m_group->description));
        seqFreeBlocks(m_members);
        seqCopyBlocks(m_members, m_group->members);
        setWindowTitle(m_strings.getString("title_modify", "label"));
    } else {
        setWindowTitle(m_strings.getString("title_new", "label"));
    }
    showMembers();
    m_idLabel->setText(m_strings.getString("id", "label"));
    m_descLabel->setText(m_strings.getString("desc", "label"));
    m_memberLabel->setText(m_strings.getString("member", "label"));
    m_memberButton->setText(m_strings.getString("member", "label"));
    m_ok->setText(m_strings.getString("ok", "label"));
    m_cancel->setText(m_strings.getString("cancel", "label"));
}

void CAccountGroupDlg::showMembers()
{
    fillMemberList(m_memberList, m_members, m_images.value(kImageUser),
                   m_images.value(kImageGroup));
}

void CAccountGroupDlg::onMemberButton()
{
    // A group being changed is left out of a throw-away copy, so that it cannot be chosen as
    // its own member.
    IAccountProvider *candidates = m_accounts;
    WorkingCopy<IAccountProvider> throwAway;
    if (m_group && m_accounts) {
        const QByteArray id(m_group->id);
        throwAway.reset(m_accounts);
        candidates = throwAway.get();
        if (candidates)
            candidates->deleteGroup(id.constData());
    }
    CChooseMemberDlg chooser(this);
    chooser.SetSources(candidates, &m_members);
    if (chooser.exec() == kDialogOk)
        showMembers();
}

void CAccountGroupDlg::showMessage(const QString &text)
{
    m_message->setText(text);
    m_idEdit->setFocus();
}

void CAccountGroupDlg::accept()
{
    const QString id = trimId(m_idEdit->text());
    const QString description = m_descEdit->text();
    switch (checkGroup(m_accounts, id, m_group)) {
    case IdError::None:
        break;
    case IdError::RequiredGroupId:
    case IdError::RequiredUserId:
        showMessage(m_strings.getString("required_group_id", "message"));
        return;
    case IdError::ExistGroupId:
        showMessage(m_strings.getString("exist_group_id", "message"));
        return;
    case IdError::ExistUserId:
    case IdError::PasswordConfirm:
        showMessage(m_strings.getString("exist_user_id", "message"));
        return;
    }
    m_message->clear();
    if (!m_group) {
        if (m_accounts) {
            GroupRecord group;
            std::memset(static_cast<void *>(&group), 0, sizeof group);
            group.number = -1;
            copyField(group.id, id.toUtf8().constData());
            copyField(group.description, description.toUtf8().constData());
            // The provider copies the member blocks; the dialog keeps and frees its own.
            group.members = m_members;
            m_accounts->addGroup(&group);
        }
    } else if (GroupRecord *stored = findGroupNoCase(m_accounts, m_group->id)) {
        copyField(stored->id, id.toUtf8().constData());
        copyField(stored->description, description.toUtf8().constData());
        takeOverMembers(stored->members, m_members);
    }
    done(kDialogOk);
}

void CAccountGroupDlg::reject()
{
    done(kDialogCancel);
}
