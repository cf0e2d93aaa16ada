#include "member_list.h"

#include "account_rules.h"
#include "common/text_field.h"

#include <QIcon>
#include <QListWidget>

namespace setupmgr {

void setUpMemberList(QListWidget *list)
{
    list->setViewMode(QListView::ListMode);
    list->setFlow(QListView::TopToBottom);
    list->setWrapping(true);
    list->setResizeMode(QListView::Adjust);
    // Each column as wide as its longest id: uniform sizes would take the first row's width and
    // cut longer ids short.
    list->setUniformItemSizes(false);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setIconSize(QSize(16, 16));
}

void fillMemberList(QListWidget *list, const PointerSeq<MemberRecord> &members,
                    const QIcon &userImage, const QIcon &groupImage)
{
    list->setSortingEnabled(false);
    list->clear();
    for (const MemberRecord *member : sortedMembers(members)) {
        auto *item = new QListWidgetItem(fieldString(member->id));
        item->setIcon(member->kind != MemberUser ? groupImage : userImage);
        item->setData(Qt::UserRole, member->kind);
        list->addItem(item);
    }
}

} // namespace setupmgr
