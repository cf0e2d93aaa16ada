// What tells one state of a file from another without reading it: a rewrite changes its
// modification or status-change time, or its size, or (when replaced) its inode. Only a rewrite
// in place, to the same size, within one tick of the file system's clock goes unseen. Readers
// that keep what they read from a file keep it while its stamp stays the same.
#pragma once

#include <QString>

#include <cstdint>

namespace ostrelini {

struct FileStamp
{
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;
    std::int64_t changedSeconds = 0;
    std::int64_t changedNanoseconds = 0;

    // The file's stamp now; a file that cannot be looked at has the stamp of no file.
    static FileStamp of(const QString &path);

    bool operator==(const FileStamp &other) const = default;
};

} // namespace ostrelini
