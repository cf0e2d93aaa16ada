#include "server_list_dlg.h"

#include "common/check.h"
#include "common/language.h"
#include "common/module_log.h"
#include "common/text_field.h"
#include "controls/control_factory.h"
#include "controls/dialog_style.h"
#include "controls/image_list.h"
#include "controls/info_list_box.h"
#include "controls/messages.h"
#include "controls/tree_filter.h"
#include "import_summary_dlg.h"
#include "recorder_csv.h"
#include "server_info_view.h"
#include "server_rules.h"
#include "server_setup_dlg.h"
#include "server_tree_ctrl.h"

#include <ostrel/setup_manager.h>

#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QSaveFile>
#include <QVBoxLayout>

#include <memory>

using namespace setupmgr;

namespace {

constexpr char kServerImages[] = ":/ostrel/server/server_images.png";
// An import of more rows than this shows its progress, with Cancel.
constexpr qsizetype kQuietImportRows = 1000;

QString importText(const char *id)
{
    return Common::getString(id, "serverImport");
}

QString chooseCsvPath(QWidget *parent, bool save)
{
    const QString filter = importText("fileFilter");
    return save
        ? QFileDialog::getSaveFileName(parent, importText("exportTitle"), QString(), filter)
        : QFileDialog::getOpenFileName(parent, importText("importTitle"), QString(), filter);
}

} // namespace

CServerListDlg::CServerListDlg(QWidget *parent)
    : ManagerDialog(parent)
{
    setWindowTitle(QStringLiteral("DVR Manager"));
    m_tree = new CServerTreeCtrl(this);
    markControl(m_tree, -1, "serverTree");
    m_filter = new TreeFilter(m_tree, "placeholderDvr", this);
    m_infoGroup = new QGroupBox(QStringLiteral("Information"), this);
    markControl(m_infoGroup, -1, "infoGroup");
    m_infoList = new CInfoListBox(m_infoGroup);
    markControl(m_infoList, -1, "infoList");
    m_new = makeButton(this, "N&ew", -1, "newButton");
    m_modify = makeButton(this, "&Modify", -1, "modifyButton");
    m_delete = makeButton(this, "&Delete", -1, "deleteButton");
    m_import = makeButton(this, "&Import...", -1, "importButton");
    m_export = makeButton(this, "E&xport...", -1, "exportButton");
    m_choosePath = chooseCsvPath;

    auto *infoLayout = new QVBoxLayout(m_infoGroup);
    infoLayout->addWidget(m_infoList);
    keepRoomWhenHidden({m_modify, m_delete});
    auto *serverButtons = new QHBoxLayout;
    serverButtons->addStretch();
    serverButtons->addWidget(m_new);
    serverButtons->addWidget(m_modify);
    serverButtons->addWidget(m_delete);
    auto *details = new QVBoxLayout;
    details->addWidget(m_infoGroup, 1);
    details->addLayout(serverButtons);
    // Import and Export act on the whole list, so they sit under it, and the details column
    // keeps the width it had without them.
    auto *listColumn = new QWidget(this);
    auto *listLayout = new QVBoxLayout(listColumn);
    listLayout->setContentsMargins(0, 0, 0, 0);
    listLayout->addWidget(m_filter, 1);
    auto *bulkButtons = new QHBoxLayout;
    bulkButtons->addWidget(m_import);
    bulkButtons->addWidget(m_export);
    bulkButtons->addStretch();
    listLayout->addLayout(bulkButtons);
    // The close button's object name is fixed: automation knows it as "cancelButton".
    layOut(listColumn, details, "cancelButton", 386, 225);

    // The details follow the tree before anything else reacts to its selection.
    connect(m_tree, &CNodeTreeCtrl::accountSelect, this, &CServerListDlg::OnServerSelect,
            Qt::DirectConnection);
    connect(m_tree, &CServerTreeCtrl::serverOpen, this, &CServerListDlg::OnModify);
    connect(m_new, &QPushButton::clicked, this, &CServerListDlg::OnNew);
    connect(m_modify, &QPushButton::clicked, this, &CServerListDlg::OnModify);
    connect(m_delete, &QPushButton::clicked, this, &CServerListDlg::OnDelete);
    connect(m_import, &QPushButton::clicked, this, &CServerListDlg::OnImport);
    connect(m_export, &QPushButton::clicked, this, &CServerListDlg::OnExport);
}

