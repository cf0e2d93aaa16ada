#include "edit_filter.h"

#include <algorithm>

namespace setupmgr {

EditFilter::EditFilter(int maxLength, const QString &forbiddenChars)
    : m_maxLength(maxLength)
    , m_forbiddenChars(forbiddenChars)
{ }

QString EditFilter::validText(const QString &text) const
{
    QString valid = text;
    if (m_maxLength > 0)
        valid.truncate(m_maxLength);
    for (qsizetype i = valid.size() - 1; i >= 0; --i) {
        if (m_forbiddenChars.contains(valid.at(i)))
            valid.remove(i, 1);
    }
    return valid;
}

QString EditFilter::filterChange(const QString &before, const QString &after, int *end) const
{
    qsizetype prefix = 0;
    const qsizetype shorter = std::min(before.size(), after.size());
    while (prefix < shorter && before.at(prefix) == after.at(prefix))
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix
           && before.at(before.size() - 1 - suffix) == after.at(after.size() - 1 - suffix))
        ++suffix;
    QString inserted = after.mid(prefix, after.size() - prefix - suffix);
    inserted.removeIf([this](QChar c) { return forbids(c); });
    QString result = after.left(prefix) + inserted + after.right(suffix);
    if (m_maxLength > 0)
        result.truncate(m_maxLength);
    if (end)
        *end = int(std::min(prefix + inserted.size(), result.size()));
    return result;
}

EditFilter::Typed EditFilter::typed(QChar c, int textLength, int caret, bool readOnly) const
{
    if (readOnly)
        return Typed::Drop;
    if (forbids(c))
        return Typed::Refuse;
    if (m_maxLength > 0 && textLength == m_maxLength && c.isPrint())
        return caret >= m_maxLength ? Typed::Drop : Typed::Overwrite;
    return Typed::Insert;
}

bool EditFilter::setForbiddenChars(const QString &forbiddenChars)
{
    if (forbiddenChars == m_forbiddenChars)
        return false;
    m_forbiddenChars = forbiddenChars;
    return true;
}

} // namespace setupmgr
