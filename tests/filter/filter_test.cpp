// The find field of the account manager, the recorder manager and the member chooser, typed
// into as an operator would, on a copy of the embedded installation (its texts and oem.ini).
#include "account/account_manager_dlg.h"
#include "account/account_tree_ctrl.h"
#include "account/choose_member_dlg.h"
#include "common/language.h"
#include "common/logged_providers.h"
#include "server/server_list_dlg.h"
#include "server/server_setup_dlg.h"
#include "server/server_tree_ctrl.h"
#include "support/dialog_test_util.h"
#include "support/memory_providers.h"
#include "support/record_bytes.h"
#include "support/temp_install.h"

#include <QTreeView>

#include <algorithm>

namespace {

class FilterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        install.copyFrom(QStringLiteral(OSTREL_INSTALL_DIR));
        Common::releaseLanguage();
    }
    void TearDown() override
    {
        dialog.reset();
        Common::releaseLanguage();
        for (const testhost::CallLog *log : {servers.log.get(), accounts.log.get()})
            EXPECT_EQ(log->count("createWorkingCopy"), log->count("copy.release"));
    }

    template <typename Dialog, typename Provider>
    Dialog *open(Provider *provider)
    {
        auto *opened = new Dialog;
        opened->SetProvider(provider);
        dialog.reset(opened);
        opened->show();
        QApplication::setActiveWindow(opened);
        return opened;
    }

    void add(const char *name, const char *address, std::int32_t productCode = 0)
    {
        ServerRecord *record = servers.data.addServer(name);
        copyField(record->address, address);
        record->productCode = productCode;
    }

    void find(const QString &text) const
    {
        retype(named<QLineEdit>(dialog.get(), "filterEdit"), text);
    }
    QString count() const { return named<QLabel>(dialog.get(), "filterCount")->text(); }
    bool shown(const char *name) const { return named<QWidget>(dialog.get(), name)->isVisible(); }

    TempInstall install;
    testhost::ServerListProvider servers;
    testhost::AccountProvider accounts;
    std::unique_ptr<QDialog> dialog;
};

// The texts of the rows the tree shows, in its order: a row under a hidden one is not shown.
QStringList shownRows(QTreeWidget *tree)
{
    QStringList rows;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        bool hidden = false;
        for (QTreeWidgetItem *item = *it; item && !hidden; item = item->parent())
            hidden = item->isHidden();
        if (!hidden)
            rows << (*it)->text(0);
    }
    return rows;
}

// Whether the tree's rows show the mark of a match.
bool showsMark(QTreeWidget *tree)
{
    const QImage image = tree->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const auto *pixels = reinterpret_cast<const QRgb *>(image.constBits());
    return std::find(pixels, pixels + image.sizeInBytes() / 4, qRgb(255, 214, 92))
        != pixels + image.sizeInBytes() / 4;
}

