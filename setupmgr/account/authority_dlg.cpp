#include "authority_dlg.h"

#include "account_images.h"
#include "account_rules.h"
#include "authority_tree_ctrl.h"
#include "choose_member_dlg.h"
#include "common/language.h"
#include "common/text_field.h"
#include "controls/control_factory.h"
#include "controls/dialog_style.h"
#include "controls/image_list.h"
#include "member_list.h"

#include <ostrel/setup_manager.h>

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

using namespace setupmgr;

namespace {

enum ControlId {
    kTree = 21025,
    kInfoBox = 21177,
    kDescLabel = 21027,
    kDescEdit = 21026,
    kMemberList = 21028,
    kMemberButton = 21029,
};

} // namespace

CAuthorityDlg::CAuthorityDlg(QWidget *parent)
    : ManagerDialog(parent)
{
    setWindowTitle(QStringLiteral("Authority Manager"));
    m_tree = new CAuthorityTreeCtrl(this);
    markControl(m_tree, kTree, "authorityTree");
    m_info = new QGroupBox(QStringLiteral("Information"), this);
    markControl(m_info, kInfoBox, "infoBox");
    m_descEdit = new QLineEdit(m_info);
    markControl(m_descEdit, kDescEdit, "descriptionEdit");
    m_descLabel = makeLabel(m_info, "&Description:", kDescLabel, "descriptionLabel", m_descEdit);
    m_memberList = new QListWidget(m_info);
    markControl(m_memberList, kMemberList, "memberList");
    setUpMemberList(m_memberList);
    m_memberList->hide();
    m_member = makeButton(m_info, "&Member...", kMemberButton, "memberButton");

    auto *fields = new QGridLayout(m_info);
    fields->addWidget(m_descLabel, 0, 0);
    fields->addWidget(m_descEdit, 0, 1);
    fields->addWidget(m_memberList, 1, 0, 1, 2);
    auto *memberRow = new QHBoxLayout;
    memberRow->addStretch();
    memberRow->addWidget(m_member);
    fields->addLayout(memberRow, 2, 0, 1, 2);
    fields->setRowStretch(1, 1);
    auto *details = new QVBoxLayout;
    details->addWidget(m_info);
    layOut(m_tree, details, "closeButton", 393, 225);

    connect(m_tree, &CNodeTreeCtrl::accountSelect, this, &CAuthorityDlg::OnAccountSelect,
            Qt::DirectConnection);
    connect(m_member, &QPushButton::clicked, this, &CAuthorityDlg::OnMember);
}

CAuthorityDlg::~CAuthorityDlg()
{
    // The tree and the member list read the working copy; they go before the copy does.
    destroyWidgets();
}

void CAuthorityDlg::SetProvider(IAuthorityProvider *provider)
{
    // The members shown belong to the copy that goes.
    m_selectedMembers = nullptr;
    m_provider = provider;
    m_workingCopy.reset(provider);
}

void CAuthorityDlg::SetAccountProvider(IAccountProvider *accounts)
{
    m_accounts.reset(accounts);
}

void CAuthorityDlg::initDialog()
{
    m_images = loadImageList(QLatin1String(kAuthorityImages));
    m_tree->SetImageList(m_images);
    m_tree->Fill(m_workingCopy.get());
    emphasiseRoot(m_tree->rootItem());
    m_info->setTitle(Common::getString("info", "common"));
    m_descLabel->setText(Common::getString("desc", "common"));
    m_member->setText(Common::getString("member", "common"));
    okButton()->setText(Common::getString("ok", "common"));
    closeButton()->setText(Common::getString("cancel", "common"));
    nameFromLanguage(m_tree, "authorityTree", "Authority");
    nameFromLanguage(m_memberList, "memberList", "Members");
    m_tree->setFocus();
    m_tree->setCurrentItem(m_tree->rootItem());
}

void CAuthorityDlg::OnAccountSelect(int kind, const TreeNode *node)
{
    const bool item = kind == CAuthorityTreeCtrl::kItem;
    m_descLabel->setVisible(item);
    m_descEdit->setVisible(item);
    m_memberList->setVisible(item);
    m_member->setVisible(item);
    AuthorityItem *authority = item && node ? m_tree->recordAs<AuthorityItem>(*node) : nullptr;
    if (!authority)
        return;
    m_descEdit->setText(fieldString(authority->description));
    m_descEdit->setCursorPosition(0); // show where the description begins
    m_selectedMembers = &authority->members;
    showMembers();
}

void CAuthorityDlg::showMembers()
{
    if (m_selectedMembers)
        fillMemberList(m_memberList, *m_selectedMembers, m_images.value(kAuthImageUser),
                       m_images.value(kAuthImageGroup));
}

void CAuthorityDlg::OnMember()
{
    if (!m_selectedMembers)
        return;
    CChooseMemberDlg chooser(this);
    chooser.SetSources(m_accounts.get(), m_selectedMembers);
    if (chooser.exec() != kDialogOk)
        return;
    // Confirming the chooser counts as a change even when the list stayed the same.
    setModified();
    showMembers();
}

void CAuthorityDlg::accept()
{
    if (commitChanges(m_workingCopy.get(), m_provider, kAuthorityPathKey))
        done(kDialogOk);
}
