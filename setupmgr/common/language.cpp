#include "language.h"

#include "folders.h"
#include "module_log.h"
#include "xml_encoding.h"

#include <ostrelini/file_stamp.h>

#include <QFile>
#include <QHash>

#include <pugixml.hpp>

#include <memory>
#include <string>
#include <utility>

namespace Common {

namespace {

// Keeps a whitespace-only text where it is the whole content of an item (a caption of blanks),
// without adding the blanks between elements to every node walk.
constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_ws_pcdata_single;

struct DialogStrings
{
    ostrelini::FileStamp stamp;
    std::shared_ptr<const pugi::xml_document> document;
};

struct SharedLanguage
{
    std::unique_ptr<pugi::xml_document> document;
    QString failedPath;
    ostrelini::FileStamp failedStamp;
    QHash<QString, DialogStrings> dialogs;
};

// Made on first use and deleted only by releaseLanguage: a pointer has no destructor of its own,
// so the state outlives every static object of the module, whose unloading releases it through
// ReleaseSetupManager.
SharedLanguage *g_shared = nullptr;

SharedLanguage &shared()
{
    if (!g_shared)
        g_shared = new SharedLanguage;
    return *g_shared;
}

XmlParseError parseError(const pugi::xml_parse_result &result, const char *data, size_t size)
{
    XmlParseError error;
    error.code = kXmlParseErrorBase + static_cast<std::uint32_t>(result.status);
    error.line = 1;
    size_t lineStart = 0;
    const size_t offset
        = std::min(static_cast<size_t>(std::max<ptrdiff_t>(result.offset, 0)), size);
    for (size_t i = 0; i < offset; ++i) {
        if (data[i] == '\n') {
            ++error.line;
            lineStart = i + 1;
        }
    }
    error.column = static_cast<long>(offset - lineStart) + 1;
    error.reason = QString::fromLatin1(result.description());
    return error;
}

void appendText(const pugi::xml_node &node, std::string &text)
{
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata)
            text += child.value();
        else if (child.type() == pugi::node_element)
            appendText(child, text);
    }
}

} // namespace

QString comErrorMessage(std::uint32_t code)
{
    switch (code) {
    case kErrorFail:
        return QStringLiteral("Unspecified error");
    case kErrorOutOfMemory:
        return QStringLiteral(
            "Not enough memory resources are available to complete this operation.");
    case kErrorFileNotFound:
        return QStringLiteral("The system cannot find the file specified.");
    case kErrorAccessDenied:
        return QStringLiteral("Access is denied.");
    case kErrorReadFault:
        return QStringLiteral("The system cannot read from the specified device.");
    }
    const std::uint32_t facility = (code >> 16) & 0x1FFF;
    if (facility == 4 && (code & 0xFFFF) >= 0x200)
        return QStringLiteral("IDispatch error #%1").arg((code & 0xFFFF) - 0x200);
    return QStringLiteral("Unknown error 0x%1").arg(QString::number(code, 16).toUpper());
}

void logComError(const char *context, const ComError &error)
{
    const auto orNone
        = [](const QString &text) { return text.isEmpty() ? QByteArray("(none)") : text.toUtf8(); };
    writeLog("COM Error(%s) - 0x%X, Msg: %s, Src: %s, Desc: %s", context, error.code,
             comErrorMessage(error.code).toUtf8().constData(), orNone(error.source).constData(),
             orNone(error.description).constData());
}

void logXmlParseError(const char *context, const XmlParseError &error)
{
    writeLog("XML Parsing Error(%s) - 0x%X, Pos: %ld line(s) %ld column(s), Reason: %s", context,
             error.code, error.line, error.column, error.reason.toUtf8().constData());
}

namespace {

// A file the parser cannot read is reported as the parser reports it: a parse error without a
// position, with the reason.
Common::XmlParseError unreadableFile(const QFile &file)
{
    if (file.error() == QFileDevice::OpenError && !file.exists())
        return {kErrorObjectNotFound, 0, 0,
                QStringLiteral("The system cannot locate the object specified.")};
    if (file.error() == QFileDevice::ReadError)
        return {kErrorReadFault, 0, 0, comErrorMessage(kErrorReadFault)};
    return {kErrorAccessDenied, 0, 0, comErrorMessage(kErrorAccessDenied)};
}

bool parse(pugi::xml_document &document, const char *data, size_t size, pugi::xml_encoding encoding,
           const char *context)
{
    const pugi::xml_parse_result result = document.load_buffer(data, size, kParseOptions, encoding);
    if (result.status == pugi::status_out_of_memory) {
        logComError(context, {kErrorOutOfMemory, QStringLiteral("pugixml"), QString()});
        return false;
    }
    if (!result) {
        logXmlParseError(context, parseError(result, data, size));
        return false;
    }
    return true;
}

} // namespace

