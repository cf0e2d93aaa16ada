#include "string_table.h"

#include "folders.h"
#include "language.h"

#include <pugixml.hpp>

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

QString CStringTable::getString(const char *id, const char *category) const
{
    if (m_document) {
        QString text;
        if (Common::selectText(*m_document, Common::dialogStringQuery(category, id).c_str(),
                               "CStringTable::getString", &text))
            return text;
    }
    return QStringLiteral("undefined");
}
