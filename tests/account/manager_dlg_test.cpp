// The account manager and the authority dialog, driven as an operator would, and their opening
// through the setup manager.
#include "account/account_group_dlg.h"
#include "account/account_look.h"
#include "account/account_manager_dlg.h"
#include "account/account_rules.h"
#include "account/account_tree_ctrl.h"
#include "account/account_user_dlg.h"
#include "account/authority_dlg.h"
#include "account/authority_tree_ctrl.h"
#include "account/choose_member_dlg.h"
#include "account_test_env.h"
#include "dialog_test_util.h"
#include "frame/setup_manager.h"
#include "support/memory_providers.h"

#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>

namespace {

enum { kTree = 21014, kInfo = 21019, kLabel1 = 21022, kIdEdit = 21017, kNameEdit = 21020 };
enum { kDescEdit = 21021, kMembers = 21018, kNew = 5, kModify = 21005, kDelete = 3 };
enum { kOk = 1, kClose = 2 };

using Calls = std::vector<std::string>;

Calls commitCalls(const testhost::CallLog &log)
{
    Calls result;
    for (const std::string &call : log.calls) {
        if (call == "copy.saveFile" || call == "clear" || call == "loadFile" || call == "saveFile")
            result.push_back(call);
    }
    return result;
}

void answer(QMessageBox::StandardButton button, QString *text = nullptr)
{
    whenModal<QMessageBox>([button, text](QMessageBox *box) {
        if (text)
            *text = box->text();
        EXPECT_EQ(box->windowTitle(), QApplication::applicationDisplayName());
        box->button(button)->click();
    });
}

class ManagerDlgTest : public AccountTestEnv
{
protected:
    void TearDown() override
    {
        dialog.reset();
        AccountTestEnv::TearDown();
    }

    void SetUp() override
    {
        AccountTestEnv::SetUp();
        accounts.data.addUser("Admin", "pw", "Administrator");
        accounts.data.addUser("bob", "pw", "Bob");
        accounts.data.addGroup("staff",
                               {{MemberUser, "bob"}, {MemberUser, "Bob"}, {MemberGroup, "guests"}});
        accounts.data.addGroup("guests");
        dialog = std::make_unique<CAccountManagerDlg>();
        dialog->SetProvider(&accounts);
        dialog->show();
        tree = control<CAccountTreeCtrl>(dialog.get(), kTree);
        accounts.log->clear();
    }

    QTreeWidgetItem *userItem(int index) const { return tree->UserFolder()->child(index); }
    QTreeWidgetItem *groupItem(int index) const { return tree->GroupFolder()->child(index); }
    bool visible(int id) const { return control<QWidget>(dialog.get(), id)->isVisible(); }
    bool enabled(int id) const { return control<QWidget>(dialog.get(), id)->isEnabled(); }
    QString text(int id) const { return control<QLineEdit>(dialog.get(), id)->text(); }

