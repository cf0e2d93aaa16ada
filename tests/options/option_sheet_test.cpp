// The General page's wiring (rows, the polling time's editor, apply) and the option sheet's paths
// through the setup manager. The page's rules are tested in option_rules_test, the record's bytes
// after OK and Cancel by the option properties, every failing call by the option faults (which
// keep the sheet open after a failed store and announce nothing after a failed reload); one test
// runs the whole path against the reference host's files.
#include "common/language.h"
#include "frame/setup_manager.h"
#include "options/option_page_general.h"
#include "options/option_sheet.h"
#include "optiontree/tree_options_edit.h"
#include "optiontree/tree_options_spin_ctrl.h"
#include "sheet/tree_prop_sheet.h"
#include "support/dialog_test_util.h"
#include "support/log_capture.h"
#include "support/memory_providers.h"
#include "support/temp_install.h"

#include <ostrelhost/reference_host.h>
#include <ostrelini/ini_file.h>

#include <QSignalSpy>
#include <QVariant>

#include <memory>
#include <tuple>

namespace {

const QString kInstallDir = QStringLiteral(OSTREL_INSTALL_DIR);

// The embedded installation in a folder of the test's own, an option provider with the bounds
// 5..60, and the General page over it.
class OptionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        install.copyFrom(kInstallDir);
        Common::releaseLanguage();
        OptionRecord &options = provider.data.options;
        copyField(options.language, "ko");
        options.alarmServiceAutoConnect = 1;
        options.alarmServicePollingTime = 10;
        options.alarmServicePollingMin = 5;
        options.alarmServicePollingMax = 60;
    }
    void TearDown() override { Common::releaseLanguage(); }

    int directX() const
    {
        return ostrelini::IniFile::readInt(install.path() + QStringLiteral("/Config/ostrel.ini"),
                                           u"DirectX", u"Version", -1);
    }

    // A page over the provider's data, shown as the sheet shows it.
    void open()
    {
        page = std::make_unique<COptionPageGeneral>();
        page->SetWorkingCopy(&provider);
        page->OnInitDialog();
        page->show();
        tree = page->GetTree();
    }
    QTreeWidgetItem *row(int group, int child = -1) const
    {
        QTreeWidgetItem *top = tree->topLevelItem(group);
        return child < 0 ? top : top->child(child);
    }
    int checkedIndex(int group) const
    {
        int index = -1;
        QTreeWidgetItem *checked = nullptr;
        tree->GetRadioButton(row(group), &index, &checked);
        return index;
    }
    const OptionRecord &record() const { return provider.data.options; }

    TempInstall install;
    testhost::OptionProvider provider;
    std::unique_ptr<COptionPageGeneral> page;
    CTreeOptionsCtrl *tree = nullptr;
};

enum Group { kAlarm = 0, kLanguage = 1, kDirectX = 2 };

TEST_F(OptionTest, ApplyWritesTheRecordAndTheIniOnlyAfterAChange)
{
    install.write(QStringLiteral("Config/ostrel.ini"),
                  "[LANGUAGE]\r\nUSE=fr\r\n\r\n[DirectX]\r\nVersion=8\r\n");
    open();
    EXPECT_EQ(checkedIndex(kLanguage), 1); // an unlisted code selects English
    EXPECT_EQ(checkedIndex(kDirectX), 1);  // anything but 9 shows DirectX 7

    // Nothing changed: applying writes neither the record nor the ini file (whose 8 it would
    // write as 7).
    page->OnApply();
    EXPECT_STREQ(record().language, "ko");
    EXPECT_EQ(record().alarmServiceAutoConnect, 1);
    EXPECT_EQ(directX(), 8);

    // Another change; DirectX untouched is still written, as the 7 it shows.
    ASSERT_TRUE(tree->userToggle(row(kAlarm, 0)));
    EXPECT_TRUE(page->IsModified());
    page->OnApply();
    EXPECT_FALSE(page->IsModified());
    EXPECT_EQ(record().alarmServiceAutoConnect, 0);
    EXPECT_STREQ(record().language, "en");
    EXPECT_EQ(directX(), 7);

    // Leaving the page applies it too.
    ASSERT_TRUE(tree->userToggle(row(kLanguage, 6)));
    ASSERT_TRUE(tree->userToggle(row(kDirectX, 0)));
    EXPECT_TRUE(page->OnKillActive());
    EXPECT_STREQ(record().language, "de");
    EXPECT_EQ(directX(), 9);
}

