#include "account/account_tree_ctrl.h"
#include "support/memory_providers.h"

#include <gtest/gtest.h>

namespace {

// The manager finds a record's item by its exact id, and only account items can be deleted.
TEST(AccountTree, FindIsExactAndDeleteNeedsANode)
{
    testhost::AccountProvider accounts;
    accounts.data.addUser("bob");
    GroupRecord *staff = accounts.data.addGroup("staff");
    CAccountTreeCtrl tree;
    tree.Fill(&accounts);
    TreeNode *node = nullptr;
    EXPECT_LT(tree.FindUser("Bob", &node), 0);
    EXPECT_EQ(node, nullptr);
    ASSERT_GE(tree.FindUser("bob", &node), 0);
    EXPECT_EQ(node->record, accounts.data.users[0].get());
    ASSERT_GE(tree.FindGroup(staff, &node), 0);

    EXPECT_FALSE(tree.DeleteItem(tree.rootItem()));
    EXPECT_TRUE(tree.DeleteItem(node->item));
    EXPECT_EQ(tree.GroupFolder()->childCount(), 0);
    EXPECT_LT(tree.FindGroup(staff, nullptr), 0);
    QTreeWidgetItem *added = tree.AddGroup(tree.GroupFolder(), staff);
    ASSERT_GE(tree.FindGroup(staff, &node), 0);
    EXPECT_EQ(node->item, added);
}

// Deleting an item deletes its children's nodes with them: nothing finds a node that is gone.
TEST(AccountTree, DeletingAFolderTakesItsNodesAlong)
{
    testhost::AccountProvider accounts;
    accounts.data.addUser("bob");
    accounts.data.addUser("carol");
    CAccountTreeCtrl tree;
    tree.Fill(&accounts);
    ASSERT_TRUE(tree.DeleteItem(tree.UserFolder()));
    EXPECT_EQ(tree.UserFolder(), nullptr);
    EXPECT_LT(tree.FindUser("carol", nullptr), 0);
    EXPECT_NE(tree.GroupFolder(), nullptr);
}

} // namespace
