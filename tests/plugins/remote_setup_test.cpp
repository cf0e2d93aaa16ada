// Remote setup through the product plug-ins. The module loads a plug-in by its plain file name,
// which the loader looks up in LD_LIBRARY_PATH, read only when a process starts. So each test
// that needs plug-ins runs its body again in a child process of this program whose
// LD_LIBRARY_PATH starts with one folder: the purpose-built plug-ins of a scenario, or the bin
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

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <link.h>

#include <cstring>
#include <map>
#include <string>

namespace {

constexpr char kChildVariable[] = "OSTREL_REMOTE_SETUP_CHILD";
constexpr char kLogVariable[] = "OSTREL_TEST_PLUGIN_LOG";
constexpr char kReportedTypeVariable[] = "OSTREL_TEST_REPORTED_TYPE";

// True in the child run for this folder, which then runs the test's body; false in the parent,
// which runs that child and checks that it passed (and false in a child run for another folder).
bool inChildWithPlugins(const QString &folder)
{
    if (qEnvironmentVariableIsSet(kChildVariable))
        return qEnvironmentVariable(kChildVariable) == folder;
    const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const QString inherited = environment.value(QStringLiteral("LD_LIBRARY_PATH"));
    environment.insert(QStringLiteral("LD_LIBRARY_PATH"),
                       inherited.isEmpty() ? folder : folder + QLatin1Char(':') + inherited);
    environment.insert(QString::fromLatin1(kChildVariable), folder);
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=%1.%2")
                     .arg(QLatin1String(test->test_suite_name()), QLatin1String(test->name()))});
    EXPECT_TRUE(child.waitForFinished(300000)) << "the child hangs";
    const QByteArray output = child.readAll();
    EXPECT_TRUE(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0
                && output.contains("[  PASSED  ] 1 test."))
        << output.constData();
    return false;
}

bool inScenario(const char *scenario)
{
    return inChildWithPlugins(QStringLiteral(OSTREL_SCENARIO_ROOT "/") + QLatin1String(scenario));
}

// The plug-in files mapped into this process, in load order: what the loader holds, not what
// the module believes.
std::string loadedPlugins()
{
    std::string found;
    dl_iterate_phdr(
        [](dl_phdr_info *info, size_t, void *data) {
            const char *slash = info->dlpi_name ? std::strrchr(info->dlpi_name, '/') : nullptr;
            const std::string file = slash ? slash + 1 : "";
            if (file == "RemoteSetupArvo.so" || file == "RemoteSetupNeq.so")
                *static_cast<std::string *>(data) += file + ' ';
            return 0;
        },
        &found);
    return found;
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
        char text[32];
        std::snprintf(text, sizeof text, "%p", static_cast<void *>(setup));
        appendToLog(std::string("site attach ") + text);
        return accept;
    }

    ServerIdentity identity;
    bool hasIdentity = true;
    bool accept = true;
};

// The host's parameter provider: it records its calls in the same log and fills the block as a
// host would, the last entry to its end without a terminating NUL.
class TestProvider final
    : public testhost::MemoryProvider<TestProvider, IRemoteSetupParameterProvider,
                                      testhost::RemoteSetupData,
                                      ProviderKind::RemoteSetupParameters>
{
public:
    bool loadRemoteSetupParameters(std::int32_t serverId, RemoteSetupParameters *block) override
    {
        appendToLog("host parameters " + std::to_string(serverId));
        if (!data.accept)
            return false;
        block->hostValue = serverId * 10;
        block->activeEntry = 1;
        block->timeout = 250;
        block->enabled = 0;
        std::strcpy(block->entries[1][2].data, "camera 3");
        std::memset(block->entries[7][23].data, 'x', sizeof block->entries[7][23].data);
        return true;
    }
};

// The calls that an opening which succeeds records: plug-in loaded, object created, parameters
// of the server loaded, object prepared, attached and started; and those that closing it records.
std::string opened(const std::string &plugin, int type, int serverId, const std::string &object)
{
    const std::string id = std::to_string(serverId);
    return plugin + " load\n" + plugin + " CreateSetup " + std::to_string(type) + " " + object
        + "\nhost parameters " + id + "\n" + plugin + " prepare " + object + " " + id + " " + id
        + "0 0\nsite attach " + object + "\n" + plugin + " start " + object + "\n";
}
std::string closed(const std::string &plugin, const std::string &object)
{
    return plugin + " ReleaseSetup " + object + "\n" + plugin + " unload\n";
}

class RemoteSetupTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_logFolder.isValid());
        qputenv(kLogVariable, QFile::encodeName(m_logFolder.filePath(QStringLiteral("calls"))));
        qunsetenv(kReportedTypeVariable);
        manager = static_cast<CSetupManager *>(GetSetupManager());
    }
    void TearDown() override { ReleaseSetupManager(); }

    // The calls the plug-ins, the site and the provider recorded, one a line, each object's
    // address replaced by #n for the n-th object created.
    static std::string calls()
    {
        std::string text;
        std::map<std::string, std::string> objects;
        int created = 0;
        QFile log(qEnvironmentVariable(kLogVariable));
        for (bool open = log.open(QIODevice::ReadOnly); open && !log.atEnd();) {
            std::string line = log.readLine().toStdString();
            const std::size_t at = line.find("0x");
            if (at != std::string::npos) {
                const std::string object = line.substr(at, line.find_first_of(" \n", at) - at);
                if (line.find(" CreateSetup ") != std::string::npos)
                    objects[object] = QStringLiteral("#%1").arg(++created).toStdString();
                line.replace(at, object.size(), objects.count(object) ? objects[object] : "?");
            }
            text += line;
        }
        return text;
    }
    static void clearCalls() { QFile::remove(qEnvironmentVariable(kLogVariable)); }
    void expectNothingLoadedOrOpen()
    {
        EXPECT_EQ(loadedPlugins(), "");
        EXPECT_FALSE(manager->IsRemoteSetupOpen());
    }

    CSetupManager *manager = nullptr;
    TestProvider provider;

private:
    QTemporaryDir m_logFolder;
};

enum ProviderAnswer { NoProvider, Refuses, Accepts };
struct Failure
{
    const char *scenario; // the folder of purpose-built plug-ins
    std::int32_t productType;
    ProviderAnswer provider;
    bool siteAccepts;
    const char *calls;
};

const Failure kFailures[] = {
    {"no_setup_term", 2, Accepts, true, "Arvo load\nArvo unload\n"},
    {"null_create", 2, Accepts, true, "Arvo load\nArvo CreateSetup 2 null\nArvo unload\n"},
    {"recording", 2, NoProvider, true,
     "Arvo load\nArvo CreateSetup 2 #1\nArvo ReleaseSetup #1\nArvo unload\n"},
    {"recording", 2, Refuses, true,
     "Arvo load\nArvo CreateSetup 2 #1\nhost parameters 7\nArvo ReleaseSetup #1\nArvo unload\n"},
    {"recording", 3, Accepts, false,
     "Neq load\nNeq CreateSetup 3 #1\nhost parameters 7\nNeq prepare #1 7 70 0\nsite attach #1\n"
     "Neq ReleaseSetup #1\nNeq unload\n"},
    {"recording", 1, Accepts, true, ""},
    {"recording", 4, Accepts, true, ""},
    {"missing", 2, Accepts, true, ""},
};

// Every way an opening fails returns null and leaves no plug-in loaded and nothing open; an
// object that was created is released before its plug-in goes.
TEST_F(RemoteSetupTest, EveryFailureReturnsNullAndLeavesNothingLoadedOrOpen)
{
    for (const char *scenario : {"no_setup_term", "null_create", "recording", "missing"}) {
        if (!inScenario(scenario))
            continue;
        for (const Failure &failure : kFailures) {
            if (std::strcmp(failure.scenario, scenario) != 0)
                continue;
            SCOPED_TRACE(testing::Message() << "failure " << &failure - kFailures);
            ReleaseSetupManager();
            manager = static_cast<CSetupManager *>(GetSetupManager());
            if (failure.provider != NoProvider)
                manager->RegisterProvider(&provider);
            provider.data.accept = failure.provider == Accepts;
            clearCalls();
            TestSite site(7, failure.productType);
            site.accept = failure.siteAccepts;
            EXPECT_EQ(manager->OpenRemoteSetup(&site), nullptr);
            EXPECT_EQ(calls(), failure.calls);
            expectNothingLoadedOrOpen();
        }
    }
}

