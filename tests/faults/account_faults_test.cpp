// The account manager and the authority manager driven through OK after a change, with every
// provider call failing in turn.
#include "account/account_manager_dlg.h"
#include "account/account_tree_ctrl.h"
#include "account/account_user_dlg.h"
#include "account/authority_dlg.h"
#include "account/authority_tree_ctrl.h"
#include "account/choose_member_dlg.h"
#include "fault_loop.h"

#include <ostrel/setup_manager.h>

#include <QAbstractItemView>

namespace {

using faults::Outcome;
using testhost::FaultPlan;

enum { kTree = 21014, kIdEdit = 21017, kNew = 5, kOk = 1 };
enum { kAuthTree = 21025, kAuthMemberButton = 21029, kChosen = 21031, kAddAll = 21033 };

using faults::clickIfEnabled;
using faults::treeShows;

class AccountFaults : public faults::FaultTest
{
protected:
    // The user "carol" added and OK pressed, with the plan's call failing.
    Outcome addUser(const std::shared_ptr<FaultPlan> &plan)
    {
        accounts.data = testhost::AccountData();
        accounts.data.addUser("Admin", "pw");
        accounts.data.addUser("bob", "pw");
        testhost::AccountProvider::files().clear();
        accounts.faults = plan;
        LogCapture log;
        MessageBoxAnswerer answerer;
        Outcome outcome;

        auto manager = std::make_unique<CAccountManagerDlg>();
        manager->SetProvider(&accounts);
        manager->show();
        auto *tree = control<CAccountTreeCtrl>(manager.get(), kTree);
        tree->setCurrentItem(tree->UserFolder());
        duringStep<CAccountUserDlg>(
            [&outcome](CAccountUserDlg *user) {
                type(user, kIdEdit, QStringLiteral("carol"));
                QTest::mouseClick(control<QPushButton>(user, kOk), Qt::LeftButton);
                outcome.changeConfirmed = user->result() == kDialogOk;
            },
            [&] { clickIfEnabled(control<QPushButton>(manager.get(), kNew)); });
        const bool shown = treeShows(tree->UserFolder(), QStringLiteral("carol"));
        clickIfEnabled(control<QPushButton>(manager.get(), kOk));

        outcome.closed = !manager->isVisible() && manager->result() == kDialogOk;
        outcome.keptInDialog = manager->isVisible() && shown;
        manager.reset();
        faults::finish<testhost::AccountProvider>(outcome, answerer, log, "xml_account",
                                                  [](const testhost::AccountData &stored) {
                                                      std::set<std::string> ids;
                                                      for (const auto &user : stored.users)
                                                          ids.insert(user->id);
                                                      return ids;
                                                  });
        return outcome;
    }

    // All accounts granted the item "watch" in the member chooser and OK pressed, with the
    // plan's call failing in either provider.
    Outcome grant(const std::shared_ptr<FaultPlan> &plan)
    {
        accounts.data = testhost::AccountData();
        accounts.data.addUser("amy");
        accounts.data.addUser("bob");
        authority.data = testhost::AuthorityData();
        const int live = authority.data.addCategory("live", "Live view");
        AuthorityItem *watch = authority.data.addItem(live, "watch", "Watch");
        ostrelhost::appendBlock(watch->members)->kind = MemberUser;
        copyField(seqAt(watch->members, 0)->id, "bob");
        testhost::AuthorityProvider::files().clear();
        authority.faults = plan;
        accounts.faults = plan;
        LogCapture log;
        MessageBoxAnswerer answerer;
        Outcome outcome;

        auto dialog = std::make_unique<CAuthorityDlg>();
        dialog->SetProvider(&authority);
        dialog->SetAccountProvider(&accounts);
        dialog->show();
        auto *tree = control<CAuthorityTreeCtrl>(dialog.get(), kAuthTree);
        QTreeWidgetItem *category = tree->rootItem() ? tree->rootItem()->child(0) : nullptr;
        if (category && category->childCount() > 0)
            tree->setCurrentItem(category->child(0));
        duringStep<CChooseMemberDlg>(
            [&outcome](CChooseMemberDlg *chooser) {
                clickIfEnabled(control<QPushButton>(chooser, kAddAll));
                QAbstractItemModel *chosen = control<QAbstractItemView>(chooser, kChosen)->model();
                bool amy = false;
                for (int row = 0; row < chosen->rowCount(); ++row)
                    amy = amy || chosen->index(row, 0).data().toString() == QLatin1String("amy");
                QTest::mouseClick(control<QPushButton>(chooser, kOk), Qt::LeftButton);
                outcome.changeConfirmed = amy && chooser->result() == kDialogOk;
            },
            [&] { clickIfEnabled(control<QPushButton>(dialog.get(), kAuthMemberButton)); });
        clickIfEnabled(control<QPushButton>(dialog.get(), kOk));

        outcome.closed = !dialog->isVisible() && dialog->result() == kDialogOk;
        // The chooser writes into the working copy's item, which the open dialog keeps.
        outcome.keptInDialog = dialog->isVisible() && outcome.changeConfirmed;
        dialog.reset();
        faults::finish<testhost::AuthorityProvider>(
            outcome, answerer, log, "xml_authority", [](const testhost::AuthorityData &stored) {
                std::set<std::string> grants;
                for (const auto &category : stored.categories)
                    for (const auto &item : category.items)
                        for (std::size_t i = 0; i < seqSize(item->members); ++i)
                            grants.insert(std::string(item->id) + ":"
                                          + seqAt(item->members, i)->id);
                return grants;
            });
        return outcome;
    }
};

const std::set<std::string> kUsersBefore {"Admin", "bob"};
const std::set<std::string> kUsersAfter {"Admin", "bob", "carol"};
const std::set<std::string> kGrantsBefore {"watch:bob"};
const std::set<std::string> kGrantsAfter {"watch:amy", "watch:bob"};

// A failed copy.addUser keeps carol in her dialog with a message; a failed read after it leaves
// her in the copy, which OK stores. Every failed call reaches the log.
TEST_F(AccountFaults, AddingAUserIsSafeAgainstEveryFailure)
{
    const auto outcomes = faults::forEachFailure([this](auto plan) { return addUser(plan); });
    faults::expectSafe(outcomes, "carol", kUsersBefore, kUsersAfter);
}

// An account read failing inside the member chooser drops no member: ">>" then moves entries.
TEST_F(AccountFaults, GrantingIsSafeAgainstEveryFailure)
{
    const auto outcomes = faults::forEachFailure([this](auto plan) { return grant(plan); });
    faults::expectSafe(outcomes, "watch:amy", kGrantsBefore, kGrantsAfter);
}

} // namespace
