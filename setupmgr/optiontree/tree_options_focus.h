// What the option tree's editors share: the link to the tree and the row they edit, and the one
// way they all handle Tab and losing the focus. Each editor only answers which windows keep its
// edit open.
#pragma once

#include "tree_options_ctrl.h"

#include <QFocusEvent>
#include <QPointer>
#include <QWidget>

namespace setupmgr {

// The window that takes the focus away, as seen by the widget that gets this focus-out event:
// the pop-up that opened (a list, a calendar, a context menu), else the new focus widget; null
// when the focus left the application.
QWidget *focusTaker(const QFocusEvent *event);

// Whether window is container itself or lies inside it, including the pop-ups that container
// owns (a drop-down list, a calendar), which are windows of their own.
bool isInside(const QWidget *window, const QWidget *container);

// A Tab or Shift+Tab key press; editors take it before the focus chain does.
bool isTabPress(const QEvent *event);

// What every in-place editor of the option tree knows: the tree that opened it, the row it edits
// and its companion, the other window of the same edit (the spin control or "..." button beside
// an editor, or the editor such a buddy serves). The tree sets all three when it opens the
// editors; the editor owns none of them.
class OptionEditorLink
{
public:
    explicit OptionEditorLink(QWidget *editor)
        : m_editor(editor)
    { }
    virtual ~OptionEditorLink() = default;
    OptionEditorLink(const OptionEditorLink &) = delete;
    OptionEditorLink &operator=(const OptionEditorLink &) = delete;

    void setTree(CTreeOptionsCtrl *tree) { m_tree = tree; }
    CTreeOptionsCtrl *tree() const { return m_tree; }
    void setRow(QTreeWidgetItem *row) { m_row = row; }
    QTreeWidgetItem *row() const { return m_row; }
    void setCompanion(QWidget *companion) { m_companion = companion; }
    QWidget *companion() const { return m_companion; }

    // Whether losing the focus to window keeps the edit open: the editor itself (with the pop-ups
    // it owns) and its companion do.
    virtual bool keepsEditFor(const QWidget *window) const;

    // An event of one of the editor's fields (the address's numbers, a multi-line edit's text):
    // Tab and losing the focus as the editor itself handles them. True when Tab was taken.
    bool fieldEvent(QEvent *event);

protected:
    // Where Tab moves the focus: the tree; null leaves Tab to the focus chain.
    virtual QWidget *tabTarget() const;
    // Takes a Tab press to the tab target; true when it did.
    bool takeTab(const QEvent *event);
    // The focus went to taker: the tree commits and closes its editors, unless this editor is
    // closed already or keeps the edit open for that window.
    void focusLostTo(const QWidget *taker);

    QPointer<CTreeOptionsCtrl> m_tree;
    QTreeWidgetItem *m_row = nullptr;

private:
    QWidget *m_editor;
    QPointer<QWidget> m_companion;
};

// An editor widget with the shared handling of Tab and of losing the focus. The widget handles
// losing the focus first (a picker takes in what was typed), then the edit may end.
template <typename Widget>
class OptionEditor : public Widget, public OptionEditorLink
{
public:
    explicit OptionEditor(QWidget *parent)
        : Widget(parent)
        , OptionEditorLink(this)
    { }

protected:
    bool event(QEvent *event) override
    {
        if (takeTab(event))
            return true;
        if (event->type() != QEvent::FocusOut)
            return Widget::event(event);
        QWidget *taker = focusTaker(static_cast<QFocusEvent *>(event));
        const bool used = Widget::event(event);
        focusLostTo(taker);
        return used;
    }
};

} // namespace setupmgr
