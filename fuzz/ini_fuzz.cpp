// The ini reader on arbitrary file contents. The first line of the input names the section
// and the key to look up ("section\x01key"), the rest is the file.
#include <ostrelini/ini_file.h>

#include <QList>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const qsizetype newline = input.indexOf('\n');
    const QByteArray names = newline < 0 ? QByteArray() : input.left(newline);
    const QList<QByteArray> parts = names.split('\x01');
    const QString section = QString::fromUtf8(parts.value(0));
    const QString key = QString::fromUtf8(parts.value(1));

    const ostrelini::IniFile ini(newline < 0 ? input : input.mid(newline + 1));
    const int bufferSize = 1 + (size % 300);
    const QString value = ini.readString(section, key, QStringLiteral("default"), bufferSize);
    if (value.toUtf8().size() > bufferSize - 1)
        __builtin_trap(); // a value must fit its buffer
    ini.readInt(section, key, 0);
    ini.readString(u"PATH", u"xml_string", QString(), 260);
    return 0;
}
