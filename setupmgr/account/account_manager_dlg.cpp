#include "account_manager_dlg.h"

#include "account_group_dlg.h"
#include "account_images.h"
#include "account_rules.h"
#include "account_tree_ctrl.h"
#include "account_user_dlg.h"
#include "common/language.h"
#include "common/text_field.h"
#include "controls/control_factory.h"
#include "controls/dialog_style.h"
#include "controls/image_list.h"
#include "controls/messages.h"
#include "controls/tree_filter.h"
#include "member_list.h"

#include <ostrel/setup_manager.h>

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

using namespace setupmgr;

namespace {

enum ControlId {
    kTree = 21014,
    kInfoBox = 21019,
    kLabel1 = 21022,
    kIdEdit = 21017,
    kLabel2 = 21023,
    kNameEdit = 21020,
    kLabel3 = 21024,
    kDescEdit = 21021,
    kMemberList = 21018,
    kNewButton = 5,
    kModifyButton = 21005,
    kDeleteButton = 3,
};

QLineEdit *makeReadOnlyEdit(QWidget *parent, int id, const char *name)
{
    auto *edit = new QLineEdit(parent);
    markControl(edit, id, name);
    edit->setReadOnly(true);
    return edit;
}

} // namespace

CAccountManagerDlg::CAccountManagerDlg(QWidget *parent)
    : ManagerDialog(parent)
{
    setWindowTitle(QStringLiteral("Account Manager"));
    m_tree = new CAccountTreeCtrl(this);
    markControl(m_tree, kTree, "accountTree");
    m_filter = new TreeFilter(m_tree, "placeholderAccount", this);
    m_info = new QGroupBox(QStringLiteral("Information"), this);
    markControl(m_info, kInfoBox, "infoBox");
    m_idEdit = makeReadOnlyEdit(m_info, kIdEdit, "idEdit");
    m_nameEdit = makeReadOnlyEdit(m_info, kNameEdit, "nameEdit");
    m_descEdit = makeReadOnlyEdit(m_info, kDescEdit, "descriptionEdit");
    m_label1 = makeLabel(m_info, "User &Id:", kLabel1, "fieldLabel1", m_idEdit);
    m_label2 = makeLabel(m_info, "User &Name:", kLabel2, "fieldLabel2", m_nameEdit);
    m_label3 = makeLabel(m_info, "&Description:", kLabel3, "fieldLabel3", m_descEdit);
    m_memberList = new QListWidget(m_info);
    markControl(m_memberList, kMemberList, "memberList");
    setUpMemberList(m_memberList);
    m_memberList->hide();
    m_new = makeButton(this, "N&ew...", kNewButton, "newButton");
    m_modify = makeButton(this, "&Modify...", kModifyButton, "modifyButton");
    m_delete = makeButton(this, "De&lete...", kDeleteButton, "deleteButton");

    auto *fields = new QGridLayout(m_info);
    fields->addWidget(m_label1, 0, 0);
    fields->addWidget(m_idEdit, 0, 1);
    fields->addWidget(m_label2, 1, 0);
    fields->addWidget(m_nameEdit, 1, 1);
    fields->addWidget(m_label3, 2, 0);
    fields->addWidget(m_descEdit, 2, 1);
    fields->addWidget(m_memberList, 3, 0, 1, 2);
    // The member list takes the room a larger dialog gives; without it the fields stay on top.
    fields->setRowStretch(3, 1);
    keepRoomWhenHidden({m_new, m_modify, m_delete});
    auto *accountButtons = new QHBoxLayout;
    accountButtons->addStretch();
    accountButtons->addWidget(m_new);
    accountButtons->addWidget(m_modify);
    accountButtons->addWidget(m_delete);
    auto *details = new QVBoxLayout;
    details->addWidget(m_info, 1);
    details->addLayout(accountButtons);
    layOut(m_filter, details, "closeButton", 392, 225);

    // The details follow the tree before anything else reacts to its selection.
    connect(m_tree, &CNodeTreeCtrl::accountSelect, this, &CAccountManagerDlg::OnAccountSelect,
            Qt::DirectConnection);
    connect(m_new, &QPushButton::clicked, this, &CAccountManagerDlg::OnNew);
    connect(m_modify, &QPushButton::clicked, this, &CAccountManagerDlg::OnModify);
    connect(m_delete, &QPushButton::clicked, this, &CAccountManagerDlg::OnDelete);
}

