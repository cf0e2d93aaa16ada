// The key and text handling of CFilterEdit: refuses the characters of a forbidden set however
// text arrives, and can cap the text at a number of characters.
#pragma once

#include <QString>

class CFilterEdit;
class QKeyEvent;

class CFilterEditBehavior
{
public:
    // maxLength 0: no maximum; an empty set refuses nothing.
    CFilterEditBehavior(CFilterEdit *owner, int maxLength, const QString &forbiddenChars);
    virtual ~CFilterEditBehavior() = default;
    CFilterEditBehavior(const CFilterEditBehavior &) = delete;
    CFilterEditBehavior &operator=(const CFilterEditBehavior &) = delete;

    // The shown text cut to the maximum, then without any forbidden character.
    virtual QString GetValidText() const;
    // A typed character; true when it was dealt with here (taken, overwritten or dropped), false
    // when the control should insert it as any edit does.
    virtual bool OnChar(QChar c);
    // Keys other than characters; true when dealt with here.
    virtual bool OnKeyDown(QKeyEvent *event);
    virtual void OnKillFocus();
    // Pastes the clipboard, then removes what is refused, keeping the earlier selection.
    virtual void OnPaste();
    // Brings the shown text back to a valid one (after the set changed or the program set it).
    virtual void Refilter();
    virtual bool IsCharValid(QChar c) const;

    void SetForbiddenChars(const QString &forbiddenChars);
    QString forbiddenChars() const { return m_forbiddenChars; }
    int maxLength() const { return m_maxLength; }
    // True while a paste is under way, so the control's own re-filter waits for it.
    bool pasting() const { return m_pasting; }

private:
    CFilterEdit *m_owner;
    int m_maxLength;
    QString m_forbiddenChars;
    bool m_pasting = false;
};
