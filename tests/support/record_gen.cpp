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

// Every byte of the object drawn from a fresh seed, its sequences then emptied (they are the
// holder's to free).
template <typename T>
void seed(T &object)
{
    fillFromSeed(&object, sizeof object, *genSeed());
    if constexpr (requires { object.members; })
        object.members = {};
    if constexpr (requires { object.cameras; }) {
        object.additionalInfo = {};
        object.cameras = {};
    }
}

// A record held as the providers hold it, its bytes seeded.
template <typename T>
ostrelhost::RecordPtr<T> seededRecord()
{
    auto record = ostrelhost::makeRecord<T>();
    seed(*record);
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

template <std::size_t N>
std::string fieldText(const char (&field)[N])
{
    return std::string(field, strnlen(field, N));
}

// Up to maxCount members that name the ids, of either kind and now and then of no kind.
void addMembers(PointerSeq<MemberRecord> &members, const NamePool &ids, int maxCount)
{
    for (auto n = *gen::inRange(0, maxCount + 1); n > 0; --n) {
        MemberRecord &member = *ostrelhost::appendBlock(members);
        seed(member);
        member.kind = *gen::weightedOneOf<std::int32_t>(
            {{4, gen::elementOf(std::vector<std::int32_t> {MemberUser, MemberGroup})},
             {1, gen::elementOf(std::vector<std::int32_t> {-1, 2, 7, INT_MIN})}});
        putField(member.id, *genName(ids, sizeof member.id));
    }
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

Gen<testhost::AccountData> genAccounts(const NamePool &pool, int minUsers, int minGroups)
{
    return gen::exec([pool, minUsers, minGroups] {
        testhost::AccountData drawn;
        NamePool ids = pool;
        for (auto n = *gen::inRange(minUsers, 7); n > 0; --n) {
            auto user = seededRecord<UserRecord>();
            putField(user->id, *genName(pool, sizeof user->id));
            putText(user->password);
            putText(user->name);
            putText(user->description);
            user->number = *genHostInt();
            ids.push_back(fieldText(user->id));
            drawn.users.push_back(std::move(user));
        }
        for (auto n = *gen::inRange(minGroups, 5); n > 0; --n) {
            auto group = seededRecord<GroupRecord>();
            putField(group->id, *genName(pool, sizeof group->id));
            putText(group->description);
            group->number = *genHostInt();
            ids.push_back(fieldText(group->id));
            drawn.groups.push_back(std::move(group));
        }
        // Members name accounts of either kind and names that are no account.
        for (auto &group : drawn.groups)
            addMembers(group->members, ids, 6);
        return drawn;
    });
}

Gen<testhost::AuthorityData> genAuthority(const NamePool &pool,
                                          const testhost::AccountData &accounts)
{
    NamePool ids = pool;
    for (const auto &user : accounts.users)
        ids.push_back(fieldText(user->id));
    for (const auto &group : accounts.groups)
        ids.push_back(fieldText(group->id));
    return gen::exec([ids] {
        testhost::AuthorityData drawn;
        drawn.categories.resize(*gen::inRange<std::size_t>(1, 4));
        for (auto &category : drawn.categories) {
            category.category = seededRecord<AuthorityCategory>();
            putText(category.category->id);
            putText(category.category->name);
            // The first category has an item, so there is always one to select.
            for (auto n = *gen::inRange(&category == &drawn.categories[0] ? 1 : 0, 4); n > 0; --n) {
                auto item = seededRecord<AuthorityItem>();
                putText(item->id);
                putText(item->name);
                putText(item->description);
                addMembers(item->members, ids, 6);
                category.items.push_back(std::move(item));
            }
        }
        return drawn;
    });
}

Gen<testhost::ServerListData> genServers(const NamePool &pool, int minServers)
{
    return gen::exec([pool, minServers] {
        testhost::ServerListData drawn;
        for (auto n = *gen::inRange(minServers, 7); n > 0; --n) {
            auto record = seededRecord<ServerRecord>();
            putField(record->name, *genName(pool, sizeof record->name));
            record->connected = *genFlagByte();
            record->productKind = *gen::weightedOneOf<std::int32_t>(
                {{3, gen::inRange(0, 4)},
                 {1, gen::elementOf(std::vector<std::int32_t> {-1, 4, 7, INT_MIN, INT_MAX})},
                 {1, gen::arbitrary<std::int32_t>()}});
            record->port = *gen::weightedOneOf<std::uint16_t>(
                {{2, gen::elementOf(std::vector<std::uint16_t> {0, 7000, 7011, 6100, 7100, 65535})},
                 {2, gen::arbitrary<std::uint16_t>()}});
            putField(record->address, *genName(pool, sizeof record->address));
            record->useDdns = *genFlagByte();
            putText(record->ddnsAddress);
            putText(record->ddnsId);
            putText(record->ddnsPassword);
            putText(record->loginId);
            putText(record->password);
            for (auto n = *gen::inRange(0, 21); n > 0; --n) {
                AdditionalInfo &info = *ostrelhost::appendBlock(record->additionalInfo);
                seed(info);
                info.tag = *genHostInt();
                putText(info.name);
                putText(info.value);
            }
            for (auto n = *gen::inRange(0, 4); n > 0; --n)
                seed(*ostrelhost::appendBlock(record->cameras));
            drawn.servers.push_back(std::move(record));
        }
        return drawn;
    });
}

Gen<OptionRecord> genOptions()
{
    return gen::exec([] {
        OptionRecord options;
        seed(options);
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

} // namespace recordgen

namespace testhost {

namespace {

void showEach(const recordbytes::Records &records, std::ostream &os)
{
    for (const recordbytes::Flat &record : records)
        os << "\n  " << recordbytes::describe(record);
}

} // namespace

void showValue(const AccountData &data, std::ostream &os)
{
    showEach(recordbytes::users(data), os);
    showEach(recordbytes::groups(data), os);
}

void showValue(const AuthorityData &data, std::ostream &os)
{
    showEach(recordbytes::authority(data), os);
}

void showValue(const ServerListData &data, std::ostream &os)
{
    showEach(recordbytes::servers(data), os);
}

} // namespace testhost

void showValue(const OptionRecord &record, std::ostream &os)
{
    os << recordbytes::describe(recordbytes::flatten(record));
}
