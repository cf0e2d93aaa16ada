// The recorder manager driven through OK after a recorder was added in the setup dialog, with
// every call of the recorder list and the display templates failing in turn.
#include "fault_loop.h"
#include "server/server_list_dlg.h"
#include "server/server_setup_dlg.h"
#include "server/server_tree_ctrl.h"

#include <ostrel/setup_manager.h>

namespace {

using faults::Outcome;
using testhost::FaultPlan;

enum { kOk = 1 };

class ServerFaults : public faults::FaultTest
{
protected:
    void SetUp() override
    {
        FaultTest::SetUp();
        // A client without the template would answer every look-up with a failure.
        templates.data.addTemplate("serverInfo", "Recorder");
    }
    // "Yard" added through New and OK pressed, with the plan's call failing.
    Outcome addRecorder(const std::shared_ptr<FaultPlan> &plan)
    {
        servers.data = testhost::ServerListData();
        servers.data.addServer("Lobby", "10.0.0.1");
        servers.data.addServer("Gate", "10.0.0.2");
        testhost::ServerListProvider::files().clear();
        servers.faults = plan;
        templates.faults = plan;
        setupmgr::setDisplayTemplateProvider(&templates);
        LogCapture log;
        MessageBoxAnswerer answerer(QMessageBox::Yes);
        Outcome outcome;

        auto list = std::make_unique<CServerListDlg>();
        list->SetProvider(&servers);
        list->show();
        auto *tree = named<CServerTreeCtrl>(list.get(), "serverTree");
        duringStep<CServerSetupDlg>(
            [&outcome](CServerSetupDlg *setup) {
                retype(named<QLineEdit>(setup, "nameEdit"), QStringLiteral("Yard"));
                retype(named<QLineEdit>(setup, "addressEdit"), QStringLiteral("10.0.0.3"));
                QTest::mouseClick(control<QPushButton>(setup, kOk), Qt::LeftButton);
                // Told why, the user tries once more.
                if (setup->isVisible())
                    QTest::mouseClick(control<QPushButton>(setup, kOk), Qt::LeftButton);
                outcome.changeConfirmed = setup->result() == kDialogOk;
            },
            [&] { faults::clickIfEnabled(named<QPushButton>(list.get(), "newButton")); });
        const bool shown = faults::treeShows(tree->rootItem(), QStringLiteral("Yard"));
        faults::clickIfEnabled(named<QPushButton>(list.get(), "okButton"));

        outcome.closed = !list->isVisible() && list->result() == kDialogOk;
        outcome.keptInDialog = list->isVisible() && shown;
        list.reset();
        setupmgr::setDisplayTemplateProvider(nullptr);
        faults::finish<testhost::ServerListProvider>(outcome, answerer, log, "xml_serverinfo",
                                                     [](const testhost::ServerListData &stored) {
                                                         std::set<std::string> names;
                                                         for (const auto &server : stored.servers)
                                                             names.insert(server->name);
                                                         return names;
                                                     });
        return outcome;
    }
};

// A failed read after the setup dialog's OK leaves Yard in the copy, which OK stores; every failed
// read of the list copy, the client's list or the templates reaches the log.
TEST_F(ServerFaults, AddingARecorderIsSafeAgainstEveryFailure)
{
    const auto outcomes = faults::forEachFailure([this](auto plan) { return addRecorder(plan); });
    faults::expectSafe(outcomes, "Yard", {"Gate", "Lobby"}, {"Gate", "Lobby", "Yard"});
}

} // namespace
