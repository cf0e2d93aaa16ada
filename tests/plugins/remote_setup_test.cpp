// Remote setup through the product plug-ins. The module loads a plug-in by its plain file name,
// which the loader looks up in LD_LIBRARY_PATH, read only when a process starts. So each test
// that needs plug-ins runs its body again in a child process of this program whose
// LD_LIBRARY_PATH starts with one folder: the purpose-built plug-ins of its scenario, or the bin
// folder of the real samples. The program has no RUNPATH, so the child finds plug-ins nowhere
// else. The parent only checks that the child passed; the child's checks do the work.
#include "frame/setup_manager.h"
#include "support/memory_providers.h"

#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QProcess>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <link.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

constexpr char kChildVariable[] = "OSTREL_REMOTE_SETUP_CHILD";
constexpr char kLogVariable[] = "OSTREL_TEST_PLUGIN_LOG";
constexpr char kReportedTypeVariable[] = "OSTREL_TEST_REPORTED_TYPE";

// True in the child run for this folder, which then runs the test's body; false in the parent,
// which has run that child with the folder as its library search path and checked that it
// passed (and false in a child run for another folder).
bool inChildWithPlugins(const QString &folder)
{
    if (qEnvironmentVariableIsSet(kChildVariable))
        return qEnvironmentVariable(kChildVariable) == folder;
    const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
    const QString filter = QString::fromUtf8(test->test_suite_name()) + QLatin1Char('.')
        + QString::fromUtf8(test->name());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const QString inherited = environment.value(QStringLiteral("LD_LIBRARY_PATH"));
    environment.insert(QStringLiteral("LD_LIBRARY_PATH"),
                       inherited.isEmpty() ? folder : folder + QLatin1Char(':') + inherited);
    environment.insert(QString::fromLatin1(kChildVariable), folder);
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=") + filter});
    EXPECT_TRUE(child.waitForFinished(300000)) << "child of " << qPrintable(filter) << " hangs";
    const QByteArray output = child.readAll();
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << output.constData();
    EXPECT_EQ(child.exitCode(), 0) << output.constData();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test.")) << output.constData();
    return false;
}

bool inScenario(const char *scenario)
{
    return inChildWithPlugins(QStringLiteral(OSTREL_SCENARIO_ROOT "/") + QLatin1String(scenario));
}

// The plug-in files mapped into this process, by file name, sorted: what the loader holds, not
// what the module believes.
Lines loadedPlugins()
{
    Lines found;
    dl_iterate_phdr(
        [](dl_phdr_info *info, size_t, void *data) {
            const char *path = info->dlpi_name ? info->dlpi_name : "";
            const char *slash = std::strrchr(path, '/');
            const std::string file = slash ? slash + 1 : path;
            if (file == "RemoteSetupArvo.so" || file == "RemoteSetupNeq.so")
                static_cast<Lines *>(data)->push_back(file);
            return 0;
        },
        &found);
    std::sort(found.begin(), found.end());
    return found;
}

std::string address(const void *pointer)
{
    char text[32];
    std::snprintf(text, sizeof text, "%p", pointer);
    return text;
}

void appendToLog(const std::string &line)
{
    QFile log(qEnvironmentVariable(kLogVariable));
    if (log.open(QIODevice::Append))
        log.write(QByteArray::fromStdString(line + '\n'));
}

// The host object; it writes its attach into the plug-ins' log, so the order of the calls shows.
class TestSite final : public IRemoteSetupSite
{
public:
    TestSite(std::int32_t serverId, std::int32_t productType)
        : identity {serverId, productType}
    { }
    const ServerIdentity *getServerIdentity() override { return hasIdentity ? &identity : nullptr; }
    bool attachRemoteSetup(IRemoteSetup *setup) override
    {
        appendToLog("site attach " + address(setup));
        attached.push_back(setup);
        windowAtAttach = setup->window();
        return accept;
    }

    ServerIdentity identity;
    bool hasIdentity = true;
    bool accept = true;
    std::vector<IRemoteSetup *> attached;
    void *windowAtAttach = nullptr;
};

