#include "account/account_rules.h"
#include "account_test_env.h"
#include "support/memory_providers.h"

#include <cstring>

namespace {

using namespace AccountRules;
using testhost::AccountProvider;

std::vector<std::string> memberIds(const GroupRecord *group)
{
    std::vector<std::string> ids;
    for (std::size_t i = 0; i < seqSize(group->members); ++i)
        ids.emplace_back(seqAt(group->members, i)->id);
    return ids;
}

TEST(AccountIdRules, TrimsOnlySpaces)
{
    EXPECT_EQ(trimId(QStringLiteral("  bob ")), QStringLiteral("bob"));
    EXPECT_EQ(trimId(QStringLiteral("\tbob \t")), QStringLiteral("\tbob \t"));
    EXPECT_EQ(trimId(QStringLiteral("   ")), QString());
    EXPECT_EQ(trimId(QStringLiteral(" b o b ")), QStringLiteral("b o b"));
}

TEST(AccountIdRules, ForbiddenCharactersAreExactlyTheListedOnes)
{
    for (const char c : std::string(kForbiddenIdChars))
        EXPECT_TRUE(isForbiddenIdChar(QLatin1Char(c))) << c;
    for (const char c : std::string(" ()-_.aZ9[]{}"))
        EXPECT_FALSE(isForbiddenIdChar(QLatin1Char(c))) << c;
    EXPECT_EQ(std::strlen(kForbiddenIdChars), 23u);
}

TEST(AccountIdRules, UserRulesInTheirOrder)
{
    AccountProvider accounts;
    accounts.data.addUser("admin", "pw");
    UserRecord *bob = accounts.data.addUser("bob", "pw");
    accounts.data.addGroup("staff");

    EXPECT_EQ(checkUser(&accounts, QString(), nullptr, QStringLiteral("x"), QStringLiteral("y")),
              IdError::RequiredUserId);
    EXPECT_EQ(checkUser(&accounts, QStringLiteral("ADMIN"), nullptr, {}, {}), IdError::ExistUserId);
    EXPECT_EQ(checkUser(&accounts, QStringLiteral("Staff"), nullptr, {}, {}),
              IdError::ExistGroupId);
    // Uniqueness comes before the password check.
    EXPECT_EQ(checkUser(&accounts, QStringLiteral("Bob"), nullptr, QStringLiteral("a"), {}),
              IdError::ExistUserId);
    EXPECT_EQ(checkUser(&accounts, QStringLiteral("carol"), nullptr, QStringLiteral("a"), {}),
              IdError::PasswordConfirm);
    EXPECT_EQ(checkUser(&accounts, QStringLiteral("carol"), nullptr, QStringLiteral("Pw"),
                        QStringLiteral("pw")),
              IdError::PasswordConfirm);
    EXPECT_EQ(checkUser(&accounts, QStringLiteral("carol"), nullptr, {}, {}), IdError::None);

    // Modifying: the user keeps its id or changes its case, but cannot take another's.
    EXPECT_EQ(checkUser(&accounts, QStringLiteral("Bob"), bob, {}, {}), IdError::None);
    EXPECT_EQ(checkUser(&accounts, QStringLiteral("Admin"), bob, {}, {}), IdError::ExistUserId);
    EXPECT_EQ(checkUser(&accounts, QStringLiteral("STAFF"), bob, {}, {}), IdError::ExistGroupId);
}

TEST(AccountIdRules, GroupRulesInTheirOrder)
{
    AccountProvider accounts;
    accounts.data.addUser("admin");
    GroupRecord *staff = accounts.data.addGroup("staff");
    accounts.data.addGroup("guests");

    EXPECT_EQ(checkGroup(&accounts, QString(), nullptr), IdError::RequiredGroupId);
    EXPECT_EQ(checkGroup(&accounts, QStringLiteral("GUESTS"), nullptr), IdError::ExistGroupId);
    EXPECT_EQ(checkGroup(&accounts, QStringLiteral("Admin"), nullptr), IdError::ExistUserId);
    EXPECT_EQ(checkGroup(&accounts, QStringLiteral("Staff"), staff), IdError::None);
    EXPECT_EQ(checkGroup(&accounts, QStringLiteral("Guests"), staff), IdError::ExistGroupId);
    EXPECT_EQ(checkGroup(&accounts, QStringLiteral("new"), nullptr), IdError::None);
}

TEST(AccountIdRules, CaseIsFoldedBeyondAscii)
{
    AccountProvider accounts;
    accounts.data.addUser("Émile");
    accounts.data.addUser("straße");
    EXPECT_EQ(checkUser(&accounts, QStringLiteral("émile"), nullptr, {}, {}), IdError::ExistUserId);
    EXPECT_EQ(checkUser(&accounts, QStringLiteral("STRAẞE"), nullptr, {}, {}),
              IdError::ExistUserId);
    EXPECT_EQ(checkUser(&accounts, QStringLiteral("emile"), nullptr, {}, {}), IdError::None);
    EXPECT_TRUE(sameId("Émile", "éMILE"));
    EXPECT_FALSE(sameId("bob", "bobby"));
    EXPECT_TRUE(isAdminId(QStringLiteral("aDmIn")));
    EXPECT_FALSE(isAdminId(QStringLiteral("admin ")));
}

// An id longer than its field is judged as it would be stored, so cutting cannot make a twin.
TEST(AccountIdRules, OverlongIdIsJudgedAsStored)
{
    AccountProvider accounts;
    const std::string fifty(50, 'a');
    accounts.data.addUser(fifty.c_str());
    EXPECT_EQ(checkUser(&accounts, QString::fromStdString(fifty + "b"), nullptr, {}, {}),
              IdError::ExistUserId);
}

TEST(AccountRecords, FieldsAreCutAtCharacterBoundaries)
{
    UserRecord user;
    std::memset(&user, 0x7f, sizeof user);
    const QString longId = QString(60, QLatin1Char('x'));
    const QString umlauts = QString(60, QChar(0x00e4)); // two bytes each in UTF-8
    setUserFields(user, longId, umlauts, QString(120, QLatin1Char('d')), QStringLiteral("pw"));
    EXPECT_EQ(std::strlen(user.id), 50u);
    EXPECT_EQ(std::strlen(user.name), 50u); // 25 whole characters
    EXPECT_EQ(QString::fromUtf8(user.name), QString(25, QChar(0x00e4)));
    EXPECT_EQ(std::strlen(user.description), 100u);
    EXPECT_STREQ(user.password, "pw");
    EXPECT_EQ(user.password[50], '\0');
    // The padding and number are the caller's: untouched.
    EXPECT_EQ(user.number, 0x7f7f7f7f);
}

TEST(AccountMembers, DeletingAUserRemovesOnlyExactEntries)
{
    AccountProvider accounts;
    accounts.data.addGroup("g1", {{MemberUser, "bob"}, {MemberUser, "Bob"}, {MemberUser, "al"}});
    accounts.data.addGroup("g2", {{MemberUser, "bob"}});
    accounts.data.addGroup("g3");
    EXPECT_EQ(removeUserFromGroups(&accounts, "bob"), 2);
    EXPECT_EQ(memberIds(accounts.data.groups[0].get()), (std::vector<std::string> {"Bob", "al"}));
    EXPECT_TRUE(memberIds(accounts.data.groups[1].get()).empty());
    EXPECT_EQ(removeUserFromGroups(&accounts, "nobody"), 0);
}

TEST(AccountMembers, ReplaceAndTakeOverLeaveOneOwner)
{
    AccountProvider accounts;
    GroupRecord *group = accounts.data.addGroup("g", {{MemberUser, "old"}});
    ASSERT_TRUE(replaceMembers(
        group->members, {{QStringLiteral("u"), MemberUser}, {QStringLiteral("g2"), MemberGroup}}));
    ASSERT_EQ(seqSize(group->members), 2u);
    EXPECT_STREQ(seqAt(group->members, 0)->id, "u");
    EXPECT_EQ(seqAt(group->members, 1)->kind, MemberGroup);

    PointerSeq<MemberRecord> mine {};
    seqAppend(mine, newMember(MemberGroup, QStringLiteral("x")));
    ASSERT_TRUE(takeOverMembers(group->members, mine));
    EXPECT_EQ(seqSize(mine), 0u);
    ASSERT_EQ(memberIds(group), std::vector<std::string> {"x"});
    // The old blocks were freed and the new ones belong to the group: the sanitizer's leak
    // check at exit fails this test otherwise.
}

class AccountCommit : public AccountTestEnv
{
};

TEST_F(AccountCommit, SavesTheCopyThenClearsAndReloadsTheProvider)
{
    AccountProvider accounts;
    accounts.data.addUser("admin");
    IDataProvider *copy = nullptr;
    accounts.createWorkingCopy(&copy);
    static_cast<AccountProvider *>(copy)->data.addUser("new");
    accounts.log->clear();

    commitWorkingCopy(copy, &accounts, kAccountPathKey);

    EXPECT_EQ(accounts.log->calls,
              (std::vector<std::string> {"copy.saveFile", "clear", "loadFile"}));
    ASSERT_EQ(accounts.data.users.size(), 2u);
    EXPECT_STREQ(accounts.data.users[1]->id, "new");
    const std::string path = dataPath(kAccountPathKey).toStdString();
    EXPECT_EQ(AccountProvider::files().count(path), 1u) << path;
    EXPECT_TRUE(QString::fromStdString(path).endsWith(QLatin1String("/Data/account.xml")));
    copy->release(1);
}

} // namespace
