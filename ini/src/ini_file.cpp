#include <ostrelini/ini_file.h>

#include <ostrelini/file_stamp.h>

#include <QFile>
#include <QHash>
#include <QList>
#include <QSaveFile>

#include <mutex>

namespace ostrelini {

namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";

QByteArray stripBom(const QByteArray &content)
{
    return content.startsWith(kBom) ? content.mid(3) : content;
}

// One line of the file without its line end; the line end is kept separately for writing.
struct Line
{
    QByteArray text;
    QByteArray ending;
};

QList<Line> splitLines(const QByteArray &content)
{
    QList<Line> lines;
    qsizetype start = 0;
    while (start < content.size()) {
        qsizetype end = content.indexOf('\n', start);
        Line line;
        if (end < 0) {
            line.text = content.mid(start);
            start = content.size();
        } else {
            line.text = content.mid(start, end - start);
            line.ending = "\n";
            start = end + 1;
        }
        if (line.text.endsWith('\r')) {
            line.text.chop(1);
            line.ending.prepend('\r');
        }
        lines.append(line);
    }
    return lines;
}

bool isComment(const QByteArray &trimmed)
{
    return trimmed.startsWith(';') || trimmed.startsWith('#');
}

// The section name of a "[name]" line, or a null array for any other line.
QByteArray sectionName(const QByteArray &trimmed)
{
    if (!trimmed.startsWith('['))
        return {};
    qsizetype close = trimmed.indexOf(']');
    QByteArray name = trimmed.mid(1, close < 0 ? -1 : close - 1).trimmed();
    return name.isNull() ? QByteArray("") : name;
}

bool sameName(const QByteArray &text, QStringView name)
{
    return QString::fromUtf8(text).compare(name, Qt::CaseInsensitive) == 0;
}

QByteArray unquote(const QByteArray &value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'')
        && value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

} // namespace

QByteArray truncateUtf8(const QByteArray &text, int maxBytes)
{
    if (maxBytes <= 0)
        return {};
    if (text.size() <= maxBytes)
        return text;
    qsizetype length = maxBytes;
    while (length > 0 && (static_cast<unsigned char>(text.at(length)) & 0xC0) == 0x80)
        --length;
    return text.left(length);
}

IniFile::IniFile(const QByteArray &content)
    : m_content(stripBom(content))
{ }

namespace {

// The installation's few ini files are read for every path and every dialog: their content is
// kept while the file is unchanged on disk.
struct CachedFile
{
    FileStamp stamp;
    QByteArray content;
};
std::mutex g_cacheLock;
QHash<QString, CachedFile> g_cache;

} // namespace

IniFile IniFile::fromFile(const QString &path, QString *error)
{
    const FileStamp stamp = FileStamp::of(path);
    const bool exists = stamp.exists;
    if (exists) {
        std::lock_guard lock(g_cacheLock);
        const auto cached = g_cache.constFind(path);
        if (cached != g_cache.constEnd() && cached->stamp == stamp) {
            if (error)
                error->clear();
            return IniFile(cached->content);
        }
    }
    QFile file(path);
    QString reason;
    QByteArray content;
    if (!exists)
        reason = QStringLiteral("the file does not exist");
    else if (!file.open(QIODevice::ReadOnly))
        reason = file.errorString();
    else {
        content = file.readAll();
        if (file.error() != QFileDevice::NoError)
            reason = file.errorString();
    }
    if (error)
        *error = reason;
    if (!reason.isEmpty())
        return IniFile(QByteArray());
    std::lock_guard lock(g_cacheLock);
    g_cache.insert(path, {stamp, content});
    return IniFile(content);
}

bool IniFile::findValue(QStringView section, QStringView key, QByteArray *value) const
{
    bool inSection = false;
    bool sectionSeen = false;
    for (const Line &line : splitLines(m_content)) {
        const QByteArray trimmed = line.text.trimmed();
        if (trimmed.isEmpty() || isComment(trimmed))
            continue;
        const QByteArray name = sectionName(trimmed);
        if (!name.isNull()) {
            // Only the first section of that name counts, as with the private-profile reader.
            if (inSection)
                return false;
            inSection = !sectionSeen && sameName(name, section);
            sectionSeen = sectionSeen || inSection;
            continue;
        }
        if (!inSection)
            continue;
        const qsizetype equals = trimmed.indexOf('=');
        if (equals < 0)
            continue;
        if (sameName(trimmed.left(equals).trimmed(), key)) {
            *value = unquote(trimmed.mid(equals + 1).trimmed());
            return true;
        }
    }
    return false;
}

