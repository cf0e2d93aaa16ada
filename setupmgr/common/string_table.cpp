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
    m_document = Common::loadDialogStrings(path, "CStringTable::load");
    return m_document != nullptr;
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
