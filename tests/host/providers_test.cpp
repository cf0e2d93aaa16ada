// Each kind of provider on its own: through saveFile and loadFile the records come back byte for
// byte, member and information blocks included, and long UTF-8 text is cut between characters;
// the option provider relays notifications.
#include "host_test_support.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QVariant>

#include <memory>
#include <tuple>
#include <vector>

using namespace hosttest;

namespace {

class RoundTrip : public ::testing::Test
{
protected:
    // Saves `from` and loads the file into `to`.
    void pass(IDataProvider &from, IDataProvider &to) const
    {
        ASSERT_TRUE(from.saveFile(file.c_str()));
        ASSERT_TRUE(to.loadFile(file.c_str()));
    }

    QTemporaryDir dir;
    const std::string file = utf8(dir.filePath(QStringLiteral("data.xml")));
};

TEST_F(RoundTrip, AccountsWithTheirMembers)
{
    FileAccountProvider accounts;
    addUser(accounts, "admin", "Administrator", "Line one\nline two\twith a tab & <markup>");
    addUser(accounts, "zoë", "Zoë Müller");
    addUser(accounts, "Admin", "Deleted by its exact id");
    addGroup(accounts, "Operators", {"u:admin", "g:Night Shift", "u:zoë"});
    addGroup(accounts, "Night Shift", {});
    GroupRecord *group = nullptr;
    ASSERT_TRUE(accounts.getGroup(1, &group));
    appendBlock(group->members)->kind = 7; // any other kind is kept as it is
    EXPECT_FALSE(accounts.deleteUser("ADMIN"));
    EXPECT_TRUE(accounts.deleteUser("Admin"));

    FileAccountProvider loaded;
    pass(accounts, loaded);
    ASSERT_EQ(loaded.getUserCount(), 2);
    ASSERT_EQ(loaded.getGroupCount(), 2);
    for (int i = 0; i < 2; ++i) {
        UserRecord *a = nullptr, *b = nullptr;
        ASSERT_TRUE(accounts.getUser(i, &a) && loaded.getUser(i, &b));
        EXPECT_TRUE(sameRecord(*a, *b)) << a->id;
        EXPECT_EQ(b->number, i); // -1 on addUser became the next free number
        GroupRecord *c = nullptr, *d = nullptr;
        ASSERT_TRUE(accounts.getGroup(i, &c) && loaded.getGroup(i, &d));
        EXPECT_TRUE(sameRecord(*c, *d, &GroupRecord::members)) << c->id;
    }
    EXPECT_TRUE(loaded.deleteGroup("Operators"));
    EXPECT_FALSE(loaded.deleteGroup("Operators"));
}

// A text longer than its field keeps the whole characters that fit, and stays so when saved.
TEST_F(RoundTrip, LongUtf8TextIsCutAtACharacterBoundary)
{
    const std::string name = std::string(49, 'a') + "€";                  // 52 bytes
    const std::string description = "설명" + std::string(96, 'd') + "한"; // 105 bytes
    writeBytes(QString::fromStdString(file),
               QByteArray::fromStdString("<accounts version=\"1\"><user id=\"u\" name=\"" + name
                                         + "\" description=\"" + description + "\"/></accounts>"));
    FileAccountProvider accounts, again;
    ASSERT_TRUE(accounts.loadFile(file.c_str()));
    pass(accounts, again);
    UserRecord *user = nullptr;
    ASSERT_TRUE(again.getUser(0, &user));
    EXPECT_EQ(std::string(user->name), std::string(49, 'a'));
    EXPECT_EQ(std::string(user->description), "설명" + std::string(94, 'd'));
}

TEST_F(RoundTrip, AuthorityWithMembersReplacedInPlace)
{
    writeBytes(QString::fromStdString(file), authorityXml(2, 3, 2));
    FileAuthorityProvider authority, loaded;
    ASSERT_TRUE(authority.loadFile(file.c_str()));
    EXPECT_EQ(authority.findCategory("cat1"), 1);
    EXPECT_EQ(authority.findCategory("CAT1"), -1);
    // As the module does: free the old member blocks, allocate new ones.
    AuthorityItem *item = nullptr, *loadedItem = nullptr;
    ASSERT_TRUE(authority.getAuthority(1, 2, &item));
    seqFreeBlocks(item->members);
    appendBlock(item->members)->kind = MemberGroup;

    pass(authority, loaded);
    ASSERT_EQ(loaded.getCategoryCount(), 2);
    for (int c = 0; c < 2; ++c) {
        AuthorityCategory *a = nullptr, *b = nullptr;
        ASSERT_TRUE(authority.getCategory(c, &a) && loaded.getCategory(c, &b));
        EXPECT_TRUE(sameRecord(*a, *b));
        ASSERT_EQ(loaded.getAuthorityCount(c), 3);
        for (int i = 0; i < 3; ++i) {
            ASSERT_TRUE(authority.getAuthority(c, i, &item)
                        && loaded.getAuthority(c, i, &loadedItem));
            EXPECT_TRUE(sameRecord(*item, *loadedItem, &AuthorityItem::members)) << c << "/" << i;
        }
    }
    EXPECT_EQ(seqSize(loadedItem->members), 1u);
}

TEST_F(RoundTrip, RecordersWithInformationAndCameras)
{
    FileServerListProvider servers, loaded;
    ServerRecord *lobby = addRecorder(servers, "Lobby", 2, 3, 4);
    ASSERT_NE(lobby, nullptr);
    lobby->hostFlags = 0x40;
    lobby->hostData = -7;
    lobby->productCode = -1; // written as 0xFFFFFFFF, must read back
    copyField(lobby->hostText, "note for the host");
    seqAt(lobby->additionalInfo, 2)->tag = -1; // a row added in the setup dialog
    ASSERT_NE(addRecorder(servers, "Yard", 3, 0, 0), nullptr);
    EXPECT_EQ(servers.createServer("Lobby"), -1);
    EXPECT_EQ(servers.createServer(""), -1);

    pass(servers, loaded);
    ASSERT_EQ(loaded.getServerCount(), 2);
    for (int i = 0; i < 2; ++i) {
        ServerRecord *a = nullptr, *b = nullptr;
        ASSERT_TRUE(servers.getServer(i, &a) && loaded.getServer(i, &b));
        EXPECT_TRUE(sameRecord(*a, *b, &ServerRecord::additionalInfo, &ServerRecord::cameras))
            << a->name;
    }
    // Ids go on after the highest loaded one, and a removed name is gone.
    EXPECT_TRUE(loaded.removeServer("Lobby"));
    ServerRecord *gate = nullptr;
    ASSERT_TRUE(loaded.getServer(loaded.createServer("Gate"), &gate));
    EXPECT_EQ(gate->hostId, 3);
    EXPECT_FALSE(loaded.findServer("Lobby", &gate));
}

TEST_F(RoundTrip, TemplatesWithFlagsAndHostData)
{
    FileTemplateProvider templates, loaded;
    templates.setTemplate("template0", makeTemplate("v"));
    templates.setTemplate("template1", makeTemplate("w"));
    DisplayTemplate *view = nullptr, *loadedView = nullptr;
    ASSERT_TRUE(templates.getTemplate("template1", &view));
    seqAt(seqAt(view->categories, 0)->items, 0)->hostData = 99;

    pass(templates, loaded);
    EXPECT_FALSE(loaded.getTemplate("template2", &loadedView));
    for (const char *name : {"template0", "template1"}) {
        ASSERT_TRUE(templates.getTemplate(name, &view) && loaded.getTemplate(name, &loadedView));
        EXPECT_TRUE(sameTemplate(*view, *loadedView)) << name;
    }
}

TEST_F(RoundTrip, RemoteSetupSettingsAndTheBlockFilledFromTheRecorderList)
{
    FileServerListProvider servers;
    ServerRecord *lobby = addRecorder(servers, "Lobby", 2, 30, 3);
    ASSERT_NE(lobby, nullptr);
    FileRemoteSetupProvider remote(&servers), loaded(&servers);
    const RemoteSetupSettings settings {5, 250, true, false, 2};
    remote.setSettings(lobby->hostId, settings);
    RemoteSetupSettings defaults;
    defaults.timeout = 60;
    remote.setDefaults(defaults);
    pass(remote, loaded);
    EXPECT_EQ(loaded.settings(lobby->hostId), settings);
    EXPECT_EQ(loaded.settings(42), defaults);

    RemoteSetupParameters block {};
    std::memset(block.entries, 'x', sizeof block.entries); // left over from another recorder
    ASSERT_TRUE(loaded.loadRemoteSetupParameters(lobby->hostId, &block));
    using P = FileRemoteSetupProvider;
    using Texts = std::vector<std::string>;
    const auto row = [&](int at, int columns) {
        Texts texts;
        for (const RemoteSetupEntry &entry : block.entries[at])
            texts.emplace_back(entry.data, strnlen(entry.data, sizeof entry.data));
        return Texts(texts.begin(), texts.begin() + columns);
    };
    EXPECT_EQ(block.hostValue, lobby->hostId);
    EXPECT_EQ(row(P::RecorderRow, 12),
              (Texts {"Lobby", "10.0.0.0", "7000", "admin", "pass-word", "2", "0x100802", "2.1.0.0",
                      "1", "ddns.example.net", "Lobby", "ddns-secret"}));
    EXPECT_EQ(row(P::CameraNameRow, 4),
              (Texts {"Lobby camera 1", "Lobby camera 2", "Lobby camera 3", ""}));
    EXPECT_EQ(row(P::CameraChannelRow, 4), (Texts {"1", "2", "3", ""}));
    EXPECT_EQ(row(P::InfoNameRow, 24).back(), "Info 23"); // only the first 24 fit
    EXPECT_EQ(row(7, 24), Texts(24));
    EXPECT_EQ(std::make_tuple(block.activeEntry, block.flags, block.timeout, block.autoConnect,
                              block.enabled),
              std::make_tuple(2, 5u, 250, 1, 0));

    RemoteSetupParameters untouched {};
    untouched.timeout = 77;
    EXPECT_FALSE(loaded.loadRemoteSetupParameters(999, &untouched));
    EXPECT_EQ(untouched.timeout, 77);
    EXPECT_FALSE(P(nullptr).loadRemoteSetupParameters(lobby->hostId, &block));
}

TEST(OptionNotification, SaveReachesTheApplication)
{
    FileOptionProvider options;
    void *link = &options;
    EXPECT_FALSE(options.queryLink(static_cast<LinkKind>(2), &link));
    EXPECT_EQ(link, nullptr);
    ASSERT_TRUE(options.queryLink(LinkKind::Notification, &link));

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
    EXPECT_EQ(notified.at(0), (QVariantList {QStringLiteral("Save"), 13u, QVariantList {42}}));
}

} // namespace