// Fills the block as a host would, so the sample window has something to show.
class FillingProvider final
    : public testhost::MemoryProvider<FillingProvider, IRemoteSetupParameterProvider,
                                      testhost::RemoteSetupData,
                                      ProviderKind::RemoteSetupParameters>
{
public:
    bool loadRemoteSetupParameters(std::int32_t serverId, RemoteSetupParameters *block) override
    {
        block->hostValue = serverId * 10;
        block->activeEntry = 1;
        block->timeout = 250;
        block->enabled = 0;
        std::strcpy(block->entries[1][2].data, "camera 3");
        // The last entry filled to its end, without a terminating NUL.
        std::memset(block->entries[7][23].data, 'x', sizeof block->entries[7][23].data);
        return true;
    }
};

class RemoteSetupTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_logFolder.isValid());
        m_logPath = m_logFolder.filePath(QStringLiteral("calls.log"));
        qputenv(kLogVariable, QFile::encodeName(m_logPath));
        qunsetenv(kReportedTypeVariable);
        manager = static_cast<CSetupManager *>(GetSetupManager());
    }
    void TearDown() override { ReleaseSetupManager(); }

    // The calls the plug-ins and the site recorded, in order.
    Lines calls() const
    {
        Lines lines;
        QFile log(m_logPath);
        if (log.open(QIODevice::ReadOnly)) {
            while (!log.atEnd())
                lines.push_back(log.readLine().trimmed().toStdString());
        }
        return lines;
    }
    // How many recorded calls are of that operation (the word after the recording file's name).
    int count(const std::string &operation) const
    {
        const Lines lines = calls();
        return int(std::count_if(lines.begin(), lines.end(), [&](const std::string &line) {
            const std::size_t start = line.find(' ') + 1;
            return line.compare(start, line.find(' ', start) - start, operation) == 0;
        }));
    }
    // The object the last CreateSetup made, as its address.
    std::string lastCreated() const
    {
        const Lines lines = calls();
        for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
            if (line->find(" CreateSetup ") != std::string::npos)
                return line->substr(line->rfind(' ') + 1);
        }
        return {};
    }
    void clearCalls() { QFile::remove(m_logPath); }
    void expectNothingLoadedOrOpen()
    {
        EXPECT_EQ(loadedPlugins(), Lines());
        EXPECT_FALSE(manager->IsRemoteSetupOpen());
    }

    CSetupManager *manager = nullptr;
    testhost::RemoteSetupProvider parameters;

private:
    QTemporaryDir m_logFolder;
    QString m_logPath;
};

TEST_F(RemoteSetupTest, PluginWithoutSetupTermIsRefusedAndUnloaded)
{
    if (!inScenario("no_setup_term"))
        return;
    manager->RegisterProvider(&parameters);
    TestSite site(7, 2);
    EXPECT_EQ(manager->OpenRemoteSetup(&site), nullptr);
    EXPECT_EQ(calls(), (Lines {"RemoteSetupArvo load", "RemoteSetupArvo unload"}));
    EXPECT_EQ(parameters.log->count("loadRemoteSetupParameters"), 0);
    expectNothingLoadedOrOpen();
}

TEST_F(RemoteSetupTest, NullFromCreateSetupFailsTheOpening)
{
    if (!inScenario("null_create"))
        return;
    manager->RegisterProvider(&parameters);
    TestSite site(7, 2);
    EXPECT_EQ(manager->OpenRemoteSetup(&site), nullptr);
    EXPECT_EQ(calls(),
              (Lines {"RemoteSetupArvo load", "RemoteSetupArvo CreateSetup 2 null",
                      "RemoteSetupArvo unload"}));
    EXPECT_EQ(parameters.log->count("loadRemoteSetupParameters"), 0);
    EXPECT_TRUE(site.attached.empty());
    expectNothingLoadedOrOpen();
}

