// The recorder manager and the recorder setup dialog, driven as an operator would.
#include "common/folders.h"
#include "common/language.h"
#include "controls/beep.h"
#include "server/server_list_dlg.h"
#include "server/server_setup_dlg.h"
#include "server/server_tree_ctrl.h"
#include "support/dialog_test_util.h"
#include "support/log_capture.h"
#include "support/memory_providers.h"
#include "support/temp_install.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QTreeWidget>

#include <cstring>

namespace {

const QString kInstallDir = QStringLiteral(OSTREL_INSTALL_DIR);

// The embedded installation's language and product list, in a folder of the test's own.
class ServerDlgTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        install.copyFrom(kInstallDir);
        Common::releaseLanguage();
    }
    void TearDown() override
    {
        dialog.reset();
        Common::releaseLanguage();
        EXPECT_EQ(servers.log->count("createWorkingCopy"), servers.log->count("copy.release"));
    }

    CServerSetupDlg *openSetup(IServerListProvider *list, std::int32_t index)
    {
        auto *setup = new CServerSetupDlg(list, index);
        dialog.reset(setup);
        setup->show();
        QApplication::setActiveWindow(setup);
        return setup;
    }

    CServerListDlg *openList(IServerListProvider *provider)
    {
        auto *list = new CServerListDlg;
        list->SetProvider(provider);
        dialog.reset(list);
        list->show();
        return list;
    }

    TempInstall install;
    testhost::ServerListProvider servers;
    std::unique_ptr<QDialog> dialog;
};

QStringList edits(QWidget *dialog, std::initializer_list<const char *> names)
{
    QStringList texts;
    for (const char *name : names)
        texts << named<QLineEdit>(dialog, name)->text();
    return texts;
}

// A new recorder starts with the default product's login; another product fills its own; a
// port digit past 65535 is refused with the beep. Blanks are trimmed and parentheses refused;
// the information rows have names, so they are kept, with their empty values.
TEST_F(ServerDlgTest, NewRecorderStartsWithDefaultsAndTheProductFillsItsOwn)
{
    QDialog *setup = openSetup(&servers, CServerSetupDlg::kNewServer);
    expectNoMissingTexts(setup);
    EXPECT_EQ(edits(setup, {"portEdit", "loginIdEdit"}), QStringList({"7100", "admin"}));
    EXPECT_FALSE(named<QWidget>(setup, "useDdnsCheck")->isVisible());
    auto *products = named<QComboBox>(setup, "productCombo");
    products->setCurrentIndex(products->findData(2));
    EXPECT_EQ(edits(setup, {"portEdit", "loginIdEdit", "passwordEdit"}),
              QStringList({"7011", "vexil", "vexil"}));

    const int beeps = setupmgr::beepCount();
    retype(named<QLineEdit>(setup, "portEdit"), QStringLiteral("70000"));
    EXPECT_EQ(edits(setup, {"portEdit"}), QStringList {"7000"});
    EXPECT_EQ(setupmgr::beepCount(), beeps + 1);
    retype(named<QLineEdit>(setup, "portEdit"), QStringLiteral("65535"));
    retype(named<QLineEdit>(setup, "nameEdit"), QStringLiteral("  Dock (east)  "));
    retype(named<QLineEdit>(setup, "addressEdit"), QStringLiteral("10.1.1.1,"));
    click(setup, 1);
    ASSERT_EQ(servers.data.servers.size(), 1u);
    const ServerRecord &added = *servers.data.servers[0];
    EXPECT_EQ(std::tuple(QByteArray(added.name), QByteArray(added.address), added.port,
                         added.productKind, seqSize(added.additionalInfo)),
              std::tuple(QByteArray("Dock east"), QByteArray("10.1.1.1"), 65535, 2, 5u));
    EXPECT_EQ(seqAt(added.additionalInfo, 0)->tag, -1);
}