// The product name is the installation's (oem.ini calls 0x040210 "OSX 1600 Pro"), and the match
// is painted marked. Filtering reads the working copy and never writes it. New shows the new
// recorder, the filter cleared; a recorder renamed out of the filter's reach stays in sight.
TEST_F(FilterTest, RecordersAreFoundByNameAddressAndProductNameAndChangesStayInSight)
{
    add("Harbour Gate", "10.0.0.5");
    add("Depot", "192.168.7.20");
    add("Office", "10.0.0.9", 0x040210);
    auto *list = open<CServerListDlg>(&servers);
    auto *tree = named<CServerTreeCtrl>(list, "serverTree");
    auto *logged
        = dynamic_cast<setupmgr::LoggedProvider<IServerListProvider> *>(list->workingCopy());
    ASSERT_NE(logged, nullptr);
    auto *copy = dynamic_cast<testhost::ServerListProvider *>(logged->inner());
    ASSERT_NE(copy, nullptr);
    const recordbytes::Records before = recordbytes::servers(copy->data);
    EXPECT_EQ(count(), QStringLiteral("3 of 3"));

    const std::pair<const char *, QStringList> cases[] = {
        {"hARBOUR", {"DVR", "Harbour Gate"}},
        {"168.7", {"DVR", "Depot"}},
        {"PRO", {"DVR", "Office"}},
        {"nowhere", {"DVR"}},
    };
    for (const auto &[text, rows] : cases) {
        find(QLatin1String(text));
        EXPECT_EQ(shownRows(tree), rows) << text;
    }
    EXPECT_EQ(count(), QStringLiteral("0 of 3"));

    find(QStringLiteral("gate"));
    EXPECT_TRUE(showsMark(tree));
    named<QLineEdit>(list, "filterEdit")->clear();
    EXPECT_EQ(shownRows(tree).size(), 4);
    EXPECT_FALSE(showsMark(tree));
    EXPECT_EQ(recordbytes::servers(copy->data), before);

    find(QStringLiteral("harbour"));
    whenModal<CServerSetupDlg>([](CServerSetupDlg *setup) {
        retype(named<QLineEdit>(setup, "nameEdit"), QStringLiteral("Quay"));
        retype(named<QLineEdit>(setup, "addressEdit"), QStringLiteral("10.0.0.7"));
        click(setup, 1);
    });
    press(list, "newButton");
    EXPECT_TRUE(named<QLineEdit>(list, "filterEdit")->text().isEmpty());
    EXPECT_EQ(tree->currentItem()->text(0), QStringLiteral("Quay"));
    EXPECT_EQ(count(), QStringLiteral("4 of 4"));

    find(QStringLiteral("depot"));
    tree->setCurrentItem(tree->rootItem()->child(1));
    whenModal<CServerSetupDlg>([](CServerSetupDlg *setup) {
        retype(named<QLineEdit>(setup, "nameEdit"), QStringLiteral("Yard"));
        click(setup, 1);
    });
    press(list, "modifyButton");
    EXPECT_TRUE(named<QLineEdit>(list, "filterEdit")->text().isEmpty());
    EXPECT_EQ(tree->currentItem()->text(0), QStringLiteral("Yard"));
    EXPECT_TRUE(shown("modifyButton"));
}

// Ctrl+F focuses the field, Tab goes on to the tree, Down moves to the first match, Escape
// clears the field wherever the focus is; only with the field empty does Escape close the dialog.
// A folder shows while one of its accounts matches, the root always; users are found by their
// name too. A hidden selection gives way to the root and what the root shows, also when the
// dialog selects a folder the filter hides (after a deletion).
TEST_F(FilterTest, KeysAndFoldersFollowTheirAccountsAndHiddenSelectionGoesToTheRoot)
{
    accounts.data.addUser("admin", "pw", "Administrator");
    accounts.data.addUser("bob", "pw", "Robert Stanton");
    accounts.data.addUser("carol", "pw", "Carol");
    accounts.data.addGroup("staff");
    accounts.data.addGroup("guests");
    auto *manager = open<CAccountManagerDlg>(&accounts);
    auto *tree = named<CAccountTreeCtrl>(manager, "accountTree");
    auto *field = named<QLineEdit>(manager, "filterEdit");
    EXPECT_EQ(QApplication::focusWidget(), tree);
    QTest::keyClick(tree, Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), field);
    QTest::keyClick(field, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), tree);
    field->setFocus();
    typeText(field, QStringLiteral("bo"));
    QTest::keyClick(field, Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), tree);
    EXPECT_EQ(tree->currentItem()->text(0), QStringLiteral("bob"));
    EXPECT_TRUE(shown("modifyButton"));
    QTest::keyClick(tree, Qt::Key_Escape);
    EXPECT_TRUE(field->text().isEmpty());
    EXPECT_TRUE(manager->isVisible());

    auto users = [tree] { return !tree->UserFolder()->isHidden(); };
    auto groups = [tree] { return !tree->GroupFolder()->isHidden(); };
    find(QStringLiteral("robert"));
    EXPECT_TRUE(users() && !groups());
    EXPECT_EQ(shownRows(tree).last(), QStringLiteral("bob"));
    EXPECT_EQ(count(), QStringLiteral("1 of 5"));
    find(QStringLiteral("STA")); // "Robert Stanton", "staff"
    EXPECT_TRUE(users() && groups());
    EXPECT_EQ(count(), QStringLiteral("2 of 5"));
    find(QStringLiteral("zzz"));
    EXPECT_FALSE(users() || groups() || tree->rootItem()->isHidden());
    field->clear();
    EXPECT_TRUE(users() && groups());

    QTreeWidgetItem *carol = tree->UserFolder()->child(2);
    tree->setCurrentItem(carol);
    find(QStringLiteral("car"));
    EXPECT_EQ(tree->currentItem(), carol);
    field->clear();
    tree->setCurrentItem(tree->UserFolder()->child(1));
    find(QStringLiteral("carol"));
    EXPECT_EQ(tree->currentItem(), tree->rootItem());
    EXPECT_FALSE(shown("modifyButton") || shown("deleteButton") || shown("newButton"));
    tree->setCurrentItem(tree->UserFolder()->child(2));
    {
        MessageBoxAnswerer yes(QMessageBox::Yes);
        press(manager, "deleteButton");
    }
    ASSERT_EQ(tree->UserFolder()->childCount(), 2);
    EXPECT_TRUE(tree->UserFolder()->isHidden());
    EXPECT_EQ(tree->currentItem(), tree->rootItem());
    EXPECT_FALSE(shown("modifyButton") || shown("deleteButton"));

    QTest::keyClick(tree, Qt::Key_Escape);
    EXPECT_TRUE(field->text().isEmpty() && manager->isVisible());
    QTest::keyClick(tree, Qt::Key_Escape);
    EXPECT_FALSE(manager->isVisible());
    EXPECT_EQ(manager->result(), 2);
}

