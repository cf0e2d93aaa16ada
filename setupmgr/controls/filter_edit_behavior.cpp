#include "filter_edit_behavior.h"

#include "beep.h"
#include "filter_edit.h"

CFilterEditBehavior::CFilterEditBehavior(CFilterEdit *owner, int maxLength,
                                         const QString &forbiddenChars)
    : m_owner(owner)
    , m_maxLength(maxLength)
    , m_forbiddenChars(forbiddenChars)
{ }

QString CFilterEditBehavior::GetValidText() const
{
    QString text = m_owner->text();
    if (m_maxLength > 0)
        text.truncate(m_maxLength);
    for (qsizetype i = text.size() - 1; i >= 0; --i) {
        if (m_forbiddenChars.contains(text.at(i)))
            text.remove(i, 1);
    }
    return text;
}

bool CFilterEditBehavior::OnChar(QChar c)
{
    if (m_owner->isReadOnly())
        return true;
    if (!m_forbiddenChars.isEmpty() && m_forbiddenChars.contains(c)) {
        setupmgr::beep();
        return true;
    }
    if (m_maxLength > 0 && m_owner->text().size() == m_maxLength && c.isPrint()) {
        const int caret
            = m_owner->hasSelectedText() ? m_owner->selectionStart() : m_owner->cursorPosition();
        if (caret >= m_maxLength)
            return true;
        // A full text takes the character in place of the one at the caret (undoable).
        if (IsCharValid(c)) {
            m_owner->setSelection(caret, 1);
            m_owner->insert(QString(c));
        }
        return true;
    }
    return !IsCharValid(c);
}

bool CFilterEditBehavior::OnKeyDown(QKeyEvent *)
{
    return false;
}

void CFilterEditBehavior::OnKillFocus() { }

void CFilterEditBehavior::OnPaste()
{
    if (m_owner->isReadOnly())
        return;
    const bool hadSelection = m_owner->hasSelectedText();
    const int start = hadSelection ? m_owner->selectionStart() : m_owner->cursorPosition();
    const int length = hadSelection ? static_cast<int>(m_owner->selectedText().size()) : 0;
    m_pasting = true;
    m_owner->paste();
    const QString valid = GetValidText();
    if (valid != m_owner->text()) {
        m_owner->QLineEdit::setText(valid);
        if (length > 0)
            m_owner->setSelection(start, length);
        else
            m_owner->setCursorPosition(start);
    }
    m_pasting = false;
}

void CFilterEditBehavior::Refilter()
{
    const QString valid = GetValidText();
    if (valid != m_owner->text())
        m_owner->QLineEdit::setText(valid);
}

bool CFilterEditBehavior::IsCharValid(QChar c) const
{
    return m_owner->IsCharValid(c);
}

void CFilterEditBehavior::SetForbiddenChars(const QString &forbiddenChars)
{
    if (forbiddenChars == m_forbiddenChars)
        return;
    m_forbiddenChars = forbiddenChars;
    Refilter();
}
