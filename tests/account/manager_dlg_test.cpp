// The account manager and the authority dialog, driven as an operator would.
#include "account/account_images.h"
#include "account/account_manager_dlg.h"
#include "account/account_rules.h"
#include "account/account_tree_ctrl.h"
#include "account/account_user_dlg.h"
#include "account/authority_dlg.h"
#include "account/authority_tree_ctrl.h"
#include "account/choose_member_dlg.h"
#include "account_test_env.h"
#include "controls/image_list.h"
#include "support/dialog_test_util.h"
#include "support/image_index.h"
#include "support/log_capture.h"

#include <QListWidget>
#include <QMessageBox>

namespace {

enum { kTree = 21014, kIdEdit = 21017, kNameEdit = 21020, kMembers = 21018 };
enum { kNew = 5, kModify = 21005, kDelete = 3, kOk = 1, kClose = 2 };
enum { kAuthTree = 21025, kAuthDesc = 21026, kAuthMembers = 21028, kAuthMemberButton = 21029 };

using Calls = std::vector<std::string>;

// The calls that write or reload data, in their order.
Calls commitCalls(const testhost::CallLog &log)
{
    Calls result;
    for (const std::string &call : log.calls) {
        if (call == "copy.saveFile" || call == "clear" || call == "loadFile" || call == "saveFile")
            result.push_back(call);
    }
    return result;
}

const Calls kCommit {"copy.saveFile", "clear", "loadFile"};

class ManagerDlgTest : public AccountTestEnv
{
protected:
    void SetUp() override
    {
        AccountTestEnv::SetUp();
        accounts.data.addUser("Admin", "pw", "Administrator");
        accounts.data.addUser("bob", "pw", "Bob");
        accounts.data.addGroup("staff",
                               {{MemberUser, "bob"}, {MemberUser, "Bob"}, {MemberGroup, "guests"}});
        accounts.data.addGroup("guests");
        open();
    }

    void open()
    {
        dialog.reset(manager = new CAccountManagerDlg);
        manager->SetProvider(&accounts);
        manager->show();
        tree = control<CAccountTreeCtrl>(manager, kTree);
    }

    QTreeWidgetItem *userItem(int index) const { return tree->UserFolder()->child(index); }
    QTreeWidgetItem *groupItem(int index) const { return tree->GroupFolder()->child(index); }
    bool visible(int id) const { return control<QWidget>(manager, id)->isVisible(); }
    bool enabled(int id) const { return control<QWidget>(manager, id)->isEnabled(); }
    QString text(int id) const { return control<QLineEdit>(manager, id)->text(); }

