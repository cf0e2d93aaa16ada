#include "account_manager_dlg.h"

#include "account_group_dlg.h"
#include "account_images.h"
#include "account_rules.h"
#include "account_tree_ctrl.h"
#include "account_user_dlg.h"
#include "common/language.h"
#include "common/text_field.h"
#include "controls/dialog_style.h"
#include "controls/widgets.h"
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
    m_new = makeButton(this, "&New...", kNewButton, "newButton");
    m_modify = makeButton(this, "&Modify...", kModifyButton, "modifyButton");
    m_delete = makeButton(this, "&Delete...", kDeleteButton, "deleteButton");

    auto *fields = new QGridLayout(m_info);
    fields->addWidget(m_label1, 0, 0);
    fields->addWidget(m_idEdit, 0, 1);
    fields->addWidget(m_label2, 1, 0);
    fields->addWidget(m_nameEdit, 1, 1);
    fields->addWidget(m_label3, 2, 0);
    fields->addWidget(m_descEdit, 2, 1);
    fields->addWidget(m_memberList, 3, 0, 1, 2);
    fields->setRowStretch(4, 1);
    auto *accountButtons = new QHBoxLayout;
    accountButtons->addStretch();
    accountButtons->addWidget(m_new);
    accountButtons->addWidget(m_modify);
    accountButtons->addWidget(m_delete);
    auto *details = new QVBoxLayout;
    details->addWidget(m_info, 1);
    details->addLayout(accountButtons);
    layOut(m_tree, details, "closeButton", 392, 225);

    // The details follow the tree before anything else reacts to its selection.
    connect(m_tree, &CNodeTreeCtrl::accountSelect, this, &CAccountManagerDlg::OnAccountSelect,
            Qt::DirectConnection);
    connect(m_new, &QPushButton::clicked, this, &CAccountManagerDlg::OnNew);
    connect(m_modify, &QPushButton::clicked, this, &CAccountManagerDlg::OnModify);
    connect(m_delete, &QPushButton::clicked, this, &CAccountManagerDlg::OnDelete);
}

CAccountManagerDlg::~CAccountManagerDlg() = default;

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
    // The dialog opens with the root, nothing actionable, selected.
    m_tree->setFocus();
    m_tree->setCurrentItem(m_tree->rootItem());
}

void CAccountManagerDlg::OnAccountSelect(int kind, void *record)
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
    m_currentUser = nullptr;
    m_currentGroup = nullptr;
    QString info = m_strings.getString("info", "label");
    if (user && record) {
        info = m_strings.getString("info_user", "label");
        m_currentUser = static_cast<UserRecord *>(record);
        m_current = Current::User;
        m_idEdit->setText(fieldString(m_currentUser->id));
        m_nameEdit->setText(fieldString(m_currentUser->name));
        m_descEdit->setText(fieldString(m_currentUser->description));
    } else if (group && record) {
        info = m_strings.getString("info_group", "label");
        m_currentGroup = static_cast<GroupRecord *>(record);
        m_current = Current::Group;
        m_idEdit->setText(fieldString(m_currentGroup->id));
        m_nameEdit->setText(fieldString(m_currentGroup->description));
        fillMemberList(m_memberList, m_currentGroup->members, m_images.value(kImageUser),
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

void CAccountManagerDlg::OnNew()
{
    if (!m_workingCopy)
        return;
    if (m_current == Current::User) {
        CAccountUserDlg dialog(this);
        dialog.SetProvider(m_workingCopy.get(), nullptr);
        if (dialog.exec() != kDialogOk)
            return;
        UserRecord *user = nullptr;
        if (m_workingCopy->getUser(m_workingCopy->getUserCount() - 1, &user) && user) {
            m_tree->setCurrentItem(m_tree->AddUser(m_tree->UserFolder(), user));
            setModified();
        }
    } else if (m_current == Current::Group) {
        CAccountGroupDlg dialog(this);
        dialog.SetProvider(m_workingCopy.get(), nullptr);
        if (dialog.exec() != kDialogOk)
            return;
        GroupRecord *group = nullptr;
        if (m_workingCopy->getGroup(m_workingCopy->getGroupCount() - 1, &group) && group) {
            m_tree->setCurrentItem(m_tree->AddGroup(m_tree->GroupFolder(), group));
            setModified();
        }
    }
}

void CAccountManagerDlg::OnModify()
{
    if (m_current == Current::User && m_currentUser) {
        UserRecord *user = m_currentUser;
        CAccountUserDlg dialog(this);
        dialog.SetProvider(m_workingCopy.get(), user);
        if (dialog.exec() != kDialogOk)
            return;
        // The tree compares the records' ids, which the dialog changed in place.
        TreeNode *node = nullptr;
        if (m_tree->FindUser(user->id, &node) < 0)
            return;
        node->item->setText(0, fieldString(user->id));
        m_tree->setCurrentItem(m_tree->UserFolder());
        m_tree->setCurrentItem(node->item);
        setModified();
    } else if (m_current == Current::Group && m_currentGroup) {
        GroupRecord *group = m_currentGroup;
        CAccountGroupDlg dialog(this);
        dialog.SetProvider(m_workingCopy.get(), group);
        if (dialog.exec() != kDialogOk)
            return;
        TreeNode *node = nullptr;
        if (m_tree->FindGroup(group, &node) < 0)
            return;
        node->item->setText(0, fieldString(group->id));
        m_tree->setCurrentItem(m_tree->GroupFolder());
        m_tree->setCurrentItem(node->item);
        setModified();
    }
}

void CAccountManagerDlg::OnDelete()
{
    if (!m_workingCopy)
        return;
    if (m_current == Current::Group && m_currentGroup) {
        const QByteArray id(m_currentGroup->id);
        const QString text = Common::formatMessage(
            m_strings.getString("confirm_delete_group", "message"), QString::fromUtf8(id));
        if (!askYesNo(this, text))
            return;
        TreeNode *node = nullptr;
        if (m_tree->FindGroup(m_currentGroup, &node) < 0)
            return;
        QTreeWidgetItem *item = node->item;
        m_workingCopy->deleteGroup(id.constData());
        m_currentGroup = nullptr;
        m_tree->DeleteItem(item);
        m_tree->setCurrentItem(m_tree->GroupFolder());
        setModified();
    } else if (m_current == Current::User && m_currentUser) {
        const QByteArray id(m_currentUser->id);
        const QString text = Common::formatMessage(
            m_strings.getString("confirm_delete_user", "message"), QString::fromUtf8(id));
        if (!askYesNo(this, text))
            return;
        TreeNode *node = nullptr;
        if (m_tree->FindUser(id.constData(), &node) < 0)
            return;
        QTreeWidgetItem *item = node->item;
        setupmgr::removeUserFromGroups(m_workingCopy.get(), id.constData());
        m_workingCopy->deleteUser(id.constData());
        m_currentUser = nullptr;
        m_tree->DeleteItem(item);
        m_tree->setCurrentItem(m_tree->UserFolder());
        setModified();
    }
}

void CAccountManagerDlg::accept()
{
    if (commitChanges(m_workingCopy.get(), m_provider, kAccountPathKey))
        done(kDialogOk);
}
