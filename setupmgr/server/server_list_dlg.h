// The recorder manager: every recorder of a working copy of the recorder list in a tree, the
// selected recorder's information, and New, Modify and Delete through the recorder setup
// dialog. OK stores the working copy in the recorder list file; Close discards it. Reloading
// the client's recorders from that file is the client's business.
#pragma once

#include "common/working_copy.h"
#include "controls/manager_dialog.h"

#include <ostrel/data_provider.h>

class CInfoListBox;
class CServerTreeCtrl;
class QGroupBox;
class QPushButton;

class CServerListDlg : public setupmgr::ManagerDialog
{
    Q_OBJECT

public:
    explicit CServerListDlg(QWidget *parent = nullptr);
    ~CServerListDlg() override;

    // Releases a working copy still held, keeps the provider and makes a new working copy.
    void SetProvider(IServerListProvider *provider);

    // Stores the working copy when something changed, after asking whether connected
    // recorders may be disconnected; a store that fails keeps the dialog open.
    void accept() override;

    // The buttons' actions.
    void OnNew();
    void OnModify();
    void OnDelete();

    IServerListProvider *workingCopy() const { return m_workingCopy.get(); }

private:
    void initDialog() override;
    // The tree's selection: which controls show, and the selected recorder's information.
    void OnAccountSelect(int kind, void *record);
    // True when no recorder is connected, or the user agrees to disconnect them.
    bool mayDisconnect();

    IServerListProvider *m_provider = nullptr;
    setupmgr::WorkingCopy<IServerListProvider> m_workingCopy;
    ServerRecord *m_current = nullptr;

    CServerTreeCtrl *m_tree;
    QGroupBox *m_infoGroup;
    CInfoListBox *m_infoList;
    QPushButton *m_new;
    QPushButton *m_modify;
    QPushButton *m_delete;
};
