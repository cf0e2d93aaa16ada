// Small helpers over the records that the providers share.
#pragma once

#include <ostrel/records.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace ostrelhost::detail {

// A fixed field compared with a text byte for byte.
template <std::size_t N>
bool fieldEquals(const char (&field)[N], const char *text)
{
    const std::size_t length = strnlen(field, N);
    return text && std::strlen(text) == length && std::memcmp(field, text, length) == 0;
}

// The number after the highest number of the records, for a record added with -1.
template <typename Records>
std::int32_t nextNumber(const Records &records)
{
    std::int32_t highest = -1;
    for (const auto &record : records)
        highest = std::max(highest, record->number);
    return highest + 1;
}

template <typename Records>
bool validIndex(const Records &records, std::int32_t index)
{
    return index >= 0 && static_cast<std::size_t>(index) < records.size();
}

} // namespace ostrelhost::detail
