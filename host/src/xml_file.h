// Reading and writing the host's data files: one XML document per file, UTF-8, with a root
// element that names the kind of data and carries the format version.
#pragma once

#include <ostrel/records.h>
#include <ostrelhost/diagnostics.h>

#include <pugixml.hpp>

#include <cstdint>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>

namespace ostrelhost::xml {

inline constexpr int kFormatVersion = 1;

// Content that is well-formed XML but does not fit the records; the node tells where.
class FormatError : public std::runtime_error
{
public:
    FormatError(const pugi::xml_node &node, const std::string &what);
    std::ptrdiff_t offset() const { return m_offset; }

private:
    std::ptrdiff_t m_offset;
};

using Reader = std::function<void(const pugi::xml_node &root)>;
using Writer = std::function<void(pugi::xml_node &root)>;

// Reads and parses the file, checks its root element and version, and hands the root to read.
// A missing or unreadable file, a parse error, a FormatError or a lack of memory is reported
// (path and reason) and gives false; the file is never written here.
bool loadDocument(const char *path, const char *rootName, Diagnostics *diagnostics,
                  const Reader &read);

// Builds the document with write and replaces the file atomically: a temporary file in the same
// folder is written, flushed to disk and renamed over the target, so that a crash leaves the old
// or the new file. Failures are reported and give false.
bool saveDocument(const char *path, const char *rootName, Diagnostics *diagnostics,
                  const Writer &write);

// Attribute readers: a missing attribute gives the fallback, a malformed one throws FormatError.
const char *text(const pugi::xml_node &node, const char *name);
std::int64_t integer(const pugi::xml_node &node, const char *name, std::int64_t min,
                     std::int64_t max, std::int64_t fallback);
bool boolean(const pugi::xml_node &node, const char *name, bool fallback);

// Fixed fields are written only up to their first zero byte or their width, whichever is first.
template <std::size_t N>
std::string fieldText(const char (&field)[N])
{
    return std::string(field, strnlen(field, N));
}

void setText(pugi::xml_node &node, const char *name, const std::string &value);
void setInteger(pugi::xml_node &node, const char *name, std::int64_t value);
void setHex(pugi::xml_node &node, const char *name, std::uint32_t value);
void setBoolean(pugi::xml_node &node, const char *name, bool value);

template <std::size_t N>
void setField(pugi::xml_node &node, const char *name, const char (&field)[N])
{
    setText(node, name, fieldText(field));
}

template <std::size_t N>
void readField(char (&field)[N], const pugi::xml_node &node, const char *name)
{
    copyField(field, text(node, name));
}

} // namespace ostrelhost::xml
