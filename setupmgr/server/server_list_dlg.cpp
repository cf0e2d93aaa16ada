#include "server_list_dlg.h"

#include "common/language.h"
#include "common/text_field.h"
#include "controls/dialog_style.h"
#include "controls/info_list_box.h"
#include "controls/widgets.h"
#include "server_info_view.h"
#include "server_rules.h"
#include "server_setup_dlg.h"
#include "server_tree_ctrl.h"

#include <ostrel/setup_manager.h>

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace setupmgr;

namespace {

constexpr char kServerImages[] = ":/ostrel/server/server_images.png";

} // namespace

CServerListDlg::CServerListDlg(QWidget *parent)
    : ManagerDialog(parent)
{
    setWindowTitle(QStringLiteral("DVR Manager"));
    m_tree = new CServerTreeCtrl(this);
    markControl(m_tree, -1, "serverTree");
    m_tree->setAccessibleName(QStringLiteral("DVR"));
    m_infoGroup = new QGroupBox(QStringLiteral("Information"), this);
    markControl(m_infoGroup, -1, "infoGroup");
    m_infoList = new CInfoListBox(m_infoGroup);
    markControl(m_infoList, -1, "infoList");
    m_new = makeButton(this, "&New", -1, "newButton");
    m_modify = makeButton(this, "&Modify", -1, "modifyButton");
    m_delete = makeButton(this, "&Delete", -1, "deleteButton");

    auto *infoLayout = new QVBoxLayout(m_infoGroup);
    infoLayout->addWidget(m_infoList);
    auto *serverButtons = new QHBoxLayout;
    serverButtons->addStretch();
    serverButtons->addWidget(m_new);
    serverButtons->addWidget(m_modify);
    serverButtons->addWidget(m_delete);
    auto *details = new QVBoxLayout;
    details->addWidget(m_infoGroup, 1);
    details->addLayout(serverButtons);
    layOut(m_tree, details, "cancelButton", 386, 225);

    // The details follow the tree before anything else reacts to its selection.
    connect(m_tree, &CNodeTreeCtrl::accountSelect, this, &CServerListDlg::OnAccountSelect,
            Qt::DirectConnection);
    connect(m_tree, &CServerTreeCtrl::serverOpen, this, &CServerListDlg::OnModify);
    connect(m_new, &QPushButton::clicked, this, &CServerListDlg::OnNew);
    connect(m_modify, &QPushButton::clicked, this, &CServerListDlg::OnModify);
    connect(m_delete, &QPushButton::clicked, this, &CServerListDlg::OnDelete);
}

CServerListDlg::~CServerListDlg() = default;

void CServerListDlg::SetProvider(IServerListProvider *provider)
{
    m_current = nullptr;
    m_provider = provider;
    m_workingCopy.reset(provider);
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
    okButton()->setText(Common::getString("ok", "common"));
    closeButton()->setText(Common::getString("cancel", "common"));
    // The dialog opens with the root, nothing to modify, selected.
    m_tree->setFocus();
    m_tree->setCurrentItem(m_tree->rootItem());
}

void CServerListDlg::OnAccountSelect(int kind, void *record)
{
    m_current = nullptr;
    const bool server = kind == CServerTreeCtrl::kServer && record;
    m_infoList->setVisible(server);
    m_new->setVisible(true);
    m_modify->setVisible(server);
    m_delete->setVisible(server);
    if (!server)
        return;
    m_current = static_cast<ServerRecord *>(record);
    m_infoList->ClearView();
    m_infoList->SetView(BuildServerInfoView(*m_current));
}

void CServerListDlg::OnNew()
{
    if (!m_workingCopy)
        return;
    CServerSetupDlg dialog(m_workingCopy.get(), QString(), this);
    if (dialog.exec() != kDialogOk)
        return;
    ServerRecord *added = nullptr;
    if (m_workingCopy->getServer(m_workingCopy->getServerCount() - 1, &added) && added) {
        m_tree->setCurrentItem(m_tree->AddServer(added));
        setModified();
    }
}

void CServerListDlg::OnModify()
{
    if (!m_current || !m_workingCopy)
        return;
    ServerRecord *record = m_current;
    CServerSetupDlg dialog(m_workingCopy.get(), fieldString(record->name), this);
    if (dialog.exec() != kDialogOk)
        return;
    QTreeWidgetItem *item = m_tree->FindServer(record);
    if (!item)
        return;
    item->setText(0, fieldString(record->name));
    // Through the root and back, so that the information is built anew.
    m_tree->setCurrentItem(m_tree->rootItem());
    m_tree->setCurrentItem(item);
    setModified();
}

void CServerListDlg::OnDelete()
{
    if (!m_current || !m_workingCopy)
        return;
    const QByteArray name = fieldBytes(m_current->name);
    const QString question = Common::formatMessage(Common::getString("deleteServer", "message"),
                                                   QString::fromUtf8(name));
    if (!askYesNo(this, question))
        return;
    QTreeWidgetItem *item = m_tree->FindServer(m_current);
    if (!item)
        return;
    // The list box shows the record's information; it goes before the record does.
    m_infoList->ClearView();
    m_current = nullptr;
    m_workingCopy->removeServer(name.constData());
    m_tree->DeleteItem(item);
    m_tree->setCurrentItem(m_tree->rootItem());
    setModified();
}

bool CServerListDlg::mayDisconnect()
{
    if (!m_provider)
        return true;
    for (std::int32_t i = 0, n = m_provider->getServerCount(); i < n; ++i) {
        ServerRecord *record = nullptr;
        if (m_provider->getServer(i, &record) && record && record->connected)
            return askYesNo(this, Common::getString("disconnectAllDvr", "message"));
    }
    return true;
}

void CServerListDlg::accept()
{
    if (isModified() && !mayDisconnect())
        return;
    // The client reloads its recorders itself: no provider to refresh here.
    if (commitChanges(m_workingCopy.get(), nullptr, kServerListPathKey))
        done(kDialogOk);
}
