#include "tree_options_date_ctrl.h"

#include "tree_options_ctrl.h"
#include "tree_options_focus.h"

#include <QFocusEvent>
#include <QLocale>
#include <QRegularExpression>

using namespace setupmgr::editorstyle;

namespace {

// A row shows at most this many characters of a date or time.
constexpr int kMaxDisplay = 100;

QString shortDateFormat()
{
    return QLocale().dateFormat(QLocale::ShortFormat);
}

// The locale's full time, with seconds but without the time zone.
QString timeFormat()
{
    static const QRegularExpression zone(QStringLiteral("\\s*t+"));
    return QLocale().timeFormat(QLocale::LongFormat).remove(zone).trimmed();
}

} // namespace

CTreeOptionsDateCtrl::CTreeOptionsDateCtrl(QWidget *parent)
    : QDateTimeEdit(parent)
{
    SetStyle(kChild | kVisible);
}

Style CTreeOptionsDateCtrl::GetEditorStyle() const
{
    return kChild | kVisible;
}

QString CTreeOptionsDateCtrl::GetDisplayText(const QDateTime &value) const
{
    return QLocale().toString(value.date(), shortDateFormat()).left(kMaxDisplay);
}

void CTreeOptionsDateCtrl::SetStyle(Style style)
{
    if (has(style, kDateTimeFormat)) {
        setDisplayFormat(timeFormat());
        setCalendarPopup(false);
    } else {
        setDisplayFormat(shortDateFormat());
        setCalendarPopup(!has(style, kDateUpDown));
    }
}

void CTreeOptionsDateCtrl::SetTime(const QDateTime &value)
{
    setDateTime(value.isValid() ? value : QDateTime::currentDateTime());
}

bool CTreeOptionsDateCtrl::GetTime(QDateTime *value) const
{
    const QDateTime picked = dateTime();
    if (!picked.isValid())
        return false;
    if (value)
        *value = picked;
    return true;
}

bool CTreeOptionsDateCtrl::keepsEditFor(const QWidget *window) const
{
    // The calendar is a pop-up window owned by the picker.
    return setupmgr::isInside(window, this);
}

bool CTreeOptionsDateCtrl::event(QEvent *event)
{
    if (m_tree && setupmgr::isTabPress(event)) {
        m_tree->setFocus(Qt::TabFocusReason);
        return true;
    }
    return QDateTimeEdit::event(event);
}

void CTreeOptionsDateCtrl::focusOutEvent(QFocusEvent *event)
{
    QWidget *taker = setupmgr::focusTaker(event);
    QDateTimeEdit::focusOutEvent(event);
    if (m_tree && m_tree->isOpenEditor(this) && !keepsEditFor(taker))
        m_tree->CommitAndCloseEditors();
}

CTreeOptionsTimeCtrl::CTreeOptionsTimeCtrl(QWidget *parent)
    : CTreeOptionsDateCtrl(parent)
{
    SetStyle(GetEditorStyle());
}

Style CTreeOptionsTimeCtrl::GetEditorStyle() const
{
    return kChild | kVisible | kDateTimeFormat;
}

QString CTreeOptionsTimeCtrl::GetDisplayText(const QDateTime &value) const
{
    return QLocale().toString(value.time(), timeFormat()).left(kMaxDisplay);
}
