// The read-only member lists of the group dialog, the account manager and the authority dialog.
#pragma once

#include <ostrel/records.h>

class QIcon;
class QListWidget;

namespace setupmgr {

// A list view in list mode, sorted by text, with one entry selectable; its dialog names it.
void setUpMemberList(QListWidget *list);
// Shows a member list in the order of sortedMembers: each member's id, the user or group image,
// the kind as item data.
void fillMemberList(QListWidget *list, const PointerSeq<MemberRecord> &members,
                    const QIcon &userImage, const QIcon &groupImage);

} // namespace setupmgr
