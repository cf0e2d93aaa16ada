#include "account/account_rules.h"
#include "support/memory_providers.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using namespace setupmgr;
using testhost::AccountProvider;

// Only spaces are trimmed; a full-width comma is no comma.
TEST(AccountIdRules, TrimsOnlySpaces)
{
    const std::pair<const char *, const char *> trims[]
        = {{"  bob ", "bob"}, {"\tbob \t", "\tbob \t"}, {"   ", ""}, {" b o b ", "b o b"}};
    for (const auto &[id, trimmed] : trims)
        EXPECT_EQ(trimId(QString::fromUtf8(id)), QString::fromUtf8(trimmed)) << id;
    EXPECT_FALSE(isForbiddenIdChar(QChar(0xFF0C)));
}

// Ids are unique across users and groups whatever the case, Unicode included; an edited record
// keeps its own id in any case; an overlong id is judged as it would be stored.
TEST(AccountIdRules, UserAndGroupChecksInTheirOrder)
{
    AccountProvider accounts;
    accounts.data.addUser("admin");
    const UserRecord *bob = accounts.data.addUser("bob");
    accounts.data.addUser("Émile");
    accounts.data.addUser("straße");
    accounts.data.addUser(std::string(50, 'a').c_str());
    const UserRecord *dana = accounts.data.addUser("DANA");
    accounts.data.addUser("dana"); // a second id differing in case, as older data may hold
    const GroupRecord *staff = accounts.data.addGroup("staff");
    accounts.data.addGroup("guests");
    const GroupRecord *ops = accounts.data.addGroup("OPS");
    accounts.data.addGroup("ops");

    // Uniqueness comes before the password check.
    using E = IdError;
    const std::tuple<std::string, const UserRecord *, const char *, const char *, E> users[] = {
        {"", nullptr, "x", "y", E::RequiredUserId},
        {"ADMIN", nullptr, "", "", E::ExistUserId},
        {"Staff", nullptr, "", "", E::ExistGroupId},
        {"Bob", nullptr, "a", "", E::ExistUserId},
        {"carol", nullptr, "a", "", E::PasswordConfirm},
        {"carol", nullptr, "Pw", "pw", E::PasswordConfirm},
        {"carol", nullptr, "pw", "pw", E::None},
        {"Bob", bob, "", "", E::None},
        {"Admin", bob, "", "", E::ExistUserId},
        {"STAFF", bob, "", "", E::ExistGroupId},
        {"émile", nullptr, "", "", E::ExistUserId},
        {"STRAẞE", nullptr, "", "", E::ExistUserId},
        {"emile", nullptr, "", "", E::None},
        {std::string(50, 'a') + "b", nullptr, "", "", E::ExistUserId},
        // Its own id does not count; the other record of that id still does.
        {"dana", dana, "", "", E::ExistUserId},
    };
    for (const auto &[id, edited, password, confirmation, expected] : users) {
        EXPECT_EQ(checkUser(&accounts, QString::fromStdString(id), edited,
                            QString::fromUtf8(password), QString::fromUtf8(confirmation)),
                  expected)
            << id;
    }

    const std::tuple<const char *, const GroupRecord *, E> groups[] = {
        {"", nullptr, E::RequiredGroupId},  {"GUESTS", nullptr, E::ExistGroupId},
        {"Admin", nullptr, E::ExistUserId}, {"Staff", staff, E::None},
        {"Guests", staff, E::ExistGroupId}, {"BOB", staff, E::ExistUserId},
        {"new", nullptr, E::None},          {"ops", ops, E::ExistGroupId},
    };
    for (const auto &[id, edited, expected] : groups)
        EXPECT_EQ(checkGroup(&accounts, QString::fromUtf8(id), edited), expected) << id;

    EXPECT_TRUE(sameId("Émile", "éMILE"));
    EXPECT_FALSE(sameId("bob", "bobby"));
    EXPECT_TRUE(isAdminId(QStringLiteral("aDmIn")));
    EXPECT_FALSE(isAdminId(QStringLiteral("admin ")));
}

} // namespace