// An edited recorder shows its own port and login (the properties check that OK keeps every
// byte); a refusal names the fault, or says nothing for a name of blanks, and puts the focus on
// the field at fault.
TEST_F(ServerDlgTest, EditShowsTheRecordAndRefusesDuplicates)
{
    ServerRecord *lobby = servers.data.addServer("Lobby", "10.0.0.1", 7011);
    copyField(lobby->loginId, "operator");
    servers.data.addServer("Gate", "10.0.0.2", 7000);
    QDialog *setup = openSetup(&servers, 0);
    EXPECT_EQ(edits(setup, {"portEdit", "loginIdEdit"}), QStringList({"7011", "operator"}));

    struct Refusal
    {
        const char *name, *address, *port, *focus;
        QString message;
    };
    const Refusal refusals[] = {
        {"Gate", "10.0.0.1", "7011", "nameEdit",
         Common::getString("sameServerNameExist", "message")},
        {"Lobby East", "10.0.0.2", "7000", "addressEdit",
         Common::getString("sameServerIPExist", "message")},
        {"   ", "10.0.0.2", "7000", "nameEdit", QString()},
    };
    for (const Refusal &refusal : refusals) {
        SCOPED_TRACE(refusal.name);
        MessageBoxAnswerer answers;
        retype(named<QLineEdit>(setup, "nameEdit"), QLatin1String(refusal.name));
        retype(named<QLineEdit>(setup, "addressEdit"), QLatin1String(refusal.address));
        retype(named<QLineEdit>(setup, "portEdit"), QLatin1String(refusal.port));
        click(setup, 1);
        EXPECT_EQ(answers.texts.value(0), refusal.message);
        EXPECT_EQ(setup->focusWidget(), named<QWidget>(setup, refusal.focus));
        EXPECT_TRUE(setup->isVisible());
    }
    retype(named<QLineEdit>(setup, "nameEdit"), QStringLiteral("Lobby East"));
    retype(named<QLineEdit>(setup, "portEdit"), QStringLiteral("7001"));
    click(setup, 1);
    EXPECT_FALSE(setup->isVisible());
    EXPECT_EQ(std::tuple(QByteArray(lobby->name), lobby->port),
              std::tuple(QByteArray("Lobby East"), 7001));
}

// The open cell editor, or null when no cell is being edited.
QLineEdit *cellEditor(QWidget *setup)
{
    for (auto *editor : setup->findChildren<QLineEdit *>(QStringLiteral("cellEditor"))) {
        if (editor->isVisible())
            return editor;
    }
    return nullptr;
}

