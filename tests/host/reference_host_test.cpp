// The reference host on the shipped sample installation and on a Path.ini written the way the
// installation writes it (backslashes, any letter case).
#include "host_test_support.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>

using namespace ostrelhost;
using namespace hosttest;

namespace {

const char *const kSampleFiles[] = {"account.xml", "authority.xml", "serverinfo.xml",
                                    "option.xml",  "template.xml",  "remotesetup.xml"};

class SampleInstallation : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir(m_dir.path()).mkpath(QStringLiteral("Config")));
        ASSERT_TRUE(QDir(m_dir.path()).mkpath(QStringLiteral("Data")));
        for (const char *name : kSampleFiles)
            ASSERT_TRUE(
                QFile::copy(QStringLiteral(OSTREL_INSTALL_DIR "/Data/") + QLatin1String(name),
                            path(QStringLiteral("Data/") + QLatin1String(name))));
    }
    QString path(const QString &relative) const { return QDir(m_dir.path()).filePath(relative); }
    void writePathIni(const QByteArray &text)
    {
        writeBytes(path(QStringLiteral("Config/Path.ini")), text);
    }

    QTemporaryDir m_dir;
};

TEST_F(SampleInstallation, LoadsEveryFileThatPathIniNames)
{
    writePathIni(
        "; data files\r\n[Language]\r\nxml_account=Wrong\\file.xml\r\n"
        "[path]\r\nXML_Account = Data\\account.xml\r\nxml_authority=\"Data\\authority.xml\"\r\n"
        "xml_serverinfo=Data\\serverinfo.xml\r\nxml_option=Data\\option.xml\r\n"
        "xml_account=Data\\ignored.xml\r\n");
    ReferenceHost host(m_dir.path());
    EXPECT_EQ(host.path(DataFile::Account), path(QStringLiteral("Data/account.xml")));
    EXPECT_EQ(host.path(DataFile::Template), path(QStringLiteral("Data/template.xml")));
    ASSERT_TRUE(host.loadAll());
    EXPECT_TRUE(host.diagnostics().problems().isEmpty());

    // The sample is rich enough for every dialog.
    EXPECT_GE(host.accounts().getUserCount(), 12);
    UserRecord *user = nullptr;
    ASSERT_TRUE(host.accounts().getUser(0, &user));
    EXPECT_STREQ(user->id, "admin");
    bool groupInGroup = false;
    for (int i = 0; i < host.accounts().getGroupCount(); ++i) {
        GroupRecord *group = nullptr;
        ASSERT_TRUE(host.accounts().getGroup(i, &group));
        for (std::size_t m = 0; m < seqSize(group->members); ++m)
            groupInGroup = groupInGroup || seqAt(group->members, m)->kind == MemberGroup;
    }
    EXPECT_TRUE(groupInGroup);
    EXPECT_GE(host.authority().getCategoryCount(), 5);
    ASSERT_EQ(host.serverList().getServerCount(), 10);
    std::set<int> kinds;
    for (int i = 0; i < 10; ++i) {
        ServerRecord *server = nullptr;
        ASSERT_TRUE(host.serverList().getServer(i, &server));
        kinds.insert(server->productKind);
        EXPECT_GT(seqSize(server->cameras), 0u) << server->name;
        EXPECT_GT(seqSize(server->additionalInfo), 0u) << server->name;
    }
    EXPECT_EQ(kinds, (std::set<int> {1, 2, 3}));
    OptionRecord *options = nullptr;
    ASSERT_TRUE(host.options().getOptions(&options));
    EXPECT_STREQ(options->language, "en");
    EXPECT_EQ(options->alarmServicePollingTime, 10);
    EXPECT_EQ(options->alarmServicePollingMin, 5);
    EXPECT_EQ(options->alarmServicePollingMax, 60);

    DisplayTemplate *view = nullptr;
    ASSERT_TRUE(host.templates().getTemplate("serverInfo", &view));
    ASSERT_GE(seqSize(view->categories), 3u);
    EXPECT_STREQ(seqAt(view->categories, 0)->name, "dvr");
    EXPECT_STREQ(seqAt(view->categories, 1)->name, "addInfo");
    std::string dvrItems;
    for (std::size_t i = 0; i < seqSize(seqAt(view->categories, 0)->items); ++i)
        dvrItems += std::string(seqAt(seqAt(view->categories, 0)->items, i)->name) + " ";
    EXPECT_EQ(dvrItems, "type name version connected cameraCount url port accountId ");

    RemoteSetupParameters block {};
    EXPECT_TRUE(host.remoteSetup().loadRemoteSetupParameters(3, &block));
    EXPECT_STREQ(block.entries[0][FileRemoteSetupProvider::NameColumn].data, "Warehouse North");
    EXPECT_EQ(block.timeout, 250);

    const auto providers = host.providers();
    std::set<ProviderKind> providerKinds;
    for (IDataProvider *provider : providers)
        providerKinds.insert(provider->getKind());
    EXPECT_EQ(providerKinds.size(), 6u);
}

