#include "account_group_dlg.h"

#include "account_images.h"
#include "choose_member_dlg.h"
#include "common/text_field.h"
#include "controls/control_factory.h"
#include "controls/filter_edit.h"
#include "controls/image_list.h"
#include "controls/messages.h"
#include "controls/utf8_limit_validator.h"
#include "member_list.h"

#include <ostrel/setup_manager.h>

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

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
};

} // namespace

CAccountGroupDlg::CAccountGroupDlg(QWidget *parent)
    : AccountEditDialog(QStringLiteral("dlg_account_group.xml"), kMessageLine, 200, 204, parent)
    , m_images(loadImageList(QLatin1String(kAccountImages)))
{
    setWindowTitle(QStringLiteral("New Group"));
    m_idEdit = makeIdEdit(kIdEdit, sizeof(GroupRecord::id));
    m_descEdit = makeFieldEdit(kDescEdit, "descriptionEdit", sizeof(GroupRecord::description));
    m_memberList = new QListWidget(this);
    markControl(m_memberList, kMemberList, "memberList");
    setUpMemberList(m_memberList);
    m_memberButton = makeButton(this, "&Member...", kMemberButton, "memberButton");
    m_idLabel = makeLabel(this, "Group &Id:", kIdLabel, "idLabel", m_idEdit);
    m_descLabel = makeLabel(this, "&Description:", kDescLabel, "descriptionLabel", m_descEdit);
    m_memberLabel = makeLabel(this, "&Member:", kMemberLabel, "memberLabel", m_memberList);

    fields()->addWidget(m_idLabel, 0, 0);
    fields()->addWidget(m_idEdit, 0, 1);
    fields()->addWidget(m_descLabel, 1, 0);
    fields()->addWidget(m_descEdit, 1, 1);
    fields()->addWidget(m_memberLabel, 2, 0, Qt::AlignTop);
    fields()->addWidget(m_memberList, 2, 1);
    auto *memberRow = new QHBoxLayout;
    memberRow->addStretch();
    memberRow->addWidget(m_memberButton);
    fields()->addLayout(memberRow, 3, 1);

    connect(m_memberButton, &QPushButton::clicked, this, &CAccountGroupDlg::onMemberButton);
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

void CAccountGroupDlg::initDialog()
{
    if (m_group) {
        m_loaded.load(m_idEdit, m_group->id);
        m_loaded.load(m_descEdit, m_group->description);
        seqFreeBlocks(m_members);
        seqCopyBlocks(m_members, m_group->members);
    }
    showMembers();
    setCommonTexts(m_group != nullptr);
    m_idLabel->setText(m_strings.getString("id", "label"));
    m_descLabel->setText(m_strings.getString("desc", "label"));
    m_memberLabel->setText(m_strings.getString("member", "label"));
    m_memberButton->setText(m_strings.getString("member", "label"));
    nameAfterLabel(m_memberList, m_memberLabel);
}

void CAccountGroupDlg::showMembers()
{
    fillMemberList(m_memberList, m_members, m_images.value(kImageUser),
                   m_images.value(kImageGroup));
}

void CAccountGroupDlg::onMemberButton()
{
    CChooseMemberDlg chooser(this);
    const QByteArray ownId = m_group ? fieldBytes(m_group->id) : QByteArray();
    chooser.SetSources(m_accounts, &m_members, m_group ? ownId.constData() : nullptr);
    if (chooser.exec() == kDialogOk) {
        m_membersChanged = true;
        showMembers();
    }
}

bool CAccountGroupDlg::store()
{
    // An id the user left alone is the record's own, neither trimmed nor checked again.
    const bool idChanged = !m_group || m_loaded.changed(m_idEdit);
    const QString id = trimId(m_idEdit->text());
    const IdError error = idChanged ? checkGroup(m_accounts, id, m_group) : IdError::None;
    if (error != IdError::None) {
        refuse(error, m_idEdit);
        return false;
    }
    if (!m_group) {
        if (m_accounts) {
            GroupRecord group;
            std::memset(static_cast<void *>(&group), 0, sizeof group);
            group.number = -1;
            setField(group.id, id);
            setField(group.description, m_descEdit->text());
            // The provider copies the member blocks; the dialog keeps and frees its own.
            group.members = m_members;
            if (!m_accounts->addGroup(&group)) {
                showRecordNotStored(this);
                return false;
            }
        }
        return true;
    }
    // The record the manager handed over, changed in place where the user changed it.
    if (idChanged)
        setField(m_group->id, id);
    if (m_loaded.changed(m_descEdit))
        setField(m_group->description, m_descEdit->text());
    if (m_membersChanged)
        takeOverMembers(m_group->members, m_members);
    return true;
}
