// The authority manager over random authority items and accounts: confirming an item's members
// without a change, or changing them and closing, leaves every byte of every category and item
// as it was.
#include "account/authority_dlg.h"
#include "account/authority_tree_ctrl.h"
#include "account/choose_member_dlg.h"
#include "property_env.h"
#include "support/dialog_test_util.h"

#include <rapidcheck/gtest.h>

namespace {

using namespace rc;
using recordbytes::Records;

enum { kTree = 21025 };

struct Case
{
    Case()
    {
        const auto pool = *recordgen::genNamePool(sizeof(MemberRecord::id));
        accounts.data = *recordgen::genAccounts(pool);
        authority.data = *recordgen::genAuthority(pool, accounts.data);
        for (std::size_t c = 0; c < authority.data.categories.size(); ++c) {
            for (std::size_t i = 0; i < authority.data.categories[c].items.size(); ++i)
                items.emplace_back(int(c), int(i));
        }
        before = recordbytes::authority(authority.data);
        users = recordbytes::users(accounts.data);
        groups = recordbytes::groups(accounts.data);
    }

    // Opens the manager with one item selected.
    void open(std::pair<int, int> item)
    {
        dialog = std::make_unique<CAuthorityDlg>();
        dialog->SetProvider(&authority);
        dialog->SetAccountProvider(&accounts);
        dialog->show();
        auto *tree = control<CAuthorityTreeCtrl>(dialog.get(), kTree);
        tree->setCurrentItem(tree->rootItem()->child(item.first)->child(item.second));
    }

    Records copy() const
    {
        return recordbytes::authority(
            props::testProvider<testhost::AuthorityProvider>(dialog->workingCopy()).data);
    }

    // Whatever the manager did, the accounts are only read.
    void close()
    {
        dialog.reset();
        props::requireSame(users, recordbytes::users(accounts.data), "the accounts");
        props::requireSame(groups, recordbytes::groups(accounts.data), "the accounts' groups");
        RC_ASSERT(authority.log->count("createWorkingCopy")
                  == authority.log->count("copy.release"));
    }

    testhost::AccountProvider accounts;
    testhost::AuthorityProvider authority;
    std::vector<std::pair<int, int>> items; // category and item index of every item
    Records before;
    Records users;
    Records groups;
    std::unique_ptr<CAuthorityDlg> dialog;
};

// The chooser confirmed without a move rewrites the list with what it showed: the same bytes,
// which OK stores. Moves confirmed in the chooser, then Close, store nothing (nor does a
// description typed in, which nothing stores).
RC_GTEST_PROP(AuthorityProperties, MembersConfirmedUnchangedOrChangedAndClosedKeepEveryByte, ())
{
    Case c;
    c.open(*gen::elementOf(c.items));
    const bool close = *gen::arbitrary<bool>();
    const auto moves = close ? *props::genMemberMoves() : props::MemberMoves();
    const auto typed = *props::genTyped();
    RC_ASSERT(duringStep<CChooseMemberDlg>(
        [&moves](CChooseMemberDlg *chooser) {
            props::moveMembers(chooser, moves);
            press(chooser, "okButton");
        },
        [&c] { c.dialog->OnMember(); }));
    if (close) {
        retype(named<QLineEdit>(c.dialog.get(), "descriptionEdit"), typed);
        c.dialog->reject();
        RC_ASSERT(c.authority.log->count("copy.saveFile") == 0);
    } else {
        props::requireSame(c.before, c.copy(), "authority after the chooser's OK");
        c.dialog->accept();
    }
    props::requireSame(c.before, recordbytes::authority(c.authority.data),
                       "the client's authority after the manager");
    c.close();
}

} // namespace