CAccountManagerDlg::~CAccountManagerDlg()
{
    // The tree reads the working copy; it goes before the copy does.
    destroyWidgets();
}

void CAccountManagerDlg::SetProvider(IAccountProvider *provider)
{
    m_provider = provider;
    m_workingCopy.reset(provider);
}

void CAccountManagerDlg::initDialog()
{
    m_images = loadImageList(QLatin1String(kAccountImages));
    m_tree->SetImageList(m_images);
    m_tree->Fill(m_workingCopy.get());
    emphasiseRoot(m_tree->rootItem());
    setWindowTitle(m_strings.getString("title", "label"));
    m_info->setTitle(m_strings.getString("info", "label"));
    m_new->setText(m_strings.getString("new", "label"));
    m_modify->setText(m_strings.getString("modify", "label"));
    m_delete->setText(m_strings.getString("delete", "label"));
    m_label3->setText(m_strings.getString("desc", "label"));
    okButton()->setText(m_strings.getString("ok", "label"));
    closeButton()->setText(m_strings.getString("cancel", "label"));
    nameFromLanguage(m_tree, "accountTree", "Accounts");
    nameFromLanguage(m_memberList, "memberList", "Members");
    // The dialog opens with the root, nothing actionable, selected.
    m_tree->setFocus();
    m_tree->setCurrentItem(m_tree->rootItem());
}

void CAccountManagerDlg::OnAccountSelect(int kind, const TreeNode *node)
{
    const bool user = kind == CAccountTreeCtrl::kUser;
    const bool group = kind == CAccountTreeCtrl::kGroup;
    const bool folder
        = kind == CAccountTreeCtrl::kUserFolder || kind == CAccountTreeCtrl::kGroupFolder;
    if (user) {
        m_label1->setText(m_strings.getString("id", "label"));
        m_label2->setText(m_strings.getString("name", "label"));
    } else if (group) {
        m_label1->setText(m_strings.getString("name", "label"));
        m_label2->setText(m_strings.getString("desc", "label"));
    }
    m_label1->setVisible(user || group);
    m_idEdit->setVisible(user || group);
    m_label2->setVisible(user || group);
    m_nameEdit->setVisible(user || group);
    m_label3->setVisible(user);
    m_descEdit->setVisible(user);
    m_memberList->setVisible(group);
    m_new->setVisible(user || group || folder);
    m_modify->setVisible(user || group);
    m_delete->setVisible(user || group);

    m_current = Current::Nothing;
    m_currentPosition = -1;
    QString info = m_strings.getString("info", "label");
    const std::int32_t position = node ? node->position : -1;
    const UserRecord *userRecord = user && node ? m_tree->recordAs<UserRecord>(*node) : nullptr;
    const GroupRecord *groupRecord = group && node ? m_tree->recordAs<GroupRecord>(*node) : nullptr;
    if (const UserRecord *current = userRecord) {
        info = m_strings.getString("info_user", "label");
        m_current = Current::User;
        m_currentPosition = position;
        m_idEdit->setText(fieldString(current->id));
        m_nameEdit->setText(fieldString(current->name));
        m_descEdit->setText(fieldString(current->description));
    } else if (const GroupRecord *current = groupRecord) {
        info = m_strings.getString("info_group", "label");
        m_current = Current::Group;
        m_currentPosition = position;
        m_idEdit->setText(fieldString(current->id));
        m_nameEdit->setText(fieldString(current->description));
        fillMemberList(m_memberList, current->members, m_images.value(kImageUser),
                       m_images.value(kImageGroup));
    } else if (kind == CAccountTreeCtrl::kUserFolder) {
        m_current = Current::User;
    } else if (kind == CAccountTreeCtrl::kGroupFolder) {
        m_current = Current::Group;
    }
    // The administrator cannot be deleted.
    m_delete->setEnabled(!setupmgr::isAdminId(m_idEdit->text()));
    m_info->setTitle(info);
}

UserRecord *CAccountManagerDlg::currentUser() const
{
    UserRecord *user = nullptr;
    if (m_current != Current::User || m_currentPosition < 0 || !m_workingCopy
        || !m_workingCopy->getUser(m_currentPosition, &user))
        return nullptr;
    return user;
}

