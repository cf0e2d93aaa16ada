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

#include <QStringDecoder>

#include <cctype>

namespace {

using namespace rc;
using recordbytes::Records;

enum { kTree = 21014 };

testhost::AccountData &dataOf(IAccountProvider *provider)
{
    return props::testProvider<testhost::AccountProvider>(provider).data;
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

// A user's or a group's dialog confirmed as it opened, or edited and cancelled: for groups the
// members are chosen anew in the chooser and confirmed there, and Cancel still drops them.
RC_GTEST_PROP(AccountProperties, ConfirmedUnchangedOrEditedAndCancelledKeepsEveryByte, ())
{
    const bool user = *gen::arbitrary<bool>();
    const bool cancel = *gen::arbitrary<bool>();
    const auto pool = *recordgen::genNamePool(sizeof(UserRecord::id));
    const auto drawn = *recordgen::genAccounts(pool, user ? 1 : 0, user ? 0 : 1);
    const auto index = *gen::inRange<int>(0, int(user ? drawn.users.size() : drawn.groups.size()));
    const auto typed = *gen::container<std::vector<QString>>(5, props::genTyped());
    const auto moves = *props::genMemberMoves();
    testhost::AccountProvider accounts;
    recordgen::fill(accounts.data, drawn);
    const Records users = recordbytes::users(accounts.data);
    const Records groups = recordbytes::groups(accounts.data);
    {
        MessageBoxAnswerer answerer(QMessageBox::Yes);
        Manager manager(accounts);
        QTreeWidgetItem *folder = user ? manager.tree->UserFolder() : manager.tree->GroupFolder();
        manager.tree->setCurrentItem(folder->child(index));
        bool ran = false;
        bool chose = false;
        const auto edit = [&](QDialog *dialog, std::initializer_list<const char *> edits) {
            std::size_t i = 0;
            for (const char *edit : edits)
                retype(named<QLineEdit>(dialog, edit), typed[i++]);
        };
        const auto modify = [&manager] { manager.dialog.OnModify(); };
        if (user) {
            ran = duringStep<CAccountUserDlg>(
                [&](CAccountUserDlg *dialog) {
                    if (cancel)
                        edit(dialog,
                             {"idEdit", "nameEdit", "descriptionEdit", "passwordEdit",
                              "confirmEdit"});
                    press(dialog, cancel ? "cancelButton" : "okButton");
                },
                modify);
        } else {
            ran = duringStep<CAccountGroupDlg>(
                [&](CAccountGroupDlg *dialog) {
                    if (cancel) {
                        edit(dialog, {"idEdit", "descriptionEdit"});
                        chose = duringStep<CChooseMemberDlg>(
                            [&moves](CChooseMemberDlg *chooser) {
                                props::moveMembers(chooser, moves);
                                press(chooser, "okButton");
                            },
                            [dialog] { press(dialog, "memberButton"); });
                    }
                    press(dialog, cancel ? "cancelButton" : "okButton");
                },
                modify);
        }
        // Drawn ids may repeat, and a confirmation over a repeated id is refused: the tag shows
        // how often that happens against how often the record was stored.
        RC_TAG(user ? "user" : "group",
               cancel                            ? "cancelled"
                   : manager.dialog.isModified() ? "stored"
                                                 : "refused");
        RC_ASSERT(ran && (user || !cancel || chose));
        props::requireSame(users, manager.users(), "users after the dialog");
        props::requireSame(groups, manager.groups(), "groups after the dialog");
        RC_ASSERT(!(cancel && manager.dialog.isModified()));
        if (cancel)
            manager.dialog.reject();
        else
            manager.dialog.accept();
    }
    requireClientUnchanged(accounts, users, groups);
}

// Two ids are the same when they equal ignoring case; undecodable ids are left out, since
// their text says nothing about their bytes.
bool sameIdIgnoringCase(const char *a, std::size_t aSize, const char *b, std::size_t bSize)
{
    QStringDecoder decodeA(QStringDecoder::Utf8);
    QStringDecoder decodeB(QStringDecoder::Utf8);
    const QString textA = decodeA(QByteArrayView(a, qsizetype(strnlen(a, aSize))));
    const QString textB = decodeB(QByteArrayView(b, qsizetype(strnlen(b, bSize))));
    return !decodeA.hasError() && !decodeB.hasError()
        && textA.compare(textB, Qt::CaseInsensitive) == 0;
}

// An id typed into the user or group dialog is stored only when no other account has it,
// ignoring case: the typed ids are the accounts' own in other letter case as often as not.
RC_GTEST_PROP(AccountProperties, AChangedIdIsStoredOnlyWhenNoOtherAccountHasIt, ())
{
    const auto pool = *recordgen::genNamePool(sizeof(UserRecord::id));
    auto drawn = *recordgen::genAccounts(pool, 1, 1);
    const bool editUser = *gen::arbitrary<bool>();
    const auto index
        = *gen::inRange<int>(0, int(editUser ? drawn.users.size() : drawn.groups.size()));
    char *editedId = editUser ? drawn.users[std::size_t(index)].id
                              : drawn.groups[std::size_t(index)].record.id;
    std::vector<char *> others;
    for (UserRecord &user : drawn.users)
        others.push_back(user.id);
    for (recordgen::DrawnGroup &group : drawn.groups)
        others.push_back(group.record.id);
    std::erase(others, editedId);
    // Half the time the edited account's id is another's (its twin) in other letter case, both
    // of letters and digits only, which the id edit takes as typed; the id typed is often the
    // twin's.
    const std::size_t twin = *gen::inRange<std::size_t>(0, others.size());
    if (*gen::arbitrary<bool>()) {
        std::string letters;
        for (std::size_t i = 0; i < sizeof(UserRecord::id) && others[twin][i]; ++i) {
            if (std::isalnum(static_cast<unsigned char>(others[twin][i])))
                letters += others[twin][i];
        }
        letters += "b";
        letters.resize(std::min<std::size_t>(letters.size(), 20));
        const auto putId = [](char *id, const std::string &text) {
            std::memset(id, 0, sizeof(UserRecord::id));
            std::memcpy(id, text.data(), text.size());
        };
        putId(others[twin], letters);
        for (char &c : letters)
            c = std::isalpha(static_cast<unsigned char>(c)) ? char(c ^ 0x20) : c;
        putId(editedId, letters);
    }
    recordgen::NamePool ids;
    for (const char *id : others)
        ids.emplace_back(id, strnlen(id, sizeof(UserRecord::id)));
    const QString typed = QString::fromUtf8(
        *gen::weightedOneOf<std::string>({{2, gen::just(ids[twin])},
                                          {1, gen::elementOf(ids)},
                                          {1, recordgen::genName(ids, sizeof(UserRecord::id))}}));
    testhost::AccountProvider accounts;
    recordgen::fill(accounts.data, drawn);

    MessageBoxAnswerer answerer(QMessageBox::Yes);
    Manager manager(accounts);
    QTreeWidgetItem *folder = editUser ? manager.tree->UserFolder() : manager.tree->GroupFolder();
    manager.tree->setCurrentItem(folder->child(index));
    RC_ASSERT(duringStep<QDialog>(
        [&typed](QDialog *dialog) {
            retype(named<QLineEdit>(dialog, "idEdit"), typed);
            press(dialog, "okButton");
        },
        [&manager] { manager.dialog.OnModify(); }));
    const testhost::AccountData &copy = dataOf(manager.dialog.workingCopy());
    const char *stored
        = editUser ? copy.users[std::size_t(index)]->id : copy.groups[std::size_t(index)]->id;
    const char *before = editedId;
    const std::size_t size = sizeof(UserRecord::id);
    const bool changed = std::memcmp(stored, before, size) != 0;
    RC_TAG(changed ? "changed" : "kept or refused");
    if (!changed)
        return;
    const auto requireNoOther = [&](const auto &records, bool edited, const std::string &what) {
        for (std::size_t i = 0; i < records.size(); ++i) {
            if (!(edited && i == std::size_t(index))
                && sameIdIgnoringCase(stored, size, records[i]->id, size))
                RC_FAIL("stored an id that " + what + " " + std::to_string(i) + " has");
        }
    };
    requireNoOther(copy.users, editUser, "user");
    requireNoOther(copy.groups, !editUser, "group");
}

// Ids repeat, and the provider removes the first account of an id: the others stay as they
// were, and the tree shows exactly the accounts that remain. A deleted user leaves the member
// lists (entries of exactly its id); a deleted group leaves them alone.
RC_GTEST_PROP(AccountProperties, DeletingAnAccountLeavesTheOthers, ())
{
    const auto pool = *recordgen::genNamePool(sizeof(UserRecord::id));
    const auto drawn = *recordgen::genAccounts(pool, 1, 1);
    const bool deleteUser = *gen::arbitrary<bool>();
    const auto index
        = *gen::inRange<int>(0, int(deleteUser ? drawn.users.size() : drawn.groups.size()));
    testhost::AccountProvider accounts;
    recordgen::fill(accounts.data, drawn);
    const Records users = recordbytes::users(accounts.data);
    const Records groups = recordbytes::groups(accounts.data);
    const char *idField = deleteUser ? drawn.users[std::size_t(index)].id
                                     : drawn.groups[std::size_t(index)].record.id;
    static_assert(sizeof(UserRecord::id) == sizeof(GroupRecord::id));
    const std::string id(idField, strnlen(idField, sizeof(UserRecord::id)));
    RC_TAG(deleteUser ? "user" : "group");

    MessageBoxAnswerer answerer(QMessageBox::Yes);
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
        recordgen::DrawnAccounts kept {{}, drawn.groups};
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
    const auto requireTreeShows = [](const QTreeWidgetItem *folder, const auto &records) {
        std::vector<std::uintptr_t> addresses;
        for (const auto &record : records)
            addresses.push_back(reinterpret_cast<std::uintptr_t>(record.get()));
        RC_ASSERT(props::treeRecords(folder) == addresses);
    };
    requireTreeShows(manager.tree->UserFolder(), copy.users);
    requireTreeShows(manager.tree->GroupFolder(), copy.groups);
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
