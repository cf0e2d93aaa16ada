// The member chooser and the group dialog that runs it.
#include "account/account_group_dlg.h"
#include "account/account_look.h"
#include "account/account_rules.h"
#include "account/choose_member_dlg.h"
#include "account_test_env.h"
#include "dialog_test_util.h"
#include "support/memory_providers.h"

#include <QLabel>
#include <QListWidget>
#include <QTreeView>

namespace {

enum { kCandidates = 21030, kMembers = 21031, kAdd = 21032, kAddAll = 21033 };
enum { kRemove = 21034, kRemoveAll = 21035, kOk = 1, kCancel = 2 };
enum { kGroupId = 21033, kGroupDesc = 21034, kGroupMembers = 21035, kMemberButton = 21036 };
enum { kGroupMessage = 21198 };

QStringList texts(QWidget *dialog, int list)
{
    QStringList result;
    QAbstractItemModel *model = control<QTreeView>(dialog, list)->model();
    for (int row = 0; row < model->rowCount(); ++row)
        result << model->index(row, 0).data().toString();
    return result;
}

void selectRows(QWidget *dialog, int list, std::initializer_list<int> rows)
{
    auto *view = control<QTreeView>(dialog, list);
    for (int row : rows)
        view->selectionModel()->select(view->model()->index(row, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

bool enabled(QWidget *dialog, int button)
{
    return control<QPushButton>(dialog, button)->isEnabled();
}

std::vector<std::pair<int, std::string>> members(const PointerSeq<MemberRecord> &list)
{
    std::vector<std::pair<int, std::string>> result;
    for (std::size_t i = 0; i < seqSize(list); ++i)
        result.emplace_back(seqAt(list, i)->kind, seqAt(list, i)->id);
    return result;
}

QStringList listTexts(QListWidget *list)
{
    QStringList result;
    for (int row = 0; row < list->count(); ++row)
        result << list->item(row)->text();
    return result;
}

class MemberDlgTest : public AccountTestEnv
{
protected:
    void SetUp() override
    {
        AccountTestEnv::SetUp();
        for (const char *id : {"amy", "bob", "cid"})
            accounts.data.addUser(id);
        accounts.data.addGroup("staff", {{MemberUser, "amy"}, {MemberUser, "ghost"}});
        accounts.data.addGroup("guests");
    }

    std::unique_ptr<CChooseMemberDlg> openChooser(PointerSeq<MemberRecord> *list)
    {
        auto dialog = std::make_unique<CChooseMemberDlg>();
        dialog->SetSources(&accounts, list);
        dialog->show();
        return dialog;
    }

    testhost::AccountProvider accounts;
};

TEST_F(MemberDlgTest, AllAndNoneRestoreProviderOrder)
{
    PointerSeq<MemberRecord> list {};
    auto dialog = openChooser(&list);
    const QStringList all {"amy", "bob", "cid", "staff", "guests"};
    EXPECT_EQ(texts(dialog.get(), kCandidates), all);
    EXPECT_TRUE(enabled(dialog.get(), kAddAll));
    EXPECT_FALSE(enabled(dialog.get(), kAdd));
    EXPECT_FALSE(enabled(dialog.get(), kRemove));
    EXPECT_FALSE(enabled(dialog.get(), kRemoveAll));

    click(dialog.get(), kAddAll);
    EXPECT_EQ(texts(dialog.get(), kMembers), all);
    EXPECT_TRUE(texts(dialog.get(), kCandidates).isEmpty());
    EXPECT_FALSE(enabled(dialog.get(), kAddAll));
    click(dialog.get(), kRemoveAll);
    EXPECT_EQ(texts(dialog.get(), kCandidates), all);
    EXPECT_TRUE(texts(dialog.get(), kMembers).isEmpty());
    EXPECT_EQ(control<QLabel>(dialog.get(), 21175)->text(), QStringLiteral("&Account List:"));
}

TEST_F(MemberDlgTest, MovesKeepOrderAndAppend)
{
    PointerSeq<MemberRecord> list {};
    seqAppend(list, AccountRules::newMember(MemberUser, QStringLiteral("BOB")));
    auto dialog = openChooser(&list);
    // A member hides its candidate whatever the case.
    EXPECT_EQ(texts(dialog.get(), kCandidates), (QStringList {"amy", "cid", "staff", "guests"}));

    selectRows(dialog.get(), kCandidates, {3, 0});
    EXPECT_TRUE(enabled(dialog.get(), kAdd));
    click(dialog.get(), kAdd);
    EXPECT_EQ(texts(dialog.get(), kMembers), (QStringList {"BOB", "amy", "guests"}));
    EXPECT_EQ(texts(dialog.get(), kCandidates), (QStringList {"cid", "staff"}));
    EXPECT_FALSE(enabled(dialog.get(), kAdd));

    selectRows(dialog.get(), kMembers, {0});
    click(dialog.get(), kRemove);
    EXPECT_EQ(texts(dialog.get(), kCandidates), (QStringList {"cid", "staff", "BOB"}));

    // A double click moves the entry under the mouse.
    auto *view = control<QTreeView>(dialog.get(), kCandidates);
    const QRect cell = view->visualRect(view->model()->index(1, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(texts(dialog.get(), kMembers), (QStringList {"amy", "guests", "staff"}));

    click(dialog.get(), kOk);
    EXPECT_EQ(dialog->result(), 1);
    EXPECT_EQ(members(list),
              (std::vector<std::pair<int, std::string>> {
                  {MemberUser, "amy"}, {MemberGroup, "guests"}, {MemberGroup, "staff"}}));
    seqFreeBlocks(list);
}

TEST_F(MemberDlgTest, StaleMemberSurvivesOkButNotRebuild)
{
    PointerSeq<MemberRecord> list {};
    seqAppend(list, AccountRules::newMember(MemberUser, QStringLiteral("ghost")));
    {
        auto dialog = openChooser(&list);
        EXPECT_EQ(texts(dialog.get(), kMembers), QStringList {"ghost"});
        click(dialog.get(), kOk);
        EXPECT_EQ(members(list), (std::vector<std::pair<int, std::string>> {{0, "ghost"}}));
    }
    {
        auto dialog = openChooser(&list);
        click(dialog.get(), kRemoveAll);
        EXPECT_FALSE(texts(dialog.get(), kCandidates).contains(QStringLiteral("ghost")));
        click(dialog.get(), kCancel);
        EXPECT_EQ(dialog->result(), 2);
        EXPECT_EQ(seqSize(list), 1u); // Cancel leaves the list alone
    }
    seqFreeBlocks(list);
}

TEST_F(MemberDlgTest, NewGroupWithoutMembersIsAccepted)
{
    CAccountGroupDlg dialog;
    dialog.SetProvider(&accounts, nullptr);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("New Group"));
    type(&dialog, kGroupId, QStringLiteral(" ops "));
    type(&dialog, kGroupDesc, QStringLiteral("operators"));
    click(&dialog, kOk);
    EXPECT_EQ(dialog.result(), 1);
    ASSERT_EQ(accounts.data.groups.size(), 3u);
    const GroupRecord &ops = *accounts.data.groups.back();
    EXPECT_STREQ(ops.id, "ops");
    EXPECT_STREQ(ops.description, "operators");
    EXPECT_EQ(ops.number, -1);
    EXPECT_EQ(seqSize(ops.members), 0u);
}

TEST_F(MemberDlgTest, GroupIdRulesShowTheirMessages)
{
    CAccountGroupDlg dialog;
    dialog.SetProvider(&accounts, nullptr);
    dialog.show();
    const std::pair<const char *, const char *> cases[] = {
        {"  ", "Enter a group id."},
        {"GUESTS", "A group with this id exists."},
        {"Amy", "A user with this id exists."},
    };
    for (const auto &[id, text] : cases) {
        type(&dialog, kGroupId, QString::fromUtf8(id));
        click(&dialog, kOk);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(control<QLabel>(&dialog, kGroupMessage)->text(), QString::fromUtf8(text));
    }
    EXPECT_EQ(accounts.data.groups.size(), 2u);
}

// The chooser runs on a copy without the group itself; its OK gives the group new members.
TEST_F(MemberDlgTest, ModifiedGroupTakesChosenMembers)
{
    GroupRecord *staff = accounts.data.groups[0].get();
    CAccountGroupDlg dialog;
    dialog.SetProvider(&accounts, staff);
    dialog.show();
    auto *list = control<QListWidget>(&dialog, kGroupMembers);
    EXPECT_EQ(listTexts(list), (QStringList {"amy", "ghost"}));
    const auto images = AccountLook::loadImageList(QLatin1String(AccountLook::kAccountImages));
    EXPECT_EQ(AccountLook::imageIndex(images, list->item(0)->icon()), AccountLook::kImageUser);

    QStringList offered;
    whenModal<CChooseMemberDlg>([&offered](CChooseMemberDlg *chooser) {
        offered = texts(chooser, kCandidates);
        selectRows(chooser, kCandidates, {2}); // guests
        click(chooser, kAdd);
        click(chooser, kOk);
    });
    click(&dialog, kMemberButton);
    EXPECT_EQ(offered, (QStringList {"bob", "cid", "guests"}));
    EXPECT_EQ(listTexts(list), (QStringList {"amy", "ghost", "guests"}));
    // Nothing is stored before OK.
    EXPECT_EQ(seqSize(staff->members), 2u);

    type(&dialog, kGroupId, QStringLiteral("Staff"));
    click(&dialog, kOk);
    EXPECT_EQ(dialog.result(), 1);
    EXPECT_STREQ(staff->id, "Staff");
    EXPECT_EQ(members(staff->members),
              (std::vector<std::pair<int, std::string>> {
                  {MemberUser, "amy"}, {MemberUser, "ghost"}, {MemberGroup, "guests"}}));
    EXPECT_EQ(seqSize(dialog.members()), 0u); // the group owns the blocks now
    EXPECT_EQ(accounts.data.groups.size(), 2u);
}

TEST_F(MemberDlgTest, CancelAfterChoosingLeavesGroupAlone)
{
    GroupRecord *staff = accounts.data.groups[0].get();
    auto dialog = std::make_unique<CAccountGroupDlg>();
    dialog->SetProvider(&accounts, staff);
    dialog->show();
    whenModal<CChooseMemberDlg>([](CChooseMemberDlg *chooser) {
        click(chooser, kAddAll);
        click(chooser, kOk);
    });
    click(dialog.get(), kMemberButton);
    EXPECT_EQ(seqSize(dialog->members()), 4u); // every account but the group itself
    click(dialog.get(), kCancel);
    EXPECT_EQ(dialog->result(), 2);
    EXPECT_EQ(
        members(staff->members),
        (std::vector<std::pair<int, std::string>> {{MemberUser, "amy"}, {MemberUser, "ghost"}}));
    dialog.reset(); // frees the dialog's copies
}

TEST_F(MemberDlgTest, NewGroupOffersEveryGroupAndAdminGroupMayBeRenamed)
{
    GroupRecord *admins = accounts.data.addGroup("ADMIN");
    {
        CAccountGroupDlg dialog;
        dialog.SetProvider(&accounts, nullptr);
        dialog.show();
        QStringList offered;
        whenModal<CChooseMemberDlg>([&offered](CChooseMemberDlg *chooser) {
            offered = texts(chooser, kCandidates);
            click(chooser, kCancel);
        });
        click(&dialog, kMemberButton);
        EXPECT_EQ(offered, (QStringList {"amy", "bob", "cid", "staff", "guests", "ADMIN"}));
        click(&dialog, kCancel);
    }
    CAccountGroupDlg dialog;
    dialog.SetProvider(&accounts, admins);
    dialog.show();
    EXPECT_TRUE(control<QLineEdit>(&dialog, kGroupId)->isEnabled());
    type(&dialog, kGroupId, QStringLiteral("wardens"));
    click(&dialog, kOk);
    EXPECT_STREQ(admins->id, "wardens");
}

} // namespace
