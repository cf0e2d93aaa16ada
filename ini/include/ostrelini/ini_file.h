// Reading and writing ini files with the rules of the private-profile functions that the
// installation's files were written for: sections and keys match without regard to case, the
// first match wins, values are trimmed and lose one pair of enclosing quotes, results are cut to
// the caller's buffer length, and a write changes one value and keeps the rest of the file.
//
// Why our own parser rather than a general ini library such as SimpleIni: those libraries let the
// last of two duplicate keys win, merge sections that appear twice, and rewrite the whole file in
// their own layout when they save. The installation's files need the opposite on each point (the
// first key and the first section win, and a write must leave comments, order, line endings and
// the byte-order mark as they were), so wrapping one would mean working around it everywhere.
#pragma once

#include <QByteArray>
#include <QString>

namespace ostrelini {

class IniFile
{
public:
    // Parses text as read from a file (UTF-8, optional byte-order mark, CRLF or LF).
    explicit IniFile(const QByteArray &content);
    // The file's content; a file that cannot be read reads as empty, and error (when given)
    // receives the reason, or is cleared when the file was read.
    static IniFile fromFile(const QString &path, QString *error = nullptr);

    // The value of the key, or defaultValue when the section or key is missing; cut to at most
    // bufferSize - 1 bytes, at a character boundary, as a buffer of bufferSize would hold it.
    QString readString(QStringView section, QStringView key, const QString &defaultValue,
                       int bufferSize) const;
    // The leading decimal number of the value (0 when there is none), or defaultValue when the
    // section or key is missing.
    int readInt(QStringView section, QStringView key, int defaultValue) const;

    // Sets one value and keeps every other line, comment and line ending; the file is replaced
    // atomically. Creates the file or the section when missing.
    static bool writeString(const QString &path, QStringView section, QStringView key,
                            const QString &value);

    static QString readString(const QString &path, QStringView section, QStringView key,
                              const QString &defaultValue, int bufferSize)
    {
        return fromFile(path).readString(section, key, defaultValue, bufferSize);
    }
    static int readInt(const QString &path, QStringView section, QStringView key, int defaultValue)
    {
        return fromFile(path).readInt(section, key, defaultValue);
    }

private:
    // Finds the raw value of the key in the first matching section; false when missing.
    bool findValue(QStringView section, QStringView key, QByteArray *value) const;

    QByteArray m_content;
};

// Cuts UTF-8 text to at most maxBytes bytes without splitting a character.
QByteArray truncateUtf8(const QByteArray &text, int maxBytes);

} // namespace ostrelini
