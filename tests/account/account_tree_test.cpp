#include "account/account_tree_ctrl.h"
#include "support/memory_providers.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// The manager finds a record's item by the exact bytes of its id, a full field's and a legacy
// encoding's too; the item reads its record from the provider by position.
TEST(AccountTree, FindIsByTheIdsBytes)
{
    testhost::AccountProvider accounts;
    accounts.data.addUser("bob");
    GroupRecord *staff = accounts.data.addGroup("staff");
    UserRecord *full = accounts.data.addUser("x");
    std::memset(full->id, 'f', sizeof full->id); // no terminating zero
    full->id[0] = char(0xB0);                    // not UTF-8
    CAccountTreeCtrl tree;
    tree.Fill(&accounts);
    TreeNode *node = nullptr;
    EXPECT_LT(tree.FindUser("Bob", &node), 0);
    EXPECT_EQ(node, nullptr);
    ASSERT_GE(tree.FindUser("bob", &node), 0);
    EXPECT_EQ(tree.recordOf(*node), accounts.data.users[0].get());
    ASSERT_EQ(tree.FindUser(QByteArray(full->id, sizeof full->id), &node), 1);
    EXPECT_EQ(tree.recordOf(*node), full);
    EXPECT_EQ(node->item->text(0).size(), 51);
    ASSERT_GE(tree.FindGroup("staff", &node), 0);
    EXPECT_EQ(tree.recordOf(*node), staff);
    EXPECT_EQ(tree.FindRecord(CAccountTreeCtrl::kGroup, 0), node->item);

    EXPECT_FALSE(tree.DeleteItem(tree.rootItem()));
    EXPECT_TRUE(tree.DeleteItem(node->item));
    EXPECT_EQ(tree.GroupFolder()->childCount(), 0);
    EXPECT_LT(tree.FindGroup("staff", nullptr), 0);

    // Deleting an item deletes its children's nodes with them: nothing finds a node that is gone.
    ASSERT_TRUE(tree.DeleteItem(tree.UserFolder()));
    EXPECT_EQ(tree.UserFolder(), nullptr);
    EXPECT_LT(tree.FindUser("bob", nullptr), 0);
    EXPECT_NE(tree.GroupFolder(), nullptr);
}

} // namespace
