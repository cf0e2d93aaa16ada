#include <ostrelhost/owned_records.h>

namespace ostrelhost {

namespace {

template <typename T>
RecordPtr<T> copyBytes(const T &record)
{
    RecordPtr<T> copy(new T);
    std::memcpy(static_cast<void *>(copy.get()), &record, sizeof(T));
    return copy;
}

// Gives `to` its own copies of the blocks of `from`; `to` still points at the source's blocks
// after a byte copy, so it is emptied first. The pointer storage is allocated once at its final
// size: growing it element by element costs several reallocations per sequence, which made up a
// large part of copying thousands of member lists. Null elements are left out, not read.
template <typename T>
void copyBlocks(PointerSeq<T> &to, const PointerSeq<T> &from)
{
    to = PointerSeq<T> {};
    const std::size_t count = seqSize(from);
    if (count == 0)
        return;
    to.first = static_cast<T **>(std::malloc(count * sizeof(T *)));
    if (!to.first)
        throw std::bad_alloc();
    to.last = to.first;
    to.endOfStorage = to.first + count;
    for (std::size_t i = 0; i < count; ++i) {
        const T *source = from.first[i];
        if (!source)
            continue;
        T *block = static_cast<T *>(std::malloc(sizeof(T)));
        if (!block) {
            seqFreeBlocks(to);
            throw std::bad_alloc();
        }
        std::memcpy(static_cast<void *>(block), source, sizeof(T));
        *to.last++ = block;
    }
}

void freeCategories(PointerSeq<InfoCategory> &categories)
{
    for (std::size_t i = 0, n = seqSize(categories); i < n; ++i)
        seqFreeBlocks(categories.first[i]->items);
    seqFreeBlocks(categories);
}

} // namespace

void RecordDeleter::operator()(UserRecord *record) const
{
    if (!pooled)
        delete record;
}

void RecordDeleter::operator()(GroupRecord *record) const
{
    seqFreeBlocks(record->members);
    delete record;
}

void RecordDeleter::operator()(AuthorityCategory *record) const
{
    delete record;
}

void RecordDeleter::operator()(AuthorityItem *record) const
{
    seqFreeBlocks(record->members);
    delete record;
}

void RecordDeleter::operator()(ServerRecord *record) const
{
    seqFreeBlocks(record->additionalInfo);
    seqFreeBlocks(record->cameras);
    delete record;
}

void RecordDeleter::operator()(InfoView *record) const
{
    freeCategories(record->categories);
    delete record;
}

RecordPtr<UserRecord> cloneRecord(const UserRecord &record)
{
    return copyBytes(record);
}

RecordPtr<GroupRecord> cloneRecord(const GroupRecord &record)
{
    auto copy = copyBytes(record);
    copyBlocks(copy->members, record.members);
    return copy;
}

RecordPtr<AuthorityCategory> cloneRecord(const AuthorityCategory &record)
{
    return copyBytes(record);
}

RecordPtr<AuthorityItem> cloneRecord(const AuthorityItem &record)
{
    auto copy = copyBytes(record);
    copyBlocks(copy->members, record.members);
    return copy;
}

RecordPtr<ServerRecord> cloneRecord(const ServerRecord &record)
{
    auto copy = copyBytes(record);
    // Both sequences must be valid before either copy can throw, so the deleter frees only ours.
    copy->additionalInfo = {};
    copy->cameras = {};
    copyBlocks(copy->additionalInfo, record.additionalInfo);
    copyBlocks(copy->cameras, record.cameras);
    return copy;
}

RecordPtr<InfoView> cloneRecord(const InfoView &record)
{
    auto copy = copyBytes(record);
    copy->categories = {};
    for (std::size_t i = 0, n = seqSize(record.categories); i < n; ++i) {
        const InfoCategory *category = record.categories.first[i];
        InfoCategory *categoryCopy = appendBlock(copy->categories);
        std::memcpy(static_cast<void *>(categoryCopy), category, sizeof(InfoCategory));
        categoryCopy->items = {};
        copyBlocks(categoryCopy->items, category->items);
    }
    return copy;
}

} // namespace ostrelhost
