#include "xml_encoding.h"

#include <iconv.h>

#include <cerrno>
#include <vector>

namespace setupmgr {

namespace {

enum : std::uint32_t {
    kUnsupportedEncoding = 0xC00CE56Eu,
    kInvalidCharacter = 0xC00CE508u,
};

// Declarations written on Windows name the standard encoding while the text uses the system's
// code page, a superset of it: decoding by the superset reads every such file.
const char *converterName(const QByteArray &declared)
{
    static const struct
    {
        const char *declared;
        const char *converter;
    } kSupersets[] = {
        {"euc-kr", "CP949"}, {"ks_c_5601-1987", "CP949"}, {"ks_c_5601", "CP949"},
        {"gb2312", "GBK"},   {"shift_jis", "CP932"},      {"sjis", "CP932"},
        {"x-sjis", "CP932"}, {"big5", "CP950"},           {"windows-1252", "CP1252"},
    };
    for (const auto &superset : kSupersets) {
        if (declared.compare(superset.declared, Qt::CaseInsensitive) == 0)
            return superset.converter;
    }
    return nullptr;
}

bool isUtf8Name(const QByteArray &name)
{
    for (const char *utf8 : {"utf-8", "utf8", "us-ascii", "ascii"}) {
        if (name.compare(utf8, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool hasByteOrderMark(const QByteArray &bytes)
{
    return bytes.startsWith("\xEF\xBB\xBF") || bytes.startsWith("\xFF\xFE")
        || bytes.startsWith("\xFE\xFF");
}

// Line and column (both from 1) of a byte offset.
void locate(const QByteArray &bytes, qsizetype offset, Common::XmlParseError *error)
{
    error->line = 1;
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < offset && i < bytes.size(); ++i) {
        if (bytes.at(i) == '\n') {
            ++error->line;
            lineStart = i + 1;
        }
    }
    error->column = long(offset - lineStart) + 1;
}

// Converts to UTF-8; false with the offset of the first byte that is not valid in the encoding.
bool convert(iconv_t converter, const QByteArray &bytes, QByteArray *text, qsizetype *badOffset)
{
    char *in = const_cast<char *>(bytes.constData());
    std::size_t inLeft = std::size_t(bytes.size());
    std::vector<char> out(std::max<std::size_t>(inLeft * 2, 64));
    std::size_t used = 0;
    while (inLeft > 0) {
        char *outPointer = out.data() + used;
        std::size_t outLeft = out.size() - used;
        const std::size_t result = iconv(converter, &in, &inLeft, &outPointer, &outLeft);
        used = std::size_t(outPointer - out.data());
        if (result != std::size_t(-1))
            break;
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
            continue;
        }
        *badOffset = in - bytes.constData();
        return false;
    }
    *text = QByteArray(out.data(), qsizetype(used));
    return true;
}

} // namespace

QByteArray declaredEncoding(const QByteArray &bytes)
{
    if (!bytes.startsWith("<?xml"))
        return {};
    const qsizetype end = bytes.indexOf("?>");
    const QByteArray declaration = bytes.left(end < 0 ? 0 : end);
    qsizetype at = declaration.indexOf("encoding");
    if (at < 0)
        return {};
    at = declaration.indexOf('=', at);
    while (at >= 0 && ++at < declaration.size() && declaration.at(at) == ' ') { }
    if (at < 0 || at >= declaration.size())
        return {};
    const char quote = declaration.at(at);
    if (quote != '"' && quote != '\'')
        return {};
    const qsizetype close = declaration.indexOf(quote, at + 1);
    return close < 0 ? QByteArray() : declaration.mid(at + 1, close - at - 1).trimmed();
}

XmlEncoding decodeXml(const QByteArray &bytes, QByteArray *text, Common::XmlParseError *error)
{
    const QByteArray declared = declaredEncoding(bytes);
    if (hasByteOrderMark(bytes) || declared.isEmpty() || declared.startsWith("utf-16")
        || declared.startsWith("UTF-16")) {
        *text = bytes;
        return XmlEncoding::Detect;
    }
    if (isUtf8Name(declared)) {
        *text = bytes;
        return XmlEncoding::Utf8;
    }
    const char *superset = converterName(declared);
    iconv_t converter = iconv_open("UTF-8", superset ? superset : declared.constData());
    if (converter == iconv_t(-1)) {
        error->code = kUnsupportedEncoding;
        locate(bytes, bytes.indexOf(declared), error);
        error->reason = QStringLiteral("System does not support the specified encoding.");
        return XmlEncoding::Failed;
    }
    qsizetype badOffset = 0;
    const bool converted = convert(converter, bytes, text, &badOffset);
    iconv_close(converter);
    if (!converted) {
        error->code = kInvalidCharacter;
        locate(bytes, badOffset, error);
        error->reason = QStringLiteral("An invalid character was found in text content.");
        return XmlEncoding::Failed;
    }
    return XmlEncoding::Utf8;
}

} // namespace setupmgr
