#include "tree_options_focus.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>

namespace setupmgr {

QWidget *focusTaker(const QFocusEvent *event)
{
    // A pop-up does not take the focus widget over; it only tells the old one.
    if (event->reason() == Qt::PopupFocusReason) {
        if (QWidget *popup = QApplication::activePopupWidget())
            return popup;
    }
    return QApplication::focusWidget();
}

bool isInside(const QWidget *window, const QWidget *container)
{
    if (!container)
        return false;
    // parentWidget() crosses into the owner of a pop-up, which isAncestorOf() does not.
    for (const QWidget *widget = window; widget; widget = widget->parentWidget()) {
        if (widget == container)
            return true;
    }
    return false;
}

bool isTabPress(const QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<const QKeyEvent *>(event);
    return (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
        && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}

bool OptionEditorLink::keepsEditFor(const QWidget *window) const
{
    return isInside(window, m_editor) || isInside(window, m_companion);
}

bool OptionEditorLink::fieldEvent(QEvent *event)
{
    if (event->type() == QEvent::FocusOut)
        focusLostTo(focusTaker(static_cast<QFocusEvent *>(event)));
    return takeTab(event);
}

QWidget *OptionEditorLink::tabTarget() const
{
    return m_tree;
}

bool OptionEditorLink::takeTab(const QEvent *event)
{
    if (!m_tree || !isTabPress(event))
        return false;
    QWidget *target = tabTarget();
    if (!target)
        return false;
    target->setFocus(Qt::TabFocusReason);
    return true;
}

void OptionEditorLink::focusLostTo(const QWidget *taker)
{
    if (m_tree && m_tree->isOpenEditor(m_editor) && !keepsEditFor(taker))
        m_tree->CommitAndCloseEditors();
}

} // namespace setupmgr