TEST_F(RemoteSetupTest, MissingOrRefusingParameterProviderReleasesTheObject)
{
    if (!inScenario("recording"))
        return;
    TestSite site(7, 2);
    const auto expectReleasedUnprepared = [&] {
        const std::string object = lastCreated();
        EXPECT_EQ(calls(),
                  (Lines {"RemoteSetupArvo load", "RemoteSetupArvo CreateSetup 2 " + object,
                          "RemoteSetupArvo ReleaseSetup " + object, "RemoteSetupArvo unload"}));
        EXPECT_TRUE(site.attached.empty());
        expectNothingLoadedOrOpen();
    };
    {
        SCOPED_TRACE("no kind-4 provider");
        EXPECT_EQ(manager->OpenRemoteSetup(&site), nullptr);
        expectReleasedUnprepared();
    }
    {
        SCOPED_TRACE("provider refuses");
        clearCalls();
        parameters.data.accept = false;
        manager->RegisterProvider(&parameters);
        EXPECT_EQ(manager->OpenRemoteSetup(&site), nullptr);
        EXPECT_EQ(parameters.log->count("loadRemoteSetupParameters"), 1);
        expectReleasedUnprepared();
    }
}

TEST_F(RemoteSetupTest, SiteThatRefusesTheObjectGetsNullAndTheObjectIsReleased)
{
    if (!inScenario("recording"))
        return;
    manager->RegisterProvider(&parameters);
    TestSite site(7, 3);
    site.accept = false;
    EXPECT_EQ(manager->OpenRemoteSetup(&site), nullptr);
    ASSERT_EQ(site.attached.size(), 1u);
    const std::string object = address(site.attached.front());
    // The block reaches prepare already loaded (the provider writes the id into hostValue).
    EXPECT_EQ(calls(),
              (Lines {"RemoteSetupNeq load", "RemoteSetupNeq CreateSetup 3 " + object,
                      "RemoteSetupNeq prepare " + object + " 7 7 0", "site attach " + object,
                      "RemoteSetupNeq ReleaseSetup " + object, "RemoteSetupNeq unload"}));
    expectNothingLoadedOrOpen();
}

TEST_F(RemoteSetupTest, OtherProductTypesAndMissingPluginFilesLoadNothing)
{
    for (const char *scenario : {"recording", "missing"}) {
        if (!inScenario(scenario))
            continue;
        manager->RegisterProvider(&parameters);
        const bool present = std::strcmp(scenario, "recording") == 0;
        for (std::int32_t type : {0, 1, 4, -1, 2, 3}) {
            if (present && (type == 2 || type == 3))
                continue;
            SCOPED_TRACE(type);
            TestSite site(7, type);
            EXPECT_EQ(manager->OpenRemoteSetup(&site), nullptr);
            expectNothingLoadedOrOpen();
        }
        EXPECT_EQ(calls(), Lines());
        EXPECT_EQ(parameters.log->count("loadRemoteSetupParameters"), 0);
        return;
    }
}

TEST_F(RemoteSetupTest, SecondOpeningReturnsTheOpenObjectUntouched)
{
    if (!inScenario("recording"))
        return;
    manager->RegisterProvider(&parameters);
    TestSite first(7, 2);
    IRemoteSetup *setup = manager->OpenRemoteSetup(&first);
    ASSERT_NE(setup, nullptr);
    const std::string object = address(setup);
    const Lines opened {"RemoteSetupArvo load", "RemoteSetupArvo CreateSetup 2 " + object,
                        "RemoteSetupArvo prepare " + object + " 7 7 0", "site attach " + object,
                        "RemoteSetupArvo start " + object};
    EXPECT_EQ(calls(), opened);
    EXPECT_TRUE(manager->IsRemoteSetupOpen());
    EXPECT_EQ(loadedPlugins(), Lines {"RemoteSetupArvo.so"});

    TestSite second(8, 3);
    EXPECT_EQ(manager->OpenRemoteSetup(&second), setup);
    EXPECT_EQ(calls(), opened);
    EXPECT_TRUE(second.attached.empty());
    EXPECT_EQ(parameters.log->count("loadRemoteSetupParameters"), 1);
    EXPECT_EQ(loadedPlugins(), Lines {"RemoteSetupArvo.so"});

    // Closed, the plug-in is gone; the block keeps what the host loaded into it.
    manager->CloseRemoteSetup();
    EXPECT_EQ(calls().back(), "RemoteSetupArvo unload");
    EXPECT_EQ(count("ReleaseSetup"), 1);
    expectNothingLoadedOrOpen();
    EXPECT_EQ(manager->remoteSetupParameters().hostValue, 7);

    // The next opening loads the plug-in anew; releasing the manager closes it.
    clearCalls();
    ASSERT_NE(manager->OpenRemoteSetup(&second), nullptr);
    EXPECT_EQ(count("load"), 1);
    const std::string reopened = lastCreated();
    ReleaseSetupManager();
    const Lines lines = calls();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(Lines(lines.end() - 2, lines.end()),
              (Lines {"RemoteSetupNeq ReleaseSetup " + reopened, "RemoteSetupNeq unload"}));
    EXPECT_EQ(loadedPlugins(), Lines());
}

