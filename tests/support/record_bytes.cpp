#include "record_bytes.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>

namespace recordbytes {

namespace {

struct Field
{
    const char *name;
    std::size_t offset;
    std::size_t size;
};

#define FIELD(Type, member) Field(#member, offsetof(Type, member), sizeof(Type::member))

using Fields = std::vector<Field>;

// By Kind: each kind's name and fields.
const char *const kNames[] = {"user", "group", "category", "authority item", "recorder", "options"};
const Fields kFields[] = {
    {FIELD(UserRecord, id), FIELD(UserRecord, password), FIELD(UserRecord, padding),
     FIELD(UserRecord, number), FIELD(UserRecord, name), FIELD(UserRecord, description)},
    {FIELD(GroupRecord, number), FIELD(GroupRecord, id), FIELD(GroupRecord, description)},
    {FIELD(AuthorityCategory, number), FIELD(AuthorityCategory, id),
     FIELD(AuthorityCategory, name)},
    {FIELD(AuthorityItem, number), FIELD(AuthorityItem, id), FIELD(AuthorityItem, name),
     FIELD(AuthorityItem, description)},
    {FIELD(ServerRecord, hostId), FIELD(ServerRecord, hostFlags), FIELD(ServerRecord, name),
     FIELD(ServerRecord, connected), FIELD(ServerRecord, productKind),
     FIELD(ServerRecord, hostData), FIELD(ServerRecord, port), FIELD(ServerRecord, address),
     FIELD(ServerRecord, useDdns), FIELD(ServerRecord, ddnsAddress), FIELD(ServerRecord, ddnsId),
     FIELD(ServerRecord, ddnsPassword), FIELD(ServerRecord, hostText), FIELD(ServerRecord, loginId),
     FIELD(ServerRecord, password), FIELD(ServerRecord, version), FIELD(ServerRecord, productCode)},
    {FIELD(OptionRecord, language), FIELD(OptionRecord, alarmServiceAutoConnect),
     FIELD(OptionRecord, alarmServicePollingTime), FIELD(OptionRecord, alarmServicePollingMin),
     FIELD(OptionRecord, alarmServicePollingMax)},
};
const Fields kMemberFields {FIELD(MemberRecord, kind), FIELD(MemberRecord, id)};
const Fields kInfoFields {FIELD(AdditionalInfo, tag), FIELD(AdditionalInfo, name),
                          FIELD(AdditionalInfo, value)};
const Fields kCameraFields {FIELD(CameraEntry, channel), FIELD(CameraEntry, name)};

#undef FIELD

template <typename T>
std::string bytesOf(const T &record)
{
    return std::string(reinterpret_cast<const char *>(&record), sizeof record);
}

// The record's bytes with one sequence's four words zeroed.
template <typename T, typename Seq>
void zeroSeq(std::string &head, const T &record, const Seq &seq)
{
    const auto offset = static_cast<std::size_t>(reinterpret_cast<const char *>(&seq)
                                                 - reinterpret_cast<const char *>(&record));
    std::fill_n(head.begin() + std::ptrdiff_t(offset), sizeof seq, '\0');
}

template <typename T>
std::vector<std::string> elements(const PointerSeq<T> &seq)
{
    std::vector<std::string> result;
    for (std::size_t i = 0, n = seqSize(seq); i < n; ++i) {
        const T *element = seqAt(seq, i);
        result.push_back(element ? bytesOf(*element) : std::string("(null)"));
    }
    return result;
}

std::string name(Kind kind)
{
    return kNames[static_cast<int>(kind)];
}

const Fields &fieldsOf(Kind kind)
{
    return kFields[static_cast<int>(kind)];
}

std::string hexByte(char byte)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%02x", static_cast<unsigned char>(byte));
    return text;
}

// "password byte 3 was 0x41, is 0x00" for the first byte where the two differ.
std::string byteDifference(const Fields &fields, const std::string &before,
                           const std::string &after)
{
    if (before.size() != after.size())
        return "size was " + std::to_string(before.size()) + ", is " + std::to_string(after.size());
    std::size_t at = 0;
    while (at < before.size() && before[at] == after[at])
        ++at;
    std::string where = "padding byte " + std::to_string(at);
    for (const Field &field : fields) {
        if (at >= field.offset && at < field.offset + field.size)
            where = std::string(field.name) + " byte " + std::to_string(at - field.offset);
    }
    return where + " was " + hexByte(before[at]) + ", is " + hexByte(after[at]);
}

const char *seqName(Kind kind, std::size_t seq)
{
    return kind == Kind::Server ? (seq == 0 ? "additionalInfo" : "cameras") : "members";
}

const Fields &seqFields(Kind kind, std::size_t seq)
{
    return kind == Kind::Server ? (seq == 0 ? kInfoFields : kCameraFields) : kMemberFields;
}

void describeFields(std::string &text, const Fields &fields, const std::string &bytes)
{
    for (const Field &field : fields) {
        std::string value = bytes.substr(field.offset, field.size);
        value.erase(value.find_last_not_of('\0') + 1);
        text += ' ' + std::string(field.name) + "=\"";
        for (const char byte : value) {
            const auto code = static_cast<unsigned char>(byte);
            const bool plain = code >= 0x20 && code < 0x7f && byte != '"' && byte != '\\';
            text += plain ? std::string(1, byte) : "\\x" + hexByte(byte).substr(2);
        }
        text += '"';
    }
}

std::string flatDifference(const Flat &before, const Flat &after)
{
    if (before.kind != after.kind)
        return "is a " + name(after.kind) + " now";
    if (before.head != after.head)
        return byteDifference(fieldsOf(before.kind), before.head, after.head);
    for (std::size_t s = 0; s < before.seqs.size(); ++s) {
        const auto &was = before.seqs[s];
        const auto &is = after.seqs[s];
        for (std::size_t i = 0; i < std::min(was.size(), is.size()); ++i) {
            if (was[i] != is[i])
                return std::string(seqName(before.kind, s)) + "[" + std::to_string(i)
                    + "]: " + byteDifference(seqFields(before.kind, s), was[i], is[i]);
        }
        if (was.size() != is.size())
            return std::string(seqName(before.kind, s)) + " held " + std::to_string(was.size())
                + ", holds " + std::to_string(is.size());
    }
    return {};
}

} // namespace