TEST_F(SampleInstallation, MissingPathIniOrKeysAreReportedAndDefaultsUsed)
{
    {
        ReferenceHost host(m_dir.path());
        ASSERT_EQ(host.diagnostics().problems().size(), 1);
        EXPECT_EQ(host.diagnostics().problems().at(0).operation, FileOperation::Configure);
        EXPECT_TRUE(
            host.diagnostics().problems().at(0).path.endsWith(QStringLiteral("Config/Path.ini")));
        EXPECT_TRUE(host.loadAll());
    }
    writePathIni("[PATH]\nxml_account=Data\\account.xml\nxml_template=Data\\other.xml\n");
    ReferenceHost host(m_dir.path());
    EXPECT_EQ(host.diagnostics().problems().size(), 3); // authority, serverinfo, option
    EXPECT_EQ(host.path(DataFile::Template), path(QStringLiteral("Data/other.xml")));
    QSignalSpy reported(&host.diagnostics(), &Diagnostics::problemReported);
    EXPECT_FALSE(host.loadAll());
    ASSERT_EQ(reported.count(), 1);
    EXPECT_EQ(reported.at(0).at(0).value<FileProblem>().path,
              path(QStringLiteral("Data/other.xml")));
    EXPECT_TRUE(host.reload(DataFile::Account));
}

// The installation as shipped: its own Path.ini names the module's four files, the host's two
// take their default paths.
TEST(ShippedInstallation, LoadsWithoutProblems)
{
    ReferenceHost host(QStringLiteral(OSTREL_INSTALL_DIR));
    EXPECT_TRUE(host.loadAll());
    for (const FileProblem &problem : host.diagnostics().problems())
        ADD_FAILURE() << utf8(problem.message());
    EXPECT_EQ(host.serverList().getServerCount(), 10);
}

// After the module's recorder manager saved the list, the host reloads it from the same file.
TEST_F(SampleInstallation, ReloadPicksUpWhatAWorkingCopySaved)
{
    ReferenceHost host(m_dir.path());
    ASSERT_TRUE(host.loadAll());
    IDataProvider *copy = nullptr;
    ASSERT_TRUE(host.serverList().createWorkingCopy(&copy));
    auto *servers = static_cast<FileServerListProvider *>(copy);
    EXPECT_TRUE(servers->removeServer("Gate House"));
    EXPECT_GE(servers->createServer("New Site"), 0);
    ASSERT_TRUE(copy->saveFile(utf8(host.path(DataFile::ServerList)).c_str()));
    copy->release(1);
    ASSERT_TRUE(host.reload(DataFile::ServerList));
    ServerRecord *server = nullptr;
    EXPECT_FALSE(host.serverList().findServer("Gate House", &server));
    ASSERT_TRUE(host.serverList().findServer("New Site", &server));
    EXPECT_EQ(server->hostId, 11);
}

} // namespace
