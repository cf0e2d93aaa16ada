// A borderless tool window that floats over an option row and holds a multi-line edit, for edit
// classes whose style asks for more than one line. The row's edit object rides along inside it,
// hidden, and decides what the text looks like in the row and when losing the focus ends the
// edit.
#pragma once

#include <QPointer>
#include <QWidget>

class CTreeOptionsEdit;
class QPlainTextEdit;

class CMultiLineEditFrameWnd : public QWidget
{
    Q_OBJECT

public:
    // A window of its own that floats over the owner and goes with it.
    explicit CMultiLineEditFrameWnd(QWidget *owner);

    // The frame takes the edit object over and shows text in its multi-line field.
    void setEdit(CTreeOptionsEdit *edit, const QString &text);
    CTreeOptionsEdit *edit() const;
    QPlainTextEdit *textEdit() const { return m_text; }
    QString text() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QPlainTextEdit *m_text;
    QPointer<CTreeOptionsEdit> m_edit;
};
