// A single-line edit that never holds a forbidden character and can cap its length.
#pragma once

#include "filter_edit_behavior.h"

#include <QLineEdit>

class CFilterEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit CFilterEdit(int maxLength = 0, const QString &forbiddenChars = QString(),
                         QWidget *parent = nullptr);

    void SetForbiddenChars(const QString &forbiddenChars);
    QString GetValidText() const { return m_behavior.GetValidText(); }
    // Whether a typed character may go in besides the forbidden set; every character here.
    virtual bool IsCharValid(QChar c) const;
    // Takes the text, then keeps only its valid part.
    void setText(const QString &text);

    CFilterEditBehavior &behavior() { return m_behavior; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    friend class CFilterEditBehavior;
    // Whatever path a text took in (drop, input method, QLineEdit::setText), it ends valid.
    void onTextChanged();

    CFilterEditBehavior m_behavior;
    bool m_refiltering = false;
};
