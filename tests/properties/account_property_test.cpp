// The account manager and its user and group dialogs over random accounts: looking at an
// account, or editing and cancelling, leaves every byte of every account as it was; deleting
// one leaves the others.
#include "account/account_group_dlg.h"
#include "account/account_manager_dlg.h"
#include "account/account_tree_ctrl.h"
#include "account/account_user_dlg.h"
#include "account/choose_member_dlg.h"
#include "property_env.h"
#include "support/dialog_test_util.h"

#include <rapidcheck/gtest.h>

namespace {

using namespace rc;
using recordbytes::Records;

enum { kTree = 21014 };

testhost::AccountData &dataOf(IAccountProvider *provider)
{
    return static_cast<testhost::AccountProvider *>(provider)->data;
}

// The manager over a provider filled with random accounts, shown as the client shows it.
struct Manager
{
    explicit Manager(testhost::AccountProvider &accounts)
    {
        dialog.SetProvider(&accounts);
        dialog.show();
        tree = control<CAccountTreeCtrl>(&dialog, kTree);
    }

    Records users() const { return recordbytes::users(dataOf(dialog.workingCopy())); }
    Records groups() const { return recordbytes::groups(dataOf(dialog.workingCopy())); }

    CAccountManagerDlg dialog;
    CAccountTreeCtrl *tree = nullptr;
};

// The client's accounts after the manager closed: unchanged, whether or not it committed.
void requireClientUnchanged(testhost::AccountProvider &accounts, const Records &users,
                            const Records &groups)
{
    props::requireSame(users, recordbytes::users(accounts.data), "the client's users");
    props::requireSame(groups, recordbytes::groups(accounts.data), "the client's groups");
    RC_ASSERT(accounts.log->count("createWorkingCopy")
                  + accounts.log->count("copy.createWorkingCopy")
              == accounts.log->count("copy.release"));
}

RC_GTEST_PROP(AccountProperties, UserLookedAtAndConfirmedKeepsEveryByte, ())
{
    const auto pool = *recordgen::genNamePool(sizeof(UserRecord::id));
    const auto spec = *recordgen::genAccounts(pool, 1, 0);
    const auto index = *gen::inRange<int>(0, int(spec.users.size()));
    testhost::AccountProvider accounts;
    recordgen::fill(accounts.data, spec);
    const Records users = recordbytes::users(accounts.data);
    const Records groups = recordbytes::groups(accounts.data);
    {
        props::MessageBoxAnswerer answerer;
        Manager manager(accounts);
        manager.tree->setCurrentItem(manager.tree->UserFolder()->child(index));
        auto ran = std::make_shared<bool>(false);
        props::onNextModal<CAccountUserDlg>(
            [](CAccountUserDlg *user) { props::press(user, "okButton"); }, ran);
        manager.dialog.OnModify();
        RC_ASSERT(*ran);
        props::requireSame(users, manager.users(), "users after OK");
        props::requireSame(groups, manager.groups(), "groups after OK");
        manager.dialog.accept();
    }
    requireClientUnchanged(accounts, users, groups);
}

RC_GTEST_PROP(AccountProperties, UserEditedAndCancelledKeepsEveryByte, ())
{
    const auto pool = *recordgen::genNamePool(sizeof(UserRecord::id));
    const auto spec = *recordgen::genAccounts(pool, 1, 0);
    const auto index = *gen::inRange<int>(0, int(spec.users.size()));
    const auto typed = *gen::container<std::vector<QString>>(5, props::genTyped());
    testhost::AccountProvider accounts;
    recordgen::fill(accounts.data, spec);
    const Records users = recordbytes::users(accounts.data);
    const Records groups = recordbytes::groups(accounts.data);
    {
        Manager manager(accounts);
        manager.tree->setCurrentItem(manager.tree->UserFolder()->child(index));
        auto ran = std::make_shared<bool>(false);
        props::onNextModal<CAccountUserDlg>(
            [&typed](CAccountUserDlg *user) {
                const char *edits[]
                    = {"idEdit", "nameEdit", "descriptionEdit", "passwordEdit", "confirmEdit"};
                for (int i = 0; i < 5; ++i)
                    props::retype(named<QLineEdit>(user, edits[i]), typed[std::size_t(i)]);
                props::press(user, "cancelButton");
            },
            ran);
        manager.dialog.OnModify();
        RC_ASSERT(*ran);
        props::requireSame(users, manager.users(), "users after Cancel");
        props::requireSame(groups, manager.groups(), "groups after Cancel");
        RC_ASSERT(!manager.dialog.isModified());
        manager.dialog.reject();
    }
    requireClientUnchanged(accounts, users, groups);
}

RC_GTEST_PROP(AccountProperties, GroupLookedAtAndConfirmedKeepsEveryByte, ())
{
    const auto pool = *recordgen::genNamePool(sizeof(GroupRecord::id));
    const auto spec = *recordgen::genAccounts(pool, 0, 1);
    const auto index = *gen::inRange<int>(0, int(spec.groups.size()));
    testhost::AccountProvider accounts;
    recordgen::fill(accounts.data, spec);
    const Records users = recordbytes::users(accounts.data);
    const Records groups = recordbytes::groups(accounts.data);
    {
        props::MessageBoxAnswerer answerer;
        Manager manager(accounts);
        manager.tree->setCurrentItem(manager.tree->GroupFolder()->child(index));
        auto ran = std::make_shared<bool>(false);
        props::onNextModal<CAccountGroupDlg>(
            [](CAccountGroupDlg *group) { props::press(group, "okButton"); }, ran);
        manager.dialog.OnModify();
        RC_ASSERT(*ran);
        props::requireSame(users, manager.users(), "users after OK");
        props::requireSame(groups, manager.groups(), "groups after OK");
        manager.dialog.accept();
    }
    requireClientUnchanged(accounts, users, groups);
}

// The members are chosen anew in the chooser and confirmed there; Cancel in the group dialog
// still drops them.
RC_GTEST_PROP(AccountProperties, GroupEditedAndCancelledKeepsEveryByte, ())
{
    const auto pool = *recordgen::genNamePool(sizeof(GroupRecord::id));
    const auto spec = *recordgen::genAccounts(pool, 0, 1);
    const auto index = *gen::inRange<int>(0, int(spec.groups.size()));
    const auto typed = *gen::container<std::vector<QString>>(2, props::genTyped());
    const auto moves = *props::genMemberMoves();
    testhost::AccountProvider accounts;
    recordgen::fill(accounts.data, spec);
    const Records users = recordbytes::users(accounts.data);
    const Records groups = recordbytes::groups(accounts.data);
    {
        Manager manager(accounts);
        manager.tree->setCurrentItem(manager.tree->GroupFolder()->child(index));
        auto ran = std::make_shared<bool>(false);
        auto chose = std::make_shared<bool>(false);
        props::onNextModal<CAccountGroupDlg>(
            [&](CAccountGroupDlg *group) {
                props::retype(named<QLineEdit>(group, "idEdit"), typed[0]);
                props::retype(named<QLineEdit>(group, "descriptionEdit"), typed[1]);
                props::onNextModal<CChooseMemberDlg>(
                    [&moves](CChooseMemberDlg *chooser) {
                        props::moveMembers(chooser, moves);
                        props::press(chooser, "okButton");
                    },
                    chose);
                props::press(group, "memberButton");
                props::press(group, "cancelButton");
            },
            ran);
        manager.dialog.OnModify();
        RC_ASSERT(*ran && *chose);
        props::requireSame(users, manager.users(), "users after Cancel");
        props::requireSame(groups, manager.groups(), "groups after Cancel");
        RC_ASSERT(!manager.dialog.isModified());
        manager.dialog.reject();
    }
    requireClientUnchanged(accounts, users, groups);
}

// Ids repeat, and the provider removes the first account of an id: the others stay as they
// were, and the tree shows exactly the accounts that remain. A deleted user leaves the member
// lists (entries of exactly its id); a deleted group leaves them alone.
RC_GTEST_PROP(AccountProperties, DeletingAnAccountLeavesTheOthers, ())
{
    const auto pool = *recordgen::genNamePool(sizeof(UserRecord::id));
    const auto spec = *recordgen::genAccounts(pool, 1, 1);
    const bool deleteUser = *gen::arbitrary<bool>();
    const auto index
        = *gen::inRange<int>(0, int(deleteUser ? spec.users.size() : spec.groups.size()));
    testhost::AccountProvider accounts;
    recordgen::fill(accounts.data, spec);
    const Records users = recordbytes::users(accounts.data);
    const Records groups = recordbytes::groups(accounts.data);
    const std::string id = deleteUser
        ? std::string(spec.users[std::size_t(index)].id,
                      strnlen(spec.users[std::size_t(index)].id, sizeof(UserRecord::id)))
        : std::string(spec.groups[std::size_t(index)].record.id,
                      strnlen(spec.groups[std::size_t(index)].record.id, sizeof(GroupRecord::id)));
    RC_TAG(deleteUser ? "user" : "group");

    props::MessageBoxAnswerer answerer;
    Manager manager(accounts);
    QTreeWidgetItem *folder = deleteUser ? manager.tree->UserFolder() : manager.tree->GroupFolder();
    manager.tree->setCurrentItem(folder->child(index));
    manager.dialog.OnDelete();
    RC_ASSERT(answerer.texts.size() == 1);

    testhost::AccountData &copy = dataOf(manager.dialog.workingCopy());
    if (deleteUser) {
        props::requireOneRemoved(users, manager.users(), offsetof(UserRecord, id),
                                 sizeof(UserRecord::id), id, "users after Delete");
        // Every group keeps its members but those named exactly by the deleted id.
        testhost::AccountData expected;
        recordgen::AccountSpec kept {{}, spec.groups};
        for (auto &group : kept.groups)
            std::erase_if(group.members, [&id](const MemberRecord &member) {
                return strnlen(member.id, sizeof member.id) == id.size()
                    && std::memcmp(member.id, id.data(), id.size()) == 0;
            });
        recordgen::fill(expected, kept);
        props::requireSame(recordbytes::groups(expected), manager.groups(), "groups after Delete");
    } else {
        props::requireSame(users, manager.users(), "users after Delete");
        props::requireOneRemoved(groups, manager.groups(), offsetof(GroupRecord, id),
                                 sizeof(GroupRecord::id), id, "groups after Delete");
    }
    std::vector<std::uintptr_t> userRecords;
    for (const auto &user : copy.users)
        userRecords.push_back(reinterpret_cast<std::uintptr_t>(user.get()));
    std::vector<std::uintptr_t> groupRecords;
    for (const auto &group : copy.groups)
        groupRecords.push_back(reinterpret_cast<std::uintptr_t>(group.get()));
    RC_ASSERT(props::treeRecords(manager.tree->UserFolder()) == userRecords);
    RC_ASSERT(props::treeRecords(manager.tree->GroupFolder()) == groupRecords);
}

// Of two accounts of one id the provider removes the first only, as the reference host does.
TEST(AccountProviders, DeleteRemovesTheFirstAccountOfAnId)
{
    testhost::AccountProvider accounts;
    accounts.data.addUser("bob", "first");
    accounts.data.addUser("bob", "second");
    accounts.data.addGroup("staff");
    accounts.data.addGroup("staff");
    accounts.deleteUser("bob");
    accounts.deleteGroup("staff");
    ASSERT_EQ(accounts.data.users.size(), 1u);
    EXPECT_STREQ(accounts.data.users[0]->password, "second");
    EXPECT_EQ(accounts.data.groups.size(), 1u);
}

} // namespace
