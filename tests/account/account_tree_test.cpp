#include "account/account_look.h"
#include "account/account_tree_ctrl.h"
#include "account/authority_tree_ctrl.h"
#include "account_test_env.h"
#include "support/memory_providers.h"

#include <QSignalSpy>

namespace {

using AccountLook::imageIndex;

class AccountTreeTest : public AccountTestEnv
{
};

TEST_F(AccountTreeTest, EmptyProviderGivesRootAndTwoFolders)
{
    testhost::AccountProvider accounts;
    CAccountTreeCtrl tree;
    tree.SetImageList(AccountLook::loadImageList(QLatin1String(AccountLook::kAccountImages)));
    tree.Fill(&accounts);
    ASSERT_EQ(tree.topLevelItemCount(), 1);
    QTreeWidgetItem *root = tree.rootItem();
    EXPECT_EQ(root->text(0), QStringLiteral("Accounts"));
    ASSERT_EQ(root->childCount(), 2);
    EXPECT_EQ(root->child(0), tree.UserFolder());
    EXPECT_EQ(root->child(1), tree.GroupFolder());
    EXPECT_EQ(tree.UserFolder()->text(0), QStringLiteral("Users"));
    EXPECT_EQ(tree.GroupFolder()->text(0), QStringLiteral("Groups"));
    EXPECT_EQ(tree.UserFolder()->childCount() + tree.GroupFolder()->childCount(), 0);
    EXPECT_EQ(tree.nodeCount(), 2);
}

TEST_F(AccountTreeTest, FillsInProviderOrderWithImagesAndNodes)
{
    testhost::AccountProvider accounts;
    accounts.data.addUser("zed");
    accounts.data.addUser("amy");
    accounts.data.addGroup("staff");
    CAccountTreeCtrl tree;
    const auto images = AccountLook::loadImageList(QLatin1String(AccountLook::kAccountImages));
    ASSERT_EQ(images.size(), 5);
    tree.SetImageList(images);
    tree.Fill(&accounts);

    QTreeWidgetItem *users = tree.UserFolder();
    ASSERT_EQ(users->childCount(), 2);
    EXPECT_EQ(users->child(0)->text(0), QStringLiteral("zed"));
    EXPECT_EQ(users->child(1)->text(0), QStringLiteral("amy"));
    EXPECT_EQ(imageIndex(images, users->child(0)->icon(0)), AccountLook::kImageUser);
    EXPECT_EQ(imageIndex(images, tree.GroupFolder()->child(0)->icon(0)), AccountLook::kImageGroup);
    EXPECT_EQ(imageIndex(images, tree.rootItem()->icon(0)), AccountLook::kImageRoot);
    // Nodes in the order the items were added: folders, users, groups.
    ASSERT_EQ(tree.nodeCount(), 5);
    EXPECT_EQ(tree.nodeAt(0)->kind, CAccountTreeCtrl::kUserFolder);
    EXPECT_EQ(tree.nodeAt(1)->kind, CAccountTreeCtrl::kGroupFolder);
    EXPECT_EQ(tree.nodeAt(2)->record, accounts.data.users[0].get());
    EXPECT_EQ(tree.nodeAt(4)->record, accounts.data.groups[0].get());
    EXPECT_EQ(tree.nodeAt(4)->parent, tree.GroupFolder());
}

TEST_F(AccountTreeTest, SelectionTellsKindAndRecord)
{
    testhost::AccountProvider accounts;
    UserRecord *bob = accounts.data.addUser("bob");
    CAccountTreeCtrl tree;
    tree.Fill(&accounts);
    QSignalSpy spy(&tree, &CNodeTreeCtrl::accountSelect);
    tree.setCurrentItem(tree.rootItem());
    tree.setCurrentItem(tree.GroupFolder());
    tree.setCurrentItem(tree.UserFolder()->child(0));
    ASSERT_EQ(spy.size(), 3);
    EXPECT_EQ(spy.at(0).at(0).toInt(), -1);
    EXPECT_EQ(spy.at(1).at(0).toInt(), CAccountTreeCtrl::kGroupFolder);
    EXPECT_EQ(spy.at(1).at(1).value<void *>(), nullptr);
    EXPECT_EQ(spy.at(2).at(0).toInt(), CAccountTreeCtrl::kUser);
    EXPECT_EQ(spy.at(2).at(1).value<void *>(), bob);
}

TEST_F(AccountTreeTest, FindIsExactAndDeleteNeedsANode)
{
    testhost::AccountProvider accounts;
    accounts.data.addUser("bob");
    GroupRecord *staff = accounts.data.addGroup("staff");
    CAccountTreeCtrl tree;
    tree.Fill(&accounts);
    TreeNode *node = nullptr;
    EXPECT_EQ(tree.FindUser("Bob", &node), -1);
    EXPECT_EQ(node, nullptr);
    EXPECT_EQ(tree.FindUser("bob", &node), 2);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(tree.FindGroup(staff, &node), 3);

    EXPECT_FALSE(tree.DeleteItem(tree.rootItem()));
    EXPECT_EQ(tree.nodeCount(), 4);
    EXPECT_TRUE(tree.DeleteItem(node->item));
    EXPECT_EQ(tree.nodeCount(), 3);
    EXPECT_EQ(tree.GroupFolder()->childCount(), 0);
    EXPECT_EQ(tree.FindGroup(staff, nullptr), -1);

    QTreeWidgetItem *added = tree.AddGroup(tree.GroupFolder(), staff);
    EXPECT_EQ(tree.FindGroup(staff, &node), 3);
    EXPECT_EQ(node->item, added);
}

TEST_F(AccountTreeTest, AuthorityTreeHasCategoriesAndItems)
{
    testhost::AuthorityProvider authority;
    const int live = authority.data.addCategory("live", "Live view");
    AuthorityItem *watch = authority.data.addItem(live, "watch", "Watch");
    authority.data.addItem(live, "ptz", "PTZ");
    authority.data.addCategory("setup", "Setup");
    CAuthorityTreeCtrl tree;
    const auto images = AccountLook::loadImageList(QLatin1String(AccountLook::kAuthorityImages));
    tree.SetImageList(images);
    tree.Fill(&authority);
    QTreeWidgetItem *root = tree.rootItem();
    EXPECT_EQ(root->text(0), QStringLiteral("Authority"));
    ASSERT_EQ(root->childCount(), 2);
    EXPECT_EQ(root->child(0)->text(0), QStringLiteral("Live view"));
    ASSERT_EQ(root->child(0)->childCount(), 2);
    EXPECT_EQ(imageIndex(images, root->child(0)->icon(0)), AccountLook::kAuthImageCategory);
    EXPECT_EQ(imageIndex(images, root->child(0)->child(0)->icon(0)), AccountLook::kAuthImageItem);

    QSignalSpy spy(&tree, &CNodeTreeCtrl::accountSelect);
    tree.setCurrentItem(root->child(0)->child(0));
    tree.setCurrentItem(root->child(1));
    ASSERT_EQ(spy.size(), 2);
    EXPECT_EQ(spy.at(0).at(0).toInt(), CAuthorityTreeCtrl::kItem);
    EXPECT_EQ(spy.at(0).at(1).value<void *>(), watch);
    EXPECT_EQ(spy.at(1).at(0).toInt(), CAuthorityTreeCtrl::kCategory);
}

} // namespace