TEST_F(OptionTest, GroupsShowTheOpenFolderWhileExpanded)
{
    open();
    // Built expanded; then collapsed and expanded again.
    for (const bool expanded : {true, false, true}) {
        row(kLanguage)->setExpanded(expanded);
        int image = -1;
        tree->GetItemImage(row(kLanguage), &image, nullptr);
        EXPECT_EQ(image, expanded ? 2 : 1);
    }
}

// The host's bounds reach the spin control, and the number the editor closes with is held in
// them.
TEST_F(OptionTest, PollingTimeEditorIsHeldToTheHostsBounds)
{
    open();
    tree->setCurrentItem(row(kAlarm, 1));
    CTreeOptionsEdit *edit = tree->editEditor();
    CTreeOptionsSpinCtrl *spin = tree->spinControl();
    ASSERT_TRUE(edit && spin);
    EXPECT_TRUE(
        setupmgr::editorstyle::has(edit->editorStyle(), setupmgr::editorstyle::kEditNumber));
    int lower = 0;
    int upper = 0;
    spin->GetRange(&lower, &upper);
    EXPECT_EQ(std::pair(lower, upper), std::pair(5, 60));

    edit->setText(QStringLiteral("75"));
    tree->CommitAndCloseEditors();
    EXPECT_EQ(record().alarmServicePollingTime, 60);
    EXPECT_EQ(tree->GetEditText(row(kAlarm, 1)), QStringLiteral("60"));
    EXPECT_TRUE(page->IsModified());
}

// The sheet as the client opens it: through the setup manager, run modally.
class OptionSheetTest : public OptionTest
{
protected:
    void SetUp() override
    {
        OptionTest::SetUp();
        manager = GetSetupManager();
        provider.linkTarget = static_cast<INotificationTarget *>(&notifications);
        manager->RegisterProvider(&provider);
    }
    void TearDown() override
    {
        ReleaseSetupManager();
        // Every copy made is released exactly once.
        const int made = provider.refuseWorkingCopy ? 0 : count("createWorkingCopy");
        EXPECT_EQ(count("copy.release"), made);
        EXPECT_EQ(QApplication::topLevelWidgets().size(), 0);
        OptionTest::TearDown();
    }
    int count(const char *operation) const { return provider.log->count(operation); }

    ISetupManager *manager = nullptr;
    testhost::NotificationRecorder notifications;
};

// Without a notification link the sheet still stores, reloads and gives OK, and no one hears;
// with one, OK stores and reloads once before the client hears "Save", and the copy goes last.
TEST_F(OptionSheetTest, OkWithoutChangesStoresReloadsAndNotifies)
{
    for (const bool linked : {false, true}) {
        provider.linkTarget = linked ? static_cast<INotificationTarget *>(&notifications) : nullptr;
        provider.log->calls.clear();
        whenModal<CTreePropSheet>([](CTreePropSheet *sheet) {
            expectNoMissingTexts(sheet);
            EXPECT_EQ(sheet->GetPageTree()->currentItem()->text(0), QStringLiteral("General"));
            press(sheet, "okButton");
        });
        EXPECT_EQ(manager->ShowOptionSheet(), 1);
        EXPECT_EQ(count("copy.saveFile"), 1);
        EXPECT_EQ(count("clear"), 1);
        EXPECT_EQ(count("loadFile"), 1);
        ASSERT_EQ(notifications.received.size(), linked ? 1u : 0u);
    }
    const std::vector<std::string> tail(provider.log->calls.end() - 5, provider.log->calls.end());
    EXPECT_EQ(tail,
              (std::vector<std::string> {"copy.saveFile", "clear", "loadFile", "queryLink",
                                         "copy.release"}));
    const auto &saved = notifications.received.front();
    EXPECT_EQ(std::tuple(saved.name, saved.id, saved.sender, saved.group, saved.argumentCount),
              std::tuple("Save", 13u, static_cast<IDataProvider *>(&provider), 0u, 0u));
}