GroupRecord *CAccountManagerDlg::currentGroup() const
{
    GroupRecord *group = nullptr;
    if (m_current != Current::Group || m_currentPosition < 0 || !m_workingCopy
        || !m_workingCopy->getGroup(m_currentPosition, &group))
        return nullptr;
    return group;
}

void CAccountManagerDlg::rebuildTree(int kind, std::int32_t position)
{
    m_tree->Fill(m_workingCopy.get());
    emphasiseRoot(m_tree->rootItem());
    QTreeWidgetItem *item = m_tree->FindRecord(kind, position);
    if (!item)
        item = kind == CAccountTreeCtrl::kUser ? m_tree->UserFolder() : m_tree->GroupFolder();
    if (item->parent())
        m_tree->expandItem(item->parent());
    m_tree->setCurrentItem(item);
}

void CAccountManagerDlg::OnNew()
{
    if (!m_workingCopy)
        return;
    // A new record is the provider's last; the provider may have moved the others to make room,
    // so the tree is filled anew.
    if (m_current == Current::User) {
        CAccountUserDlg dialog(this);
        dialog.SetProvider(m_workingCopy.get(), nullptr);
        if (dialog.exec() != kDialogOk)
            return;
        // The new account shows, whatever the filter held.
        m_filter->clear();
        rebuildTree(CAccountTreeCtrl::kUser, m_workingCopy->getUserCount() - 1);
        setModified();
    } else if (m_current == Current::Group) {
        CAccountGroupDlg dialog(this);
        dialog.SetProvider(m_workingCopy.get(), nullptr);
        if (dialog.exec() != kDialogOk)
            return;
        m_filter->clear();
        rebuildTree(CAccountTreeCtrl::kGroup, m_workingCopy->getGroupCount() - 1);
        setModified();
    }
}

void CAccountManagerDlg::OnModify()
{
    const std::int32_t position = m_currentPosition;
    int kind = -1;
    if (UserRecord *user = currentUser()) {
        CAccountUserDlg dialog(this);
        dialog.SetProvider(m_workingCopy.get(), user);
        if (dialog.exec() != kDialogOk)
            return;
        kind = CAccountTreeCtrl::kUser;
    } else if (GroupRecord *group = currentGroup()) {
        CAccountGroupDlg dialog(this);
        dialog.SetProvider(m_workingCopy.get(), group);
        if (dialog.exec() != kDialogOk)
            return;
        kind = CAccountTreeCtrl::kGroup;
    } else {
        return;
    }
    setModified();
    QTreeWidgetItem *item = m_tree->FindRecord(kind, position);
    if (!item)
        return;
    // The changed account stays in sight: when its new words no longer match, the filter goes.
    m_filter->refresh();
    if (item->isHidden())
        m_filter->clear();
    // The item reads its id from the record; through the folder and back, so that the details
    // show the record anew.
    m_tree->setCurrentItem(item->parent());
    m_tree->setCurrentItem(item);
    m_tree->viewport()->update();
}

void CAccountManagerDlg::OnDelete()
{
    if (!m_workingCopy)
        return;
    // The provider deletes by id, the first record of that id, and may move the others: the tree
    // is filled anew afterwards rather than trusted to match.
    if (const GroupRecord *group = currentGroup()) {
        const QByteArray id = fieldBytes(group->id);
        const QString text = Common::formatMessage(
            m_strings.getString("confirm_delete_group", "message"), QString::fromUtf8(id));
        if (!askYesNo(this, text))
            return;
        m_workingCopy->deleteGroup(id.constData());
        rebuildTree(CAccountTreeCtrl::kGroupFolder, -1);
        m_tree->setCurrentItem(m_tree->GroupFolder());
        setModified();
    } else if (const UserRecord *user = currentUser()) {
        const QByteArray id = fieldBytes(user->id);
        const QString text = Common::formatMessage(
            m_strings.getString("confirm_delete_user", "message"), QString::fromUtf8(id));
        if (!askYesNo(this, text))
            return;
        setupmgr::removeUserFromGroups(m_workingCopy.get(), id.constData());
        m_workingCopy->deleteUser(id.constData());
        rebuildTree(CAccountTreeCtrl::kUserFolder, -1);
        m_tree->setCurrentItem(m_tree->UserFolder());
        setModified();
    }
}

void CAccountManagerDlg::accept()
{
    if (commitChanges(m_workingCopy.get(), m_provider, kAccountPathKey))
        done(kDialogOk);
}