TEST_F(RemoteSetupTest, OpeningWithoutSiteOrIdentityClosesTheOpenSetup)
{
    if (!inScenario("recording"))
        return;
    manager->RegisterProvider(&parameters);
    TestSite site(7, 2);
    EXPECT_EQ(manager->OpenRemoteSetup(nullptr), nullptr);
    EXPECT_EQ(calls(), Lines());

    for (bool nullSite : {true, false}) {
        SCOPED_TRACE(nullSite ? "null site" : "site without identity");
        site.hasIdentity = true;
        IRemoteSetup *setup = manager->OpenRemoteSetup(&site);
        ASSERT_NE(setup, nullptr);
        site.hasIdentity = false;
        EXPECT_EQ(manager->OpenRemoteSetup(nullSite ? nullptr : &site), nullptr);
        const Lines lines = calls();
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(
            Lines(lines.end() - 2, lines.end()),
            (Lines {"RemoteSetupArvo ReleaseSetup " + address(setup), "RemoteSetupArvo unload"}));
        expectNothingLoadedOrOpen();
    }
}

// Both plug-ins stay loaded only when closes skip them: objects that claim a type whose plug-in
// is not loaded are forgotten without a release, and their own plug-in stays.
TEST_F(RemoteSetupTest, ReleasingTheManagerUnloadsTypeTwoBeforeTypeThree)
{
    if (!inScenario("recording"))
        return;
    manager->RegisterProvider(&parameters);
    TestSite arvo(7, 2), neq(8, 3);
    qputenv(kReportedTypeVariable, "3");
    ASSERT_NE(manager->OpenRemoteSetup(&arvo), nullptr);
    manager->CloseRemoteSetup();
    EXPECT_FALSE(manager->IsRemoteSetupOpen());
    qputenv(kReportedTypeVariable, "9");
    ASSERT_NE(manager->OpenRemoteSetup(&neq), nullptr);
    ASSERT_EQ(loadedPlugins(), (Lines {"RemoteSetupArvo.so", "RemoteSetupNeq.so"}));
    EXPECT_EQ(count("ReleaseSetup"), 0);

    clearCalls();
    ReleaseSetupManager();
    EXPECT_EQ(calls(), (Lines {"RemoteSetupArvo unload", "RemoteSetupNeq unload"}));
    EXPECT_EQ(loadedPlugins(), Lines());
}

