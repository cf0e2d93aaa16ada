// Reading and writing the host's data files: one XML document per file, UTF-8, with a root
// element that names the kind of data and carries the format version.
#pragma once

#include <ostrel/records.h>
#include <ostrelhost/diagnostics.h>
#include <ostrelhost/provider_base.h>

#include <pugixml.hpp>

#include <QByteArray>
#include <QString>

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

// Hands the records of a file to the reader one by one: a record that does not fit is reported
// and left out, and the others are kept, so that one damaged record costs no other.
class Content
{
public:
    Content(const QByteArray &bytes, const QString &path, Diagnostics *diagnostics)
        : m_bytes(bytes)
        , m_path(path)
        , m_diagnostics(diagnostics)
    { }

    // After a parse error: the file is not read whole, and record, the element it broke off in
    // (may be null), is left out.
    void brokeOff(const pugi::xml_node &record)
    {
        m_broken = record;
        m_whole = false;
    }

    // Calls read(element) for each child of parent with that name, in order. An element whose
    // reading throws FormatError is reported and left out with all it holds; so is the element
    // that a file cut short breaks off in. read must add its record only once it is whole.
    template <typename Read>
    void each(const pugi::xml_node &parent, const char *name, Read &&read)
    {
        for (const pugi::xml_node &element : parent.children(name))
            attempt(element, read);
    }
    // The first child of that name, read as each() reads it; nothing when there is none.
    template <typename Read>
    void first(const pugi::xml_node &parent, const char *name, Read &&read)
    {
        if (const pugi::xml_node element = parent.child(name))
            attempt(element, read);
    }

    // Something that is loaded as the file has it but deserves a look (a name used twice).
    void warn(const pugi::xml_node &node, const std::string &what);
    // Something that is not loaded as the file has it; the file then counts as not read whole.
    void changed(const pugi::xml_node &node, const std::string &what);

    bool whole() const { return m_whole; }

private:
    template <typename Read>
    void attempt(const pugi::xml_node &element, Read &read)
    {
        if (element == m_broken)
            return; // reported with the parse error
        try {
            read(element);
        } catch (const FormatError &error) {
            skipped(element, error);
        }
    }
    void skipped(const pugi::xml_node &element, const FormatError &error);

    const QByteArray &m_bytes;
    QString m_path;
    Diagnostics *m_diagnostics;
    pugi::xml_node m_broken;
    bool m_whole = true;
};

using Reader = std::function<void(const pugi::xml_node &root, Content &content)>;
using Writer = std::function<void(pugi::xml_node &root)>;

// Reads and parses the file, checks its root element and version, and hands the root to read.
// True only when the whole file was read. A missing or unreadable file, a wrong root or version
// or a lack of memory is reported (path and reason) and reads nothing; a file cut short or broken
// by a parse error is reported and its records before the break are read; a record that does not
// fit is reported and left out (see Content). origin learns what the file held and whether it
// was read whole. The file is never written here.
bool loadDocument(const char *path, const char *rootName, Diagnostics *diagnostics,
                  FileOrigin *origin, const Reader &read);

// Builds the document with write and replaces the file atomically: a temporary file in the same
// folder is written, flushed to disk and renamed over the target, so that a crash leaves the old
// or the new file. The file it replaces stays as "<path>~"; when origin could not read it whole,
// it is first kept under a dated name ("<path>.damaged-YYYYMMDD-HHMMSS") and that is reported.
// A file that changed since origin's data was read from it is not replaced. Failures are
// reported and give false; a file that cannot be kept is not replaced.
bool saveDocument(const char *path, const char *rootName, Diagnostics *diagnostics,
                  FileOrigin *origin, const Writer &write);

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