// The client made no copy and knows it: what to tell the user is its decision, so the module
// shows nothing and only logs why.
TEST_F(OptionSheetTest, RefusedWorkingCopyShowsNothing)
{
    provider.refuseWorkingCopy = true;
    LogCapture log;
    std::int32_t result = 0;
    EXPECT_FALSE(
        duringStep<QDialog>([](QDialog *) {}, [&] { result = manager->ShowOptionSheet(); }));
    EXPECT_EQ(result, 2);
    EXPECT_TRUE(log.contains(QStringLiteral("working copy"))) << log.text().toStdString();
}

// A copy that is no option provider is never asked for options: the page refuses it, and the
// sheet does not open over a page without values.
TEST_F(OptionSheetTest, CopyOfAnotherKindIsNeverAskedForOptions)
{
    provider.kind = ProviderKind::ServerList; // its copies answer 3 too
    MessageBoxAnswerer answerer;
    std::int32_t result = 0;
    EXPECT_FALSE(duringStep<CTreePropSheet>(
        [](CTreePropSheet *) {}, [&] { result = setupmgr::showOptionSheet(&provider); }));
    EXPECT_EQ(result, 2);
    EXPECT_EQ(count("copy.getOptions"), 0);
    EXPECT_EQ(answerer.texts.size(), 1);
}

// The whole path against the reference host's files, as the demo client runs it: a change of
// every kind stored in the host's option file and its main ini file, and "Save" heard once.
TEST_F(OptionTest, OkStoresTheHostsFilesAndTheClientHearsSave)
{
    ostrelhost::ReferenceHost host(install.path());
    ASSERT_TRUE(host.loadAll());
    ISetupManager *manager = GetSetupManager();
    for (IDataProvider *registered : host.providers())
        manager->RegisterProvider(registered);
    QSignalSpy saved(&host.notifications(), &ostrelhost::NotificationRelay::optionsSaved);

    whenModal<CTreePropSheet>([](CTreePropSheet *sheet) {
        auto *tree = named<CTreeOptionsCtrl>(sheet, "optionTree");
        const auto clickRow = [tree](QTreeWidgetItem *row) {
            QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->imageRect(row).center());
        };
        clickRow(tree->topLevelItem(kAlarm)->child(1));
        auto *edit = named<QLineEdit>(sheet, "optionEditor");
        ASSERT_NE(edit, nullptr);
        edit->selectAll();
        typeText(edit, QStringLiteral("999"));
        clickRow(tree->topLevelItem(kLanguage)->child(6));
        clickRow(tree->topLevelItem(kDirectX)->child(1));
        press(sheet, "okButton");
    });
    EXPECT_EQ(manager->ShowOptionSheet(), 1);
    ReleaseSetupManager();
    EXPECT_EQ(saved.count(), 1);

    ostrelhost::FileOptionProvider stored;
    ASSERT_TRUE(stored.loadFile(qUtf8Printable(host.path(ostrelhost::DataFile::Option))));
    OptionRecord *options = nullptr;
    ASSERT_TRUE(stored.getOptions(&options));
    EXPECT_STREQ(options->language, "de");
    EXPECT_EQ(options->alarmServicePollingTime, options->alarmServicePollingMax);
    EXPECT_EQ(directX(), 7);
    ASSERT_TRUE(host.options().getOptions(&options));
    EXPECT_STREQ(options->language, "de");
}

// The message's arguments go with it.
TEST(NotificationMessage, FreesItsArguments)
{
    auto tracked = std::make_shared<int>(0);
    const std::weak_ptr<int> watch = tracked;
    {
        setupmgr::NotificationMessage message(kSaveNotificationId, nullptr);
        ASSERT_TRUE(
            seqAppend(message.get()->arguments, new QVariant(QVariant::fromValue(tracked))));
        ASSERT_TRUE(seqAppend(message.get()->arguments, static_cast<QVariant *>(nullptr)));
        tracked.reset();
        EXPECT_FALSE(watch.expired());
    }
    EXPECT_TRUE(watch.expired());
}

} // namespace
