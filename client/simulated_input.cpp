#include "simulated_input.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace SimulatedInput {

namespace {

void sendKey(QWidget *widget, QEvent::Type type, int key, Qt::KeyboardModifiers modifiers,
             const QString &text)
{
    QKeyEvent event(type, key, modifiers, text);
    QCoreApplication::sendEvent(widget, &event);
}

void click(QWidget *widget, int key, Qt::KeyboardModifiers modifiers, const QString &text)
{
    QPointer<QWidget> target(widget);
    sendKey(widget, QEvent::KeyPress, key, modifiers, text);
    // The press may have closed the widget's dialog.
    if (target)
        sendKey(widget, QEvent::KeyRelease, key, modifiers, text);
}

// Qt gives the focus on a press only for events from the window system, so a simulated click
// does it here, by the same rule: the first widget up from the one clicked that accepts focus by
// clicking.
void focusAsOnClick(QWidget *widget)
{
    for (QWidget *each = widget; each; each = each->parentWidget()) {
        if (each->isEnabled() && (each->focusPolicy() & Qt::ClickFocus)) {
            each->setFocus(Qt::MouseFocusReason);
            return;
        }
        if (each->isWindow())
            return;
    }
}

} // namespace

void keyClick(QWidget *widget, Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    if (widget)
        click(widget, key, modifiers, QString());
}

void keyClicks(QWidget *widget, const QString &text)
{
    if (!widget)
        return;
    for (const QChar character : text) {
        // Letters report the key of their upper case, as a keyboard does.
        const int key = character.isLetter() ? character.toUpper().unicode() : character.unicode();
        click(widget, key, Qt::NoModifier, QString(character));
    }
}

void mouseClick(QWidget *widget, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                QPoint pos)
{
    if (!widget)
        return;
    if (pos.isNull())
        pos = widget->rect().center();
    QPointer<QWidget> target(widget);
    focusAsOnClick(widget);
    const QPointF local(pos);
    const QPointF global(widget->mapToGlobal(pos));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, button, button, modifiers);
    QCoreApplication::sendEvent(widget, &press);
    // The press may have closed the widget's dialog.
    if (!target)
        return;
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, button, Qt::NoButton, modifiers);
    QCoreApplication::sendEvent(widget, &release);
}

void wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace SimulatedInput
