#include "string_table.h"

#include "folders.h"
#include "language.h"

#include <pugixml.hpp>

#include <string>

CStringTable::CStringTable() = default;

CStringTable::CStringTable(const QString &fileName)
{
    load(Common::getDialogLanguageFile(fileName));
}

CStringTable::~CStringTable() = default;

bool CStringTable::load(const QString &path)
{
    m_document = std::make_unique<pugi::xml_document>();
    if (Common::loadXmlFile(*m_document, path, "CStringTable::load"))
        return true;
    m_document.reset();
    return false;
}

QString CStringTable::getString(const char *category, const char *id) const
{
    if (m_document) {
        const std::string xpath = std::string("string/category[@id='") + category
            + "']/item[@id='" + id + "']";
        QString text;
        if (Common::selectText(*m_document, xpath.c_str(), "CStringTable::getString", &text))
            return text;
    }
    return QStringLiteral("undefined");
}
