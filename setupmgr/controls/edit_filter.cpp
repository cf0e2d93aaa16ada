#include "edit_filter.h"

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