// A working copy shares its provider's records until one side hands one out, yet holds what the
// provider held when it was made: an edit in place reaches only its own side, whichever side read
// first, and a copy of a copy holds the edits made before it. The provider may go first (ASan).
TEST(WorkingCopy, EditsInPlaceStayOnTheirSide)
{
    auto live = std::make_unique<FileAccountProvider>();
    for (const char *id : {"Operators", "Guards", "Night"})
        addGroup(*live, id, {"u:admin"});
    GroupRecord *guards = nullptr;
    ASSERT_TRUE(live->getGroup(1, &guards)); // handed out before the copy is made
    IDataProvider *made = nullptr;
    ASSERT_TRUE(live->createWorkingCopy(&made));
    auto *copy = static_cast<IAccountProvider *>(made);
    GroupRecord *operators = nullptr;
    ASSERT_TRUE(live->getGroup(0, &operators)); // read by the provider first
    appendBlock(guards->members);
    appendBlock(operators->members);

    const auto members = [](IAccountProvider *accounts, int index) {
        GroupRecord *group = nullptr;
        return accounts->getGroup(index, &group) ? seqSize(group->members) : 0u;
    };
    EXPECT_EQ(members(copy, 0), 1u);
    EXPECT_EQ(members(copy, 1), 1u);
    GroupRecord *copied = nullptr;
    ASSERT_TRUE(copy->getGroup(0, &copied));
    appendBlock(copied->members);
    IDataProvider *second = nullptr;
    ASSERT_TRUE(copy->createWorkingCopy(&second));
    appendBlock(copied->members);
    EXPECT_EQ(members(static_cast<IAccountProvider *>(second), 0), 2u);
    EXPECT_EQ(members(live.get(), 0), 2u);
    live.reset();
    EXPECT_EQ(members(copy, 2), 1u);
    EXPECT_EQ(members(copy, 0), 3u);
    second->release(1);
    copy->release(1);

    FileServerListProvider servers;
    ASSERT_NE(addRecorder(servers, "Lobby", 2, 1, 1), nullptr);
    ASSERT_TRUE(servers.createWorkingCopy(&made));
    ServerRecord *lobby = nullptr;
    ASSERT_TRUE(servers.getServer(0, &lobby));
    appendBlock(lobby->cameras);
    ASSERT_TRUE(static_cast<IServerListProvider *>(made)->getServer(0, &lobby));
    EXPECT_EQ(seqSize(lobby->cameras), 1u);
    made->release(1);
}
