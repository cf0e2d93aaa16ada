#include "tree_options_combo.h"

#include "common/language.h"
#include "tree_options_browse_button.h"
#include "tree_options_ctrl.h"
#include "tree_options_focus.h"
#include "tree_options_spin_ctrl.h"

#include <QFocusEvent>
#include <QFontDatabase>

using namespace setupmgr::editorstyle;

namespace {
constexpr int kDropDownHeight = 100;
} // namespace

CTreeOptionsCombo::CTreeOptionsCombo(QWidget *parent)
    : QComboBox(parent)
{ }

Style CTreeOptionsCombo::GetEditorStyle() const
{
    return kChild | kVisible | kVScroll | kComboDropDownList;
}

int CTreeOptionsCombo::GetDropDownHeight() const
{
    return kDropDownHeight;
}

void CTreeOptionsCombo::SetStyle(Style style)
{
    m_style = style;
    const Style kind = style & kComboKindMask;
    setEditable(kind == kComboDropDown || kind == kComboSimple);
}

int CTreeOptionsCombo::AddString(const QString &text)
{
    int position = count();
    if (has(m_style, kComboSort)) {
        for (int i = 0; i < count(); ++i) {
            if (QString::compare(itemText(i), text, Qt::CaseInsensitive) > 0) {
                position = i;
                break;
            }
        }
    }
    insertItem(position, text);
    return position;
}

int CTreeOptionsCombo::SelectString(const QString &text)
{
    if (text.isEmpty())
        return -1;
    for (int i = 0; i < count(); ++i) {
        if (itemText(i).startsWith(text, Qt::CaseInsensitive)) {
            setCurrentIndex(i);
            return i;
        }
    }
    return -1;
}

bool CTreeOptionsCombo::keepsEditFor(const QWidget *window) const
{
    // The drop-down list is a pop-up window owned by the combo.
    if (setupmgr::isInside(window, this))
        return true;
    if (!m_tree)
        return false;
    QWidget *button = m_tree->browseButton();
    QWidget *spin = m_tree->spinControl();
    if ((button && setupmgr::isInside(window, button))
        || (spin && setupmgr::isInside(window, spin)))
        return true;
    return !window && (!button || !spin);
}

bool CTreeOptionsCombo::event(QEvent *event)
{
    if (m_tree && setupmgr::isTabPress(event)) {
        m_tree->setFocus(Qt::TabFocusReason);
        return true;
    }
    return QComboBox::event(event);
}

void CTreeOptionsCombo::focusOutEvent(QFocusEvent *event)
{
    QWidget *taker = setupmgr::focusTaker(event);
    QComboBox::focusOutEvent(event);
    if (m_tree && m_tree->isOpenEditor(this) && !keepsEditFor(taker))
        m_tree->CommitAndCloseEditors();
}

CTreeOptionsFontNameCombo::CTreeOptionsFontNameCombo(QWidget *parent)
    : CTreeOptionsCombo(parent)
{
    // The font database lists its families in order already.
    addItems(QFontDatabase::families());
}

Style CTreeOptionsFontNameCombo::GetEditorStyle() const
{
    return CTreeOptionsCombo::GetEditorStyle() | kComboSort;
}

CTreeOptionsBooleanCombo::CTreeOptionsBooleanCombo(QWidget *parent)
    : CTreeOptionsCombo(parent)
{
    addItem(Common::getString("yes"));
    addItem(Common::getString("no"));
}
