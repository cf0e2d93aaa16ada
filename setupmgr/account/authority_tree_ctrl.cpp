#include "authority_tree_ctrl.h"

#include "account_images.h"
#include "common/check.h"
#include "common/text_field.h"
#include "controls/dialog_style.h"
#include "member_list.h"

using namespace setupmgr;

CAuthorityTreeCtrl::CAuthorityTreeCtrl(QWidget *parent)
    : CNodeTreeCtrl(parent)
{ }

void CAuthorityTreeCtrl::Fill(IAuthorityProvider *authority)
{
    DeleteAllItems();
    // A fixed text: the tree's root is not translated.
    auto *root = makeItem(QStringLiteral("Authority"), kAuthImageRoot, kAuthImageRoot);
    addTopLevelItem(root);
    if (!authority)
        return;
    for (std::int32_t c = 0, categories = authority->getCategoryCount(); c < categories; ++c) {
        AuthorityCategory *category = nullptr;
        if (!authority->getCategory(c, &category) || !category)
            continue;
        QTreeWidgetItem *categoryItem = AddCategory(root, category);
        for (std::int32_t i = 0, items = authority->getAuthorityCount(c); i < items; ++i) {
            AuthorityItem *item = nullptr;
            if (authority->getAuthority(c, i, &item) && item)
                AddItem(categoryItem, item);
        }
    }
}

QTreeWidgetItem *CAuthorityTreeCtrl::AddCategory(QTreeWidgetItem *parent,
                                                 AuthorityCategory *category)
{
    // Fill passes the root and only the categories the provider gave.
    OSTREL_CHECK(parent && category, nullptr);
    QTreeWidgetItem *item = makeRecordItem(parent, kCategory, category, kAuthImageCategory);
    parent->addChild(item);
    return item;
}

QTreeWidgetItem *CAuthorityTreeCtrl::AddItem(QTreeWidgetItem *parent, AuthorityItem *authority)
{
    OSTREL_CHECK(parent && authority, nullptr);
    QTreeWidgetItem *item = makeRecordItem(parent, kItem, authority, kAuthImageItem);
    parent->addChild(item);
    return item;
}

QString CAuthorityTreeCtrl::recordText(const TreeNode &node) const
{
    if (node.kind == kCategory) {
        const AuthorityCategory *category = recordAs<AuthorityCategory>(node);
        return category ? fieldString(category->name) : QString();
    }
    if (node.kind == kItem) {
        const AuthorityItem *item = recordAs<AuthorityItem>(node);
        return item ? fieldString(item->name) : QString();
    }
    return QString();
}
