// A single-line edit that refuses forbidden characters as the user types, pastes or drops them,
// and can cap its length. The rules are EditFilter's. Text set by the program is shown as it is
// (only cut to the maximum): a stored record the user merely opens must not change, so the
// filter guards the user's input, never the record's.
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
    // Takes the text as it is, cut to the maximum length only.
    void setText(const QString &text);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    // Pastes, then removes what is refused from the pasted text, keeping the earlier selection.
    void pasteFiltered();
    // The user changed the text (typing, a drop, an input method, undo): what came in loses its
    // forbidden characters; the text around it stays as it was.
    void filterEdited(const QString &text);
    // The whole text brought to a valid one, after the set changed.
    void refilter();

    setupmgr::EditFilter m_filter;
    QString m_shown; // the text before the user's latest change
    bool m_pasting = false;
};