    testhost::AccountProvider accounts;
    std::unique_ptr<CAccountManagerDlg> dialog;
    CAccountTreeCtrl *tree = nullptr;
};

TEST_F(ManagerDlgTest, OpensOnTheRootWithNothingActionable)
{
    EXPECT_STREQ(dialog->metaObject()->className(), "CAccountManagerDlg");
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Accounts"));
    EXPECT_EQ(tree->currentItem(), tree->rootItem());
    EXPECT_TRUE(tree->rootItem()->isExpanded());
    EXPECT_TRUE(tree->rootItem()->font(0).bold());
    EXPECT_EQ(tree->UserFolder()->childCount(), 2);
    for (int id : std::initializer_list<int> {kNew, kModify, kDelete, kIdEdit, kNameEdit, kDescEdit,
                                              kMembers})
        EXPECT_FALSE(visible(id)) << id;
    EXPECT_FALSE(enabled(kOk));
    EXPECT_EQ(control<QGroupBox>(dialog.get(), kInfo)->title(), QStringLiteral("Information"));
    // The tree works on the working copy, not on the client's data.
    EXPECT_NE(tree->nodeAt(2)->record, accounts.data.users[0].get());
}

TEST_F(ManagerDlgTest, SelectionLaysOutTheDetails)
{
    tree->setCurrentItem(userItem(1));
    EXPECT_EQ(text(kIdEdit), QStringLiteral("bob"));
    EXPECT_EQ(text(kNameEdit), QStringLiteral("Bob"));
    EXPECT_TRUE(visible(kDescEdit));
    EXPECT_FALSE(visible(kMembers));
    EXPECT_EQ(control<QLabel>(dialog.get(), kLabel1)->text(), QStringLiteral("User &Id:"));
    EXPECT_EQ(control<QGroupBox>(dialog.get(), kInfo)->title(), QStringLiteral("User information"));
    EXPECT_TRUE(enabled(kDelete));

    tree->setCurrentItem(groupItem(0));
    EXPECT_EQ(text(kIdEdit), QStringLiteral("staff"));
    EXPECT_FALSE(visible(kDescEdit));
    auto *members = control<QListWidget>(dialog.get(), kMembers);
    ASSERT_TRUE(members->isVisible());
    ASSERT_EQ(members->count(), 3);
    const auto images = AccountLook::loadImageList(QLatin1String(AccountLook::kAccountImages));
    for (int row = 0; row < members->count(); ++row) {
        const bool group = members->item(row)->text() == QLatin1String("guests");
        EXPECT_EQ(AccountLook::imageIndex(images, members->item(row)->icon()),
                  group ? AccountLook::kImageGroup : AccountLook::kImageUser);
    }

    tree->setCurrentItem(tree->GroupFolder());
    EXPECT_TRUE(visible(kNew));
    EXPECT_FALSE(visible(kModify));
    EXPECT_FALSE(visible(kDelete));
    EXPECT_FALSE(visible(kIdEdit));

    // "Admin" in any case cannot be deleted; another account can again.
    tree->setCurrentItem(userItem(0));
    EXPECT_FALSE(enabled(kDelete));
    tree->setCurrentItem(userItem(1));
    EXPECT_TRUE(enabled(kDelete));
}

TEST_F(ManagerDlgTest, NewUserFromTheUserFolderAfterAGroup)
{
    tree->setCurrentItem(groupItem(0));
    tree->setCurrentItem(tree->UserFolder());
    whenModal<CAccountUserDlg>([](CAccountUserDlg *user) {
        type(user, 21017, QStringLiteral("carol"));
        click(user, kOk);
    });
    click(dialog.get(), kNew);
    ASSERT_EQ(tree->UserFolder()->childCount(), 3);
    EXPECT_EQ(tree->currentItem(), userItem(2));
    EXPECT_EQ(text(kIdEdit), QStringLiteral("carol"));
    EXPECT_TRUE(enabled(kOk));
    EXPECT_EQ(accounts.data.users.size(), 2u); // only the working copy changed

    click(dialog.get(), kOk);
    EXPECT_EQ(dialog->result(), 1);
    EXPECT_EQ(commitCalls(*accounts.log), (Calls {"copy.saveFile", "clear", "loadFile"}));
    ASSERT_EQ(accounts.data.users.size(), 3u);
    EXPECT_STREQ(accounts.data.users[2]->id, "carol");
}

TEST_F(ManagerDlgTest, CancelledDialogsAndNoLeaveOkDisabled)
{
    tree->setCurrentItem(tree->GroupFolder());
    whenModal<CAccountGroupDlg>([](CAccountGroupDlg *group) { click(group, kClose); });
    click(dialog.get(), kNew);
    tree->setCurrentItem(userItem(1));
    whenModal<CAccountUserDlg>([](CAccountUserDlg *user) { click(user, kClose); });
    click(dialog.get(), kModify);
    answer(QMessageBox::No);
    click(dialog.get(), kDelete);
    EXPECT_EQ(tree->UserFolder()->childCount(), 2);
    EXPECT_FALSE(enabled(kOk));
    EXPECT_FALSE(dialog->isModified());

    // OK without a change writes nothing.
    QTest::mouseClick(control<QPushButton>(dialog.get(), kOk), Qt::LeftButton); // disabled
    dialog->accept();
    EXPECT_TRUE(commitCalls(*accounts.log).empty());
}

TEST_F(ManagerDlgTest, ModifiedIdIsShownAndReRead)
{
    tree->setCurrentItem(userItem(1));
    whenModal<CAccountUserDlg>([](CAccountUserDlg *user) {
        type(user, 21017, QStringLiteral("robert"));
        type(user, 21020, QStringLiteral("Robert"));
        click(user, kOk);
    });
    click(dialog.get(), kModify);
    EXPECT_EQ(userItem(1)->text(0), QStringLiteral("robert"));
    EXPECT_EQ(tree->currentItem(), userItem(1));
    EXPECT_EQ(text(kNameEdit), QStringLiteral("Robert"));
    EXPECT_TRUE(enabled(kOk));

    // Close after changes writes nothing.
    click(dialog.get(), kClose);
    EXPECT_EQ(dialog->result(), 2);
    EXPECT_TRUE(commitCalls(*accounts.log).empty());
    EXPECT_STREQ(accounts.data.users[1]->id, "bob");
}

TEST_F(ManagerDlgTest, DeletingAUserTakesItOutOfGroupsExactly)
{
    tree->setCurrentItem(userItem(1));
    QString question;
    answer(QMessageBox::Yes, &question);
    click(dialog.get(), kDelete);
    EXPECT_EQ(question, QStringLiteral("Delete the user bob?"));
    EXPECT_EQ(tree->UserFolder()->childCount(), 1);
    EXPECT_EQ(tree->currentItem(), tree->UserFolder());
    GroupRecord *staff = nullptr;
    ASSERT_TRUE(dialog->workingCopy()->getGroup(0, &staff));
    ASSERT_EQ(seqSize(staff->members), 2u);
    EXPECT_STREQ(seqAt(staff->members, 0)->id, "Bob");
    EXPECT_STREQ(seqAt(staff->members, 1)->id, "guests");

    // A deleted group stays a member elsewhere.
    tree->setCurrentItem(groupItem(1));
    answer(QMessageBox::Yes, &question);
    click(dialog.get(), kDelete);
    EXPECT_EQ(question, QStringLiteral("Delete the group guests?"));
    EXPECT_EQ(tree->GroupFolder()->childCount(), 1);
    EXPECT_EQ(tree->currentItem(), tree->GroupFolder());
    EXPECT_EQ(seqSize(staff->members), 2u);

    click(dialog.get(), kOk);
    EXPECT_EQ(commitCalls(*accounts.log), (Calls {"copy.saveFile", "clear", "loadFile"}));
    EXPECT_EQ(accounts.data.users.size(), 1u);
    EXPECT_EQ(accounts.data.groups.size(), 1u);
    EXPECT_EQ(accounts.data.findGroup("staff")->members.first[0]->id, std::string("Bob"));
}

class AuthorityDlgTest : public AccountTestEnv
{
protected:
    void TearDown() override
    {
        dialog.reset();
        AccountTestEnv::TearDown();
    }

