#include "frame/setup_manager.h"
#include "server/server_info_view.h"
#include "support/dialog_test_util.h"
#include "support/memory_providers.h"

#include <QApplication>

#include <gtest/gtest.h>

namespace {

class SetupManagerTest : public ::testing::Test
{
protected:
    void TearDown() override { ReleaseSetupManager(); }
};

TEST_F(SetupManagerTest, RegistrationKeepsOneProviderPerKindAndNewestLast)
{
    auto *manager = static_cast<CSetupManager *>(GetSetupManager());
    testhost::ServerListProvider oldServers, newServers;
    testhost::AccountProvider accounts;
    manager->RegisterProvider(&oldServers);
    manager->RegisterProvider(&accounts);
    manager->RegisterProvider(&newServers);
    EXPECT_EQ(manager->FindProvider(ProviderKind::ServerList), &newServers);
    EXPECT_EQ(manager->FindProvider(ProviderKind::Account), &accounts);
    EXPECT_EQ(manager->FindProvider(ProviderKind::Option), nullptr);

    // Kinds are asked again on every lookup: a provider that changes its kind moves with it.
    accounts.kind = ProviderKind::Option;
    EXPECT_EQ(manager->FindProvider(ProviderKind::Option), &accounts);
    EXPECT_EQ(manager->FindProvider(ProviderKind::Account), nullptr);
    const int asked = accounts.log->count("getKind");
    manager->FindProvider(ProviderKind::Option);
    EXPECT_GT(accounts.log->count("getKind"), asked);
}

// A dialog whose provider is missing tells the user which data is missing and opens nothing.
TEST_F(SetupManagerTest, MissingProviderIsReportedAndCancels)
{
    ISetupManager *manager = GetSetupManager();
    MessageBoxAnswerer boxes;
    EXPECT_EQ(manager->ShowOptionSheet(), 2);

    // The authority manager needs the accounts too.
    testhost::AuthorityProvider authority;
    manager->RegisterProvider(&authority);
    manager->ShowAuthorityManager();
    EXPECT_EQ(authority.log->count("createWorkingCopy"), 0);

    ASSERT_EQ(boxes.texts.size(), 2);
    EXPECT_TRUE(boxes.texts[0].contains(QLatin1String("option"))) << qPrintable(boxes.texts[0]);
    EXPECT_TRUE(boxes.texts[1].contains(QLatin1String("account"))) << qPrintable(boxes.texts[1]);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// The recorder manager's result reaches the host: true only for OK; the template provider is
// handed to the information view first.
TEST_F(SetupManagerTest, ShowServerManagerReportsOk)
{
    ISetupManager *manager = GetSetupManager();
    testhost::ServerListProvider servers;
    testhost::DisplayTemplateProvider templates;
    manager->RegisterProvider(&servers);
    manager->RegisterProvider(&templates);
    const auto closeNextDialog = [](bool ok) {
        whenModal<QDialog>([ok](QDialog *dialog) {
            EXPECT_STREQ(dialog->metaObject()->className(), "CServerListDlg");
            ok ? dialog->accept() : dialog->reject();
        });
    };
    closeNextDialog(false);
    EXPECT_FALSE(manager->ShowServerManager());
    closeNextDialog(true);
    EXPECT_TRUE(manager->ShowServerManager());
    EXPECT_EQ(setupmgr::displayTemplateProvider(), &templates);
    EXPECT_EQ(servers.log->count("createWorkingCopy"), 2);
    EXPECT_EQ(servers.log->count("copy.release"), 2);
    ReleaseSetupManager();
    EXPECT_EQ(setupmgr::displayTemplateProvider(), nullptr);
}

} // namespace
