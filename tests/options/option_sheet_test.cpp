// The General page's rows, apply and clamping, and the option sheet's OK and Cancel paths through
// the setup manager, in memory and against the reference host's files.
#include "common/language.h"
#include "common/working_copy.h"
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

#include <QMessageBox>
#include <QSignalSpy>
#include <QVariant>

#include <memory>

namespace {

const QString kInstallDir = QStringLiteral(OSTREL_INSTALL_DIR);

// The embedded installation in a folder of the test's own, and an option provider with the
// bounds 5..60.
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

    QString iniPath() const { return install.path() + QStringLiteral("/Config/ostrel.ini"); }
    int directX() const
    {
        return ostrelini::IniFile::readInt(iniPath(), u"DirectX", u"Version", -1);
    }

    TempInstall install;
    testhost::OptionProvider provider;
};

// A page over the provider's data, shown as the sheet shows it.
class OptionPageTest : public OptionTest
{
protected:
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

    std::unique_ptr<COptionPageGeneral> page;
    CTreeOptionsCtrl *tree = nullptr;
};

enum Group { kAlarm = 0, kLanguage = 1, kDirectX = 2 };

TEST_F(OptionPageTest, ApplyWritesTheRecordAndTheIniOnlyAfterAChange)
{
    install.write(QStringLiteral("Config/ostrel.ini"),
                  "[LANGUAGE]\r\nUSE=fr\r\n\r\n[DirectX]\r\nVersion=8\r\n");
    open();
    EXPECT_EQ(checkedIndex(kLanguage), 1); // an unlisted code selects English
    EXPECT_EQ(checkedIndex(kDirectX), 1);  // anything but 9 shows DirectX 7

    QFile ini(iniPath());
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    const QByteArray before = ini.readAll();
    ini.close();
    page->OnApply();
    EXPECT_STREQ(record().language, "ko");
    EXPECT_EQ(record().alarmServiceAutoConnect, 1);
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_EQ(ini.readAll(), before);

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

TEST_F(OptionPageTest, GroupsShowTheOpenFolderWhileExpanded)
{
    open();
    int image = -1;
    tree->GetItemImage(row(kLanguage), &image, nullptr);
    EXPECT_EQ(image, 2);
    row(kLanguage)->setExpanded(false);
    tree->GetItemImage(row(kLanguage), &image, nullptr);
    EXPECT_EQ(image, 1);
    row(kLanguage)->setExpanded(true);
    tree->GetItemImage(row(kLanguage), &image, nullptr);
    EXPECT_EQ(image, 2);
}

struct Clamp
{
    const char *typed;
    int stored;
};

class PollingTimeTest : public OptionPageTest, public ::testing::WithParamInterface<Clamp>
{
};

// The host's bounds reach the spin control, and the number the editor closes with is held in
// them without a message.
TEST_P(PollingTimeTest, StoredWithinTheHostsBounds)
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
    EXPECT_EQ(lower, 5);
    EXPECT_EQ(upper, 60);

    edit->setText(QLatin1String(GetParam().typed));
    tree->CommitAndCloseEditors();
    EXPECT_EQ(record().alarmServicePollingTime, GetParam().stored);
    EXPECT_EQ(tree->GetEditText(row(kAlarm, 1)), QString::number(GetParam().stored));
    EXPECT_TRUE(page->IsModified());
}

INSTANTIATE_TEST_SUITE_P(Bounds, PollingTimeTest,
                         ::testing::Values(Clamp {"3", 5}, Clamp {"75", 60}, Clamp {"42", 42}));

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

// The captions and rows a sheet shows: none may be a missing text.
void expectNoMissingTexts(CTreePropSheet *sheet)
{
    QStringList texts {sheet->windowTitle()};
    for (auto *tree : sheet->findChildren<QTreeWidget *>())
        for (QTreeWidgetItemIterator it(tree); *it; ++it)
            texts << (*it)->text(0);
    for (auto *button : sheet->findChildren<QPushButton *>())
        texts << button->text();
    for (const QString &text : texts) {
        EXPECT_FALSE(text.isEmpty() || text == QLatin1String("undefined")
                     || text == QLatin1String("Error"))
            << text.toStdString();
    }
}

TEST_F(OptionSheetTest, OkWithoutChangesStoresReloadsAndNotifies)
{
    whenModal<CTreePropSheet>([](CTreePropSheet *sheet) {
        expectNoMissingTexts(sheet);
        EXPECT_EQ(sheet->GetPageTree()->currentItem()->text(0), QStringLiteral("General"));
        press(sheet, "okButton");
    });
    EXPECT_EQ(manager->ShowOptionSheet(), 1);
    // Stored and reloaded before the client hears of it; the copy goes last.
    const std::vector<std::string> tail(provider.log->calls.end() - 5, provider.log->calls.end());
    EXPECT_EQ(tail,
              (std::vector<std::string> {"copy.saveFile", "clear", "loadFile", "queryLink",
                                         "copy.release"}));
    EXPECT_EQ(count("copy.saveFile"), 1);
    EXPECT_EQ(count("clear"), 1);
    EXPECT_EQ(count("loadFile"), 1);
    ASSERT_EQ(notifications.received.size(), 1u);
    const auto &saved = notifications.received.front();
    EXPECT_EQ(saved.name, "Save");
    EXPECT_EQ(saved.id, 13u);
    EXPECT_EQ(saved.sender, &provider);
    EXPECT_EQ(saved.group, 0u);
    EXPECT_EQ(saved.argumentCount, 0u);
}

