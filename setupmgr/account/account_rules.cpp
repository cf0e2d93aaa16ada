#include "account_rules.h"

#include "common/folders.h"
#include "common/text_field.h"

#include <QByteArray>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace setupmgr {

namespace {

unsigned char lowerAscii(unsigned char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

// Compares one id with many without regard to case: ASCII runs byte by byte, the rest through
// Unicode case folding. The checks walk every account, so the common ASCII case must be cheap.
class IdMatcher
{
public:
    explicit IdMatcher(const QByteArray &id)
        : m_id(id)
    { }
    // A record's id field, read no further than the field's end.
    template <std::size_t N>
    bool matches(const char (&field)[N]) const
    {
        return matches(field, N);
    }
    bool matches(const char *other, std::size_t size) const
    {
        // m_id ends with a zero byte; other ends with one or at size.
        const auto *a = reinterpret_cast<const unsigned char *>(m_id.constData());
        const auto *b = reinterpret_cast<const unsigned char *>(other);
        for (std::size_t i = 0;; ++i) {
            const unsigned char bi = i < size ? b[i] : 0;
            if (a[i] >= 0x80 || bi >= 0x80)
                return foldedEqual(other, size);
            if (lowerAscii(a[i]) != lowerAscii(bi))
                return false;
            if (!a[i])
                return true;
        }
    }

private:
    bool foldedEqual(const char *other, std::size_t size) const
    {
        if (m_text.isNull())
            m_text = QString::fromUtf8(m_id);
        const QString text = QString::fromUtf8(other, qsizetype(strnlen(other, size)));
        return QString::compare(m_text, text, Qt::CaseInsensitive) == 0;
    }

    QByteArray m_id;
    mutable QString m_text;
};

// Whether a user other than skip has the id; skip is the record being modified, whose own id
// never counts.
bool anyUserMatches(IAccountProvider *accounts, const IdMatcher &matcher,
                    const UserRecord *skip = nullptr)
{
    for (std::int32_t i = 0, n = accounts->getUserCount(); i < n; ++i) {
        UserRecord *user = nullptr;
        if (accounts->getUser(i, &user) && user && user != skip && matcher.matches(user->id))
            return true;
    }
    return false;
}

bool anyGroupMatches(IAccountProvider *accounts, const IdMatcher &matcher,
                     const GroupRecord *skip = nullptr)
{
    for (std::int32_t i = 0, n = accounts->getGroupCount(); i < n; ++i) {
        GroupRecord *group = nullptr;
        if (accounts->getGroup(i, &group) && group && group != skip && matcher.matches(group->id))
            return true;
    }
    return false;
}

} // namespace

QString trimId(const QString &id)
{
    qsizetype begin = 0;
    qsizetype end = id.size();
    while (begin < end && id.at(begin) == QLatin1Char(' '))
        ++begin;
    while (end > begin && id.at(end - 1) == QLatin1Char(' '))
        --end;
    return id.mid(begin, end - begin);
}

bool sameId(const char *a, const char *b)
{
    return IdMatcher(QByteArray(a ? a : "")).matches(b ? b : "", std::strlen(b ? b : ""));
}

bool sameId(const QString &a, const QString &b)
{
    return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

bool isAdminId(const QString &id)
{
    return sameId(id, QStringLiteral("admin"));
}

bool isForbiddenIdChar(QChar c)
{
    return c.unicode() < 0x80 && c.unicode() != 0
        && std::strchr(kForbiddenIdChars, static_cast<char>(c.unicode())) != nullptr;
}

const char *messageKey(IdError error)
{
    switch (error) {
    case IdError::None:
        return nullptr;
    case IdError::RequiredUserId:
        return "required_user_id";
    case IdError::RequiredGroupId:
        return "required_group_id";
    case IdError::ExistUserId:
        return "exist_user_id";
    case IdError::ExistGroupId:
        return "exist_group_id";
    case IdError::PasswordConfirm:
        return "error_password_confirm";
    }
    return nullptr;
}

IdError checkUser(IAccountProvider *accounts, const QString &id, const UserRecord *edited,
                  const QString &password, const QString &confirmation)
{
    const QByteArray key = storedBytes<sizeof(UserRecord::id)>(id);
    if (key.isEmpty())
        return IdError::RequiredUserId;
    if (accounts) {
        const IdMatcher matcher(key);
        // A record keeps its own id, or changes only its letter case; another record of that id
        // still refuses it.
        if (anyUserMatches(accounts, matcher, edited))
            return IdError::ExistUserId;
        if (anyGroupMatches(accounts, matcher))
            return IdError::ExistGroupId;
    }
    if (password != confirmation)
        return IdError::PasswordConfirm;
    return IdError::None;
}

IdError checkGroup(IAccountProvider *accounts, const QString &id, const GroupRecord *edited)
{
    const QByteArray key = storedBytes<sizeof(GroupRecord::id)>(id);
    if (key.isEmpty())
        return IdError::RequiredGroupId;
    if (accounts) {
        const IdMatcher matcher(key);
        if (anyGroupMatches(accounts, matcher, edited))
            return IdError::ExistGroupId;
        if (anyUserMatches(accounts, matcher))
            return IdError::ExistUserId;
    }
    return IdError::None;
}

UserRecord *findUserNoCase(IAccountProvider *accounts, const char *id)
{
    if (!accounts)
        return nullptr;
    const IdMatcher matcher {QByteArray(id)};
    for (std::int32_t i = 0, n = accounts->getUserCount(); i < n; ++i) {
        UserRecord *user = nullptr;
        if (accounts->getUser(i, &user) && user && matcher.matches(user->id))
            return user;
    }
    return nullptr;
}

GroupRecord *findGroupNoCase(IAccountProvider *accounts, const char *id)
{
    if (!accounts)
        return nullptr;
    const IdMatcher matcher {QByteArray(id)};
    for (std::int32_t i = 0, n = accounts->getGroupCount(); i < n; ++i) {
        GroupRecord *group = nullptr;
        if (accounts->getGroup(i, &group) && group && matcher.matches(group->id))
            return group;
    }
    return nullptr;
}

void setUserFields(UserRecord &user, const QString &id, const QString &name,
                   const QString &description, const QString &password)
{
    setField(user.id, id);
    setField(user.name, name);
    setField(user.description, description);
    setField(user.password, password);
}

int removeUserFromGroups(IAccountProvider *accounts, const char *userId)
{
    if (!accounts || !userId)
        return 0;
    int removed = 0;
    for (std::int32_t i = 0, n = accounts->getGroupCount(); i < n; ++i) {
        GroupRecord *group = nullptr;
        if (!accounts->getGroup(i, &group) || !group || !group->members.first)
            continue;
        PointerSeq<MemberRecord> &members = group->members;
        MemberRecord **kept = members.first;
        for (MemberRecord **it = members.first; it != members.last; ++it) {
            if (*it && fieldEquals((*it)->id, userId)) {
                std::free(*it);
                ++removed;
            } else {
                *kept++ = *it;
            }
        }
        members.last = kept;
    }
    return removed;
}

std::vector<const MemberRecord *> sortedMembers(const PointerSeq<MemberRecord> &members)
{
    std::vector<const MemberRecord *> sorted;
    sorted.reserve(seqSize(members));
    for (std::size_t i = 0, n = seqSize(members); i < n; ++i) {
        if (members.first[i])
            sorted.push_back(members.first[i]);
    }
    std::stable_sort(
        sorted.begin(), sorted.end(), [](const MemberRecord *a, const MemberRecord *b) {
            return fieldString(a->id).compare(fieldString(b->id), Qt::CaseInsensitive) < 0;
        });
    return sorted;
}

std::vector<MemberEntry> candidateAccounts(IAccountProvider *accounts, const QSet<QString> &chosen,
                                           const char *ownGroupId, bool *complete)
{
    std::vector<MemberEntry> candidates;
    bool gaveAll = accounts != nullptr;
    const auto done = [&] {
        if (complete)
            *complete = gaveAll;
        return candidates;
    };
    if (!accounts)
        return done();
    const std::int32_t users = accounts->getUserCount();
    const std::int32_t groups = accounts->getGroupCount();
    gaveAll = users >= 0 && groups >= 0;
    candidates.reserve(std::size_t(std::max(0, users) + std::max(0, groups)));
    for (std::int32_t i = 0; i < users; ++i) {
        UserRecord *user = nullptr;
        if (!accounts->getUser(i, &user) || !user) {
            gaveAll = false;
            continue;
        }
        QByteArray bytes = fieldBytes(user->id);
        QString id = QString::fromUtf8(bytes);
        if (chosen.isEmpty() || !chosen.contains(id.toCaseFolded()))
            candidates.push_back({std::move(id), MemberUser, std::move(bytes)});
    }
    for (std::int32_t i = 0; i < groups; ++i) {
        GroupRecord *group = nullptr;
        if (!accounts->getGroup(i, &group) || !group) {
            gaveAll = false;
            continue;
        }
        if (ownGroupId && fieldEquals(group->id, ownGroupId))
            continue;
        QByteArray bytes = fieldBytes(group->id);
        QString id = QString::fromUtf8(bytes);
        if (chosen.isEmpty() || !chosen.contains(id.toCaseFolded()))
            candidates.push_back({std::move(id), MemberGroup, std::move(bytes)});
    }
    return done();
}

QSet<QString> chosenIds(const std::vector<MemberEntry> &members)
{
    QSet<QString> ids;
    ids.reserve(qsizetype(members.size()));
    for (const MemberEntry &member : members)
        ids.insert(member.id.toCaseFolded());
    return ids;
}

MemberRecord *newMember(std::int32_t kind, const QString &id)
{
    auto *member = static_cast<MemberRecord *>(std::malloc(sizeof(MemberRecord)));
    if (!member)
        return nullptr;
    member->kind = kind;
    setField(member->id, id);
    return member;
}

MemberEntry memberEntry(const MemberRecord &member)
{
    QByteArray bytes = fieldBytes(member.id);
    QString id = QString::fromUtf8(bytes);
    return {std::move(id), member.kind, std::move(bytes), member};
}

MemberRecord *newMember(const MemberEntry &entry)
{
    if (!entry.original && entry.bytes.isEmpty())
        return newMember(entry.kind, entry.id);
    auto *member = static_cast<MemberRecord *>(std::malloc(sizeof(MemberRecord)));
    if (!member)
        return nullptr;
    if (entry.original) {
        *member = *entry.original;
    } else {
        member->kind = entry.kind;
        setFieldBytes(member->id, entry.bytes);
    }
    return member;
}

bool replaceMembers(PointerSeq<MemberRecord> &list, const std::vector<MemberEntry> &entries)
{
    seqFreeBlocks(list);
    for (const MemberEntry &entry : entries) {
        MemberRecord *member = newMember(entry);
        if (!member || !seqAppend(list, member)) {
            std::free(member);
            return false;
        }
    }
    return true;
}

bool takeOverMembers(PointerSeq<MemberRecord> &target, PointerSeq<MemberRecord> &source)
{
    seqFreeBlocks(target);
    bool complete = true;
    for (std::size_t i = 0, n = seqSize(source); i < n; ++i) {
        if (!seqAppend(target, source.first[i])) {
            std::free(source.first[i]);
            complete = false;
        }
    }
    seqClear(source);
    return complete;
}

} // namespace setupmgr
