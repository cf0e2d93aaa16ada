// The dialog in which the operator creates a group or changes one: its id, description and
// members. On OK it applies the id rules and writes the group into the working copy: a new
// group through addGroup, a changed one in place.
#pragma once

#include "account_edit_dlg.h"

#include <QIcon>
#include <QList>

class CFilterEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

class CAccountGroupDlg : public setupmgr::AccountEditDialog
{
    Q_OBJECT

public:
    explicit CAccountGroupDlg(QWidget *parent = nullptr);
    ~CAccountGroupDlg() override;

    // The working copy to edit and the group to change, or null for a new group. Call before
    // the dialog is shown.
    void SetProvider(IAccountProvider *accounts, GroupRecord *group);

    // The dialog's own copies of the members, in their order.
    const PointerSeq<MemberRecord> &members() const { return m_members; }

private:
    void initDialog() override;
    bool store() override;
    void onMemberButton();
    void showMembers();

    GroupRecord *m_group = nullptr;
    // Copies owned by the dialog until a modified group takes them over on OK.
    PointerSeq<MemberRecord> m_members {};
    bool m_membersChanged = false; // the chooser was confirmed
    QList<QIcon> m_images;

    QLabel *m_idLabel;
    CFilterEdit *m_idEdit;
    QLabel *m_descLabel;
    QLineEdit *m_descEdit;
    QLabel *m_memberLabel;
    QListWidget *m_memberList;
    QPushButton *m_memberButton;
};