TEST_F(RemoteSetupTest, SamplePluginsShowTheRecorderAndItsParameters)
{
    if (!inChildWithPlugins(QStringLiteral(OSTREL_SAMPLE_PLUGIN_DIR)))
        return;
    FillingProvider provider;
    manager->RegisterProvider(&provider);
    for (const auto &[type, family] : {std::pair {2, "Arvo"}, std::pair {3, "Neq"}}) {
        SCOPED_TRACE(family);
        TestSite site(40 + type, type);
        IRemoteSetup *setup = manager->OpenRemoteSetup(&site);
        ASSERT_NE(setup, nullptr);
        EXPECT_EQ(setup->getProductType(), type);
        EXPECT_EQ(site.windowAtAttach, nullptr) << "a widget before start";
        QPointer<QWidget> window = static_cast<QWidget *>(setup->window());
        ASSERT_FALSE(window.isNull());
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(
            window->windowTitle(),
            QStringLiteral("Sample remote setup (product family %1)").arg(QLatin1String(family)));
        const auto shown = [&](const char *name) {
            const auto *label = window->findChild<QLabel *>(QLatin1String(name));
            return label ? label->text() : QStringLiteral("<none>");
        };
        EXPECT_EQ(shown("serverId"), QString::number(40 + type));
        EXPECT_EQ(shown("productType"), QString::number(type));
        EXPECT_EQ(shown("hostValue"), QString::number((40 + type) * 10));
        EXPECT_EQ(shown("activeEntry"), QStringLiteral("1"));
        EXPECT_EQ(shown("timeout"), QStringLiteral("250"));
        EXPECT_EQ(shown("enabled"), QStringLiteral("no"));
        const auto *entries = window->findChild<QTableWidget *>(QStringLiteral("entries"));
        ASSERT_NE(entries, nullptr);
        ASSERT_EQ(entries->rowCount(), 2);
        const auto row = [&](int at) {
            return QStringList {entries->item(at, 0)->text(), entries->item(at, 1)->text(),
                                entries->item(at, 2)->text()};
        };
        EXPECT_EQ(
            row(0),
            (QStringList {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("camera 3")}));
        EXPECT_EQ(row(1),
                  (QStringList {QStringLiteral("7"), QStringLiteral("23"),
                                QString(112, QLatin1Char('x'))}));

        manager->CloseRemoteSetup();
        EXPECT_TRUE(window.isNull()) << "ReleaseSetup leaves the window";
        expectNothingLoadedOrOpen();
    }
}

// A host may close the remote setup when its window goes away, which happens inside the
// plug-in's ReleaseSetup: the nested close must find nothing left to release or unload.
TEST_F(RemoteSetupTest, ClosingAgainWhileTheWindowIsDestroyedIsHarmless)
{
    if (!inChildWithPlugins(QStringLiteral(OSTREL_SAMPLE_PLUGIN_DIR)))
        return;
    FillingProvider provider;
    manager->RegisterProvider(&provider);
    TestSite site(5, 2);
    IRemoteSetup *setup = manager->OpenRemoteSetup(&site);
    ASSERT_NE(setup, nullptr);
    int nestedCloses = 0;
    QObject::connect(static_cast<QWidget *>(setup->window()), &QObject::destroyed, [&] {
        ++nestedCloses;
        manager->CloseRemoteSetup();
    });
    manager->CloseRemoteSetup();
    EXPECT_EQ(nestedCloses, 1);
    expectNothingLoadedOrOpen();
}

TEST_F(RemoteSetupTest, SamplePluginCreatesOnlyItsOwnTypeAndTermDestroysWhatIsLeft)
{
    if (!inChildWithPlugins(QStringLiteral(OSTREL_SAMPLE_PLUGIN_DIR)))
        return;
    void *library = dlopen("RemoteSetupNeq.so", RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    const auto create = reinterpret_cast<CreateSetupFn>(dlsym(library, kCreateSetupExport));
    const auto release = reinterpret_cast<ReleaseSetupFn>(dlsym(library, kReleaseSetupExport));
    const auto term = reinterpret_cast<SetupTermFn>(dlsym(library, kSetupTermExport));
    ASSERT_TRUE(create && release && term);

    EXPECT_EQ(create(2), nullptr);
    IRemoteSetup *unprepared = create(3);
    ASSERT_NE(unprepared, nullptr);
    EXPECT_FALSE(unprepared->start());
    EXPECT_EQ(unprepared->window(), nullptr);
    release(unprepared);

    // An object the host never released is destroyed, window and all, by SetupTerm.
    IRemoteSetup *forgotten = create(3);
    const ServerIdentity identity {1, 3};
    RemoteSetupParameters block {};
    ASSERT_TRUE(forgotten->prepare(&identity, &block, 0));
    ASSERT_TRUE(forgotten->start());
    QPointer<QWidget> window = static_cast<QWidget *>(forgotten->window());
    ASSERT_FALSE(window.isNull());
    term();
    EXPECT_TRUE(window.isNull());
    dlclose(library);
    EXPECT_EQ(loadedPlugins(), Lines());
}

} // namespace
