// Import and export in the recorder manager: the summary, the progress with Cancel, and the file
// an export writes.
#include "common/language.h"
#include "server/import_summary_dlg.h"
#include "server/server_list_dlg.h"
#include "server/server_tree_ctrl.h"
#include "support/dialog_test_util.h"
#include "support/memory_providers.h"
#include "support/temp_install.h"

#include <QClipboard>
#include <QLabel>
#include <QMessageBox>
#include <QProgressDialog>
#include <QTableWidget>

#include <filesystem>

namespace {

using namespace setupmgr;

class RecorderImportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        install.copyFrom(QStringLiteral(OSTREL_INSTALL_DIR));
        Common::releaseLanguage();
        ServerRecord *lobby = servers.data.addServer("Lobby");
        copyField(lobby->address, "10.0.0.1");
        copyField(lobby->password, "secret");
        lobby->port = 7011;
        list = std::make_unique<CServerListDlg>();
        list->SetProvider(&servers);
        list->show();
        tree = named<CServerTreeCtrl>(list.get(), "serverTree");
    }
    void TearDown() override
    {
        list.reset();
        Common::releaseLanguage();
    }
    QString file(const char *name, const QByteArray &content) const
    {
        install.write(QLatin1String(name), content);
        return install.path() + QLatin1Char('/') + QLatin1String(name);
    }
    bool okEnabled() const { return named<QWidget>(list.get(), "okButton")->isEnabled(); }

    TempInstall install;
    testhost::ServerListProvider servers;
    std::unique_ptr<CServerListDlg> list;
    CServerTreeCtrl *tree = nullptr;
};

// Valid rows join the tree and enable OK; the summary counts them and lists the refused rows,
// which Ctrl+C copies.
TEST_F(RecorderImportTest, TheSummaryListsTheRefusedRows)
{
    const QString path = file("in.csv",
                              "name,address,port,tint\n"
                              "Gate,10.0.0.2,7000,red\n"
                              "Lobby,10.0.0.3,7000,\n"
                              "Yard,10.0.0.1,7011,\n");
    QStringList copied;
    bool shown = duringStep<CImportSummaryDlg>(
        [&copied](CImportSummaryDlg *summary) {
            EXPECT_EQ(summary->objectName(), QStringLiteral("importSummary"));
            expectNoMissingTexts(summary);
            EXPECT_TRUE(named<QLabel>(summary, "addedLabel")->text().contains(QLatin1Char('1')));
            EXPECT_TRUE(named<QLabel>(summary, "unknownColumnsLabel")
                            ->text()
                            .contains(QLatin1String("tint")));
            auto *table = named<QTableWidget>(summary, "refusedTable");
            EXPECT_FALSE(table->accessibleName().isEmpty());
            table->setFocus();
            QTest::keySequence(table, QKeySequence::Copy);
            copied = QApplication::clipboard()->text().split(QLatin1Char('\n'));
        },
        [this, &path] { EXPECT_TRUE(list->importFile(path)); });
    ASSERT_TRUE(shown);
    ASSERT_EQ(copied.size(), 3);
    EXPECT_TRUE(copied[0].startsWith(QLatin1String("3\t"))) << copied[0].toStdString();
    EXPECT_TRUE(copied[1].startsWith(QLatin1String("4\t"))) << copied[1].toStdString();
    EXPECT_EQ(tree->rootItem()->childCount(), 2);
    EXPECT_TRUE(okEnabled());
    EXPECT_EQ(servers.log->count("copy.saveFile"), 0); // stored only on OK
}

// More than a thousand rows show progress; Cancel leaves the copy and the tree as they were.
TEST_F(RecorderImportTest, CancellingTheProgressLeavesTheCopy)
{
    QByteArray csv = "name,address\n";
    for (int i = 0; i < 1001; ++i)
        csv += "Cam " + QByteArray::number(i) + ",10.1." + QByteArray::number(i / 256) + '.'
            + QByteArray::number(i % 256) + '\n';
    const QString path = file("many.csv", csv);
    bool cancelled = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [this, &cancelled] {
        if (auto *progress = list->findChild<QProgressDialog *>(QStringLiteral("importProgress"));
            progress && progress->value() > 10 && !cancelled) {
            progress->cancel();
            cancelled = true;
        }
    });
    poll.start(0);
    EXPECT_FALSE(list->importFile(path));
    EXPECT_TRUE(cancelled);
    IServerListProvider *copy = list->workingCopy();
    ASSERT_EQ(copy->getServerCount(), 1);
    EXPECT_EQ(tree->rootItem()->childCount(), 1);
    EXPECT_FALSE(okEnabled());
}

// Export asks about the passwords with No as the default answer, and writes an owner-only file
// without them; a file that cannot be written is reported.
TEST_F(RecorderImportTest, ExportLeavesOutPasswordsUnlessAsked)
{
    const QString path = install.path() + QStringLiteral("/out.csv");
    list->setPathChooser([&path](QWidget *, bool save) { return save ? path : QString(); });
    whenModal<QMessageBox>([](QMessageBox *box) {
        EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
        box->defaultButton()->click();
    });
    press(list.get(), "exportButton");
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    namespace fs = std::filesystem;
    EXPECT_EQ(fs::status(path.toStdString()).permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
    const QByteArray csv = written.readAll();
    EXPECT_TRUE(csv.startsWith("\"name\",\"address\",\"port\"")) << csv.constData();
    EXPECT_FALSE(csv.contains("password") || csv.contains("secret"));
    EXPECT_FALSE(list->exportFile(install.path() + QStringLiteral("/no/such/folder.csv"), true));
}

} // namespace