    void SetUp() override
    {
        AccountTestEnv::SetUp();
        accounts.data.addUser("bob");
        accounts.data.addGroup("staff");
        const int live = authority.data.addCategory("live", "Live view");
        AuthorityItem *watch = authority.data.addItem(live, "watch", "Watch", "See cameras");
        seqAppend(watch->members, AccountRules::newMember(MemberUser, QStringLiteral("bob")));
        seqAppend(watch->members, AccountRules::newMember(7, QStringLiteral("staff")));
        dialog = std::make_unique<CAuthorityDlg>();
        dialog->SetProvider(&authority);
        dialog->SetAccountProvider(&accounts);
        dialog->show();
        tree = control<CAuthorityTreeCtrl>(dialog.get(), 21025);
        authority.log->clear();
    }

    bool detailsShown() const
    {
        for (int id : {21027, 21026, 21028, 21029}) {
            if (!control<QWidget>(dialog.get(), id)->isVisible())
                return false;
        }
        return true;
    }

    testhost::AccountProvider accounts;
    testhost::AuthorityProvider authority;
    std::unique_ptr<CAuthorityDlg> dialog;
    CAuthorityTreeCtrl *tree = nullptr;
};

TEST_F(AuthorityDlgTest, OnlyAnItemShowsItsDetails)
{
    EXPECT_STREQ(dialog->metaObject()->className(), "CAuthorityDlg");
    EXPECT_EQ(tree->currentItem(), tree->rootItem());
    EXPECT_FALSE(detailsShown());
    EXPECT_FALSE(control<QWidget>(dialog.get(), 21026)->isVisible());
    tree->setCurrentItem(tree->rootItem()->child(0)->child(0));
    EXPECT_TRUE(detailsShown());
    EXPECT_EQ(control<QLineEdit>(dialog.get(), 21026)->text(), QStringLiteral("See cameras"));
    auto *members = control<QListWidget>(dialog.get(), 21028);
    ASSERT_EQ(members->count(), 2);
    const auto images = AccountLook::loadImageList(QLatin1String(AccountLook::kAuthorityImages));
    EXPECT_EQ(AccountLook::imageIndex(images, members->item(0)->icon()),
              AccountLook::kAuthImageUser);
    EXPECT_EQ(AccountLook::imageIndex(images, members->item(1)->icon()),
              AccountLook::kAuthImageGroup); // any kind but 0 is a group
    tree->setCurrentItem(tree->rootItem()->child(0));
    EXPECT_FALSE(detailsShown());
    EXPECT_EQ(control<QGroupBox>(dialog.get(), 21177)->title(), QStringLiteral("Information"));
}

TEST_F(AuthorityDlgTest, ConfirmedChooserCommitsEvenWithoutChange)
{
    tree->setCurrentItem(tree->rootItem()->child(0)->child(0));
    QStringList offered;
    whenModal<CChooseMemberDlg>([&offered](CChooseMemberDlg *chooser) { click(chooser, kOk); });
    click(dialog.get(), 21029);
    EXPECT_TRUE(control<QPushButton>(dialog.get(), kOk)->isEnabled());
    click(dialog.get(), kOk);
    EXPECT_EQ(dialog->result(), 1);
    EXPECT_EQ(commitCalls(*authority.log), (Calls {"copy.saveFile", "clear", "loadFile"}));
    EXPECT_EQ(accounts.log->count("createWorkingCopy"), 0); // the accounts are only read
    EXPECT_EQ(seqSize(authority.data.categories[0].items[0]->members), 2u);
}

TEST_F(AuthorityDlgTest, CloseWritesNothing)
{
    tree->setCurrentItem(tree->rootItem()->child(0)->child(0));
    whenModal<CChooseMemberDlg>([](CChooseMemberDlg *chooser) {
        click(chooser, 21035); // "<<"
        click(chooser, kOk);
    });
    click(dialog.get(), 21029);
    EXPECT_EQ(control<QListWidget>(dialog.get(), 21028)->count(), 0);
    click(dialog.get(), kClose);
    EXPECT_TRUE(commitCalls(*authority.log).empty());
    EXPECT_EQ(seqSize(authority.data.categories[0].items[0]->members), 2u);
}

class ShowManagerTest : public AccountTestEnv
{
protected:
    void TearDown() override
    {
        ReleaseSetupManager();
        AccountTestEnv::TearDown();
    }
};

TEST_F(ShowManagerTest, OperationsOpenTheDialogsWithTheRegisteredProviders)
{
    testhost::AccountProvider accounts;
    testhost::AuthorityProvider authority;
    accounts.data.addUser("bob");
    ISetupManager *manager = GetSetupManager();
    manager->RegisterProvider(&accounts);
    manager->RegisterProvider(&authority);

    QString opened;
    whenModal<QDialog>([&opened](QDialog *dialog) {
        opened = QLatin1String(dialog->metaObject()->className());
        auto *tree = control<CAccountTreeCtrl>(dialog, kTree);
        ASSERT_NE(tree, nullptr);
        EXPECT_EQ(tree->UserFolder()->childCount(), 1);
        click(dialog, kClose);
    });
    manager->ShowAccountManager();
    EXPECT_EQ(opened, QStringLiteral("CAccountManagerDlg"));
    EXPECT_EQ(accounts.log->count("createWorkingCopy"), 1);
    EXPECT_EQ(accounts.log->count("copy.release"), 1);

    whenModal<QDialog>([&opened](QDialog *dialog) {
        opened = QLatin1String(dialog->metaObject()->className());
        click(dialog, kClose);
    });
    manager->ShowAuthorityManager();
    EXPECT_EQ(opened, QStringLiteral("CAuthorityDlg"));
    EXPECT_EQ(authority.log->count("createWorkingCopy"), 1);
    EXPECT_EQ(authority.log->count("copy.release"), 1);
}

TEST_F(ShowManagerTest, MissingAccountProviderIsReportedWithoutADialog)
{
    testhost::AuthorityProvider authority;
    ISetupManager *manager = GetSetupManager();
    manager->RegisterProvider(&authority);
    QString shown;
    whenModal<QMessageBox>([&shown](QMessageBox *box) {
        shown = box->text();
        box->reject();
    });
    manager->ShowAuthorityManager();
    EXPECT_FALSE(shown.isEmpty());
    EXPECT_EQ(authority.log->count("createWorkingCopy"), 0);
}

} // namespace