bool loadXmlFile(pugi::xml_document &document, const QString &path, const char *context)
{
    QFile file(path);
    QByteArray content;
    if (file.open(QIODevice::ReadOnly))
        content = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        logXmlParseError(context, unreadableFile(file));
        return false;
    }
    QByteArray text;
    XmlParseError error;
    switch (setupmgr::decodeXml(content, &text, &error)) {
    case setupmgr::XmlEncoding::Failed:
        logXmlParseError(context, error);
        return false;
    case setupmgr::XmlEncoding::Utf8:
        return parse(document, text.constData(), size_t(text.size()), pugi::encoding_utf8, context);
    case setupmgr::XmlEncoding::Detect:
        break;
    }
    return parse(document, text.constData(), size_t(text.size()), pugi::encoding_auto, context);
}

bool loadXmlBuffer(pugi::xml_document &document, const char *data, size_t size, const char *context)
{
    return parse(document, data, size, pugi::encoding_auto, context);
}

std::string sharedStringQuery(const char *id, const char *category)
{
    return std::string("string/") + (category ? category : "common") + "/item[@id='"
        + (id ? id : "") + "']";
}

std::string dialogStringQuery(const char *category, const char *id)
{
    return std::string("string/category[@id='") + (category ? category : "") + "']/item[@id='"
        + (id ? id : "") + "']";
}

bool selectText(const pugi::xml_document &document, const char *xpath, const char *context,
                QString *text)
{
    pugi::xpath_node match;
#ifndef PUGIXML_NO_EXCEPTIONS
    try {
        match = document.select_node(xpath);
    } catch (const pugi::xpath_exception &error) {
        logComError(context,
                    {kErrorFail, QStringLiteral("pugixml"), QString::fromUtf8(error.what())});
        return false;
    } catch (const std::bad_alloc &) {
        logComError(context, {kErrorOutOfMemory, QStringLiteral("pugixml"), QString()});
        return false;
    }
#else
    match = document.select_node(xpath);
#endif
    const pugi::xml_node node = match.node();
    if (!node) {
        if (!match.attribute())
            return false;
        *text = QString::fromUtf8(match.attribute().value());
        return true;
    }
    // Most items hold one text node; walking the subtree is only for mixed content.
    const pugi::xml_node child = node.first_child();
    if (child && !child.next_sibling() && child.type() != pugi::node_element) {
        *text = QString::fromUtf8(child.value());
        return true;
    }
    std::string content;
    appendText(node, content);
    *text = QString::fromStdString(content);
    return true;
}

bool loadLanguage()
{
    SharedLanguage &language = shared();
    if (language.document)
        return true;
    const QString path = getLanguageFile("xml_string");
    if (path.isEmpty())
        return false;
    const ostrelini::FileStamp stamp = ostrelini::FileStamp::of(path);
    if (path == language.failedPath && stamp == language.failedStamp)
        return false;
    auto document = std::make_unique<pugi::xml_document>();
    if (!loadXmlFile(*document, path, "Common::loadLanguage")) {
        language.failedPath = path;
        language.failedStamp = stamp;
        return false;
    }
    language.document = std::move(document);
    language.failedPath.clear();
    return true;
}

std::shared_ptr<const pugi::xml_document> loadDialogStrings(const QString &path,
                                                            const char *context)
{
    QHash<QString, DialogStrings> &dialogs = shared().dialogs;
    const ostrelini::FileStamp stamp = ostrelini::FileStamp::of(path);
    const auto cached = dialogs.constFind(path);
    if (cached != dialogs.constEnd() && cached->stamp == stamp)
        return cached->document;
    auto document = std::make_shared<pugi::xml_document>();
    if (!loadXmlFile(*document, path, context)) {
        dialogs.remove(path);
        return nullptr;
    }
    dialogs.insert(path, {stamp, document});
    return document;
}

void releaseLanguage()
{
    delete std::exchange(g_shared, nullptr);
}

QString getString(const char *id, const char *category)
{
    if (!loadLanguage())
        return QStringLiteral("Error");
    QString text;
    selectText(*shared().document, sharedStringQuery(id, category).c_str(), "Common::getString",
               &text);
    return text;
}

QString getYesNo(bool yes)
{
    return getString(yes ? "yes" : "no", "common");
}

QString formatMessage(const QString &format, const QString &argument)
{
    QString text = format;
    qsizetype at = text.indexOf(QLatin1String("%s"));
    if (at < 0)
        at = text.indexOf(QLatin1String("%1"));
    if (at >= 0)
        text.replace(at, 2, argument);
    return text;
}

} // namespace Common

namespace setupmgr {

QString getStringOr(const char *id, const char *category, const QString &fallback)
{
    const QString text = Common::getString(id, category);
    return text.isEmpty() || text == QLatin1String("Error") ? fallback : text;
}

} // namespace setupmgr
