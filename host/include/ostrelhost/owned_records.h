// Owning handles for the shared records. A record itself is the host's (new/delete); the blocks
// its sequences point to are malloc blocks, because the module frees and allocates them too.
#pragma once

#include <ostrel/records.h>

#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace ostrelhost {

// Frees the blocks a record holds, then the record. A pooled record lies in an array that its
// provider owns and frees as a whole: only its blocks are freed here.
struct RecordDeleter
{
    bool pooled = false;

    void operator()(UserRecord *record) const;
    void operator()(GroupRecord *record) const;
    void operator()(AuthorityCategory *record) const;
    void operator()(AuthorityItem *record) const;
    void operator()(ServerRecord *record) const;
    void operator()(InfoView *record) const;
};

template <typename T>
using RecordPtr = std::unique_ptr<T, RecordDeleter>;

// A record with every byte zero; throws std::bad_alloc.
template <typename T>
RecordPtr<T> makeRecord()
{
    RecordPtr<T> record(new T);
    std::memset(static_cast<void *>(record.get()), 0, sizeof(T));
    return record;
}

// Deep copies, with copies of every block; throw std::bad_alloc.
RecordPtr<UserRecord> cloneRecord(const UserRecord &record);
RecordPtr<GroupRecord> cloneRecord(const GroupRecord &record);
RecordPtr<AuthorityCategory> cloneRecord(const AuthorityCategory &record);
RecordPtr<AuthorityItem> cloneRecord(const AuthorityItem &record);
RecordPtr<ServerRecord> cloneRecord(const ServerRecord &record);
RecordPtr<InfoView> cloneRecord(const InfoView &record);

// Copies of the records, laid out in one array that pool receives: a copy of thousands of
// records costs one allocation instead of one each. The copies are pooled (see RecordDeleter), so
// pool must outlive them. For records without blocks of their own (users).
template <typename T>
std::vector<RecordPtr<T>> cloneAllPooled(const std::vector<RecordPtr<T>> &records,
                                         std::unique_ptr<T[]> &pool)
{
    std::vector<RecordPtr<T>> copies;
    copies.reserve(records.size());
    pool.reset(records.empty() ? nullptr : new T[records.size()]);
    for (std::size_t i = 0; i < records.size(); ++i) {
        std::memcpy(static_cast<void *>(&pool[i]), records[i].get(), sizeof(T));
        copies.push_back(RecordPtr<T>(&pool[i], RecordDeleter {true}));
    }
    return copies;
}

template <typename T>
std::vector<RecordPtr<T>> cloneAll(const std::vector<RecordPtr<T>> &records)
{
    std::vector<RecordPtr<T>> copies;
    copies.reserve(records.size());
    for (const auto &record : records)
        copies.push_back(cloneRecord(*record));
    return copies;
}

// A record that a provider shares with its working copies until one of them hands it out: a copy
// of thousands of records costs only the records a dialog reads. A copy still holds what its
// provider held when it was made: whichever side first hands out a shared record copies it, with
// its blocks, and a record once handed out is never shared again, because whoever holds it may
// edit it in place. A shared record lives while either side keeps it, so the source may delete,
// clear, reload or be destroyed meanwhile.
template <typename T>
class CopyOnRead
{
public:
    CopyOnRead(RecordPtr<T> record)
        : m_record(std::move(record))
    { }

    // The record for a new working copy; throws std::bad_alloc.
    CopyOnRead shared() const
    {
        if (m_handedOut)
            return CopyOnRead(cloneRecord(*m_record));
        return *this;
    }
    const T *operator->() const { return m_record.get(); }
    const T &operator*() const { return *m_record; }
    // The record to hand out, this provider's own from now on; throws std::bad_alloc.
    T *own()
    {
        if (m_record.use_count() > 1)
            m_record = cloneRecord(*m_record);
        m_handedOut = true;
        return m_record.get();
    }
    // own() for the provider calls: false instead of a throw when the copy cannot be made.
    bool handOut(T **out) noexcept
    {
        try {
            *out = own();
            return true;
        } catch (const std::bad_alloc &) {
            return false;
        }
    }

private:
    std::shared_ptr<T> m_record;
    bool m_handedOut = false;
};

template <typename T>
std::vector<CopyOnRead<T>> shareAll(const std::vector<CopyOnRead<T>> &records)
{
    std::vector<CopyOnRead<T>> copies;
    copies.reserve(records.size());
    for (const CopyOnRead<T> &record : records)
        copies.push_back(record.shared());
    return copies;
}

// Appends a zeroed malloc block to the sequence and returns it; throws std::bad_alloc.
template <typename T>
T *appendBlock(PointerSeq<T> &seq)
{
    T *block = static_cast<T *>(std::calloc(1, sizeof(T)));
    if (!block || !seqAppend(seq, block)) {
        std::free(block);
        throw std::bad_alloc();
    }
    return block;
}

} // namespace ostrelhost
