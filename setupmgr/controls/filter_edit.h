// A single-line edit that never holds a forbidden character and can cap its length. The rules
// are EditFilter's; the edit only applies them to what is typed, pasted, dropped or set, and
// beeps when it refuses a typed character.
#pragma once

#include "edit_filter.h"

#include <QLineEdit>

class CFilterEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit CFilterEdit(int maxLength = 0, const QString &forbiddenChars = QString(),
                         QWidget *parent = nullptr);

    // Replaces the set; the text loses at once any character the new set forbids.
    void SetForbiddenChars(const QString &forbiddenChars);
    QString GetValidText() const { return m_filter.validText(text()); }
    // Whether a typed character may go in besides the forbidden set; every character here.
    virtual bool IsCharValid(QChar c) const;
    // Takes the text, then keeps only its valid part.
    void setText(const QString &text);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    // Pastes, then removes what is refused, keeping the earlier selection.
    void pasteFiltered();
    // Brings the shown text back to a valid one, whatever way it came in.
    void refilter();

    setupmgr::EditFilter m_filter;
    bool m_pasting = false;
};