TEST_F(OptionSheetTest, CancelAfterAChangeSavesNothing)
{
    whenModal<CTreePropSheet>([](CTreePropSheet *sheet) {
        auto *tree = named<CTreeOptionsCtrl>(sheet, "optionTree");
        ASSERT_TRUE(tree->userToggle(tree->topLevelItem(kLanguage)->child(4)));
        press(sheet, "cancelButton");
    });
    EXPECT_EQ(manager->ShowOptionSheet(), 2);
    EXPECT_EQ(count("copy.saveFile") + count("clear") + count("loadFile"), 0);
    EXPECT_TRUE(notifications.received.empty());
    EXPECT_STREQ(provider.data.options.language, "ko");
}

// The client made no copy and knows it: what to tell the user is its decision, so the module
// shows nothing and only logs why.
TEST_F(OptionSheetTest, RefusedWorkingCopyShowsNothing)
{
    provider.refuseWorkingCopy = true;
    LogCapture log;
    QStringList shown;
    QObject watch;
    QTimer::singleShot(0, &watch, [&shown] {
        if (QWidget *window = QApplication::activeModalWidget()) {
            shown << QString::fromLatin1(window->metaObject()->className());
            window->close();
        }
    });
    EXPECT_EQ(manager->ShowOptionSheet(), 2);
    EXPECT_TRUE(shown.isEmpty()) << shown.join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral("working copy"))) << log.text().toStdString();
}

// A copy that is no option provider is never asked for options: the page refuses it, and the
// sheet does not open over a page without values.
TEST_F(OptionSheetTest, CopyOfAnotherKindIsNeverAskedForOptions)
{
    provider.kind = ProviderKind::ServerList; // its copies answer 3 too
    MessageBoxAnswerer answerer;
    QObject watch;
    bool sheetShown = false;
    QTimer::singleShot(0, &watch, [&sheetShown] {
        if (auto *sheet = qobject_cast<CTreePropSheet *>(QApplication::activeModalWidget())) {
            sheetShown = true;
            sheet->reject();
        }
    });
    EXPECT_EQ(setupmgr::showOptionSheet(&provider), 2);
    EXPECT_EQ(count("copy.getOptions"), 0);
    EXPECT_FALSE(sheetShown);
    EXPECT_EQ(answerer.texts.size(), 1);
}

TEST_F(OptionSheetTest, NoNotificationLinkStillSavesAndGivesOk)
{
    provider.linkTarget = nullptr;
    whenModal<CTreePropSheet>([](CTreePropSheet *sheet) { press(sheet, "okButton"); });
    EXPECT_EQ(manager->ShowOptionSheet(), 1);
    EXPECT_EQ(count("copy.saveFile"), 1);
    EXPECT_EQ(count("loadFile"), 1);
    EXPECT_TRUE(notifications.received.empty());
}

// A store that fails keeps the sheet open with the user's changes and leaves the provider alone.
TEST_F(OptionSheetTest, FailedStoreKeepsTheSheetOpen)
{
    provider.refuseSave = true;
    QString shown;
    bool stayedOpen = false;
    // Not whenModal: its guard would close the sheet while the message box runs.
    QTimer::singleShot(0, [&] {
        auto *sheet = qobject_cast<CTreePropSheet *>(QApplication::activeModalWidget());
        ASSERT_NE(sheet, nullptr);
        QTimer::singleShot(0, [&shown] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            shown = box->text();
            box->accept();
        });
        QTest::mouseClick(named<QPushButton>(sheet, "okButton"), Qt::LeftButton);
        stayedOpen = sheet->isVisible();
        sheet->reject();
    });
    EXPECT_EQ(manager->ShowOptionSheet(), 2);
    EXPECT_TRUE(stayedOpen);
    EXPECT_TRUE(shown.contains(QLatin1String("option.xml"))) << shown.toStdString();
    EXPECT_EQ(count("copy.saveFile"), 1);
    EXPECT_EQ(count("clear") + count("loadFile"), 0);
    EXPECT_TRUE(notifications.received.empty());
}

// The copy is stored but the client cannot load it back: the user hears which file, the log
// says so, and no "Save" announces values the client does not hold.
TEST_F(OptionSheetTest, FailedReloadIsToldAndNotAnnounced)
{
    provider.refuseLoad = true;
    LogCapture log;
    MessageBoxAnswerer answerer;
    bool closed = false;
    // Not whenModal: its guard would close the sheet while the message box runs.
    QTimer::singleShot(0, [&closed] {
        auto *sheet = qobject_cast<CTreePropSheet *>(QApplication::activeModalWidget());
        ASSERT_NE(sheet, nullptr);
        auto *tree = named<CTreeOptionsCtrl>(sheet, "optionTree");
        EXPECT_TRUE(tree->userToggle(tree->topLevelItem(kLanguage)->child(6)));
        QTest::mouseClick(named<QPushButton>(sheet, "okButton"), Qt::LeftButton);
        // The file holds the work, so the sheet has nothing left to keep.
        closed = !sheet->isVisible();
        if (!closed)
            sheet->reject();
    });
    EXPECT_EQ(manager->ShowOptionSheet(), 2);
    EXPECT_TRUE(closed);
    ASSERT_EQ(answerer.texts.size(), 1);
    EXPECT_TRUE(answerer.texts.front().contains(QLatin1String("option.xml")))
        << answerer.texts.front().toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral("option.xml"))) << log.text().toStdString();
    EXPECT_TRUE(notifications.received.empty());
    // The file holds the change even though the client does not.
    const auto &files = testhost::OptionProvider::files();
    const auto stored = files.find(setupmgr::workingCopyPath("xml_option").toStdString());
    ASSERT_NE(stored, files.end());
    EXPECT_STREQ(stored->second.options.language, "de");
}

// The client's path end to end: the reference host's files, the editor typed into, the rows
// clicked, OK.
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
