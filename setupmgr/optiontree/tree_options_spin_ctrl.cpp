#include "tree_options_spin_ctrl.h"

#include "tree_options_accessible.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QStyle>
#include <QToolButton>

using namespace setupmgr::editorstyle;

CTreeOptionsSpinCtrl::CTreeOptionsSpinCtrl(QWidget *parent)
    : OptionEditor(parent)
    , m_up(new QToolButton(this))
    , m_down(new QToolButton(this))
{
    // A click on the arrows takes the focus, so that the edit can tell the arrows are its own.
    setFocusPolicy(Qt::ClickFocus);
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    m_up->setObjectName(QStringLiteral("spinUp"));
    m_down->setObjectName(QStringLiteral("spinDown"));
    m_up->setAccessibleName(QStringLiteral("Up"));
    m_down->setAccessibleName(QStringLiteral("Down"));
    for (QToolButton *arrow : {m_up, m_down}) {
        arrow->setAutoRepeat(true);
        arrow->setFocusPolicy(Qt::NoFocus);
        arrow->setAutoRaise(false);
    }
    connect(m_up, &QToolButton::clicked, this, [this] { Step(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { Step(-1); });
    setupmgr::installTreeOptionsAccessibility();
}

Style CTreeOptionsSpinCtrl::GetEditorStyle() const
{
    return kChild | kVisible | kSpinSetBuddyInt | kSpinAlignRight | kSpinArrowKeys
        | kSpinNoThousands;
}

void CTreeOptionsSpinCtrl::GetDefaultRange(int *lower, int *upper) const
{
    if (lower)
        *lower = 0;
    if (upper)
        *upper = 100;
}

void CTreeOptionsSpinCtrl::SetStyle(Style style)
{
    m_style = style;
}

void CTreeOptionsSpinCtrl::SetBuddy(QWidget *buddy)
{
    if (m_buddy)
        m_buddy->removeEventFilter(this);
    m_buddy = buddy;
    if (!buddy)
        return;
    // Its arrow keys step when the style asks for them.
    buddy->installEventFilter(this);
    if (has(m_style, kSpinAlignRight) && buddy->parentWidget() == parentWidget()) {
        // At the buddy's right edge, inside it: the buddy gives up the width of the arrows.
        const int arrows = width() > 0
            ? width()
            : style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
        const QRect area = buddy->geometry();
        buddy->setGeometry(area.adjusted(0, 0, -arrows, 0));
        setGeometry(area.right() + 1 - arrows, area.top(), arrows, area.height());
    }
}

void CTreeOptionsSpinCtrl::SetRange(int lower, int upper)
{
    m_lower = lower;
    m_upper = upper;
}

void CTreeOptionsSpinCtrl::GetRange(int *lower, int *upper) const
{
    if (lower)
        *lower = m_lower;
    if (upper)
        *upper = m_upper;
}

int CTreeOptionsSpinCtrl::GetPos() const
{
    if (has(m_style, kSpinSetBuddyInt)) {
        if (const auto *line = qobject_cast<const QLineEdit *>(m_buddy.data())) {
            QString text = line->text().trimmed();
            text.remove(QLocale().groupSeparator());
            bool number = false;
            const int value = text.toInt(&number);
            if (number)
                return value;
        }
    }
    return m_position;
}

void CTreeOptionsSpinCtrl::SetPos(int position)
{
    m_position = qBound(qMin(m_lower, m_upper), position, qMax(m_lower, m_upper));
    showPosition();
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(this, m_position);
        QAccessible::updateAccessibility(&event);
    }
}

void CTreeOptionsSpinCtrl::Step(int steps)
{
    // The range may run downwards; the up arrow always moves towards its upper end.
    const int direction = m_upper >= m_lower ? 1 : -1;
    SetPos(GetPos() + direction * steps);
    emit positionChanged(m_position);
}

void CTreeOptionsSpinCtrl::showPosition()
{
    if (!has(m_style, kSpinSetBuddyInt))
        return;
    if (auto *line = qobject_cast<QLineEdit *>(m_buddy.data())) {
        line->setText(has(m_style, kSpinNoThousands) ? QString::number(m_position)
                                                     : QLocale().toString(m_position));
    }
}

bool CTreeOptionsSpinCtrl::stepForKey(const QKeyEvent *key)
{
    if (!has(m_style, kSpinArrowKeys) || (key->key() != Qt::Key_Up && key->key() != Qt::Key_Down))
        return false;
    Step(key->key() == Qt::Key_Up ? 1 : -1);
    return true;
}

void CTreeOptionsSpinCtrl::keyPressEvent(QKeyEvent *event)
{
    // Unused, the key would travel on to the tree, which moves its selection and ends the edit.
    if (stepForKey(event)) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool CTreeOptionsSpinCtrl::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_buddy && event->type() == QEvent::KeyPress
        && stepForKey(static_cast<QKeyEvent *>(event)))
        return true;
    return QWidget::eventFilter(watched, event);
}

void CTreeOptionsSpinCtrl::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int upper = height() / 2;
    m_up->setGeometry(0, 0, width(), upper);
    m_down->setGeometry(0, upper, width(), height() - upper);
}
