// The account rules, kept apart from the dialogs: id checks, the "admin" protection, member
// lists and the working-copy commit. Plain functions over the providers, so they are tested
// without windows and the dialogs only wire them.
#pragma once

#include <ostrel/data_provider.h>

#include <QSet>
#include <QString>

#include <optional>
#include <vector>

namespace setupmgr {

// Refused in user and group ids, typed or pasted.
inline constexpr char kForbiddenIdChars[] = "~!@#$%^&*+|`=\\:;\"'<>?/,";
// The id edits' set until the dialogs replace it at initialisation.
inline constexpr char kInitialForbiddenChars[] = "%'*\"+?><:\\";

inline constexpr char kAccountPathKey[] = "xml_account";
inline constexpr char kAuthorityPathKey[] = "xml_authority";

// Removes leading and trailing spaces (0x20 only; tabs and other blanks stay).
QString trimId(const QString &id);
// Ids compare without regard to letter case when uniqueness or "admin" is decided.
bool sameId(const char *a, const char *b);
bool sameId(const QString &a, const QString &b);
bool isAdminId(const QString &id);
bool isForbiddenIdChar(QChar c);

enum class IdError {
    None,
    RequiredUserId,
    RequiredGroupId,
    ExistUserId,
    ExistGroupId,
    PasswordConfirm,
};
// The key of the message in category "message" of the dialog's language file; null for None.
const char *messageKey(IdError error);

// The rules for a user about to be stored, in their order. id is already trimmed; edited is the
// record being modified (its own id does not count as taken) or null for a new user.
IdError checkUser(IAccountProvider *accounts, const QString &id, const UserRecord *edited,
                  const QString &password, const QString &confirmation);
// The same for a group; a group has no password.
IdError checkGroup(IAccountProvider *accounts, const QString &id, const GroupRecord *edited);

// The first user or group whose id equals id without regard to case, or null.
UserRecord *findUserNoCase(IAccountProvider *accounts, const char *id);
GroupRecord *findGroupNoCase(IAccountProvider *accounts, const char *id);

// Fills a user record's texts, each cut to its field.
void setUserFields(UserRecord &user, const QString &id, const QString &name,
                   const QString &description, const QString &password);

// Takes every member entry whose id equals userId exactly out of every group's member list.
// Returns the number of entries removed.
int removeUserFromGroups(IAccountProvider *accounts, const char *userId);

struct MemberEntry
{
    QString id;        // as shown
    std::int32_t kind; // MemberKind
    QByteArray bytes;  // the id as its record holds it
    // The list's own block when the entry came from the list: stored back as it was.
    std::optional<MemberRecord> original = std::nullopt;
};
// An entry for a member block of a list, keeping the block.
MemberEntry memberEntry(const MemberRecord &member);

// The list's members, null entries left out, alphabetical without regard to case as a list
// sorted by its text reads them: "amy" before "Guests".
std::vector<const MemberRecord *> sortedMembers(const PointerSeq<MemberRecord> &members);

// The accounts a member list may still take: every user, then every group, in provider order,
// whose case-folded id is not in chosen; the group being edited (ownGroupId, may be null) is never
// its own candidate.
// complete, when given, tells whether the provider gave every account it counts.
std::vector<MemberEntry> candidateAccounts(IAccountProvider *accounts, const QSet<QString> &chosen,
                                           const char *ownGroupId, bool *complete = nullptr);
// The case-folded ids of a member list, as candidateAccounts takes them.
QSet<QString> chosenIds(const std::vector<MemberEntry> &members);

// A new 56-byte member block (malloc'ed, so the host may free it), or null when memory runs out.
MemberRecord *newMember(std::int32_t kind, const QString &id);
// The same for an entry: a copy of its original block, or a block with its id's bytes.
MemberRecord *newMember(const MemberEntry &entry);
// Frees the list's blocks and storage, then fills it with new blocks for the entries in order.
bool replaceMembers(PointerSeq<MemberRecord> &list, const std::vector<MemberEntry> &entries);
// Frees the blocks of target, then moves the pointers of source into it in order; source is
// left empty and target owns the blocks.
bool takeOverMembers(PointerSeq<MemberRecord> &target, PointerSeq<MemberRecord> &source);

} // namespace setupmgr
