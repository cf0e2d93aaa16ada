// The account manager and its user and group dialogs over random accounts: looking at an
// account, or editing and cancelling, leaves every byte of every account as it was; deleting
// one leaves the others.
#include "account/account_manager_dlg.h"
#include "account/account_tree_ctrl.h"
#include "account/choose_member_dlg.h"
#include "property_env.h"
#include "support/dialog_test_util.h"

#include <rapidcheck/gtest.h>

#include <QStringDecoder>

#include <cctype>
#include <optional>

namespace {

using namespace rc;
using recordbytes::Records;

enum { kTree = 21014 };

testhost::AccountData &dataOf(IAccountProvider *provider)
{
    return props::testProvider<testhost::AccountProvider>(provider).data;
}

// Random accounts, one user or group of them chosen, and the manager over them, shown as the
// client shows it. Of the other kind there may be none, unless both are asked for.
struct Case
{
    explicit Case(bool bothKinds)
        : user(*gen::arbitrary<bool>())
    {
        const auto pool = *recordgen::genNamePool(sizeof(UserRecord::id));
        accounts.data = *recordgen::genAccounts(pool, user || bothKinds, !user || bothKinds);
        index = *gen::inRange<int>(
            0, int(user ? accounts.data.users.size() : accounts.data.groups.size()));
        users = recordbytes::users(accounts.data);
        groups = recordbytes::groups(accounts.data);
    }

    // The chosen account's id field in the client's data.
    char *id() { return user ? accounts.data.users[index]->id : accounts.data.groups[index]->id; }

    void open()
    {
        dialog.emplace();
        dialog->SetProvider(&accounts);
        dialog->show();
        tree = control<CAccountTreeCtrl>(&*dialog, kTree);
        tree->setCurrentItem((user ? tree->UserFolder() : tree->GroupFolder())->child(index));
    }

    Records copyUsers() const { return recordbytes::users(dataOf(dialog->workingCopy())); }
    Records copyGroups() const { return recordbytes::groups(dataOf(dialog->workingCopy())); }

    // The client's accounts after the manager closed: unchanged, whether or not it committed.
    void close()
    {
        dialog.reset();
        props::requireSame(users, recordbytes::users(accounts.data), "the client's users");
        props::requireSame(groups, recordbytes::groups(accounts.data), "the client's groups");
        RC_ASSERT(accounts.log->count("createWorkingCopy")
                      + accounts.log->count("copy.createWorkingCopy")
                  == accounts.log->count("copy.release"));
    }

