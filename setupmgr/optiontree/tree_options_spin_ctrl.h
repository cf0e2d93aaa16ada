// The up-down arrows beside an option tree's edit. They step the number in the edit (their buddy)
// within a range; using them keeps the edit open.
#pragma once

#include "tree_options_focus.h"
#include "tree_options_styles.h"

#include <QPointer>
#include <QWidget>

class QKeyEvent;
class QToolButton;

// Its companion is the edit it steps: losing the focus to it keeps the editors open.
class CTreeOptionsSpinCtrl : public setupmgr::OptionEditor<QWidget>
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit CTreeOptionsSpinCtrl(QWidget *parent = nullptr);

    virtual setupmgr::editorstyle::Style GetEditorStyle() const;
    // The range the tree gives a new spin control: 0 to 100.
    virtual void GetDefaultRange(int *lower, int *upper) const;

    // Takes the style: whether the buddy shows the position, where the arrows sit, and whether
    // the buddy's arrow keys step.
    void SetStyle(setupmgr::editorstyle::Style style);
    setupmgr::editorstyle::Style editorStyle() const { return m_style; }
    // With the right-aligned style the arrows move to the buddy's right edge, narrowing it.
    void SetBuddy(QWidget *buddy);
    QWidget *GetBuddy() const { return m_buddy; }
    void SetRange(int lower, int upper);
    void GetRange(int *lower, int *upper) const;
    // The position; read from the buddy's text when the buddy shows it.
    int GetPos() const;
    void SetPos(int position);
    // One step up (positive) or down, held in the range.
    void Step(int steps);

signals:
    void positionChanged(int position);

protected:
    // Tab follows the focus chain.
    QWidget *tabTarget() const override { return nullptr; }
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void showPosition();
    // Up and Down step when the style asks for arrow keys; true when the key was used.
    bool stepForKey(const QKeyEvent *key);

    QPointer<QWidget> m_buddy;
    QToolButton *m_up;
    QToolButton *m_down;
    setupmgr::editorstyle::Style m_style = 0;
    int m_lower = 0;
    int m_upper = 100;
    int m_position = 0;
};
