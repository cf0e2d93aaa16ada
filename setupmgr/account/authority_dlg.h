// The authority manager: the authority items under their categories in a tree, and for each
// item the users and groups that hold it, chosen in the member chooser. It edits a working copy
// of the authority data and commits it on OK; only member lists change.
#pragma once

#include "common/working_copy.h"
#include "controls/manager_dialog.h"

#include <ostrel/data_provider.h>

#include <QIcon>
#include <QList>

class CAuthorityTreeCtrl;
struct TreeNode;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

class CAuthorityDlg : public setupmgr::ManagerDialog
{
    Q_OBJECT

public:
    explicit CAuthorityDlg(QWidget *parent = nullptr);
    ~CAuthorityDlg() override;

    // Releases a working copy still held, keeps the provider and makes a new working copy.
    void SetProvider(IAuthorityProvider *provider);
    // The accounts offered in the member chooser; read, never copied or changed.
    void SetAccountProvider(IAccountProvider *accounts);

    void accept() override;

    void OnMember();

    IAuthorityProvider *workingCopy() const { return m_workingCopy.get(); }

private:
    void initDialog() override;
    void OnAccountSelect(int kind, const TreeNode *node);
    void showMembers();

    IAuthorityProvider *m_provider = nullptr;
    setupmgr::WorkingCopy<IAuthorityProvider> m_workingCopy;
    // The client's accounts, which the member chooser offers.
    setupmgr::LoggedRegistration<IAccountProvider> m_accounts {"The client's accounts"};
    PointerSeq<MemberRecord> *m_selectedMembers = nullptr;
    QList<QIcon> m_images;

    CAuthorityTreeCtrl *m_tree;
    QGroupBox *m_info;
    QLabel *m_descLabel;
    QLineEdit *m_descEdit;
    QListWidget *m_memberList;
    QPushButton *m_member;
};