    bool user;
    std::size_t index = 0;
    testhost::AccountProvider accounts;
    Records users;
    Records groups;
    MessageBoxAnswerer answerer {QMessageBox::Yes};
    std::optional<CAccountManagerDlg> dialog;
    CAccountTreeCtrl *tree = nullptr;
};

// A user's or a group's dialog confirmed as it opened, or edited and cancelled: for groups the
// members are chosen anew in the chooser and confirmed there, and Cancel still drops them.
RC_GTEST_PROP(AccountProperties, ConfirmedUnchangedOrEditedAndCancelledKeepsEveryByte, ())
{
    Case c(false);
    const bool cancel = *gen::arbitrary<bool>();
    const auto typed = *gen::container<std::vector<QString>>(5, props::genTyped());
    const auto moves = *props::genMemberMoves();
    c.open();
    const auto edit = [&](QDialog *dialog, std::initializer_list<const char *> edits) {
        std::size_t i = 0;
        for (const char *edit : edits)
            retype(named<QLineEdit>(dialog, edit), typed[i++]);
    };
    bool chose = false;
    std::string opened;
    duringStep<QDialog>(
        [&](QDialog *dialog) {
            opened = dialog->metaObject()->className();
            if (cancel && c.user)
                edit(dialog,
                     {"idEdit", "nameEdit", "descriptionEdit", "passwordEdit", "confirmEdit"});
            if (cancel && !c.user) {
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
        [&c] { c.dialog->OnModify(); });
    // Drawn ids may repeat, and a confirmation over a repeated id is refused: the tag shows
    // how often that happens against how often the record was stored.
    RC_TAG(c.user ? "user" : "group",
           cancel                       ? "cancelled"
               : c.dialog->isModified() ? "stored"
                                        : "refused");
    RC_ASSERT(opened == (c.user ? "CAccountUserDlg" : "CAccountGroupDlg"));
    RC_ASSERT(c.user || !cancel || chose);
    props::requireSame(c.users, c.copyUsers(), "users after the dialog");
    props::requireSame(c.groups, c.copyGroups(), "groups after the dialog");
    RC_ASSERT(!(cancel && c.dialog->isModified()));
    if (cancel)
        c.dialog->reject();
    else
        c.dialog->accept();
    c.close();
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
    Case c(true);
    char *const editedId = c.id();
    std::vector<char *> others;
    for (auto &user : c.accounts.data.users)
        others.push_back(user->id);
    for (auto &group : c.accounts.data.groups)
        others.push_back(group->id);
    std::erase(others, editedId);
    // Half the time the edited account's id is another's (its twin) in other letter case, both
    // of letters and digits only, which the id edit takes as typed; the id typed is often the
    // twin's.
    const std::size_t size = sizeof(UserRecord::id);
    const std::size_t twin = *gen::inRange<std::size_t>(0, others.size());
    if (*gen::arbitrary<bool>()) {
        std::string letters;
        for (std::size_t i = 0; i < size && others[twin][i]; ++i) {
            if (std::isalnum(static_cast<unsigned char>(others[twin][i])))
                letters += others[twin][i];
        }
        letters += "b";
        letters.resize(std::min<std::size_t>(letters.size(), 20));
        const auto putId = [size](char *id, const std::string &text) {
            std::memset(id, 0, size);
            std::memcpy(id, text.data(), text.size());
        };
        putId(others[twin], letters);
        for (char &ch : letters)
            ch = std::isalpha(static_cast<unsigned char>(ch)) ? char(ch ^ 0x20) : ch;
        putId(editedId, letters);
    }
    recordgen::NamePool ids;
    for (const char *id : others)
        ids.emplace_back(id, strnlen(id, size));
    const QString typed = QString::fromUtf8(*gen::weightedOneOf<std::string>(
        {{2, gen::just(ids[twin])}, {1, gen::elementOf(ids)}, {1, recordgen::genName(ids, size)}}));
    c.open();
    RC_ASSERT(duringStep<QDialog>(
        [&typed](QDialog *dialog) {
            retype(named<QLineEdit>(dialog, "idEdit"), typed);
            press(dialog, "okButton");
        },
        [&c] { c.dialog->OnModify(); }));
    const testhost::AccountData &copy = dataOf(c.dialog->workingCopy());
    const char *stored = c.user ? copy.users[c.index]->id : copy.groups[c.index]->id;
    const bool changed = std::memcmp(stored, editedId, size) != 0;
    RC_TAG(changed ? "changed" : "kept or refused");
    const auto requireNoOther = [&](const auto &records, bool edited, const std::string &what) {
        for (std::size_t i = 0; changed && i < records.size(); ++i) {
            if (!(edited && i == c.index) && sameIdIgnoringCase(stored, size, records[i]->id, size))
                RC_FAIL("stored an id that " + what + " " + std::to_string(i) + " has");
        }
    };
    requireNoOther(copy.users, c.user, "user");
    requireNoOther(copy.groups, !c.user, "group");
}

// Ids repeat, and the provider removes the first account of an id: the others stay as they
// were, and the tree shows exactly the accounts that remain. A deleted user leaves the member
// lists (entries of exactly its id); a deleted group leaves them alone.
RC_GTEST_PROP(AccountProperties, DeletingAnAccountLeavesTheOthers, ())
{
    Case c(true);
    static_assert(sizeof(UserRecord::id) == sizeof(GroupRecord::id));
    const std::string id(c.id(), strnlen(c.id(), sizeof(UserRecord::id)));
    RC_TAG(c.user ? "user" : "group");
    c.open();
    c.dialog->OnDelete();
    RC_ASSERT(c.answerer.texts.size() == 1);

    const std::size_t idAt = c.user ? offsetof(UserRecord, id) : offsetof(GroupRecord, id);
    Records users = c.users;
    Records groups = c.groups;
    if (c.user) {
        props::requireOneRemoved(users, c.copyUsers(), idAt, sizeof(UserRecord::id), id,
                                 "users after Delete");
        // Every group keeps its members but those named exactly by the deleted id.
        for (recordbytes::Flat &group : groups)
            std::erase_if(group.seqs[0], [&id](const std::string &member) {
                const char *memberId = member.data() + offsetof(MemberRecord, id);
                return strnlen(memberId, sizeof(MemberRecord::id)) == id.size()
                    && std::memcmp(memberId, id.data(), id.size()) == 0;
            });
        props::requireSame(groups, c.copyGroups(), "groups after Delete");
    } else {
        props::requireSame(users, c.copyUsers(), "users after Delete");
        props::requireOneRemoved(groups, c.copyGroups(), idAt, sizeof(GroupRecord::id), id,
                                 "groups after Delete");
    }
    const auto requireTreeShows = [](const QTreeWidgetItem *folder, const auto &records) {
        std::vector<std::uintptr_t> addresses;
        for (const auto &record : records)
            addresses.push_back(reinterpret_cast<std::uintptr_t>(record.get()));
        RC_ASSERT(props::treeRecords(folder) == addresses);
    };
    const testhost::AccountData &copy = dataOf(c.dialog->workingCopy());
    requireTreeShows(c.tree->UserFolder(), copy.users);
    requireTreeShows(c.tree->GroupFolder(), copy.groups);
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
