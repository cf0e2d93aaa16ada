// Records shared in memory between the setup manager, its host and the remote-setup plug-ins.
// Their layout is binary interface: text fields have fixed offsets and widths, and the exact
// sizes are pinned for the 32-bit layout, which hosts built for 32-bit targets share unchanged.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

// A growable array of pointers, shared across the boundary as four machine words. Its storage
// and, where a record owns them, its elements are malloc blocks, so either side may free them.
template <typename T>
struct PointerSeq
{
    std::uintptr_t allocator; // unused; its low byte names the allocator slot
    T **first;                // null or the first element
    T **last;                 // one past the last element
    T **endOfStorage;         // one past the reserved storage
};

template <typename T>
inline std::size_t seqSize(const PointerSeq<T> &seq)
{
    return seq.first ? static_cast<std::size_t>(seq.last - seq.first) : 0;
}

template <typename T>
inline T *seqAt(const PointerSeq<T> &seq, std::size_t index)
{
    return index < seqSize(seq) ? seq.first[index] : nullptr;
}

// Appends one pointer; grows the storage geometrically. Returns false when memory runs out,
// leaving the sequence unchanged.
template <typename T>
inline bool seqAppend(PointerSeq<T> &seq, T *element)
{
    if (!seq.first || seq.last == seq.endOfStorage) {
        const std::size_t size = seqSize(seq);
        const std::size_t capacity = size ? size * 2 : 4;
        void *grown = std::realloc(static_cast<void *>(seq.first), capacity * sizeof(T *));
        if (!grown)
            return false;
        seq.first = static_cast<T **>(grown);
        seq.last = seq.first + size;
        seq.endOfStorage = seq.first + capacity;
    }
    *seq.last++ = element;
    return true;
}

// Empties the sequence and frees its storage; the elements are left to their owner.
template <typename T>
inline void seqClear(PointerSeq<T> &seq)
{
    std::free(static_cast<void *>(seq.first));
    seq.first = seq.last = seq.endOfStorage = nullptr;
}

// Frees every element block (malloc'ed), then the storage.
template <typename T>
inline void seqFreeBlocks(PointerSeq<T> &seq)
{
    for (std::size_t i = 0, n = seqSize(seq); i < n; ++i)
        std::free(static_cast<void *>(seq.first[i]));
    seqClear(seq);
}

// Makes `to` hold copies (malloc blocks) of the elements of `from`; `to` must be empty. Null
// elements, which a host should not hand over, are left out rather than read.
template <typename T>
inline bool seqCopyBlocks(PointerSeq<T> &to, const PointerSeq<T> &from)
{
    for (std::size_t i = 0, n = seqSize(from); i < n; ++i) {
        if (!from.first[i])
            continue;
        T *block = static_cast<T *>(std::malloc(sizeof(T)));
        if (!block || !seqAppend(to, block)) {
            std::free(block);
            return false;
        }
        std::memcpy(static_cast<void *>(block), from.first[i], sizeof(T));
    }
    return true;
}

// Copies text into a fixed field, cut at a UTF-8 character boundary so that the field always
// ends with a zero byte and never holds half a character.
template <std::size_t N>
inline void copyField(char (&field)[N], const char *text)
{
    std::size_t length = text ? std::strlen(text) : 0;
    if (length > N - 1) {
        length = N - 1;
        while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
            --length;
    }
    if (length)
        std::memcpy(field, text, length);
    std::memset(field + length, 0, N - length);
}

// --- accounts (kind 0) -------------------------------------------------------------------

struct UserRecord
{
    char id[51];
    char password[51];
    char padding[2];
    std::int32_t number; // provider's own number; -1 in a new record
    char name[51];
    char description[101];
};

enum MemberKind : std::int32_t { MemberUser = 0, MemberGroup = 1 };

struct MemberRecord
{
    std::int32_t kind; // MemberKind; any non-zero value is shown as a group
    char id[52];
};

struct GroupRecord
{
    std::int32_t number; // provider's own number; -1 in a new record
    char id[51];
    char description[101];
    PointerSeq<MemberRecord> members;
};

// --- authority (kind 1) --------------------------------------------------------------------

struct AuthorityCategory
{
    std::int32_t number;
    char id[51];
    char name[51]; // display name
};

struct AuthorityItem
{
    std::int32_t number;
    char id[51];
    char name[51]; // display name
    char description[51];
    PointerSeq<MemberRecord> members;
};

// --- recorders (kind 3) and their information view (kind 8) ---------------------------------

struct AdditionalInfo
{
    std::int32_t tag; // -1 for rows created in the server setup dialog
    char name[51];
    char value[51];
};

// One camera of a recorder; the setup manager only counts them.
struct CameraEntry
{
    std::int32_t channel;
    char name[51];
};

