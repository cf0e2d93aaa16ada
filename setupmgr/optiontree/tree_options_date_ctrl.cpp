#include "tree_options_date_ctrl.h"

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
    : OptionEditor(parent)
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
