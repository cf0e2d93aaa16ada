// What each edit of a dialog showed of its record when the dialog opened. A field the user did
// not change is stored back byte for byte: its shown text went through decoding (bytes that are
// not UTF-8 show as U+FFFD) and the edit's byte limit, and would not come back the same.
#pragma once

#include "common/text_field.h"

#include <QHash>
#include <QLineEdit>

namespace setupmgr {

class FieldEdits
{
public:
    // Shows the field's text in the edit and remembers what it shows.
    template <std::size_t N>
    void load(QLineEdit *edit, const char (&field)[N])
    {
        load(edit, fieldString(field));
    }
    void load(QLineEdit *edit, const QString &text)
    {
        edit->setText(text);
        m_shown.insert(edit, edit->text());
    }

    // Whether the user changed the edit since it was loaded; an edit never loaded (a new
    // record's) counts as changed.
    bool changed(const QLineEdit *edit) const
    {
        const auto shown = m_shown.constFind(edit);
        return shown == m_shown.constEnd() || *shown != edit->text();
    }

private:
    QHash<const QLineEdit *, QString> m_shown;
};

} // namespace setupmgr