// A click on a cell edits it in place, F2 the current row's name; Tab moves on to the value;
// Enter ends the edit and Escape drops it, neither closing the dialog; so does the focus leaving.
// Delete acts only once a cell was edited; a row whose name was cleared is dropped on OK, which
// takes the text of a cell still being edited.
TEST_F(ServerDlgTest, CellEditorEditsTheAdditionalInformation)
{
    QDialog *setup = openSetup(&servers, CServerSetupDlg::kNewServer);
    auto *rows = named<QTreeWidget>(setup, "additionalInfoList");
    const auto clickCell = [rows](int row, int column) {
        const QRect cell = rows->visualItemRect(rows->topLevelItem(row));
        QTest::mouseClick(rows->viewport(), Qt::LeftButton, {},
                          QPoint(column * rows->columnWidth(0) + 4, cell.center().y()));
    };
    press(setup, "deleteButton");
    EXPECT_EQ(rows->topLevelItemCount(), 5); // nothing was remembered yet

    clickCell(1, 1);
    ASSERT_TRUE(cellEditor(setup));
    EXPECT_EQ(cellEditor(setup)->palette().color(QPalette::Base), QColor(255, 255, 225));
    typeText(cellEditor(setup), QStringLiteral("110"));
    named<QWidget>(setup, "nameEdit")->setFocus();
    EXPECT_FALSE(cellEditor(setup));
    EXPECT_EQ(rows->topLevelItem(1)->text(1), QStringLiteral("110"));

    // "Fax": its name cleared, and a value longer than its field.
    QTreeWidgetItem *fax = rows->topLevelItem(2);
    rows->setFocus();
    rows->setCurrentItem(fax, 1);
    QTest::keyClick(rows, Qt::Key_F2);
    ASSERT_TRUE(cellEditor(setup));
    EXPECT_EQ(cellEditor(setup)->text(), QStringLiteral("Fax"));
    cellEditor(setup)->clear();
    QTest::keyClick(cellEditor(setup), Qt::Key_Tab);
    ASSERT_TRUE(cellEditor(setup));
    typeText(cellEditor(setup), QString(30, QChar(0x00E9)));
    QTest::keyClick(cellEditor(setup), Qt::Key_Return);
    EXPECT_FALSE(cellEditor(setup));
    EXPECT_EQ(fax->text(1), QString(25, QChar(0x00E9))); // 50 bytes
    EXPECT_TRUE(setup->isVisible() && rows->hasFocus());

    clickCell(3, 0);
    ASSERT_TRUE(cellEditor(setup));
    typeText(cellEditor(setup), QStringLiteral("dropped"));
    QTest::keyClick(cellEditor(setup), Qt::Key_Escape);
    EXPECT_EQ(rows->topLevelItem(3)->text(0), QStringLiteral("Phone"));
    EXPECT_TRUE(setup->isVisible());
    press(setup, "deleteButton");
    EXPECT_EQ(rows->topLevelItemCount(), 4);

    // From the last cell Tab ends the edit, and the next Tab leaves the list.
    clickCell(rows->topLevelItemCount() - 1, 1);
    ASSERT_TRUE(cellEditor(setup));
    QTest::keyClick(cellEditor(setup), Qt::Key_Tab);
    EXPECT_FALSE(cellEditor(setup));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), named<QWidget>(setup, "newButton"));

    retype(named<QLineEdit>(setup, "nameEdit"), QStringLiteral("Depot"));
    press(setup, "newButton");
    ASSERT_TRUE(cellEditor(setup));
    typeText(cellEditor(setup), QStringLiteral("Gate code"));
    QTest::keyClick(cellEditor(setup), Qt::Key_Tab);
    ASSERT_TRUE(cellEditor(setup));
    typeText(cellEditor(setup), QStringLiteral("42"));
    qobject_cast<CServerSetupDlg *>(setup)->accept();
    ASSERT_EQ(servers.data.servers.size(), 1u);
    const ServerRecord &depot = *servers.data.servers[0];
    QStringList stored;
    for (std::size_t i = 0; i < seqSize(depot.additionalInfo); ++i)
        stored << QString::fromUtf8(seqAt(depot.additionalInfo, i)->name) + QLatin1Char('=')
                + QString::fromUtf8(seqAt(depot.additionalInfo, i)->value);
    EXPECT_EQ(stored, QStringList({"Fire Dept=", "Police=110", "Manager=", "Gate code=42"}));
}

