// The texts of one dialog, from its own language file.
#pragma once

#include <QString>

#include <memory>

namespace pugi {
class xml_document;
}

class CStringTable
{
public:
    CStringTable();
    // Loads Language/<configured code>/<fileName>; a failure is logged and leaves every lookup
    // at "undefined".
    explicit CStringTable(const QString &fileName);
    ~CStringTable();
    CStringTable(const CStringTable &) = delete;
    CStringTable &operator=(const CStringTable &) = delete;

    bool load(const QString &path);
    // The item's text, or "undefined" when the file or the item is missing. The id comes first,
    // as in every lookup of the module.
    QString getString(const char *id, const char *category) const;

private:
    std::shared_ptr<const pugi::xml_document> m_document;
};
