// One entry per kind of in-place editor of the option tree: how the tree makes the editor for a
// row, lays it over the row, takes its value back and closes it. The tree looks the entry up by
// the class a row names, and keeps one set of open editors whatever their kinds.
#pragma once

#include "tree_options_ctrl.h"

namespace setupmgr {

class OptionEditorLink;

// Where a row's editors go, in the tree viewport's coordinates.
struct EditorPlace
{
    QRect row;    // the row, across the viewport
    QRect label;  // its label
    QRect editor; // where the editor went, once it is placed
};

class OptionEditorKind
{
public:
    // The entry of a row's editor class, tried in this order: drop-down, edit, date or time
    // picker, address, "..." button; null for a class of none of these families.
    static const OptionEditorKind *editorFor(const QMetaObject *editorClass);
    // The entry of the class beside the editor: the spin control's, else the "..." button's.
    static const OptionEditorKind *buddyFor(const QMetaObject *buddyClass);
    static const OptionEditorKind &spin();
    static const OptionEditorKind &button();

    virtual ~OptionEditorKind() = default;
    OptionEditorKind(const OptionEditorKind &) = delete;
    OptionEditorKind &operator=(const OptionEditorKind &) = delete;

    // Whether the class belongs to this kind's family.
    bool accepts(const QMetaObject *editorClass) const;
    // Whether the editor shows the row's value itself: the row then shows its label alone, and
    // the editor takes the focus when the tree hands it on. A "..." button or a spin
    // control does neither.
    virtual bool editsInPlace() const { return true; }

    // A new, hidden editor of the class for the open row, linked to the tree and the row; it
    // takes from the row what it starts with. Null when the class cannot be made.
    QWidget *create(CTreeOptionsCtrl *tree, const QMetaObject *editorClass,
                    OpenEditors &open) const;
    // Shows the open editor of this kind over the row and notes in at.editor where it went. The
    // window that stands for the editor (a multi-line edit's frame); null when the user's
    // callback closed the editors meanwhile.
    virtual QWidget *place(CTreeOptionsCtrl *tree, OpenEditors &open, EditorPlace &at) const = 0;
    // Writes the editor's value into the row.
    virtual void commit(CTreeOptionsCtrl *tree, const OpenEditors &open) const;
    // Closes the editor window; it is deleted at the next turn of the event loop.
    virtual void close(CTreeOptionsCtrl *tree, QTreeWidgetItem *row, QWidget *editor) const;
    // The editor's link to its tree and row.
    virtual OptionEditorLink *link(QWidget *editor) const;

protected:
    explicit OptionEditorKind(const QMetaObject &family)
        : m_family(family)
    { }

    // What a new editor takes from the row as it opens, before the row loses its value text.
    virtual void take(CTreeOptionsCtrl *tree, QWidget *editor, OpenEditors &open) const;
    // Where an editor beside the label ends: at the row's end, or before the "..." button
    // beside it.
    static int rightEdge(const OpenEditors &open, const EditorPlace &at);
    // Geometry, control id, object name, the row's label as accessible name, the tree's font;
    // then shown.
    static void show(CTreeOptionsCtrl *tree, QWidget *editor, const QRect &rect, int controlId,
                     const char *objectName);
    // The buddy and the editor it serves learn of each other: losing the focus to one keeps the
    // other open.
    static void pair(const OpenEditors &open);
    static void notify(CTreeOptionsCtrl *tree, EditorNotifyCode code, QTreeWidgetItem *row,
                       QWidget *first, QWidget *second);

private:
    const QMetaObject &m_family;
};

} // namespace setupmgr