Flat flatten(const UserRecord &record)
{
    return {Kind::User, bytesOf(record), {}};
}

Flat flatten(const GroupRecord &record)
{
    Flat flat {Kind::Group, bytesOf(record), {elements(record.members)}};
    zeroSeq(flat.head, record, record.members);
    return flat;
}

Flat flatten(const AuthorityCategory &record)
{
    return {Kind::Category, bytesOf(record), {}};
}

Flat flatten(const AuthorityItem &record)
{
    Flat flat {Kind::AuthorityItem, bytesOf(record), {elements(record.members)}};
    zeroSeq(flat.head, record, record.members);
    return flat;
}

Flat flatten(const ServerRecord &record)
{
    Flat flat {
        Kind::Server, bytesOf(record), {elements(record.additionalInfo), elements(record.cameras)}};
    zeroSeq(flat.head, record, record.additionalInfo);
    zeroSeq(flat.head, record, record.cameras);
    return flat;
}

Flat flatten(const OptionRecord &record)
{
    return {Kind::Options, bytesOf(record), {}};
}

namespace {

// Each record of a list the in-memory providers hold, by value or through an owning holder.
template <typename List>
Records flattenEach(const List &records)
{
    Records result;
    for (const auto &record : records) {
        if constexpr (requires { flatten(*record); })
            result.push_back(flatten(*record));
        else
            result.push_back(flatten(record));
    }
    return result;
}

} // namespace

Records users(const testhost::AccountData &data)
{
    return flattenEach(data.users);
}

Records groups(const testhost::AccountData &data)
{
    return flattenEach(data.groups);
}

Records authority(const testhost::AuthorityData &data)
{
    Records result;
    for (const auto &category : data.categories) {
        result.push_back(flatten(*category.category));
        for (const auto &item : category.items)
            result.push_back(flatten(*item));
    }
    return result;
}

Records servers(const testhost::ServerListData &data)
{
    return flattenEach(data.servers);
}

Records servers(const testhost::ServerValueData &data)
{
    return flattenEach(data.servers);
}

std::string difference(const Records &before, const Records &after)
{
    for (std::size_t i = 0; i < std::min(before.size(), after.size()); ++i) {
        const std::string found = flatDifference(before[i], after[i]);
        if (!found.empty())
            return name(before[i].kind) + " " + std::to_string(i) + ": " + found;
    }
    if (before.size() != after.size())
        return std::to_string(before.size()) + " records before, " + std::to_string(after.size())
            + " after";
    return {};
}

std::string describe(const Flat &flat)
{
    std::string text = name(flat.kind);
    describeFields(text, fieldsOf(flat.kind), flat.head);
    for (std::size_t s = 0; s < flat.seqs.size(); ++s) {
        text += std::string(" ") + seqName(flat.kind, s) + ":";
        for (const std::string &element : flat.seqs[s]) {
            text += " [";
            describeFields(text, seqFields(flat.kind, s), element);
            text += " ]";
        }
    }
    return text;
}

bool sameMultiset(Records a, Records b)
{
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    return a == b;
}

} // namespace recordbytes
