// Language strings: the shared string file of the installation's language, and the XML error
// reports written to the log.
#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace pugi {
class xml_document;
class xml_node;
} // namespace pugi

namespace Common {

// Result codes of the XML layer's failures, in the 32-bit form the log reports.
enum : std::uint32_t {
    kErrorFail = 0x80004005u,
    kErrorOutOfMemory = 0x8007000Eu,
    kErrorFileNotFound = 0x80070002u,
    kErrorAccessDenied = 0x80070005u,
    kErrorReadFault = 0x8007001Eu,
    kErrorObjectNotFound = 0x800C0006u, // a file the parser cannot find
    kXmlParseErrorBase = 0xC00CE500u,   // + the parser's status
};

struct ComError
{
    std::uint32_t code = kErrorFail;
    QString source;      // empty when unknown
    QString description; // empty when unknown
};

struct XmlParseError
{
    std::uint32_t code = 0;
    long line = 0;   // 1-based
    long column = 0; // 1-based position in the line
    QString reason;
};

// The system's message for a result code, as the COM error line prints it.
QString comErrorMessage(std::uint32_t code);
void logComError(const char *context, const ComError &error);
void logXmlParseError(const char *context, const XmlParseError &error);

// Parses text into the document; logs a parse failure under the context and returns false.
bool loadXmlBuffer(pugi::xml_document &document, const char *data, size_t size,
                   const char *context);
// Parses the file into the document, decoded by the encoding its declaration names; logs a
// parse failure, a file that cannot be read or decoded (as parse errors) under the context and
// returns false.
bool loadXmlFile(pugi::xml_document &document, const QString &path, const char *context);
// The queries of the shared string file and of a dialog's string file; keys go in unescaped.
std::string sharedStringQuery(const char *id, const char *category);
std::string dialogStringQuery(const char *category, const char *id);
// The first node selected by the XPath expression, as its text content; false when none matches
// (a malformed expression is logged under the context).
bool selectText(const pugi::xml_document &document, const char *xpath, const char *context,
                QString *text);

// The dialog string file at path, parsed once and shared while the file's stamp stays the same,
// so that a dialog opened again reads no file and an edited file is still seen; null when it
// cannot be read or parsed (logged under context each time). releaseLanguage drops them.
std::shared_ptr<const pugi::xml_document> loadDialogStrings(const QString &path,
                                                            const char *context);

// Parses the shared string file once per process. After a failed parse, lookups answer "Error"
// and the file is parsed again only when it has changed, so the failure is logged once.
bool loadLanguage();
// Drops the shared document; the next lookup loads the file again.
void releaseLanguage();
// The item of the shared string file; "Error" without a language file, empty when missing.
QString getString(const char *id, const char *category = "common");
QString getYesNo(bool yes);
// Fills the one text argument of a message format ("%s", or "%1").
QString formatMessage(const QString &format, const QString &argument);

} // namespace Common

namespace setupmgr {

// The shared text, or fallback when the language file lacks it: for the module's own messages,
// which must tell the user what is wrong even in an incomplete installation.
QString getStringOr(const char *id, const char *category, const QString &fallback);

} // namespace setupmgr
