// Text in the fixed-size fields of the records shared with the host. A field is read only up to
// its end, since a host may fill it to the last byte without a terminating zero.
#pragma once

#include <ostrel/records.h>

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstring>

namespace setupmgr {

// The field's bytes up to the first zero or the field's end.
template <std::size_t N>
QByteArray fieldBytes(const char (&field)[N])
{
    const void *zero = std::memchr(field, 0, N);
    return QByteArray(field, zero ? static_cast<const char *>(zero) - field : qsizetype(N));
}

template <std::size_t N>
QString fieldString(const char (&field)[N])
{
    return QString::fromUtf8(fieldBytes(field));
}

// Whether the field holds exactly text (compared byte for byte, within the field).
template <std::size_t N>
bool fieldEquals(const char (&field)[N], const char *text)
{
    return text && strnlen(text, N + 1) <= N && std::strncmp(field, text, N) == 0;
}

// Stores text in the field, cut to the field at a character boundary; a blank that the cut
// leaves at the end is dropped, so two texts that look alike are stored alike.
template <std::size_t N>
void setField(char (&field)[N], const QString &text)
{
    QByteArray bytes = text.toUtf8();
    if (bytes.size() > qsizetype(N - 1)) {
        qsizetype length = N - 1;
        while (length > 0 && (static_cast<unsigned char>(bytes.at(length)) & 0xC0) == 0x80)
            --length;
        bytes.truncate(length);
        while (bytes.endsWith(' '))
            bytes.chop(1);
    }
    copyField(field, bytes.constData());
}

// The bytes a field of N bytes stores for text (setField's cut), so that checks judge what is
// stored rather than what was typed.
template <std::size_t N>
QByteArray storedBytes(const QString &text)
{
    char field[N];
    setField(field, text);
    return fieldBytes(field);
}

// Copies bytes into the field as they are: bytes that fill it exactly are kept without a
// terminating zero (fieldBytes reads such a field to its end); longer ones are cut at a character
// boundary. Shows what a host's full field holds, where setField keeps room for the zero.
template <std::size_t N>
void setFieldBytes(char (&field)[N], const QByteArray &bytes)
{
    qsizetype length = bytes.size();
    if (length > qsizetype(N)) {
        length = N;
        while (length > 0 && (static_cast<unsigned char>(bytes.at(length)) & 0xC0) == 0x80)
            --length;
    }
    std::memcpy(field, bytes.constData(), std::size_t(length));
    std::memset(field + length, 0, N - std::size_t(length));
}

} // namespace setupmgr
