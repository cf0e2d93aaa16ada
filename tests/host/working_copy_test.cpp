// Working copies are deep: changing a copy's records or blocks never shows in the provider it
// came from, and the other way round. Plus the option provider's notification link.
#include "host_test_support.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QVariant>

#include <gtest/gtest.h>

using namespace ostrelhost;
using namespace hosttest;

namespace {

template <typename Provider>
Provider *workingCopy(Provider &provider)
{
    IDataProvider *copy = nullptr;
    EXPECT_TRUE(provider.createWorkingCopy(&copy));
    EXPECT_EQ(copy->getKind(), provider.getKind());
    return static_cast<Provider *>(copy);
}

TEST(WorkingCopy, AccountCopyIsIndependent)
{
    FileAccountProvider accounts;
    addUser(accounts, "admin", "Administrator");
    addGroup(accounts, "staff", {"u:admin"});
    auto *copy = workingCopy(accounts);
    ASSERT_TRUE(copy->isWorkingCopy());

    UserRecord *user = nullptr;
    GroupRecord *group = nullptr;
    ASSERT_TRUE(copy->getUser(0, &user));
    copyField(user->name, "Changed in the copy");
    ASSERT_TRUE(copy->getGroup(0, &group));
    copyField(seqAt(group->members, 0)->id, "someone");
    addUser(*copy, "new", "New");
    addGroup(accounts, "original-only", {});

    ASSERT_TRUE(accounts.getUser(0, &user));
    EXPECT_STREQ(user->name, "Administrator");
    ASSERT_TRUE(accounts.getGroup(0, &group));
    EXPECT_STREQ(seqAt(group->members, 0)->id, "admin");
    EXPECT_EQ(accounts.getUserCount(), 1);
    EXPECT_EQ(copy->getGroupCount(), 1);
    copy->release(1);
}

TEST(WorkingCopy, RecorderCopyHasItsOwnBlocks)
{
    FileServerListProvider servers;
    ASSERT_NE(addRecorder(servers, "Lobby", 1, 2, 2), nullptr);
    auto *copy = workingCopy(servers);
    ServerRecord *original = nullptr;
    ServerRecord *copied = nullptr;
    ASSERT_TRUE(servers.getServer(0, &original));
    ASSERT_TRUE(copy->getServer(0, &copied));
    // As the setup dialog does: drop the copy's entries and give it new ones.
    seqFreeBlocks(copied->additionalInfo);
    copyField(appendBlock(copied->additionalInfo)->name, "Manager");
    EXPECT_TRUE(copy->removeServer("Lobby"));
    ASSERT_EQ(seqSize(original->additionalInfo), 2u);
    EXPECT_STREQ(seqAt(original->additionalInfo, 0)->name, "Info 0");
    EXPECT_EQ(servers.getServerCount(), 1);
    copy->release(1);
}

TEST(WorkingCopy, TemplateAndOptionCopiesAreIndependent)
{
    FileTemplateProvider templates;
    fillTemplates(templates, 1, "v");
    auto *templateCopy = workingCopy(templates);
    DisplayTemplate *view = nullptr;
    ASSERT_TRUE(templateCopy->getTemplate("template0", &view));
    copyField(seqAt(seqAt(view->categories, 0)->items, 0)->value, "changed");
    templateCopy->clear();
    ASSERT_TRUE(templates.getTemplate("template0", &view));
    EXPECT_STREQ(seqAt(seqAt(view->categories, 0)->items, 0)->value, "a value");
    templateCopy->release(1);

    FileOptionProvider options;
    auto *optionCopy = workingCopy(options);
    OptionRecord *record = nullptr;
    ASSERT_TRUE(optionCopy->getOptions(&record));
    record->alarmServicePollingTime = 55;
    ASSERT_TRUE(options.getOptions(&record));
    EXPECT_EQ(record->alarmServicePollingTime, 10);
    optionCopy->release(1);
}

// release() on a provider that the application owns must not free it: the object stays usable.
TEST(WorkingCopy, ReleasingAnApplicationOwnedProviderIsRefused)
{
    auto accounts = std::make_unique<FileAccountProvider>();
    addUser(*accounts, "admin", "Administrator");
    accounts->release(1);
    EXPECT_EQ(accounts->getUserCount(), 1);
}

TEST(OptionNotification, SaveReachesTheApplication)
{
    FileOptionProvider options;
    void *link = &options;
    EXPECT_FALSE(options.queryLink(static_cast<LinkKind>(2), &link));
    EXPECT_EQ(link, nullptr);
    ASSERT_TRUE(options.queryLink(LinkKind::Notification, &link));
    ASSERT_NE(link, nullptr);

    QSignalSpy saved(&options.notifications(), &NotificationRelay::optionsSaved);
    QSignalSpy notified(&options.notifications(), &NotificationRelay::notified);
    QVariant argument(42);
    NotifyMessage message {kSaveNotificationId, &options, kSaveNotificationId >> 24, {}};
    seqAppend(message.arguments, &argument);
    static_cast<INotificationTarget *>(link)->notify("Save", &message);
    static_cast<INotificationTarget *>(link)->notify("Other", &message);
    seqClear(message.arguments);

    EXPECT_EQ(saved.count(), 1);
    ASSERT_EQ(notified.count(), 2);
    EXPECT_EQ(notified.at(0).at(0).toString(), QStringLiteral("Save"));
    EXPECT_EQ(notified.at(0).at(1).toUInt(), 13u);
    EXPECT_EQ(notified.at(0).at(2).toList(), QVariantList {42});
}

} // namespace
