// The reference host on the shipped sample installation and on a Path.ini written the way the
// installation writes it (backslashes, any letter case).
#include "host_test_support.h"

#include <QSignalSpy>
#include <QTemporaryDir>

#include <set>

using namespace hosttest;

namespace {

class SampleInstallation : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir(m_dir.path()).mkpath(QStringLiteral("Config")));
        ASSERT_TRUE(QDir(m_dir.path()).mkpath(QStringLiteral("Data")));
        for (const char *name : {"account.xml", "authority.xml", "serverinfo.xml", "option.xml",
                                 "template.xml", "remotesetup.xml"})
            ASSERT_TRUE(QFile::copy(QStringLiteral(OSTREL_INSTALL_DIR "/Data/") + name,
                                    path(QStringLiteral("Data/") + name)));
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

    // The remote-setup provider reads the host's own recorder list.
    RemoteSetupParameters block {};
    EXPECT_TRUE(host.remoteSetup().loadRemoteSetupParameters(3, &block));
    EXPECT_STREQ(block.entries[0][FileRemoteSetupProvider::NameColumn].data, "Warehouse North");
    EXPECT_EQ(block.timeout, 250);

    std::set<ProviderKind> providerKinds;
    for (IDataProvider *provider : host.providers())
        providerKinds.insert(provider->getKind());
    EXPECT_EQ(providerKinds.size(), 6u);
}

TEST_F(SampleInstallation, MissingPathIniOrKeysAreReportedAndDefaultsUsed)
{
    {
        ReferenceHost host(m_dir.path());
        ASSERT_EQ(host.diagnostics().problems().size(), 1);
        EXPECT_EQ(host.diagnostics().problems().at(0).operation, FileOperation::Configure);
        EXPECT_EQ(host.diagnostics().problems().at(0).path,
                  path(QStringLiteral("Config/Path.ini")));
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

} // namespace