struct ServerRecord
{
    std::int32_t hostId; // the host's recorder id
    std::int32_t hostFlags;
    char name[51];
    std::uint8_t connected;
    std::int32_t productKind; // 1, 2 or 3 from the product list, else 0
    std::int32_t hostData;
    std::uint16_t port;
    char address[51];
    std::uint8_t useDdns;
    char ddnsAddress[51];
    char ddnsId[51];
    char ddnsPassword[51];
    char hostText[53];
    char loginId[51];
    char password[51];
    PointerSeq<AdditionalInfo> additionalInfo;
    PointerSeq<CameraEntry> cameras;
    std::uint8_t version[4]; // b0..b3; all zero when unknown
    std::int32_t productCode;
};

struct InfoItem
{
    char name[51];  // key
    char label[51]; // shown caption
    char value[51];
    std::uint8_t flags[5];
    std::uint8_t reserved[2];
    std::int32_t hostData;
};

struct InfoCategory
{
    char name[51];
    char label[51];
    std::uint8_t expanded; // 1 in new categories
    PointerSeq<InfoItem> items;
};

// A display template (owned by the kind-8 provider) and the view built from it share one shape.
struct InfoView
{
    char title[52];
    PointerSeq<InfoCategory> categories;
};
using DisplayTemplate = InfoView;

// --- options (kind 7) ------------------------------------------------------------------------

// The leading fields of the host's option record; the host's own fields may follow.
struct OptionRecord
{
    char language[8];
    std::int32_t alarmServiceAutoConnect;
    std::int16_t alarmServicePollingTime;
    std::int16_t alarmServicePollingMin;
    std::int16_t alarmServicePollingMax;
};

// --- layout --------------------------------------------------------------------------------

static_assert(sizeof(PointerSeq<void>) == 4 * sizeof(void *));

static_assert(offsetof(UserRecord, id) == 0);
static_assert(offsetof(UserRecord, password) == 51);
static_assert(offsetof(UserRecord, number) == 104);
static_assert(offsetof(UserRecord, name) == 108);
static_assert(offsetof(UserRecord, description) == 159);
static_assert(sizeof(UserRecord) == 260);

static_assert(offsetof(MemberRecord, id) == 4);
static_assert(sizeof(MemberRecord) == 56);

static_assert(offsetof(GroupRecord, id) == 4);
static_assert(offsetof(GroupRecord, description) == 55);

static_assert(offsetof(AuthorityCategory, name) == 55);
static_assert(offsetof(AuthorityItem, name) == 55);
static_assert(offsetof(AuthorityItem, description) == 106);

static_assert(offsetof(AdditionalInfo, name) == 4);
static_assert(offsetof(AdditionalInfo, value) == 55);
static_assert(sizeof(AdditionalInfo) == 108);

static_assert(offsetof(ServerRecord, name) == 8);
static_assert(offsetof(ServerRecord, connected) == 59);
static_assert(offsetof(ServerRecord, productKind) == 60);
static_assert(offsetof(ServerRecord, port) == 68);
static_assert(offsetof(ServerRecord, address) == 70);
static_assert(offsetof(ServerRecord, useDdns) == 121);
static_assert(offsetof(ServerRecord, ddnsAddress) == 122);
static_assert(offsetof(ServerRecord, ddnsId) == 173);
static_assert(offsetof(ServerRecord, ddnsPassword) == 224);
static_assert(offsetof(ServerRecord, hostText) == 275);
static_assert(offsetof(ServerRecord, loginId) == 328);
static_assert(offsetof(ServerRecord, password) == 379);
static_assert(offsetof(ServerRecord, additionalInfo) == 432);

static_assert(offsetof(InfoItem, label) == 51);
static_assert(offsetof(InfoItem, value) == 102);
static_assert(offsetof(InfoItem, flags) == 153);
static_assert(sizeof(InfoItem) == 164);
static_assert(offsetof(InfoCategory, label) == 51);
static_assert(offsetof(InfoCategory, expanded) == 102);

static_assert(offsetof(OptionRecord, alarmServiceAutoConnect) == 8);
static_assert(offsetof(OptionRecord, alarmServicePollingTime) == 12);
static_assert(offsetof(OptionRecord, alarmServicePollingMin) == 14);
static_assert(offsetof(OptionRecord, alarmServicePollingMax) == 16);

// The 32-bit layout, where pointers are four bytes.
static_assert(sizeof(void *) != 4 || sizeof(PointerSeq<void>) == 16);
static_assert(sizeof(void *) != 4 || offsetof(GroupRecord, members) == 156);
static_assert(sizeof(void *) != 4 || sizeof(GroupRecord) == 172);
static_assert(sizeof(void *) != 4 || offsetof(AuthorityItem, members) == 160);
static_assert(sizeof(void *) != 4 || offsetof(ServerRecord, cameras) == 448);
static_assert(sizeof(void *) != 4 || offsetof(ServerRecord, version) == 464);
static_assert(sizeof(void *) != 4 || offsetof(ServerRecord, productCode) == 468);
static_assert(sizeof(void *) != 4 || sizeof(ServerRecord) == 472);
static_assert(sizeof(void *) != 4 || offsetof(InfoCategory, items) == 104);
static_assert(sizeof(void *) != 4 || sizeof(InfoCategory) == 120);
static_assert(sizeof(void *) != 4 || offsetof(InfoView, categories) == 52);
