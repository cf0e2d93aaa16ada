// The drop-down editors of the option tree: a plain list that the tree's user fills when it opens,
// a list of the display's font families, and a yes/no list.
#pragma once

#include "tree_options_focus.h"
#include "tree_options_styles.h"

#include <QComboBox>

class CTreeOptionsCombo : public setupmgr::OptionEditor<QComboBox>
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit CTreeOptionsCombo(QWidget *parent = nullptr);

    virtual setupmgr::editorstyle::Style GetEditorStyle() const;
    // The height of the editor with its list dropped down.
    virtual int GetDropDownHeight() const;

    // Takes the style: a list to choose from or an editable field, sorted or not.
    void SetStyle(setupmgr::editorstyle::Style style);
    setupmgr::editorstyle::Style editorStyle() const { return m_style; }
    // Adds an entry, in order when the list is sorted; its position.
    int AddString(const QString &text);
    // Selects the first entry that starts with text, ignoring case; -1 when none does.
    int SelectString(const QString &text);

    // Its own list, the "..." button or spin control beside it, and the focus leaving the
    // application keep the edit open.
    bool keepsEditFor(const QWidget *window) const override;

private:
    setupmgr::editorstyle::Style m_style = 0;
};

// The font families of the display, sorted.
class CTreeOptionsFontNameCombo : public CTreeOptionsCombo
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit CTreeOptionsFontNameCombo(QWidget *parent = nullptr);

    setupmgr::editorstyle::Style GetEditorStyle() const override;
};

// The language's "yes" and "no".
class CTreeOptionsBooleanCombo : public CTreeOptionsCombo
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit CTreeOptionsBooleanCombo(QWidget *parent = nullptr);
};
