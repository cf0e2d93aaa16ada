// The member chooser and the group dialog that runs it.
#include "account/account_group_dlg.h"
#include "account/account_rules.h"
#include "account/choose_member_dlg.h"
#include "account_test_env.h"
#include "support/dialog_test_util.h"

#include <QLabel>
#include <QTreeView>

namespace {

enum { kCandidates = 21030, kMembers = 21031, kAdd = 21032, kAddAll = 21033 };
enum { kRemove = 21034, kRemoveAll = 21035, kOk = 1, kCancel = 2 };
enum { kGroupId = 21033, kGroupDesc = 21034, kGroupMembers = 21035, kMemberButton = 21036 };
enum { kGroupMessage = 21198 };

using Members = std::vector<std::pair<int, std::string>>;

// The entries of a list of either kind, in their order.
QStringList texts(QWidget *dialog, int list)
{
    QStringList result;
    QAbstractItemModel *model = control<QAbstractItemView>(dialog, list)->model();
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

Members members(const PointerSeq<MemberRecord> &list)
{
    Members result;
    for (std::size_t i = 0; i < seqSize(list); ++i)
        result.emplace_back(seqAt(list, i)->kind, seqAt(list, i)->id);
    return result;
}

class MemberDlgTest : public AccountTestEnv
{
protected:
    void SetUp() override
    {
        AccountTestEnv::SetUp();
        for (const char *id : {"amy", "Bob", "cid"})
            accounts.data.addUser(id);
        accounts.data.addGroup("staff", {{MemberUser, "amy"}, {MemberUser, "ghost"}});
        accounts.data.addGroup("Guests");
    }

    template <typename Dialog, typename... Args>
    Dialog *open(Args... args)
    {
        auto *opened = new Dialog;
        if constexpr (std::is_same_v<Dialog, CChooseMemberDlg>)
            opened->SetSources(&accounts, args...);
        else
            opened->SetProvider(&accounts, args...);
        dialog.reset(opened);
        opened->show();
        return opened;
    }
};

TEST_F(MemberDlgTest, ChooserMovesKeepOrderAndRebuildInProviderOrder)
{
    PointerSeq<MemberRecord> list {};
    seqAppend(list, setupmgr::newMember(MemberUser, QStringLiteral("BOB")));
    seqAppend(list, setupmgr::newMember(MemberUser, QStringLiteral("ghost")));
    seqAppend(list, setupmgr::newMember(MemberGroup, QStringLiteral("GUESTS")));
    auto *chooser = open<CChooseMemberDlg>(&list);
    // A member hides its candidate whatever the case.
    EXPECT_EQ(texts(chooser, kCandidates), (QStringList {"amy", "cid", "staff"}));
    EXPECT_FALSE(enabled(chooser, kAdd));
    EXPECT_FALSE(enabled(chooser, kRemove));

    selectRows(chooser, kCandidates, {2, 0});
    click(chooser, kAdd);
    EXPECT_EQ(texts(chooser, kMembers), (QStringList {"BOB", "ghost", "GUESTS", "amy", "staff"}));
    EXPECT_EQ(texts(chooser, kCandidates), QStringList {"cid"});
    EXPECT_FALSE(enabled(chooser, kAdd));
    selectRows(chooser, kMembers, {0});
    click(chooser, kRemove);
    EXPECT_EQ(texts(chooser, kCandidates), (QStringList {"cid", "BOB"}));
    // A double click moves the entry under the mouse.
    auto *view = control<QTreeView>(chooser, kCandidates);
    const QPoint cell = view->visualRect(view->model()->index(0, 0)).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell);
    click(chooser, kOk);
    // A member that is no account stays.
    EXPECT_EQ(members(list),
              (Members {{MemberUser, "ghost"},
                        {MemberGroup, "GUESTS"},
                        {MemberUser, "amy"},
                        {MemberGroup, "staff"},
                        {MemberUser, "cid"}}));

    chooser = open<CChooseMemberDlg>(&list);
    const QStringList all {"amy", "Bob", "cid", "staff", "Guests"};
    click(chooser, kAddAll);
    EXPECT_EQ(texts(chooser, kMembers), all);
    EXPECT_TRUE(texts(chooser, kCandidates).isEmpty());
    EXPECT_FALSE(enabled(chooser, kAddAll));
    click(chooser, kRemoveAll);
    EXPECT_EQ(texts(chooser, kCandidates), all);
    EXPECT_TRUE(texts(chooser, kMembers).isEmpty());
    EXPECT_FALSE(enabled(chooser, kRemoveAll));
    click(chooser, kCancel);
    EXPECT_EQ(seqSize(list), 5u); // Cancel leaves the list alone
    seqFreeBlocks(list);
}

TEST_F(MemberDlgTest, NewGroupIsCheckedAndTrimmed)
{
    auto *group = open<CAccountGroupDlg>(nullptr);
    const std::pair<const char *, const char *> refused[] = {
        {"  ", "Enter a group ID."},
        {"GUESTS", "A group with this ID already exists. Enter another ID."},
        {"Amy", "A user with this ID already exists. Enter another ID."},
    };
    for (const auto &[id, text] : refused) {
        type(group, kGroupId, QString::fromUtf8(id));
        click(group, kOk);
        EXPECT_TRUE(group->isVisible());
        EXPECT_EQ(control<QLabel>(group, kGroupMessage)->text(), QString::fromUtf8(text));
    }
    whenModal<CChooseMemberDlg>([](CChooseMemberDlg *chooser) {
        click(chooser, kAddAll);
        click(chooser, kOk);
    });
    click(group, kMemberButton);
    type(group, kGroupId, QStringLiteral(" ops "));
    type(group, kGroupDesc, QStringLiteral("operators"));
    click(group, kOk);
    ASSERT_EQ(accounts.data.groups.size(), 3u);
    const GroupRecord &ops = *accounts.data.groups.back();
    EXPECT_STREQ(ops.id, "ops");
    EXPECT_STREQ(ops.description, "operators");
    EXPECT_EQ(ops.number, -1);
    EXPECT_EQ(seqSize(ops.members), 5u); // copies: the dialog frees its own
}

// The chooser offers neither the group itself nor its members; its OK changes only the dialog's
// list until the group dialog's OK.
TEST_F(MemberDlgTest, ModifiedGroupTakesChosenMembers)
{
    GroupRecord *staff = accounts.data.groups[0].get();
    auto *group = open<CAccountGroupDlg>(staff);
    EXPECT_EQ(texts(group, kGroupMembers), (QStringList {"amy", "ghost"}));
    QStringList offered;
    whenModal<CChooseMemberDlg>([&offered](CChooseMemberDlg *chooser) {
        offered = texts(chooser, kCandidates);
        selectRows(chooser, kCandidates, {2}); // Guests
        click(chooser, kAdd);
        click(chooser, kOk);
    });
    click(group, kMemberButton);
    EXPECT_EQ(offered, (QStringList {"Bob", "cid", "Guests"}));
    EXPECT_EQ(texts(group, kGroupMembers), (QStringList {"amy", "ghost", "Guests"})); // no case
    EXPECT_EQ(seqSize(staff->members), 2u);

    type(group, kGroupId, QStringLiteral("Staff"));
    click(group, kOk);
    EXPECT_EQ(group->result(), 1);
    EXPECT_STREQ(staff->id, "Staff");
    EXPECT_EQ(members(staff->members),
              (Members {{MemberUser, "amy"}, {MemberUser, "ghost"}, {MemberGroup, "Guests"}}));
    EXPECT_EQ(accounts.data.groups.size(), 2u);
}

} // namespace
