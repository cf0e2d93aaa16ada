// The "..." button of the option tree. Beside an edit it opens a file or folder chooser; alone on a
// colour or font row it opens the colour or font chooser and writes the choice into the row.
#pragma once

#include "tree_options_combo.h"
#include "tree_options_ctrl.h"
#include "tree_options_edit.h"
#include "tree_options_multi_line_frame.h"

#include <QColor>
#include <QFont>
#include <QPointer>
#include <QPushButton>

class CTreeOptionsBrowseButton : public QPushButton, public setupmgr::OptionEditorLink
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit CTreeOptionsBrowseButton(QWidget *parent = nullptr);

    // The editor the button serves; none for a lone button.
    void setEdit(CTreeOptionsEdit *edit) { m_edit = edit; }
    CTreeOptionsEdit *edit() const { return m_edit; }
    void setCombo(CTreeOptionsCombo *combo) { m_combo = combo; }
    CTreeOptionsCombo *combo() const { return m_combo; }
    void setMultiLineFrame(CMultiLineEditFrameWnd *frame) { m_frame = frame; }
    CMultiLineEditFrameWnd *multiLineFrame() const { return m_frame; }
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
    virtual bool keepsEditFor(const QWidget *window) const;

protected:
    // Left to a derived button for rows of the custom kind.
    virtual void PickCustom();
    void focusOutEvent(QFocusEvent *event) override;

private:
    // Whether the tree still has this button open over its row.
    bool isOpen() const;
    void onClicked();
    void browseForEdit(bool folder);
    void pickColour();
    void pickFont();

    QPointer<CTreeOptionsEdit> m_edit;
    QPointer<CTreeOptionsCombo> m_combo;
    QPointer<CMultiLineEditFrameWnd> m_frame;
    QColor m_colour;
    QFont m_font;
};
