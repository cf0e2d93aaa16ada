// Two operator workstations on one installation, each a process with the reference host and the
// recorder manager: both open the manager, both add a recorder, both press OK. The first store
// lands; the second is refused, so the first's recorder stays on disk and the second's stays in
// its dialog, where its operator still has it. What the first stored is what a fresh host reads.
#include "server/server_info_view.h"
#include "server/server_list_dlg.h"
#include "server/server_setup_dlg.h"
#include "server/server_tree_ctrl.h"
#include "support/dialog_test_util.h"
#include "support/temp_install.h"

#include <ostrelhost/reference_host.h>

#include <QProcess>
#include <QTreeWidget>

namespace {

const char kOtherWorkstation[] = "OSTREL_OTHER_WORKSTATION";

// The recorder manager of a host on installDir, with a recorder added but nothing stored yet.
class Workstation
{
public:
    explicit Workstation(const QString &installDir)
        : host(installDir)
    {
        host.loadAll();
        setupmgr::setDisplayTemplateProvider(&host.templates());
        list.SetProvider(&host.serverList());
        list.show();
    }
    ~Workstation() { setupmgr::setDisplayTemplateProvider(nullptr); }

    void addRecorder(const QString &name, const QString &address)
    {
        whenModal<CServerSetupDlg>([name, address](CServerSetupDlg *setup) {
            retype(named<QLineEdit>(setup, "nameEdit"), name);
            retype(named<QLineEdit>(setup, "addressEdit"), address);
            click(setup, 1);
        });
        press(&list, "newButton");
    }

    // OK, answering Yes to the question about the connected recorders; the texts of the message
    // boxes that came up.
    QStringList pressOk()
    {
        MessageBoxAnswerer answerer(QMessageBox::Yes);
        press(&list, "okButton");
        return answerer.texts;
    }

    bool shows(const QString &name)
    {
        auto *tree = named<CServerTreeCtrl>(&list, "serverTree");
        return !tree->findItems(name, Qt::MatchExactly | Qt::MatchRecursive).isEmpty();
    }

    ostrelhost::ReferenceHost host;
    CServerListDlg list;
};

// The other workstation's whole session; run only as the child process of the test below.
TEST(TwoWorkstations, OtherWorkstationStoresFirst)
{
    const QString installDir = qEnvironmentVariable(kOtherWorkstation);
    if (installDir.isEmpty())
        GTEST_SKIP() << "runs as the second process of StoreOverANewerFileIsRefused";
    Workstation other(installDir);
    other.addRecorder(QStringLiteral("Workstation A Gate"), QStringLiteral("10.77.0.1"));
    // The new recorder's information: the template's categories with its values.
    EXPECT_GT(named<QAbstractItemView>(&other.list, "infoList")->model()->rowCount(), 4);
    other.pressOk();
    EXPECT_EQ(other.list.result(), 1);
}

TEST(TwoWorkstations, StoreOverANewerFileIsRefused)
{
    TempInstall install;
    install.copyFrom(QStringLiteral(OSTREL_INSTALL_DIR));
    Workstation mine(install.path());
    mine.addRecorder(QStringLiteral("Workstation B Dock"), QStringLiteral("10.77.0.2"));

    QProcess other;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kOtherWorkstation), install.path());
    other.setProcessEnvironment(environment);
    other.setProcessChannelMode(QProcess::ForwardedChannels);
    other.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=TwoWorkstations.OtherWorkstationStoresFirst")});
    ASSERT_TRUE(other.waitForFinished(120000));
    ASSERT_EQ(other.exitStatus(), QProcess::NormalExit);
    ASSERT_EQ(other.exitCode(), 0);

    const QStringList messages = mine.pressOk();
    EXPECT_TRUE(mine.list.isVisible());
    EXPECT_NE(mine.list.result(), 1);
    EXPECT_TRUE(mine.shows(QStringLiteral("Workstation B Dock")));
    ASSERT_FALSE(messages.isEmpty());
    EXPECT_TRUE(messages.last().contains(QStringLiteral("serverinfo.xml")))
        << messages.last().toStdString();
    bool logged = false;
    for (const auto &problem : mine.host.diagnostics().problems())
        logged = logged || problem.reason.contains(QStringLiteral("another workstation"));
    EXPECT_TRUE(logged);

    ostrelhost::ReferenceHost reread(install.path());
    ASSERT_TRUE(reread.loadAll());
    ServerRecord *found = nullptr;
    ASSERT_TRUE(reread.serverList().findServer("Workstation A Gate", &found));
    EXPECT_EQ(std::tuple(QByteArray(found->address), found->port, seqSize(found->additionalInfo)),
              std::tuple(QByteArray("10.77.0.1"), 7100, 5u));
    EXPECT_FALSE(reread.serverList().findServer("Workstation B Dock", &found));
}

} // namespace
