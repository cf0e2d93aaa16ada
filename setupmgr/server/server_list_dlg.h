// The recorder manager: every recorder of a working copy of the recorder list in a tree, the
// selected recorder's information, and New, Modify and Delete through the recorder setup
// dialog. OK stores the working copy in the recorder list file; Close discards it. Reloading
// the client's recorders from that file is the client's business.
#pragma once

#include "common/working_copy.h"
#include "controls/manager_dialog.h"

#include <ostrel/data_provider.h>

#include <functional>

class CInfoListBox;
struct TreeNode;
class CServerTreeCtrl;
class QGroupBox;
class QPushButton;
namespace setupmgr {
class TreeFilter;
}

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
    // Import asks for a file, adds its valid rows to the working copy and shows what it did;
    // Export asks whether to include the passwords, then for a file.
    void OnImport();
    void OnExport();

    // The steps behind the file choosers. importFile is false when nothing was imported (the
    // file unreadable or refused as a whole, or the import cancelled); exportFile when the file
    // could not be written.
    bool importFile(const QString &path);
    bool exportFile(const QString &path, bool withPasswords);
    // Asks for a CSV file to read, or to write when save is set; empty when the user cancels.
    using PathChooser = std::function<QString(QWidget *parent, bool save)>;
    void setPathChooser(PathChooser chooser) { m_choosePath = std::move(chooser); }

    IServerListProvider *workingCopy() const { return m_workingCopy.get(); }

private:
    void initDialog() override;
    // The tree's selection: which controls show, and the selected recorder's information.
    void OnServerSelect(int kind, const TreeNode *node);
    // True when no recorder is connected, or the user agrees to disconnect them.
    bool mayDisconnect();

    // The selected recorder's record, looked up in the working copy now.
    ServerRecord *currentRecord() const;
    // Fills the tree anew from the working copy and selects the root.
    void rebuildTree();

    // The client's own list, read to see which recorders are connected.
    setupmgr::LoggedRegistration<IServerListProvider> m_provider {"The client's recorder list"};
    // Declared before the widgets' pointers, and the widgets go first in the destructor: the copy
    // outlives everything that reads it.
    setupmgr::WorkingCopy<IServerListProvider> m_workingCopy;
    // The selected recorder's position in the working copy, or -1: a position, not a pointer,
    // since the copy may move its records when one is added or removed.
    std::int32_t m_current = -1;

    CServerTreeCtrl *m_tree;
    setupmgr::TreeFilter *m_filter;
    QGroupBox *m_infoGroup;
    CInfoListBox *m_infoList;
    QPushButton *m_new;
    QPushButton *m_modify;
    QPushButton *m_delete;
    QPushButton *m_import;
    QPushButton *m_export;
    PathChooser m_choosePath;
};
