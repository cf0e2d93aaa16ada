// The dialog in which the operator decides which users and groups belong to a member list: the
// candidates on the left, the chosen members on the right, four buttons to move entries. OK
// rewrites the member list it was given; Cancel leaves it as it was.
#pragma once

#include <ostrel/data_provider.h>

#include <QDialog>
#include <QHash>
#include <QIcon>
#include <QList>

class QLabel;
class QPushButton;
class QTreeView;
class MemberListModel;
namespace setupmgr {
class TreeFilter;
}

class CChooseMemberDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CChooseMemberDlg(QWidget *parent = nullptr);
    ~CChooseMemberDlg() override;

    // The accounts that may be chosen and the list to edit; either may be null. The members of
    // an existing group are edited with its id as ownGroupId: a group is never its own member.
    // Call before the dialog is shown.
    void SetSources(IAccountProvider *candidates, PointerSeq<MemberRecord> *members,
                    const char *ownGroupId = nullptr);

    void accept() override;
    void reject() override;

    // ">", "<", ">>", "<<".
    void moveSelectedToMembers();
    void moveSelectedToCandidates();
    void chooseAll();
    void removeAll();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void initDialog();
    void updateButtons();
    const char *ownGroupId() const;
    void moveSelected(QTreeView *fromView, MemberListModel *from, MemberListModel *to);
    // ">>" and "<<".
    void moveAll(MemberListModel *from, MemberListModel *to);

    IAccountProvider *m_candidates = nullptr;
    PointerSeq<MemberRecord> *m_members = nullptr;
    QByteArray m_ownGroupId;
    bool m_initialised = false;
    QList<QIcon> m_images;
    // A user's name by id, read once: the filter finds candidates by it.
    QHash<QString, QString> m_userNames;

    MemberListModel *m_candidateModel;
    MemberListModel *m_memberModel;
    QLabel *m_candidateLabel;
    QTreeView *m_candidateView;
    setupmgr::TreeFilter *m_filter;
    QPushButton *m_add;
    QPushButton *m_addAll;
    QPushButton *m_remove;
    QPushButton *m_removeAll;
    QLabel *m_memberLabel;
    QTreeView *m_memberView;
    QPushButton *m_ok;
    QPushButton *m_cancel;
};