    CAccountManagerDlg *manager = nullptr;
    CAccountTreeCtrl *tree = nullptr;
};

TEST_F(ManagerDlgTest, SelectionShowsDetailsAndProtectsAdmin)
{
    EXPECT_EQ(tree->currentItem(), tree->rootItem());
    for (int id : std::initializer_list<int> {kNew, kModify, kDelete, kIdEdit, kMembers})
        EXPECT_FALSE(visible(id)) << id;
    EXPECT_FALSE(enabled(kOk));
    // The tree works on the working copy, not on the client's data.
    TreeNode *node = nullptr;
    ASSERT_GE(tree->FindNode(userItem(0), &node), 0);
    EXPECT_NE(tree->recordOf(*node), accounts.data.users[0].get());

    tree->setCurrentItem(userItem(1));
    EXPECT_EQ(text(kNameEdit), QStringLiteral("Bob"));
    EXPECT_FALSE(visible(kMembers));
    EXPECT_TRUE(enabled(kDelete));
    tree->setCurrentItem(groupItem(0));
    EXPECT_EQ(text(kIdEdit), QStringLiteral("staff"));
    EXPECT_EQ(control<QListWidget>(manager, kMembers)->count(), 3);
    tree->setCurrentItem(tree->GroupFolder());
    EXPECT_TRUE(visible(kNew));
    EXPECT_FALSE(visible(kModify));
    // "admin" in any case cannot be deleted.
    tree->setCurrentItem(userItem(0));
    EXPECT_FALSE(enabled(kDelete));
}

// New follows the folder last selected; nothing is written without a change, nor on Close.
TEST_F(ManagerDlgTest, CancelWritesNothingAndCloseDropsChanges)
{
    tree->setCurrentItem(groupItem(0));
    tree->setCurrentItem(tree->UserFolder());
    whenModal<CAccountUserDlg>([](CAccountUserDlg *user) { click(user, kClose); });
    click(manager, kNew);
    tree->setCurrentItem(userItem(1));
    {
        MessageBoxAnswerer no(QMessageBox::No);
        click(manager, kDelete);
    }
    EXPECT_EQ(tree->UserFolder()->childCount(), 2);
    EXPECT_FALSE(enabled(kOk));
    manager->accept();
    EXPECT_TRUE(commitCalls(*accounts.log).empty());

    open();
    tree->setCurrentItem(userItem(1));
    whenModal<CAccountUserDlg>([](CAccountUserDlg *user) {
        type(user, kIdEdit, QStringLiteral("robert"));
        type(user, kNameEdit, QStringLiteral("Robert"));
        click(user, kOk);
    });
    click(manager, kModify);
    EXPECT_EQ(userItem(1)->text(0), QStringLiteral("robert"));
    EXPECT_EQ(text(kNameEdit), QStringLiteral("Robert"));
    EXPECT_TRUE(enabled(kOk));
    click(manager, kClose);
    EXPECT_TRUE(commitCalls(*accounts.log).empty());
    EXPECT_STREQ(accounts.data.users[1]->id, "bob");
}

// Delete asks with the account's id and selects its folder. A store that fails keeps the dialog
// and its changes, and the client's data is neither cleared nor reloaded. A store the client
// cannot load back is in the file, so the dialog closes and the log says so. Either way the user
// is told which file.
TEST_F(ManagerDlgTest, AFailedCommitNamesTheFile)
{
    for (const bool saveFails : {true, false}) {
        dialog.reset();
        accounts.log->calls.clear();
        accounts.refuseSave = saveFails;
        accounts.refuseLoad = !saveFails;
        open();
        LogCapture log;
        MessageBoxAnswerer answerer(QMessageBox::Yes);
        tree->setCurrentItem(userItem(1));
        click(manager, kDelete);
        EXPECT_EQ(tree->currentItem(), tree->UserFolder());
        click(manager, kOk);
        ASSERT_EQ(answerer.texts.size(), 2) << saveFails;
        EXPECT_EQ(answerer.texts[0], QStringLiteral("Do you want to delete the user \"bob\"?"));
        EXPECT_TRUE(answerer.texts[1].contains(QStringLiteral("account.xml")))
            << answerer.texts[1].toStdString();
        EXPECT_EQ(manager->isVisible(), saveFails);
        if (saveFails) {
            EXPECT_EQ(manager->result(), 0);
            EXPECT_EQ(commitCalls(*accounts.log), Calls {"copy.saveFile"});
            EXPECT_EQ(tree->UserFolder()->childCount(), 1);
            EXPECT_EQ(accounts.data.users.size(), 2u);
        } else {
            EXPECT_TRUE(log.contains(QStringLiteral("account.xml"))) << log.text().toStdString();
            EXPECT_EQ(commitCalls(*accounts.log), kCommit);
        }
    }
}

class AuthorityDlgTest : public AccountTestEnv
{
protected:
    void SetUp() override
    {
        AccountTestEnv::SetUp();
        accounts.data.addUser("bob");
        const int live = authority.data.addCategory("live", "Live view");
        AuthorityItem *watch = authority.data.addItem(live, "watch", "Watch", "See cameras");
        seqAppend(watch->members, setupmgr::newMember(MemberUser, QStringLiteral("bob")));
        seqAppend(watch->members, setupmgr::newMember(7, QStringLiteral("staff")));
        auto *opened = new CAuthorityDlg;
        dialog.reset(opened);
        opened->SetProvider(&authority);
        opened->SetAccountProvider(&accounts);
        opened->show();
        tree = control<CAuthorityTreeCtrl>(opened, kAuthTree);
        tree->setCurrentItem(tree->rootItem()->child(0)->child(0));
    }

    CAuthorityTreeCtrl *tree = nullptr;
};

TEST_F(AuthorityDlgTest, OnlyAnItemShowsItsDetailsAndCloseWritesNothing)
{
    EXPECT_EQ(control<QLineEdit>(dialog.get(), kAuthDesc)->text(), QStringLiteral("See cameras"));
    auto *members = control<QListWidget>(dialog.get(), kAuthMembers);
    ASSERT_EQ(members->count(), 2);
    const auto images = setupmgr::loadImageList(QLatin1String(setupmgr::kAuthorityImages));
    EXPECT_EQ(imageIndex(images, members->item(0)->icon()), setupmgr::kAuthImageUser);
    EXPECT_EQ(imageIndex(images, members->item(1)->icon()),
              setupmgr::kAuthImageGroup); // any kind but 0 is a group
    whenModal<CChooseMemberDlg>([](CChooseMemberDlg *chooser) {
        click(chooser, 21035); // "<<"
        click(chooser, kOk);
    });
    click(dialog.get(), kAuthMemberButton);
    EXPECT_EQ(members->count(), 0);
    for (QTreeWidgetItem *item : {tree->rootItem(), tree->rootItem()->child(0)}) {
        tree->setCurrentItem(item);
        EXPECT_FALSE(members->isVisible());
        EXPECT_FALSE(control<QWidget>(dialog.get(), kAuthMemberButton)->isVisible());
    }
    click(dialog.get(), kClose);
    EXPECT_TRUE(commitCalls(*authority.log).empty());
    EXPECT_EQ(seqSize(authority.data.categories[0].items[0]->members), 2u);
}

TEST_F(AuthorityDlgTest, ConfirmedChooserCommitsEvenWithoutChange)
{
    whenModal<CChooseMemberDlg>([](CChooseMemberDlg *chooser) { click(chooser, kOk); });
    click(dialog.get(), kAuthMemberButton);
    click(dialog.get(), kOk);
    EXPECT_EQ(commitCalls(*authority.log), kCommit);
    EXPECT_EQ(accounts.log->count("createWorkingCopy"), 0); // the accounts are only read
    EXPECT_EQ(seqSize(authority.data.categories[0].items[0]->members), 2u);
}

} // namespace
