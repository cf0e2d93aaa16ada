// The rules of the filtered edit, apart from any widget: which characters a text may hold, how
// long it may be, and what a typed character does. Tested without a window.
#pragma once

#include <QString>

namespace setupmgr {

class EditFilter
{
public:
    // maxLength 0: no maximum; an empty set refuses nothing.
    EditFilter(int maxLength, const QString &forbiddenChars);

    // The text cut to its first maxLength characters, then, from the last character to the
    // first, without any character of the forbidden set.
    QString validText(const QString &text) const;

    // The text after a change by the user: what the change brought in (the part of after between
    // what it shares with before at its start and at its end) without forbidden characters, the
    // rest as it was, then cut to maxLength. *end, when given, is where the new part ends.
    QString filterChange(const QString &before, const QString &after, int *end = nullptr) const;

    enum class Typed {
        Insert,    // the edit inserts it as any edit does
        Overwrite, // the text is full: the character replaces the one at the caret
        Refuse,    // a forbidden character: dropped with the warning beep
        Drop,      // dropped silently: read-only, or full with the caret at the end
    };
    // What a typed character does to a text of textLength characters with the caret (or the
    // selection's start) at caret.
    Typed typed(QChar c, int textLength, int caret, bool readOnly) const;

    bool forbids(QChar c) const { return m_forbiddenChars.contains(c); }
    // False when the set is unchanged.
    bool setForbiddenChars(const QString &forbiddenChars);
    QString forbiddenChars() const { return m_forbiddenChars; }
    int maxLength() const { return m_maxLength; }

private:
    int m_maxLength;
    QString m_forbiddenChars;
};

} // namespace setupmgr