// While a setup is open, opening again returns it untouched. Opening without a site or without
// an identity closes it, as does releasing the manager; closed, its plug-in is gone and the block
// keeps what the host loaded into it.
TEST_F(RemoteSetupTest, AnOpenSetupIsReturnedAgainUntilClosed)
{
    if (!inScenario("recording"))
        return;
    manager->RegisterProvider(&provider);
    TestSite first(7, 2), second(8, 3);
    EXPECT_EQ(manager->OpenRemoteSetup(nullptr), nullptr); // nothing open: nothing happens
    IRemoteSetup *setup = manager->OpenRemoteSetup(&first);
    ASSERT_NE(setup, nullptr);
    EXPECT_EQ(manager->OpenRemoteSetup(&second), setup);
    EXPECT_TRUE(manager->IsRemoteSetupOpen());
    EXPECT_EQ(loadedPlugins(), "RemoteSetupArvo.so ");
    EXPECT_EQ(calls(), opened("Arvo", 2, 7, "#1"));

    EXPECT_EQ(manager->OpenRemoteSetup(nullptr), nullptr);
    expectNothingLoadedOrOpen();
    EXPECT_EQ(manager->remoteSetupParameters().hostValue, 70);
    ASSERT_NE(manager->OpenRemoteSetup(&second), nullptr);
    second.hasIdentity = false;
    EXPECT_EQ(manager->OpenRemoteSetup(&second), nullptr);
    expectNothingLoadedOrOpen();
    ASSERT_NE(manager->OpenRemoteSetup(&first), nullptr);
    ReleaseSetupManager();
    EXPECT_EQ(calls(),
              opened("Arvo", 2, 7, "#1") + closed("Arvo", "#1") + opened("Neq", 3, 8, "#2")
                  + closed("Neq", "#2") + opened("Arvo", 2, 7, "#3") + closed("Arvo", "#3"));
    EXPECT_EQ(loadedPlugins(), "");

    // Both plug-ins stay loaded only when closes skip them: an object that claims a type whose
    // plug-in is not loaded is forgotten without a release, and its own plug-in stays. Releasing
    // the manager then unloads type 2 before type 3.
    manager = static_cast<CSetupManager *>(GetSetupManager());
    manager->RegisterProvider(&provider);
    qputenv(kReportedTypeVariable, "3");
    ASSERT_NE(manager->OpenRemoteSetup(&first), nullptr);
    manager->CloseRemoteSetup();
    qputenv(kReportedTypeVariable, "9");
    second.hasIdentity = true;
    ASSERT_NE(manager->OpenRemoteSetup(&second), nullptr);
    ASSERT_EQ(loadedPlugins(), "RemoteSetupArvo.so RemoteSetupNeq.so ");
    clearCalls();
    ReleaseSetupManager();
    EXPECT_EQ(calls(), "Arvo unload\nNeq unload\n");
    EXPECT_EQ(loadedPlugins(), "");
}

// The real sample plug-ins show what they were handed. A host may close the remote setup when
// its window goes away, which happens inside the plug-in's ReleaseSetup: the nested close must
// find nothing left to release or unload.
TEST_F(RemoteSetupTest, SamplePluginsShowTheRecorderAndCloseOnce)
{
    if (!inChildWithPlugins(QStringLiteral(OSTREL_SAMPLE_PLUGIN_DIR)))
        return;
    manager->RegisterProvider(&provider);
    for (const auto &[type, family] : {std::pair {2, "Arvo"}, std::pair {3, "Neq"}}) {
        SCOPED_TRACE(family);
        TestSite site(40 + type, type);
        IRemoteSetup *setup = manager->OpenRemoteSetup(&site);
        ASSERT_NE(setup, nullptr);
        QPointer<QWidget> window = static_cast<QWidget *>(setup->window());
        ASSERT_FALSE(window.isNull());
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(
            window->windowTitle(),
            QStringLiteral("Sample remote setup (product family %1)").arg(QLatin1String(family)));
        QStringList shown;
        for (const char *name :
             {"serverId", "productType", "hostValue", "activeEntry", "timeout", "enabled"}) {
            const auto *label = window->findChild<QLabel *>(QLatin1String(name));
            shown << (label ? label->text() : QStringLiteral("<none>"));
        }
        const QString id = QString::number(40 + type);
        EXPECT_EQ(shown, (QStringList {id, QString::number(type), id + "0", "1", "250", "no"}));
        const auto *entries = window->findChild<QTableWidget *>(QStringLiteral("entries"));
        ASSERT_TRUE(entries && entries->rowCount() == 2 && entries->columnCount() == 3);
        QStringList cells;
        for (int at = 0; at < 6; ++at)
            cells << entries->item(at / 3, at % 3)->text();
        EXPECT_EQ(cells, (QStringList {"1", "2", "camera 3", "7", "23", QString(112, 'x')}));

        int nestedCloses = 0;
        QObject::connect(window, &QObject::destroyed, [&] {
            ++nestedCloses;
            manager->CloseRemoteSetup();
        });
        manager->CloseRemoteSetup();
        EXPECT_TRUE(window.isNull());
        EXPECT_EQ(nestedCloses, 1);
        expectNothingLoadedOrOpen();
    }

    // The sample plug-in makes only its own type and starts only once prepared; SetupTerm
    // destroys, window and all, what a host never released.
    void *library = dlopen("RemoteSetupNeq.so", RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    const auto create = reinterpret_cast<CreateSetupFn>(dlsym(library, kCreateSetupExport));
    const auto term = reinterpret_cast<SetupTermFn>(dlsym(library, kSetupTermExport));
    ASSERT_TRUE(create && term && !create(2));
    IRemoteSetup *setup = create(3);
    EXPECT_FALSE(setup->start());
    const ServerIdentity identity {1, 3};
    RemoteSetupParameters block {};
    ASSERT_TRUE(setup->prepare(&identity, &block, 0) && setup->start());
    QPointer<QWidget> window = static_cast<QWidget *>(setup->window());
    ASSERT_FALSE(window.isNull());
    term();
    EXPECT_TRUE(window.isNull());
    dlclose(library);
    EXPECT_EQ(loadedPlugins(), "");
}

} // namespace
