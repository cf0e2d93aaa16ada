#include "record_gen.h"

#include "record_bytes.h"

#include <ostrel/languages.h>
#include <ostrelhost/owned_records.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <ostream>
#include <sstream>

using namespace rc;

namespace recordgen {

namespace {

// The characters that one edit or another refuses, and the blanks the dialogs trim.
constexpr char kRefused[] = "~!@#$%^&*()+|`=\\:;\"'<>?/,";

// Pieces that text is made of: letters, refused characters, blanks, whole UTF-8 characters
// (some with case folding of their own), and single bytes that are no valid UTF-8.
Gen<std::string> genChunk()
{
    const auto single = [](char c) { return std::string(1, c); };
    return gen::weightedOneOf<std::string>({
        {6, gen::map(gen::elementOf(std::string("abcdeXYZ0189")), single)},
        {2, gen::map(gen::elementOf(std::string(kRefused)), single)},
        {2, gen::elementOf(std::vector<std::string> {" ", "  ", "\t", "-", "_", "."})},
        {2,
         gen::elementOf(std::vector<std::string> {"\xc3\xa9", "\xc3\x89", "\xc3\x9f",
                                                  "\xed\x95\x9c", "\xe4\xb8\xad",
                                                  "\xf0\x9f\x98\x80", "\xc4\xb0"})},
        {1, gen::elementOf(std::vector<std::string> {"fe80::1", "10.0.0.1", "admin", "ADMIN"})},
        {1, gen::map(gen::inRange(0x80, 0x100), [](int b) { return std::string(1, char(b)); })},
        {1, gen::map(gen::inRange(1, 0x100), [](int b) { return std::string(1, char(b)); })},
    });
}

// Fills the bytes of an object from a seed; seed 0 gives zeros.
void fillFromSeed(void *object, std::size_t size, std::uint32_t seed)
{
    auto *bytes = static_cast<unsigned char *>(object);
    std::uint64_t state = seed;
    for (std::size_t i = 0; i < size; ++i) {
        if (seed == 0) {
            bytes[i] = 0;
            continue;
        }
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        bytes[i] = static_cast<unsigned char>(state >> 24);
    }
}

Gen<std::uint32_t> genSeed()
{
    return gen::weightedOneOf<std::uint32_t>(
        {{1, gen::just<std::uint32_t>(0)}, {2, gen::arbitrary<std::uint32_t>()}});
}

// A record of type T with every byte drawn from a fresh seed.
template <typename T>
T seededRecord()
{
    T record;
    fillFromSeed(&record, sizeof record, *genSeed());
    return record;
}

// Puts text into a field: without a terminating zero when it fills the field; what follows the
// zero keeps the seed's bytes.
template <std::size_t N>
void putField(char (&field)[N], const std::string &text)
{
    const std::size_t length = std::min(text.size(), N);
    std::memcpy(field, text.data(), length);
    if (length < N)
        field[length] = 0;
}

template <std::size_t N>
void putText(char (&field)[N])
{
    putField(field, *genText(N));
}

template <typename T>
void clearSeq(PointerSeq<T> &seq)
{
    seq = PointerSeq<T> {};
}

Gen<std::int32_t> genHostInt()
{
    return gen::weightedOneOf<std::int32_t>(
        {{2, gen::elementOf(std::vector<std::int32_t> {0, -1, 1})},
         {2, gen::arbitrary<std::int32_t>()}});
}

Gen<std::uint8_t> genFlagByte()
{
    return gen::weightedOneOf<std::uint8_t>({{3, gen::elementOf(std::vector<std::uint8_t> {0, 1})},
                                             {1, gen::arbitrary<std::uint8_t>()}});
}

std::string fieldText(const char *field, std::size_t size)
{
    return std::string(field, strnlen(field, size));
}

MemberRecord genMember(const NamePool &ids)
{
    auto member = seededRecord<MemberRecord>();
    member.kind = *gen::weightedOneOf<std::int32_t>(
        {{4, gen::elementOf(std::vector<std::int32_t> {MemberUser, MemberGroup})},
         {1, gen::elementOf(std::vector<std::int32_t> {-1, 2, 7, INT_MIN})}});
    putField(member.id, *genName(ids, sizeof member.id));
    return member;
}

std::vector<MemberRecord> genMembers(const NamePool &ids, int maxCount)
{
    std::vector<MemberRecord> members(*gen::inRange<std::size_t>(0, std::size_t(maxCount) + 1));
    for (MemberRecord &member : members)
        member = genMember(ids);
    return members;
}

} // namespace

Gen<std::string> genText(std::size_t maxLength)
{
    return gen::exec([maxLength] {
        const std::size_t length = *gen::weightedOneOf<std::size_t>({
            {3, gen::inRange<std::size_t>(0, std::min<std::size_t>(maxLength, 8) + 1)},
            {2, gen::inRange<std::size_t>(0, maxLength + 1)},
            {1, gen::just(maxLength)},
        });
        std::string text;
        while (text.size() < length)
            text += *genChunk();
        // A cut may split a character: that is invalid UTF-8 too.
        text.resize(length);
        return text;
    });
}

Gen<NamePool> genNamePool(std::size_t maxLength)
{
    return gen::exec(
        [maxLength] { return *gen::container<NamePool>(*gen::inRange(1, 4), genText(maxLength)); });
}

Gen<std::string> genName(const NamePool &pool, std::size_t maxLength)
{
    if (pool.empty())
        return genText(maxLength);
    return gen::exec([pool, maxLength] {
        std::string name;
        switch (
            *gen::weightedOneOf<int>({{4, gen::just(0)}, {1, gen::just(1)}, {1, gen::just(2)}})) {
        case 0:
            name = *gen::elementOf(pool);
            break;
        case 1: {
            // The same id in other letter case.
            name = *gen::elementOf(pool);
            const auto flips
                = *gen::container<std::vector<bool>>(name.size(), gen::arbitrary<bool>());
            for (std::size_t i = 0; i < name.size(); ++i) {
                const char c = name[i];
                if (flips[i] && c >= 'a' && c <= 'z')
                    name[i] = char(c - 'a' + 'A');
                else if (flips[i] && c >= 'A' && c <= 'Z')
                    name[i] = char(c - 'A' + 'a');
            }
            break;
        }
        default:
            name = *genText(maxLength);
        }
        return name.substr(0, maxLength);
    });
}

Gen<DrawnAccounts> genAccounts(const NamePool &pool, int minUsers, int minGroups)
{
    return gen::exec([pool, minUsers, minGroups] {
        DrawnAccounts drawn;
        drawn.users.resize(*gen::inRange<std::size_t>(std::size_t(minUsers), 7));
        NamePool ids = pool;
        for (UserRecord &user : drawn.users) {
            user = seededRecord<UserRecord>();
            putField(user.id, *genName(pool, sizeof user.id));
            putText(user.password);
            putText(user.name);
            putText(user.description);
            user.number = *genHostInt();
            ids.push_back(fieldText(user.id, sizeof user.id));
        }
        drawn.groups.resize(*gen::inRange<std::size_t>(std::size_t(minGroups), 5));
        for (DrawnGroup &group : drawn.groups) {
            group.record = seededRecord<GroupRecord>();
            clearSeq(group.record.members);
            putField(group.record.id, *genName(pool, sizeof group.record.id));
            putText(group.record.description);
            group.record.number = *genHostInt();
            ids.push_back(fieldText(group.record.id, sizeof group.record.id));
        }
        // Members name accounts of either kind and names that are no account.
        for (DrawnGroup &group : drawn.groups)
            group.members = genMembers(ids, 6);
        return drawn;
    });
}

Gen<DrawnAuthority> genAuthority(const NamePool &pool, const DrawnAccounts &accounts)
{
    NamePool ids = pool;
    for (const UserRecord &user : accounts.users)
        ids.push_back(fieldText(user.id, sizeof user.id));
    for (const DrawnGroup &group : accounts.groups)
        ids.push_back(fieldText(group.record.id, sizeof group.record.id));
    return gen::exec([ids] {
        DrawnAuthority drawn;
        drawn.categories.resize(*gen::inRange<std::size_t>(1, 4));
        bool first = true;
        for (DrawnCategory &category : drawn.categories) {
            category.record = seededRecord<AuthorityCategory>();
            putText(category.record.id);
            putText(category.record.name);
            // The first category has an item, so there is always one to select.
            category.items.resize(*gen::inRange<std::size_t>(first ? 1 : 0, 4));
            first = false;
            for (DrawnAuthorityItem &item : category.items) {
                item.record = seededRecord<AuthorityItem>();
                clearSeq(item.record.members);
                putText(item.record.id);
                putText(item.record.name);
                putText(item.record.description);
                item.members = genMembers(ids, 6);
            }
        }
        return drawn;
    });
}

Gen<DrawnServerList> genServers(const NamePool &pool, int minServers)
{
    return gen::exec([pool, minServers] {
        DrawnServerList drawn;
        drawn.servers.resize(*gen::inRange<std::size_t>(std::size_t(minServers), 7));
        for (DrawnServer &server : drawn.servers) {
            ServerRecord &record = server.record;
            record = seededRecord<ServerRecord>();
            clearSeq(record.additionalInfo);
            clearSeq(record.cameras);
            putField(record.name, *genName(pool, sizeof record.name));
            record.connected = *genFlagByte();
            record.productKind = *gen::weightedOneOf<std::int32_t>(
                {{3, gen::inRange(0, 4)},
                 {1, gen::elementOf(std::vector<std::int32_t> {-1, 4, 7, INT_MIN, INT_MAX})},
                 {1, gen::arbitrary<std::int32_t>()}});
            record.port = *gen::weightedOneOf<std::uint16_t>(
                {{2, gen::elementOf(std::vector<std::uint16_t> {0, 7000, 7011, 6100, 7100, 65535})},
                 {2, gen::arbitrary<std::uint16_t>()}});
            putField(record.address, *genName(pool, sizeof record.address));
            record.useDdns = *genFlagByte();
            putText(record.ddnsAddress);
            putText(record.ddnsId);
            putText(record.ddnsPassword);
            putText(record.loginId);
            putText(record.password);
            server.info.resize(*gen::inRange<std::size_t>(0, 21));
            for (AdditionalInfo &info : server.info) {
                info = seededRecord<AdditionalInfo>();
                info.tag = *genHostInt();
                putText(info.name);
                putText(info.value);
            }
            server.cameras.resize(*gen::inRange<std::size_t>(0, 4));
            for (CameraEntry &camera : server.cameras)
                camera = seededRecord<CameraEntry>();
        }
        return drawn;
    });
}

Gen<OptionRecord> genOptions()
{
    return gen::exec([] {
        auto options = seededRecord<OptionRecord>();
        putField(
            options.language,
            *gen::weightedOneOf<std::string>(
                {{3,
                  gen::map(gen::inRange<std::size_t>(0, std::size(ostrel::kInstallationLanguages)),
                           [](std::size_t i) {
                               return std::string(ostrel::kInstallationLanguages[i].code);
                           })},
                 {1, genText(sizeof options.language)}}));
        options.alarmServiceAutoConnect = *genHostInt();
        options.alarmServicePollingMin = *gen::arbitrary<std::int16_t>();
        options.alarmServicePollingMax = *gen::arbitrary<std::int16_t>();
        options.alarmServicePollingTime = *gen::arbitrary<std::int16_t>();
        return options;
    });
}

void fill(testhost::AccountData &data, const DrawnAccounts &drawn)
{
    for (const UserRecord &user : drawn.users) {
        auto record = ostrelhost::makeRecord<UserRecord>();
        std::memcpy(static_cast<void *>(record.get()), &user, sizeof user);
        data.users.push_back(std::move(record));
    }
    for (const DrawnGroup &group : drawn.groups) {
        auto record = ostrelhost::makeRecord<GroupRecord>();
        std::memcpy(static_cast<void *>(record.get()), &group.record, sizeof group.record);
        for (const MemberRecord &member : group.members)
            *ostrelhost::appendBlock(record->members) = member;
        data.groups.push_back(std::move(record));
    }
}

void fill(testhost::AuthorityData &data, const DrawnAuthority &drawn)
{
    for (const DrawnCategory &category : drawn.categories) {
        testhost::AuthorityData::Category filled;
        filled.category = ostrelhost::makeRecord<AuthorityCategory>();
        *filled.category = category.record;
        for (const DrawnAuthorityItem &item : category.items) {
            auto record = ostrelhost::makeRecord<AuthorityItem>();
            std::memcpy(static_cast<void *>(record.get()), &item.record, sizeof item.record);
            for (const MemberRecord &member : item.members)
                *ostrelhost::appendBlock(record->members) = member;
            filled.items.push_back(std::move(record));
        }
        data.categories.push_back(std::move(filled));
    }
}

void fill(testhost::ServerListData &data, const DrawnServerList &drawn)
{
    for (const DrawnServer &server : drawn.servers) {
        auto record = ostrelhost::makeRecord<ServerRecord>();
        std::memcpy(static_cast<void *>(record.get()), &server.record, sizeof server.record);
        for (const AdditionalInfo &info : server.info)
            std::memcpy(ostrelhost::appendBlock(record->additionalInfo), &info, sizeof info);
        for (const CameraEntry &camera : server.cameras)
            *ostrelhost::appendBlock(record->cameras) = camera;
        data.servers.push_back(std::move(record));
    }
}

void fill(testhost::ServerValueData &data, const DrawnServerList &drawn)
{
    testhost::ServerListData owned;
    fill(owned, drawn);
    for (auto &server : owned.servers) {
        data.adopt(*server);
        server->additionalInfo = {};
        server->cameras = {};
    }
    data.servers.shrink_to_fit();
}

namespace {

using recordbytes::describe;
using recordbytes::elementBytes;
using recordbytes::flatten;

template <typename T>
void showEach(const std::vector<T> &items, std::ostream &os)
{
    for (const T &item : items) {
        os << "\n  ";
        showValue(item, os);
    }
}

} // namespace

void showValue(const DrawnGroup &drawn, std::ostream &os)
{
    recordbytes::Flat flat = flatten(drawn.record);
    flat.seqs[0] = elementBytes(drawn.members);
    os << describe(flat);
}

void showValue(const DrawnAccounts &drawn, std::ostream &os)
{
    showEach(drawn.users, os);
    showEach(drawn.groups, os);
}

void showValue(const DrawnAuthorityItem &drawn, std::ostream &os)
{
    recordbytes::Flat flat = flatten(drawn.record);
    flat.seqs[0] = elementBytes(drawn.members);
    os << describe(flat);
}

void showValue(const DrawnCategory &drawn, std::ostream &os)
{
    os << describe(flatten(drawn.record));
    showEach(drawn.items, os);
}

void showValue(const DrawnAuthority &drawn, std::ostream &os)
{
    showEach(drawn.categories, os);
}

void showValue(const DrawnServer &drawn, std::ostream &os)
{
    recordbytes::Flat flat = flatten(drawn.record);
    flat.seqs = {elementBytes(drawn.info), elementBytes(drawn.cameras)};
    os << describe(flat);
}

void showValue(const DrawnServerList &drawn, std::ostream &os)
{
    showEach(drawn.servers, os);
}

} // namespace recordgen

void showValue(const UserRecord &record, std::ostream &os)
{
    os << recordbytes::describe(recordbytes::flatten(record));
}

void showValue(const OptionRecord &record, std::ostream &os)
{
    os << recordbytes::describe(recordbytes::flatten(record));
}
