// Small helpers over the records that the providers share.
#pragma once

#include <ostrel/records.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace ostrelhost::detail {

// A fixed field compared with a text byte for byte.
template <std::size_t N>
bool fieldEquals(const char (&field)[N], const char *text)
{
    const std::size_t length = strnlen(field, N);
    return text && std::strlen(text) == length && std::memcmp(field, text, length) == 0;
}

// The number after the highest of used (all at least first - 1); when that is the largest
// number there is, the smallest unused number from first on.
template <typename Numbers>
std::int32_t freeNumber(Numbers used, std::int32_t first)
{
    std::int32_t highest = first - 1;
    for (const std::int32_t number : used)
        highest = std::max(highest, number);
    if (highest < INT32_MAX)
        return highest + 1;
    std::sort(used.begin(), used.end());
    std::int32_t candidate = first;
    for (const std::int32_t number : used) {
        if (number > candidate)
            break;
        if (number == candidate)
            ++candidate;
    }
    return candidate;
}

// The number for a record added with -1: after the highest number of the records.
template <typename Records>
std::int32_t nextNumber(const Records &records)
{
    std::vector<std::int32_t> numbers;
    numbers.reserve(records.size());
    for (const auto &record : records)
        numbers.push_back(record->number);
    return freeNumber(std::move(numbers), 0);
}

template <typename Records>
bool validIndex(const Records &records, std::int32_t index)
{
    return index >= 0 && static_cast<std::size_t>(index) < records.size();
}

} // namespace ostrelhost::detail