// Hidden candidates leave the selection, so ">" moves only those in sight; a user is found by
// name.
TEST_F(FilterTest, ChooserMovesOnlyTheCandidatesInSight)
{
    accounts.data.addUser("ann", "pw", "Ann Lee");
    accounts.data.addUser("bob", "pw", "Bob");
    accounts.data.addUser("lee", "pw", "");
    accounts.data.addGroup("leads");
    PointerSeq<MemberRecord> members {};
    auto *chooser = new CChooseMemberDlg;
    dialog.reset(chooser);
    chooser->SetSources(&accounts, &members);
    chooser->show();
    auto *candidates = named<QTreeView>(chooser, "candidateList");
    candidates->selectAll();
    find(QStringLiteral("LEE"));
    EXPECT_EQ(count(), QStringLiteral("2 of 4"));
    press(chooser, "addButton");
    QStringList chosen;
    auto *chosenModel = named<QTreeView>(chooser, "memberList")->model();
    for (int row = 0; row < chosenModel->rowCount(); ++row)
        chosen << chosenModel->index(row, 0).data().toString();
    EXPECT_EQ(chosen, QStringList({"ann", "lee"}));
    EXPECT_EQ(count(), QStringLiteral("0 of 2"));
}

// The count speaks the installation's language, its numbers grouped as that language does.
TEST_F(FilterTest, CountFollowsTheInstallationLanguage)
{
    install.write(QStringLiteral("Config/ostrel.ini"), "[LANGUAGE]\r\nUSE=de\r\n");
    char name[32];
    for (int i = 0; i < 1500; ++i) {
        std::snprintf(name, sizeof name, "Recorder %04d", i);
        add(name, "10.1.0.1");
    }
    auto *list = open<CServerListDlg>(&servers);
    EXPECT_EQ(count(), QStringLiteral("1.500 von 1.500"));
    find(QStringLiteral("recorder 000"));
    EXPECT_EQ(count(), QStringLiteral("10 von 1.500"));
    EXPECT_EQ(named<QLineEdit>(list, "filterEdit")->accessibleName(), QStringLiteral("Suchen"));
}

} // namespace