CServerListDlg::~CServerListDlg()
{
    // The tree and the information list read the working copy; they go before it does.
    destroyWidgets();
}

void CServerListDlg::SetProvider(IServerListProvider *provider)
{
    const bool filled = m_tree->topLevelItemCount() > 0;
    m_current = -1;
    m_tree->Fill(nullptr);
    m_provider.reset(provider);
    m_workingCopy.reset(provider);
    if (filled)
        rebuildTree();
}

void CServerListDlg::initDialog()
{
    m_infoList->SetColors(QColor(0, 0, 0), QColor(220, 217, 200), QColor(50, 50, 50),
                          QColor(100, 100, 100), QColor(0, 0, 0), QColor(0, 0, 0));
    m_tree->SetImageList(loadImageList(QLatin1String(kServerImages)));
    m_tree->Fill(m_workingCopy.get());
    emphasiseRoot(m_tree->rootItem());
    m_infoGroup->setTitle(Common::getString("info", "common"));
    m_new->setText(Common::getString("new", "common"));
    m_modify->setText(Common::getString("modify", "common"));
    m_delete->setText(Common::getString("delete", "common"));
    m_import->setText(importText("import"));
    m_export->setText(importText("export"));
    okButton()->setText(Common::getString("ok", "common"));
    closeButton()->setText(Common::getString("cancel", "common"));
    nameFromLanguage(m_tree, "serverTree", "DVR List");
    nameFromLanguage(m_infoList, "infoList", "DVR Information");
    // The dialog opens with the root, nothing to modify, selected.
    m_tree->setFocus();
    m_tree->setCurrentItem(m_tree->rootItem());
}

ServerRecord *CServerListDlg::currentRecord() const
{
    ServerRecord *record = nullptr;
    if (m_current < 0 || !m_workingCopy || !m_workingCopy->getServer(m_current, &record))
        return nullptr;
    return record;
}

void CServerListDlg::rebuildTree()
{
    m_current = -1;
    m_infoList->ClearView();
    m_tree->Fill(m_workingCopy.get());
    emphasiseRoot(m_tree->rootItem());
    m_tree->setCurrentItem(m_tree->rootItem());
}

void CServerListDlg::OnServerSelect(int kind, const TreeNode *node)
{
    m_current = -1;
    const ServerRecord *record = kind == CServerTreeCtrl::kServer && node
        ? m_tree->recordAs<ServerRecord>(*node)
        : nullptr;
    const bool server = record != nullptr;
    m_infoList->setVisible(server);
    m_new->setVisible(true);
    m_modify->setVisible(server);
    m_delete->setVisible(server);
    if (!server)
        return;
    m_current = node->position;
    m_infoList->ClearView();
    m_infoList->SetView(BuildServerInfoView(*record));
}

void CServerListDlg::OnNew()
{
    if (!m_workingCopy)
        return;
    CServerSetupDlg dialog(m_workingCopy.get(), CServerSetupDlg::kNewServer, this);
    if (dialog.exec() != kDialogOk)
        return;
    setModified();
    const std::int32_t added = m_workingCopy->getServerCount() - 1;
    ServerRecord *record = nullptr;
    // The new recorder shows, whatever the filter held.
    m_filter->clear();
    if (m_workingCopy->getServer(added, &record) && record)
        m_tree->setCurrentItem(m_tree->AddServer(added));
    else
        rebuildTree();
}

void CServerListDlg::OnModify()
{
    const std::int32_t position = m_current;
    if (!currentRecord())
        return;
    CServerSetupDlg dialog(m_workingCopy.get(), position, this);
    if (dialog.exec() != kDialogOk)
        return;
    setModified();
    // The tree was filled from this copy, and the item of the edited recorder is selected.
    QTreeWidgetItem *item = m_tree->FindServer(position);
    OSTREL_CHECK(item);
    // The changed recorder stays in sight: when its new words no longer match, the filter goes.
    m_filter->refresh();
    if (item->isHidden())
        m_filter->clear();
    // The item reads its name from the record; through the root and back, so that the
    // information is built anew.
    m_tree->setCurrentItem(m_tree->rootItem());
    m_tree->setCurrentItem(item);
    m_tree->viewport()->update();
}