QString IniFile::readString(QStringView section, QStringView key, const QString &defaultValue,
                            int bufferSize) const
{
    QByteArray value;
    if (!findValue(section, key, &value))
        value = defaultValue.toUtf8();
    // Decoded before the cut: a byte that is not UTF-8 becomes a character of three bytes, and
    // the result must still fit the buffer.
    return QString::fromUtf8(truncateUtf8(QString::fromUtf8(value).toUtf8(), bufferSize - 1));
}

int IniFile::readInt(QStringView section, QStringView key, int defaultValue) const
{
    QByteArray value;
    if (!findValue(section, key, &value))
        return defaultValue;
    qsizetype i = 0;
    const bool negative = i < value.size() && value.at(i) == '-';
    if (negative || (i < value.size() && value.at(i) == '+'))
        ++i;
    qint64 number = 0;
    for (; i < value.size() && value.at(i) >= '0' && value.at(i) <= '9'; ++i) {
        number = number * 10 + (value.at(i) - '0');
        if (number > std::numeric_limits<int>::max())
            break;
    }
    number = negative ? -number : number;
    return static_cast<int>(std::clamp<qint64>(number, std::numeric_limits<int>::min(),
                                               std::numeric_limits<int>::max()));
}

bool IniFile::writeString(const QString &path, QStringView section, QStringView key,
                          const QString &value)
{
    QByteArray content;
    {
        QFile file(path);
        if (file.exists() && !file.open(QIODevice::ReadOnly))
            return false;
        if (file.isOpen())
            content = file.readAll();
    }
    const bool hasBom = content.startsWith(kBom);
    QList<Line> lines = splitLines(hasBom ? content.mid(3) : content);
    const QByteArray newline = content.contains("\r\n") ? "\r\n" : "\n";
    const QByteArray keyText = key.toUtf8();
    const QByteArray valueText = value.toUtf8();

    qsizetype sectionLine = -1;
    qsizetype insertAt = -1; // after the last non-blank line of the section
    qsizetype keyLine = -1;
    for (qsizetype i = 0; i < lines.size() && keyLine < 0; ++i) {
        const QByteArray trimmed = lines[i].text.trimmed();
        const QByteArray name = sectionName(trimmed);
        if (!name.isNull()) {
            if (sectionLine >= 0)
                break;
            if (sameName(name, section))
                sectionLine = insertAt = i;
            continue;
        }
        if (sectionLine < 0 || trimmed.isEmpty())
            continue;
        insertAt = i;
        const qsizetype equals = trimmed.indexOf('=');
        if (!isComment(trimmed) && equals >= 0 && sameName(trimmed.left(equals).trimmed(), key))
            keyLine = i;
    }

    if (keyLine >= 0) {
        Line &line = lines[keyLine];
        line.text = line.text.left(line.text.indexOf('=') + 1) + valueText;
    } else if (sectionLine >= 0) {
        if (lines[insertAt].ending.isEmpty())
            lines[insertAt].ending = newline;
        lines.insert(insertAt + 1, Line {keyText + '=' + valueText, newline});
    } else {
        if (!lines.isEmpty() && lines.back().ending.isEmpty())
            lines.back().ending = newline;
        if (!lines.isEmpty() && !lines.back().text.trimmed().isEmpty())
            lines.append(Line {QByteArray(), newline});
        lines.append(Line {'[' + section.toUtf8() + ']', newline});
        lines.append(Line {keyText + '=' + valueText, newline});
    }

    QByteArray out = hasBom ? QByteArray(kBom) : QByteArray();
    for (const Line &line : std::as_const(lines))
        out += line.text + line.ending;

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(out) != out.size())
        return false;
    return file.commit();
}

} // namespace ostrelini
