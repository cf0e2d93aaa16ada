#include "tree_options_combo.h"

#include "common/language.h"

#include <QFontDatabase>

using namespace setupmgr::editorstyle;

namespace {
constexpr int kDropDownHeight = 100;
} // namespace

CTreeOptionsCombo::CTreeOptionsCombo(QWidget *parent)
    : OptionEditor(parent)
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
    return !window || OptionEditorLink::keepsEditFor(window);
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