void CServerListDlg::OnDelete()
{
    const ServerRecord *record = currentRecord();
    if (!record)
        return;
    const QByteArray name = fieldBytes(record->name);
    const QString question = Common::formatMessage(Common::getString("deleteServer", "message"),
                                                   QString::fromUtf8(name));
    if (!askYesNo(this, question))
        return;
    // The host removes the first record of that name, which need not be the one shown, and may
    // move the others: the information goes first, the tree is filled anew after.
    m_infoList->ClearView();
    m_current = -1;
    const bool removed = m_workingCopy->removeServer(name.constData());
    if (!removed)
        Common::writeLog("The recorder list did not remove %s", name.constData());
    rebuildTree();
    if (removed)
        setModified();
}

void CServerListDlg::OnImport()
{
    const QString path = m_choosePath(this, false);
    if (!path.isEmpty())
        importFile(path);
}

bool CServerListDlg::importFile(const QString &path)
{
    if (!m_workingCopy)
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        showMessage(this, importText("readFailed").arg(path));
        return false;
    }
    const QByteArray csv = file.readAll();
    std::unique_ptr<QProgressDialog> progressDialog;
    const auto progress = [&](qsizetype done, qsizetype total) {
        if (total <= kQuietImportRows)
            return true;
        if (!progressDialog) {
            progressDialog = std::make_unique<QProgressDialog>(
                importText("progress"), Common::getString("cancel", "common"), 0, int(total), this);
            progressDialog->setObjectName(QStringLiteral("importProgress"));
            progressDialog->setWindowModality(Qt::WindowModal);
            progressDialog->setMinimumDuration(0);
        }
        progressDialog->setValue(int(done));
        return !progressDialog->wasCanceled();
    };
    const CsvImportResult result = importRecordersCsv(m_workingCopy.get(), csv, progress);
    progressDialog.reset();
    if (result.failure == ImportFailure::Cancelled)
        return false;
    if (result.failure != ImportFailure::None) {
        showMessage(this, failureText(result));
        return false;
    }
    if (result.added > 0) {
        setModified();
        // The imported recorders show, whatever the filter held.
        m_filter->clear();
        rebuildTree();
    }
    CImportSummaryDlg summary(result, this);
    summary.exec();
    return true;
}

void CServerListDlg::OnExport()
{
    if (!m_workingCopy)
        return;
    const bool passwords = askYesNo(this, importText("askPasswords"), true);
    const QString path = m_choosePath(this, true);
    if (!path.isEmpty() && !exportFile(path, passwords))
        showMessage(this, importText("writeFailed").arg(path));
}

bool CServerListDlg::exportFile(const QString &path, bool withPasswords)
{
    if (!m_workingCopy)
        return false;
    // Atomic and readable by the owner only, like the client's data files: it may hold
    // passwords.
    const QByteArray csv = exportRecordersCsv(m_workingCopy.get(), withPasswords);
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly)
        && file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)
        && file.write(csv) == csv.size() && file.commit();
}

bool CServerListDlg::mayDisconnect()
{
    IServerListProvider *servers = m_provider.get();
    if (!servers)
        return true;
    // A recorder the client's list does not give may be connected: the user is asked then too.
    const std::int32_t count = servers->getServerCount();
    bool connected = count < 0;
    for (std::int32_t i = 0; i < count && !connected; ++i) {
        ServerRecord *record = nullptr;
        connected = !servers->getServer(i, &record) || !record || record->connected;
    }
    return !connected || askYesNo(this, Common::getString("disconnectAllDvr", "message"));
}

void CServerListDlg::accept()
{
    if (isModified() && !mayDisconnect())
        return;
    // The client reloads its recorders itself: no provider to refresh here.
    if (commitChanges(m_workingCopy.get(), nullptr, kServerListPathKey))
        done(kDialogOk);
}