// OK waits for a change. Delete asks first and leaves the root selected; a rename shows at
// once; New adds and selects. OK asks once about the connected recorders, and No keeps the
// dialog open. Until OK only the working copy is read, and the client reloads its recorders
// itself. The tree reads the copy's records as their own type only (asked for another, a node
// answers null and logs it), and the copy outlives the tree.
TEST_F(ServerDlgTest, ChangesAreAskedAboutAndStored)
{
    servers.data.addServer("Lobby", "10.0.0.1", 7011)->connected = 1;
    servers.data.addServer("Gate", "10.0.0.2", 7000)->connected = 1;
    CServerListDlg *list = openList(&servers);
    auto *tree = named<CServerTreeCtrl>(list, "serverTree");
    const auto recorder = [tree](int index) { return tree->rootItem()->child(index); };
    const auto shown = [list](const char *name) { return named<QWidget>(list, name)->isVisible(); };
    expectNoMissingTexts(list);
    EXPECT_FALSE(named<QWidget>(list, "okButton")->isEnabled());
    TreeNode *node = nullptr;
    ASSERT_GE(tree->FindNode(recorder(0), &node), 0);
    ServerRecord *lobby = nullptr;
    ASSERT_TRUE(list->workingCopy()->getServer(0, &lobby));
    EXPECT_EQ(tree->recordAs<ServerRecord>(*node), lobby);
    {
        LogCapture log;
        ASSERT_TRUE(log.active());
        EXPECT_EQ(tree->recordAs<UserRecord>(*node), nullptr);
        EXPECT_TRUE(log.contains(QStringLiteral("Check failed")));
    }

    tree->setCurrentItem(recorder(0));
    EXPECT_TRUE(shown("infoList") && shown("modifyButton") && shown("deleteButton"));
    {
        MessageBoxAnswerer yes(QMessageBox::Yes);
        press(list, "deleteButton");
        ASSERT_EQ(yes.texts.size(), 1);
        EXPECT_TRUE(yes.texts[0].contains(QLatin1String("Lobby"))) << yes.texts[0].toStdString();
    }
    EXPECT_EQ(tree->currentItem(), tree->rootItem());
    EXPECT_EQ(tree->rootItem()->childCount(), 1);
    EXPECT_FALSE(shown("infoList") || shown("modifyButton") || shown("deleteButton"));

    tree->setCurrentItem(recorder(0));
    whenModal<CServerSetupDlg>([](CServerSetupDlg *setup) {
        retype(named<QLineEdit>(setup, "nameEdit"), QStringLiteral("Main Gate"));
        click(setup, 1);
    });
    press(list, "modifyButton");
    EXPECT_EQ(recorder(0)->text(0), QStringLiteral("Main Gate"));

    // Cancelling New changes nothing.
    whenModal<CServerSetupDlg>([](CServerSetupDlg *setup) { setup->reject(); });
    press(list, "newButton");
    EXPECT_EQ(tree->rootItem()->childCount(), 1);
    whenModal<CServerSetupDlg>([](CServerSetupDlg *setup) {
        retype(named<QLineEdit>(setup, "nameEdit"), QStringLiteral("Yard"));
        retype(named<QLineEdit>(setup, "addressEdit"), QStringLiteral("10.0.0.3"));
        click(setup, 1);
    });
    press(list, "newButton");
    ASSERT_EQ(tree->rootItem()->childCount(), 2);
    EXPECT_EQ(tree->currentItem(), recorder(1));
    EXPECT_TRUE(shown("infoList"));
    EXPECT_EQ(servers.log->count("getServerCount"), 0);

    {
        MessageBoxAnswerer no(QMessageBox::No);
        press(list, "okButton");
        EXPECT_EQ(no.texts.size(), 1);
    }
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(servers.log->count("copy.saveFile"), 0);
    MessageBoxAnswerer yes(QMessageBox::Yes);
    press(list, "okButton");
    EXPECT_EQ(yes.texts.size(), 1); // once, though two recorders are connected
    EXPECT_EQ(list->result(), 1);
    const auto &saved = testhost::ServerListProvider::files();
    const auto file = saved.find(Common::getPathEntry("xml_serverinfo", true).toStdString());
    ASSERT_NE(file, saved.end());
    EXPECT_EQ(file->second.servers.size(), 2u);
    EXPECT_EQ(servers.log->count("clear"), 0);

    int releasedBeforeTheTree = -1;
    QObject::connect(tree, &QObject::destroyed, [this, &releasedBeforeTheTree] {
        releasedBeforeTheTree = servers.log->count("copy.release");
    });
    dialog.reset();
    EXPECT_EQ(releasedBeforeTheTree, 0);
    EXPECT_EQ(servers.log->count("copy.release"), 1);
}

// A recorder list whose getServer fails for the record just created: the record does not stay
// behind unseen, and the user is told.
TEST_F(ServerDlgTest, ARecordThatCannotBeReadAfterItsCreationIsRemovedAgain)
{
    struct LosingList : testhost::ServerListProvider
    {
        bool getServer(std::int32_t index, ServerRecord **out) override
        {
            return index < 1 && testhost::ServerListProvider::getServer(index, out);
        }
    } lossy;
    lossy.data.addServer("Gate", "10.0.0.1");
    QDialog *setup = openSetup(&lossy, CServerSetupDlg::kNewServer);
    retype(named<QLineEdit>(setup, "nameEdit"), QStringLiteral("Dock"));
    MessageBoxAnswerer answers;
    click(setup, 1);
    EXPECT_EQ(answers.texts, QStringList {Common::getString("newServerCreateFail", "message")});
    EXPECT_TRUE(setup->isVisible());
    EXPECT_EQ(lossy.getServerCount(), 1);
    dialog.reset();
}

} // namespace
