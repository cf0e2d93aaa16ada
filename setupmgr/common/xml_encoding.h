// Language files written on other systems may declare a legacy encoding (euc-kr, gb2312,
// shift_jis, windows-1252, ...). The parser reads UTF-8 and the Unicode encodings it can tell by
// their byte-order mark; everything else is converted to UTF-8 here, by the encoding that the
// file's XML declaration names, before it is parsed.
#pragma once

#include "language.h"

#include <QByteArray>

namespace setupmgr {

enum class XmlEncoding {
    Utf8,   // parse the bytes as UTF-8 (converted, or UTF-8 already)
    Detect, // let the parser tell the encoding (a byte-order mark, no declaration)
    Failed, // the declared encoding is unknown or the bytes are not valid in it
};

// The encoding named by the XML declaration, or empty when there is none.
QByteArray declaredEncoding(const QByteArray &bytes);

// Brings the file's bytes into a form the parser reads: *text is the bytes to parse. On failure,
// *error describes it as a parse error (line and column of the fault in the file).
XmlEncoding decodeXml(const QByteArray &bytes, QByteArray *text, Common::XmlParseError *error);

} // namespace setupmgr
