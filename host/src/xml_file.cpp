#include "xml_file.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <new>
#include <string_view>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace ostrelhost::xml {

namespace {

// Attribute values keep their tabs and line breaks (the writer escapes them), so a
// description reads back as it was stored.
constexpr unsigned kParseOptions = pugi::parse_default & ~pugi::parse_wconv_attribute;
// How long a store waits for another process storing the same file.
constexpr int kStoreLockWaitMs = 5000;

struct Position
{
    long long line;
    long long column;
};

Position positionAt(const QByteArray &bytes, std::ptrdiff_t offset)
{
    const auto end = static_cast<qsizetype>(std::clamp<std::ptrdiff_t>(offset, 0, bytes.size()));
    Position position {1, 1};
    for (qsizetype i = 0; i < end; ++i) {
        if (bytes[i] == '\n') {
            ++position.line;
            position.column = 1;
        } else if ((static_cast<unsigned char>(bytes[i]) & 0xC0) != 0x80) {
            ++position.column; // columns count characters, not bytes
        }
    }
    return position;
}

QString located(const QByteArray &bytes, std::ptrdiff_t offset, const char *what)
{
    const Position position = positionAt(bytes, offset);
    return QStringLiteral("line %1, column %2: %3")
        .arg(position.line)
        .arg(position.column)
        .arg(QString::fromUtf8(what));
}

class StringWriter : public pugi::xml_writer
{
public:
    void write(const void *data, size_t size) override
    {
        bytes.append(static_cast<const char *>(data), static_cast<qsizetype>(size));
    }
    QByteArray bytes;
};

// The rename is durable only once the folder's entry is on disk as well.
void syncFolder(const QString &filePath)
{
#ifdef Q_OS_UNIX
    const QByteArray folder = QFile::encodeName(QFileInfo(filePath).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(filePath);
#endif
}

bool readFile(const QString &path, QByteArray &bytes, QString &reason)
{
    QFile file(path);
    if (!file.exists()) {
        reason = QStringLiteral("the file does not exist");
        return false;
    }
    if (QFileInfo(path).isDir()) {
        reason = QStringLiteral("the path names a folder");
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        reason = file.errorString();
        return false;
    }
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        reason = file.errorString();
        return false;
    }
    return true;
}

// pugixml gives an element's position as that of its name; the tag starts one before.
std::ptrdiff_t positionOf(const pugi::xml_node &node)
{
    const std::ptrdiff_t offset = node.offset_debug();
    return node.type() == pugi::node_element && offset > 0 ? offset - 1 : offset;
}

bool checkRoot(const pugi::xml_document &document, const char *rootName, const QByteArray &bytes,
               QString &reason)
{
    const pugi::xml_node root = document.document_element();
    if (std::strcmp(root.name(), rootName) != 0) {
        reason = QStringLiteral("the root element is <%1>, expected <%2>")
                     .arg(QString::fromUtf8(root.name()), QString::fromUtf8(rootName));
        return false;
    }
    const pugi::xml_attribute version = root.attribute("version");
    if (version && version.as_int(-1) != kFormatVersion) {
        reason = located(bytes, positionOf(root),
                         "this format version is not supported (the supported version is 1)");
        return false;
    }
    return true;
}

// After a parse error at offset, the record that the file broke off in: the last element of the
// root, unless the text from its start up to the tag in which the parse failed parses on its own,
// so that the record was closed before.
pugi::xml_node brokenRecord(const pugi::xml_node &root, const QByteArray &bytes,
                            std::ptrdiff_t offset)
{
    pugi::xml_node last = root.last_child();
    while (last && last.type() != pugi::node_element)
        last = last.previous_sibling();
    const std::ptrdiff_t start = positionOf(last);
    if (!last || start < 0 || offset > bytes.size())
        return last;
    const std::ptrdiff_t tag = bytes.lastIndexOf('<', std::max<std::ptrdiff_t>(offset - 1, 0));
    if (tag <= start)
        return last;
    pugi::xml_document fragment;
    const bool closed
        = fragment.load_buffer(bytes.constData() + start, static_cast<size_t>(tag - start),
                               kParseOptions | pugi::parse_fragment, pugi::encoding_utf8);
    return closed ? pugi::xml_node() : last;
}

// Parses the file's bytes and hands what they hold to read; true when all of it was read.
bool readDocument(const QByteArray &bytes, const QString &path, const char *rootName,
                  Diagnostics *diagnostics, Content &content, const Reader &read)
{
    pugi::xml_document document;
    const pugi::xml_parse_result parsed = document.load_buffer(
        bytes.constData(), static_cast<size_t>(bytes.size()), kParseOptions, pugi::encoding_utf8);
    QString reason;
    if (!checkRoot(document, rootName, bytes, reason)) {
        // The parse error, where there is one, tells more than the root it left behind.
        reportProblem(diagnostics, FileOperation::Load, path,
                      parsed ? reason : located(bytes, parsed.offset, parsed.description()));
        return false;
    }
    if (!parsed) {
        reportProblem(diagnostics, FileOperation::Load, path,
                      located(bytes, parsed.offset, parsed.description())
                          + QStringLiteral("; the records before that point are loaded"));
        content.brokeOff(brokenRecord(document.document_element(), bytes, parsed.offset));
    }
    try {
        read(document.document_element(), content);
    } catch (const FormatError &error) {
        reportProblem(diagnostics, FileOperation::Load, path,
                      located(bytes, error.offset(), error.what()));
        return false;
    }
    return content.whole();
}

// The file's present content under a second name as well, readable by its owner only (the
// files hold passwords). A second link costs nothing; a copy stands in where links are missing.
bool keepAs(const QString &path, const QString &other)
{
#ifdef Q_OS_UNIX
    const QByteArray from = QFile::encodeName(path);
    const QByteArray to = QFile::encodeName(other);
    if (::unlink(to.constData()) != 0 && errno != ENOENT)
        return false;
    if (::link(from.constData(), to.constData()) != 0 && !QFile::copy(path, other))
        return false;
    return ::chmod(to.constData(), S_IRUSR | S_IWUSR) == 0;
#else
    QFile::remove(other);
    return QFile::copy(path, other)
        && QFile::setPermissions(other, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
#endif
}

QString unusedName(const QString &base)
{
    QString name = base;
    for (int i = 2; QFileInfo::exists(name); ++i)
        name = base + u'-' + QString::number(i);
    return name;
}

// Before the file at path is replaced: a file that its provider could not load is kept under a
// dated name, and whatever is there stays as "<path>~". False when either cannot be kept.
bool keepPrevious(const QString &path, FileOrigin *origin, Diagnostics *diagnostics,
                  QString &reason)
{
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        return true;
    if (origin && origin->damagedAt(path)) {
        const QString aside = unusedName(
            path + QStringLiteral(".damaged-")
            + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")));
        if (!keepAs(path, aside)) {
            reason = QStringLiteral("the file could not be loaded and cannot be kept as %1, so "
                                    "it is not replaced")
                         .arg(aside);
            return false;
        }
        origin->keptAside();
        reportProblem(diagnostics, FileOperation::SetAside, path,
                      QStringLiteral("it could not be loaded whole and was kept as %1 before it "
                                     "was replaced")
                          .arg(aside));
    }
    const QString backup = path + u'~';
    if (!keepAs(path, backup)) {
        reason = QStringLiteral("the previous file cannot be kept as %1, so it is not replaced")
                     .arg(backup);
        return false;
    }
    return true;
}

// Replaces the file with bytes unless it changed since origin's data was read from it. The check
// and the rename happen under a lock beside the file, so that of two workstations storing at
// once, the second sees the first's file.
bool replaceUnchanged(const QString &filePath, const QByteArray &bytes, FileOrigin *origin,
                      Diagnostics *diagnostics, QString &reason)
{
    QLockFile lock(filePath + QStringLiteral(".lock"));
    // A folder that takes no lock file takes no data file either: the save below says why.
    if (!lock.tryLock(kStoreLockWaitMs) && lock.error() == QLockFile::LockFailedError) {
        reason = QStringLiteral("another process is storing it and did not finish in time");
        return false;
    }
    if (origin && origin->changedSince(filePath)) {
        reason = QStringLiteral(
            "it changed since these changes began (another workstation stored its changes "
            "first); storing them would erase that work, so nothing was written");
        return false;
    }
    // The files hold passwords in clear text: the temporary file is made owner-only before
    // anything is written to it, and the rename keeps that mode, also over a file that was
    // readable by others.
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly))
        reason = file.errorString();
    else if (!file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        reason = file.errorString();
    else if (file.write(bytes) != bytes.size())
        reason = file.errorString();
    else if (!keepPrevious(filePath, origin, diagnostics, reason))
        file.cancelWriting();
    else if (!file.commit())
        reason = file.errorString();
    else {
        syncFolder(filePath);
        if (origin)
            origin->stored(filePath, bytes);
        return true;
    }
    return false;
}

[[noreturn]] void malformed(const pugi::xml_node &node, const char *name, const char *value,
                            const std::string &expected)
{
    throw FormatError(node,
                      std::string("attribute ") + name + " of <" + node.name() + "> is \"" + value
                          + "\", expected " + expected);
}

} // namespace

FormatError::FormatError(const pugi::xml_node &node, const std::string &what)
    : std::runtime_error(what)
    , m_offset(positionOf(node))
{ }

void Content::warn(const pugi::xml_node &node, const std::string &what)
{
    reportProblem(m_diagnostics, FileOperation::Content, m_path,
                  located(m_bytes, positionOf(node), what.c_str()));
}

void Content::changed(const pugi::xml_node &node, const std::string &what)
{
    m_whole = false;
    reportProblem(m_diagnostics, FileOperation::Load, m_path,
                  located(m_bytes, positionOf(node), what.c_str()));
}

void Content::skipped(const pugi::xml_node &element, const FormatError &error)
{
    m_whole = false;
    QString reason = located(m_bytes, error.offset(), error.what());
    if (error.offset() == positionOf(element))
        reason += QStringLiteral("; the <%1> is left out").arg(QString::fromUtf8(element.name()));
    else
        reason += QStringLiteral("; the <%1> of line %2 is left out")
                      .arg(QString::fromUtf8(element.name()))
                      .arg(positionAt(m_bytes, positionOf(element)).line);
    reportProblem(m_diagnostics, FileOperation::Load, m_path, reason);
}

bool loadDocument(const char *path, const char *rootName, Diagnostics *diagnostics,
                  FileOrigin *origin, const Reader &read)
{
    const QString filePath = QString::fromUtf8(path ? path : "");
    QString reason;
    bool whole = false;
    bool exists = false;
    bool readAll = false;
    QByteArray bytes;
    try {
        if (filePath.isEmpty()) {
            reason = QStringLiteral("no file name was given");
        } else {
            exists = QFileInfo::exists(filePath);
            readAll = readFile(filePath, bytes, reason);
            if (readAll) {
                Content content(bytes, filePath, diagnostics);
                whole = readDocument(bytes, filePath, rootName, diagnostics, content, read);
            }
        }
    } catch (const std::bad_alloc &) {
        reason = QStringLiteral("out of memory");
        readAll = false;
    }
    if (!reason.isEmpty())
        reportProblem(diagnostics, FileOperation::Load, filePath, reason);
    if (origin)
        origin->loaded(filePath, readAll ? &bytes : nullptr, exists, whole);
    return whole;
}

bool saveDocument(const char *path, const char *rootName, Diagnostics *diagnostics,
                  FileOrigin *origin, const Writer &write)
{
    const QString filePath = QString::fromUtf8(path ? path : "");
    QString reason;
    try {
        if (filePath.isEmpty()) {
            reason = QStringLiteral("no file name was given");
        } else {
            pugi::xml_document document;
            pugi::xml_node declaration = document.append_child(pugi::node_declaration);
            declaration.append_attribute("version") = "1.0";
            declaration.append_attribute("encoding") = "UTF-8";
            pugi::xml_node root = document.append_child(rootName);
            root.append_attribute("version") = kFormatVersion;
            write(root);

            StringWriter text;
            document.save(text, "  ", pugi::format_indent, pugi::encoding_utf8);

            if (replaceUnchanged(filePath, text.bytes, origin, diagnostics, reason))
                return true;
        }
    } catch (const std::bad_alloc &) {
        reason = QStringLiteral("out of memory");
    }
    reportProblem(diagnostics, FileOperation::Save, filePath, reason);
    return false;
}

const char *text(const pugi::xml_node &node, const char *name)
{
    return node.attribute(name).value();
}

std::int64_t integer(const pugi::xml_node &node, const char *name, std::int64_t min,
                     std::int64_t max, std::int64_t fallback)
{
    const pugi::xml_attribute attribute = node.attribute(name);
    if (!attribute)
        return fallback;
    std::string_view value = attribute.value();
    bool negative = false;
    if (!value.empty() && value.front() == '-') {
        negative = true;
        value.remove_prefix(1);
    }
    int base = 10;
    if (value.size() > 2 && value[0] == '0' && (value[1] == 'x' || value[1] == 'X')) {
        base = 16;
        value.remove_prefix(2);
    }
    std::uint64_t magnitude = 0;
    const auto [end, error]
        = std::from_chars(value.data(), value.data() + value.size(), magnitude, base);
    const bool complete
        = !value.empty() && error == std::errc() && end == value.data() + value.size();
    // The magnitude limit keeps the negation below in range.
    if (complete && magnitude <= (std::uint64_t(1) << 62)) {
        const auto number = negative ? -static_cast<std::int64_t>(magnitude)
                                     : static_cast<std::int64_t>(magnitude);
        if (number >= min && number <= max)
            return number;
    }
    malformed(node, name, attribute.value(),
              "a whole number from " + std::to_string(min) + " to " + std::to_string(max));
}

bool boolean(const pugi::xml_node &node, const char *name, bool fallback)
{
    const pugi::xml_attribute attribute = node.attribute(name);
    if (!attribute)
        return fallback;
    const std::string_view value = attribute.value();
    if (value == "true" || value == "1")
        return true;
    if (value == "false" || value == "0")
        return false;
    malformed(node, name, attribute.value(), "true or false");
}

void setText(pugi::xml_node &node, const char *name, const std::string &value)
{
    node.append_attribute(name).set_value(value.c_str());
}

void setInteger(pugi::xml_node &node, const char *name, std::int64_t value)
{
    node.append_attribute(name).set_value(static_cast<long long>(value));
}

void setHex(pugi::xml_node &node, const char *name, std::uint32_t value)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%06X", value);
    node.append_attribute(name).set_value(buffer);
}

void setBoolean(pugi::xml_node &node, const char *name, bool value)
{
    node.append_attribute(name).set_value(value ? "true" : "false");
}

} // namespace ostrelhost::xml
