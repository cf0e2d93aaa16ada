// The "..." button of the option tree. Beside an edit it opens a file or folder chooser; alone on a
// colour or font row it opens the colour or font chooser and writes the choice into the row.
#pragma once

#include "tree_options_focus.h"

#include <QColor>
#include <QFont>
#include <QPushButton>

class CTreeOptionsEdit;

// Its companion is the editor it serves (an edit, a drop-down or a multi-line frame); a lone
// button serves none.
class CTreeOptionsBrowseButton : public setupmgr::OptionEditor<QPushButton>
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit CTreeOptionsBrowseButton(QWidget *parent = nullptr);

    // The value of a colour or font row while the button is open.
    void SetColor(const QColor &colour) { m_colour = colour; }
    QColor GetColor() const { return m_colour; }
    void SetFontValue(const QFont &font) { m_font = font; }
    QFont GetFontValue() const { return m_font; }

    virtual QString GetCaption() const;
    // The text width of four blanks and "..." in the tree's font; 20 without a tree.
    virtual int GetButtonWidth() const;

    // A lone button keeps the edit open for anything; beside an editor, for that editor and
    // while its chooser runs.
    bool keepsEditFor(const QWidget *window) const override;

protected:
    // Left to a derived button for rows of the custom kind.
    virtual void PickCustom();
    // Tab follows the focus chain.
    QWidget *tabTarget() const override { return nullptr; }

private:
    // Whether the tree still has this button open over its row.
    bool isOpen() const;
    // The single-line edit the button serves; null beside another editor.
    CTreeOptionsEdit *servedEdit() const;
    void onClicked();
    void browseForEdit(bool folder);
    void pickColour();
    void pickFont();

    QColor m_colour;
    QFont m_font;
};
