// The reference host on the shipped sample installation and on a Path.ini written the way the
// installation writes it (backslashes, any letter case).
#include "host_test_support.h"
#include "support/temp_install.h"

#include <QSignalSpy>

#include <set>

using namespace hosttest;

namespace {

// The shipped installation without its Path.ini: each test writes the one it needs.
class SampleInstallation : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_install.copyFrom(QStringLiteral(OSTREL_INSTALL_DIR));
        ASSERT_TRUE(QFile::remove(path(QStringLiteral("Config/Path.ini"))));
    }
    QString path(const QString &relative) const { return m_install.path() + u'/' + relative; }

    TempInstall m_install;
};

TEST_F(SampleInstallation, LoadsEveryFileThatPathIniNames)
{
    m_install.write(
        QStringLiteral("Config/Path.ini"),
        "; data files\r\n[Language]\r\nxml_account=Wrong\\file.xml\r\n"
        "[path]\r\nXML_Account = Data\\account.xml\r\nxml_authority=\"Data\\authority.xml\"\r\n"
        "xml_serverinfo=Data\\serverinfo.xml\r\nxml_option=Data\\option.xml\r\n"
        "xml_account=Data\\ignored.xml\r\n");
    ReferenceHost host(m_install.path());
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
        ReferenceHost host(m_install.path());
        ASSERT_EQ(host.diagnostics().problems().size(), 1);
        EXPECT_EQ(host.diagnostics().problems().at(0).operation, FileOperation::Configure);
        EXPECT_EQ(host.diagnostics().problems().at(0).path,
                  path(QStringLiteral("Config/Path.ini")));
        EXPECT_TRUE(host.loadAll());
    }
    m_install.write(QStringLiteral("Config/Path.ini"),
                    "[PATH]\nxml_account=Data\\account.xml\nxml_template=Data\\other.xml\n");
    ReferenceHost host(m_install.path());
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
