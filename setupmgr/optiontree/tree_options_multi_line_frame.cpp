#include "tree_options_multi_line_frame.h"

#include "tree_options_edit.h"

#include <QPlainTextEdit>

CMultiLineEditFrameWnd::CMultiLineEditFrameWnd(QWidget *owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint)
    , m_text(new QPlainTextEdit(this))
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    // Focus given to the frame goes to its text.
    setFocusProxy(m_text);
    m_text->installEventFilter(this);
}

void CMultiLineEditFrameWnd::setEdit(CTreeOptionsEdit *edit, const QString &text)
{
    m_edit = edit;
    if (edit) {
        edit->setParent(this);
        edit->hide();
    }
    m_text->setPlainText(text);
}

CTreeOptionsEdit *CMultiLineEditFrameWnd::edit() const
{
    return m_edit;
}

QString CMultiLineEditFrameWnd::text() const
{
    return m_text->toPlainText();
}

void CMultiLineEditFrameWnd::resizeEvent(QResizeEvent *event)
{
    // The text fills the frame, at whatever size the row's edit class asked for.
    QWidget::resizeEvent(event);
    m_text->setGeometry(rect());
}

bool CMultiLineEditFrameWnd::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_text && m_edit) {
        // The edit object decides for the text it stands for.
        if (m_edit->fieldEvent(event))
            return true;
    }
    return QWidget::eventFilter(watched, event);
}
