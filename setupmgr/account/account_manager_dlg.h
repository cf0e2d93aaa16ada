// The account manager: every user and group of a working copy of the account data in a tree,
// the details of the selected account, and New, Modify and Delete through the user and group
// dialogs. OK commits the working copy to the client; Close discards it.
#pragma once

#include "common/string_table.h"
#include "common/working_copy.h"
#include "controls/manager_dialog.h"

#include <ostrel/data_provider.h>

#include <QIcon>
#include <QList>

class CAccountTreeCtrl;
struct TreeNode;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
namespace setupmgr {
class TreeFilter;
}

class CAccountManagerDlg : public setupmgr::ManagerDialog
{
    Q_OBJECT

public:
    explicit CAccountManagerDlg(QWidget *parent = nullptr);
    ~CAccountManagerDlg() override;

    // Releases a working copy still held, keeps the provider and makes a new working copy.
    void SetProvider(IAccountProvider *provider);

    void accept() override;

    // The buttons' actions.
    void OnNew();
    void OnModify();
    void OnDelete();

    IAccountProvider *workingCopy() const { return m_workingCopy.get(); }

private:
    void initDialog() override;
    // The tree's selection: the layout first, then the contents.
    void OnAccountSelect(int kind, const TreeNode *node);

    IAccountProvider *m_provider = nullptr;
    setupmgr::WorkingCopy<IAccountProvider> m_workingCopy;
    // What New creates and what Modify and Delete act on.
    enum class Current { Nothing, User, Group };
    Current m_current = Current::Nothing;
    // The selected user's or group's position in the working copy, or -1: a position, since the
    // copy may move its records when one is added or deleted.
    std::int32_t m_currentPosition = -1;
    UserRecord *currentUser() const;
    GroupRecord *currentGroup() const;
    // Fills the tree anew from the working copy and selects the item of kind at position, or
    // the folder of that kind when there is none.
    void rebuildTree(int kind, std::int32_t position);
    CStringTable m_strings {QStringLiteral("dlg_account_manager.xml")};
    QList<QIcon> m_images;

    CAccountTreeCtrl *m_tree;
    setupmgr::TreeFilter *m_filter;
    QGroupBox *m_info;
    QLabel *m_label1;
    QLineEdit *m_idEdit;
    QLabel *m_label2;
    QLineEdit *m_nameEdit;
    QLabel *m_label3;
    QLineEdit *m_descEdit;
    QListWidget *m_memberList;
    QPushButton *m_new;
    QPushButton *m_modify;
    QPushButton *m_delete;
};
