// Language lookups on arbitrary documents and keys: the input is "category\x01id\x01" followed
// by the XML text. Failures must be logged and answered, never crash.
#include "common/language.h"

#include <pugixml.hpp>

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char *>(data), size);
    const size_t first = input.find('\x01');
    const size_t second = first == std::string::npos ? first : input.find('\x01', first + 1);
    if (second == std::string::npos)
        return 0;
    const std::string category = input.substr(0, first);
    const std::string id = input.substr(first + 1, second - first - 1);
    const std::string xml = input.substr(second + 1);

    pugi::xml_document document;
    if (!Common::loadXmlBuffer(document, xml.data(), xml.size(), "fuzz"))
        return 0;
    QString text;
    Common::selectText(document, Common::sharedStringQuery(id.c_str(), category.c_str()).c_str(),
                       "fuzz", &text);
    Common::selectText(document, Common::dialogStringQuery(category.c_str(), id.c_str()).c_str(),
                       "fuzz", &text);
    return 0;
}
