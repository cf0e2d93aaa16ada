// Every kind of provider through saveFile and loadFile: the records come back byte for byte,
// member and information blocks included, and long UTF-8 text is cut between characters.
#include "host_test_support.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <tuple>

using namespace ostrelhost;
using namespace hosttest;

namespace {

class RoundTrip : public ::testing::Test
{
protected:
    std::string file(const char *name) const
    {
        return utf8(QDir(m_dir.path()).filePath(QString::fromUtf8(name)));
    }
    // Saves `from` and loads the file into `to`.
    void pass(IDataProvider &from, IDataProvider &to) const
    {
        ASSERT_TRUE(from.saveFile(file("data.xml").c_str()));
        ASSERT_TRUE(to.loadFile(file("data.xml").c_str()));
    }

private:
    QTemporaryDir m_dir;
};

TEST_F(RoundTrip, Accounts)
{
    FileAccountProvider accounts;
    addUser(accounts, "admin", "Administrator", "Line one\nline two\twith a tab & <markup>");
    addUser(accounts, "zoë", "Zoë Müller");
    addGroup(accounts, "Operators", {"u:admin", "g:Night Shift", "u:zoë"});
    addGroup(accounts, "Night Shift", {});
    GroupRecord *group = nullptr;
    ASSERT_TRUE(accounts.getGroup(1, &group));
    appendBlock(group->members)->kind = 7; // any non-zero kind is kept as it is

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
}

TEST_F(RoundTrip, AccountsDeleteByExactId)
{
    FileAccountProvider accounts;
    addUser(accounts, "bob", "Bob");
    addUser(accounts, "Bob", "Other Bob");
    addGroup(accounts, "staff", {"u:bob"});
    EXPECT_FALSE(accounts.deleteUser("BOB"));
    EXPECT_TRUE(accounts.deleteUser("bob"));
    UserRecord *user = nullptr;
    ASSERT_TRUE(accounts.getUser(0, &user));
    EXPECT_STREQ(user->id, "Bob");
    EXPECT_FALSE(accounts.getUser(1, &user));
    EXPECT_TRUE(accounts.deleteGroup("staff"));
    EXPECT_FALSE(accounts.deleteGroup("staff"));
}

// A text longer than its field keeps the whole characters that fit, and stays so when saved.
TEST_F(RoundTrip, LongUtf8TextIsCutAtACharacterBoundary)
{
    const std::string name = std::string(49, 'a') + "€";                  // 52 bytes
    const std::string description = "설명" + std::string(96, 'd') + "한"; // 105 bytes
    writeBytes(QString::fromStdString(file("account.xml")),
               QByteArray::fromStdString("<accounts version=\"1\"><user id=\"u\" name=\"" + name
                                         + "\" description=\"" + description + "\"/></accounts>"));
    FileAccountProvider accounts;
    ASSERT_TRUE(accounts.loadFile(file("account.xml").c_str()));
    FileAccountProvider again;
    pass(accounts, again);
    UserRecord *user = nullptr;
    ASSERT_TRUE(again.getUser(0, &user));
    EXPECT_EQ(std::string(user->name), std::string(49, 'a'));
    EXPECT_EQ(std::string(user->description), "설명" + std::string(94, 'd'));
}

TEST_F(RoundTrip, AuthorityWithMembersReplacedInPlace)
{
    writeBytes(QString::fromStdString(file("authority.xml")), authorityXml(2, 3, 2));
    FileAuthorityProvider authority;
    ASSERT_TRUE(authority.loadFile(file("authority.xml").c_str()));
    EXPECT_EQ(authority.findCategory("cat1"), 1);
    EXPECT_EQ(authority.findCategory("CAT1"), -1);
    // As the module does: free the old member blocks, allocate new ones.
    AuthorityItem *item = nullptr;
    ASSERT_TRUE(authority.getAuthority(1, 2, &item));
    seqFreeBlocks(item->members);
    appendBlock(item->members)->kind = MemberGroup;

    FileAuthorityProvider loaded;
    pass(authority, loaded);
    ASSERT_EQ(loaded.getCategoryCount(), 2);
    for (int c = 0; c < 2; ++c) {
        AuthorityCategory *a = nullptr, *b = nullptr;
        ASSERT_TRUE(authority.getCategory(c, &a) && loaded.getCategory(c, &b));
        EXPECT_TRUE(sameRecord(*a, *b));
        ASSERT_EQ(loaded.getAuthorityCount(c), 3);
        for (int i = 0; i < 3; ++i) {
            AuthorityItem *d = nullptr;
            ASSERT_TRUE(authority.getAuthority(c, i, &item) && loaded.getAuthority(c, i, &d));
            EXPECT_TRUE(sameRecord(*item, *d, &AuthorityItem::members)) << c << "/" << i;
        }
    }
    EXPECT_EQ(loaded.getAuthorityCount(2), 0);
    EXPECT_EQ(seqSize(item->members), 1u);
}

TEST_F(RoundTrip, RecordersWithInformationAndCameras)
{
    FileServerListProvider servers;
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

    FileServerListProvider loaded;
    pass(servers, loaded);
    ASSERT_EQ(loaded.getServerCount(), 2);
    for (int i = 0; i < 2; ++i) {
        ServerRecord *a = nullptr, *b = nullptr;
        ASSERT_TRUE(servers.getServer(i, &a) && loaded.getServer(i, &b));
        EXPECT_TRUE(sameRecord(*a, *b, &ServerRecord::additionalInfo, &ServerRecord::cameras))
            << a->name;
    }
    EXPECT_EQ(loaded.createServer("Gate"), 2);
    ServerRecord *gate = nullptr;
    ASSERT_TRUE(loaded.findServer("Gate", &gate));
    EXPECT_EQ(gate->hostId, 3);
    EXPECT_TRUE(loaded.removeServer("Lobby"));
    EXPECT_FALSE(loaded.findServer("Lobby", &gate));
    EXPECT_EQ(loaded.getServerCount(), 2);
}

// The option record has padding, so it is compared by its fields.
auto optionFields(const OptionRecord &options)
{
    return std::make_tuple(std::string(options.language), options.alarmServiceAutoConnect,
                           options.alarmServicePollingTime, options.alarmServicePollingMin,
                           options.alarmServicePollingMax);
}

TEST_F(RoundTrip, OptionsAndTheirDefaults)
{
    FileOptionProvider options;
    OptionRecord *record = nullptr;
    ASSERT_TRUE(options.getOptions(&record));
    EXPECT_EQ(optionFields(*record), std::make_tuple(std::string("en"), 0, 10, 5, 60));
    copyField(record->language, "ch_tr");
    record->alarmServiceAutoConnect = 1;
    record->alarmServicePollingTime = 30;
    record->alarmServicePollingMin = 20;
    record->alarmServicePollingMax = 40;

    FileOptionProvider loaded;
    pass(options, loaded);
    OptionRecord *loadedRecord = nullptr;
    ASSERT_TRUE(loaded.getOptions(&loadedRecord));
    EXPECT_EQ(optionFields(*loadedRecord), optionFields(*record));
    loaded.clear();
    EXPECT_EQ(optionFields(*loadedRecord), optionFields(FileOptionProvider::defaultOptions()));
}

TEST_F(RoundTrip, TemplatesWithFlagsAndHostData)
{
    FileTemplateProvider templates;
    fillTemplates(templates, 2, "v");
    DisplayTemplate *view = nullptr;
    ASSERT_TRUE(templates.getTemplate("template1", &view));
    seqAt(seqAt(view->categories, 0)->items, 0)->hostData = 99;

    FileTemplateProvider loaded;
    pass(templates, loaded);
    DisplayTemplate *loadedView = nullptr;
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
    FileRemoteSetupProvider remote(&servers);
    const RemoteSetupSettings settings {5, 250, true, false, 2};
    remote.setSettings(lobby->hostId, settings);
    RemoteSetupSettings defaults;
    defaults.timeout = 60;
    remote.setDefaults(defaults);

    FileRemoteSetupProvider loaded(&servers);
    pass(remote, loaded);
    EXPECT_EQ(loaded.settings(lobby->hostId), settings);
    EXPECT_EQ(loaded.settings(42), defaults);

    RemoteSetupParameters block {};
    std::memset(block.entries, 'x', sizeof block.entries); // left over from another recorder
    ASSERT_TRUE(loaded.loadRemoteSetupParameters(lobby->hostId, &block));
    using P = FileRemoteSetupProvider;
    EXPECT_EQ(block.hostValue, lobby->hostId);
    EXPECT_STREQ(block.entries[P::RecorderRow][P::NameColumn].data, "Lobby");
    EXPECT_STREQ(block.entries[P::RecorderRow][P::PortColumn].data, "7000");
    EXPECT_STREQ(block.entries[P::RecorderRow][P::ProductCodeColumn].data, "0x100802");
    EXPECT_STREQ(block.entries[P::RecorderRow][P::FirmwareColumn].data, "2.1.0.0");
    EXPECT_STREQ(block.entries[P::CameraNameRow][2].data, "Lobby camera 3");
    EXPECT_STREQ(block.entries[P::CameraChannelRow][2].data, "3");
    EXPECT_STREQ(block.entries[P::CameraNameRow][3].data, "");
    EXPECT_STREQ(block.entries[P::InfoNameRow][23].data, "Info 23"); // only the first 24 fit
    EXPECT_STREQ(block.entries[7][23].data, "");
    EXPECT_EQ(block.activeEntry, 2);
    EXPECT_EQ(block.flags, 5u);
    EXPECT_EQ(block.timeout, 250);
    EXPECT_EQ(block.autoConnect, 1);
    EXPECT_EQ(block.enabled, 0);

    RemoteSetupParameters untouched {};
    untouched.timeout = 77;
    EXPECT_FALSE(loaded.loadRemoteSetupParameters(999, &untouched));
    EXPECT_EQ(untouched.timeout, 77);
    FileRemoteSetupProvider unlinked(nullptr);
    EXPECT_FALSE(unlinked.loadRemoteSetupParameters(lobby->hostId, &block));
}

} // namespace
