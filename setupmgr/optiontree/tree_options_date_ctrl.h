// The date and time pickers of the option tree. A date drops down a month calendar; a time steps
// its fields with arrows. Both show their value in the row in the user's locale.
#pragma once

#include "tree_options_focus.h"
#include "tree_options_styles.h"

#include <QDateTimeEdit>

// Losing the focus to its calendar, a pop-up it owns, keeps the edit open.
class CTreeOptionsDateCtrl : public setupmgr::OptionEditor<QDateTimeEdit>
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit CTreeOptionsDateCtrl(QWidget *parent = nullptr);

    virtual setupmgr::editorstyle::Style GetEditorStyle() const;
    // The row's display of a value: the locale's short date, at most 100 characters.
    virtual QString GetDisplayText(const QDateTime &value) const;

    // Takes the style: a time format (with arrows) or a date with a drop-down calendar.
    void SetStyle(setupmgr::editorstyle::Style style);
    // An invalid value leaves the picker at the current date and time.
    void SetTime(const QDateTime &value);
    // The picked value; false when it is not a valid one.
    bool GetTime(QDateTime *value) const;
};

class CTreeOptionsTimeCtrl : public CTreeOptionsDateCtrl
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit CTreeOptionsTimeCtrl(QWidget *parent = nullptr);

    setupmgr::editorstyle::Style GetEditorStyle() const override;
    // The locale's time, at most 100 characters.
    QString GetDisplayText(const QDateTime &value) const override;
};
