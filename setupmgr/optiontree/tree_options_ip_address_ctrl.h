// The IPv4 address editor of the option tree: four number fields from 0 to 255. Typing three
// digits or a dot moves on to the next field.
#pragma once

#include "tree_options_focus.h"
#include "tree_options_styles.h"

#include <QWidget>

#include <array>

class QLineEdit;

// Losing the focus to one of its four fields, which lie inside it, keeps the edit open.
class CTreeOptionsIPAddressCtrl : public QWidget, public setupmgr::OptionEditorLink
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit CTreeOptionsIPAddressCtrl(QWidget *parent = nullptr);

    virtual setupmgr::editorstyle::Style GetEditorStyle() const;
    // "%d.%d.%d.%d", first octet from the high byte.
    virtual QString GetDisplayText(quint32 address) const;

    void SetAddress(quint32 address);
    // The address, blank fields as 0; the number of fields that are filled.
    int GetAddress(quint32 *address) const;
    bool IsBlank() const;
    QLineEdit *field(int index) const { return m_fields.at(index); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void onFieldEdited(int index);

    std::array<QLineEdit *, 4> m_fields {};
};
