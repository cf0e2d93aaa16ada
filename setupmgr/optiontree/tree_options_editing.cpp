// The life of the option tree's in-place editors: opening them over a row, taking their value
// back into the row, and closing them. What differs by kind is the kind's entry's.
#include "tree_options_ctrl.h"

#include "common/check.h"
#include "tree_options_browse_button.h"
#include "tree_options_combo.h"
#include "tree_options_date_ctrl.h"
#include "tree_options_edit.h"
#include "tree_options_editor_kind.h"
#include "tree_options_focus.h"
#include "tree_options_ip_address_ctrl.h"
#include "tree_options_multi_line_frame.h"
#include "tree_options_spin_ctrl.h"

#include <QApplication>
#include <QScopedValueRollback>

#include <utility>

using setupmgr::EditorPlace;
using setupmgr::OptionEditorKind;

CTreeOptionsCombo *CTreeOptionsCtrl::comboEditor() const
{
    return qobject_cast<CTreeOptionsCombo *>(m_editors.editor);
}

CTreeOptionsEdit *CTreeOptionsCtrl::editEditor() const
{
    return qobject_cast<CTreeOptionsEdit *>(m_editors.editor);
}

CMultiLineEditFrameWnd *CTreeOptionsCtrl::multiLineFrame() const
{
    return qobject_cast<CMultiLineEditFrameWnd *>(m_editors.editor);
}

CTreeOptionsSpinCtrl *CTreeOptionsCtrl::spinControl() const
{
    return qobject_cast<CTreeOptionsSpinCtrl *>(m_editors.buddy);
}

CTreeOptionsBrowseButton *CTreeOptionsCtrl::browseButton() const
{
    // Alone on its row, or beside the editor.
    if (auto *button = qobject_cast<CTreeOptionsBrowseButton *>(m_editors.editor))
        return button;
    return qobject_cast<CTreeOptionsBrowseButton *>(m_editors.buddy);
}

CTreeOptionsDateCtrl *CTreeOptionsCtrl::dateTimeEditor() const
{
    return qobject_cast<CTreeOptionsDateCtrl *>(m_editors.editor);
}

CTreeOptionsIPAddressCtrl *CTreeOptionsCtrl::addressEditor() const
{
    return qobject_cast<CTreeOptionsIPAddressCtrl *>(m_editors.editor);
}

void CTreeOptionsCtrl::CreateEditors(QTreeWidgetItem *row)
{
    OptionItemData *record = GetItemRecord(row);
    // A row of another tree would go without this tree hearing of it.
    const bool ownRow = record && row->treeWidget() == this;
    OSTREL_CHECK(ownRow);
    if (editorsOpen())
        DestroyEditors();
    // Scrolling the row into view may expand its parents; that must not close what opens here.
    const QScopedValueRollback opening(m_opening, true);
    m_editors.row = row;
    createEditorObjects(*record);
    EditorPlace at = editorPlace(row);
    if (placeEditor(at))
        createBuddy(*record, at);
}

void CTreeOptionsCtrl::createEditorObjects(const OptionItemData &record)
{
    m_editors.kind = OptionEditorKind::editorFor(record.editorClass);
    if (m_editors.kind)
        m_editors.editor = m_editors.kind->create(this, record.editorClass, m_editors);
    // A lone "..." button is the row's one button.
    m_editors.buddyKind = OptionEditorKind::buddyFor(record.buddyClass);
    if (m_editors.buddyKind == &OptionEditorKind::button() && browseButton())
        m_editors.buddyKind = nullptr;
    if (m_editors.buddyKind)
        m_editors.buddy = m_editors.buddyKind->create(this, record.buddyClass, m_editors);
}

EditorPlace CTreeOptionsCtrl::editorPlace(QTreeWidgetItem *row)
{
    QRect label = labelRect(row);
    if (!label.isValid() || label.bottom() > viewport()->rect().bottom()) {
        scrollToItem(row);
        label = labelRect(row);
    }
    const QRect cell = visualItemRect(row);
    return {QRect(0, cell.top(), viewport()->width(), cell.height()), label, QRect()};
}

bool CTreeOptionsCtrl::placeEditor(EditorPlace &at)
{
    // The lone "..." button goes where a buddy button would.
    if (!m_editors.editor || m_editors.kind == &OptionEditorKind::button())
        return true;
    QWidget *editor = m_editors.kind->place(this, m_editors, at);
    if (!editor)
        return false;
    m_editors.editor = editor;
    if (m_focusOnOpen)
        editor->setFocus(Qt::OtherFocusReason);
    return true;
}

void CTreeOptionsCtrl::createBuddy(const OptionItemData &record, const EditorPlace &at)
{
    if (spinControl()) {
        CreateSpinCtrl(record.buddyClass, at.row, at.label, at.editor);
        notify(EditorNotifyCode::EditorCreated, m_editors.row, editEditor(), spinControl());
    } else if (m_editors.buddy) {
        CreateBrowseButton(record.buddyClass, at.row, at.label);
    } else if (m_editors.kind == &OptionEditorKind::button()) {
        CreateBrowseButton(record.editorClass, at.row, at.label);
    }
}

void CTreeOptionsCtrl::CreateSpinCtrl(const QMetaObject *spinClass, const QRect &rowRect,
                                      const QRect &labelRect, const QRect &editorRect)
{
    const OptionEditorKind &spin = OptionEditorKind::spin();
    if (!spin.accepts(spinClass) || !m_editors.row || (m_editors.buddy && !spinControl()))
        return;
    m_editors.buddyKind = &spin;
    if (!m_editors.buddy && !(m_editors.buddy = spin.create(this, spinClass, m_editors)))
        return;
    EditorPlace at {rowRect, labelRect, editorRect};
    spin.place(this, m_editors, at);
}

void CTreeOptionsCtrl::CreateBrowseButton(const QMetaObject *buttonClass, const QRect &rowRect,
                                          const QRect &labelRect)
{
    const OptionEditorKind &button = OptionEditorKind::button();
    if (!button.accepts(buttonClass) || !m_editors.row)
        return;
    if (!browseButton()) {
        // Beside the editor, or alone when there is none.
        const bool lone = !m_editors.editor;
        (lone ? m_editors.kind : m_editors.buddyKind) = &button;
        QPointer<QWidget> &slot = lone ? m_editors.editor : m_editors.buddy;
        if (!(slot = button.create(this, buttonClass, m_editors)))
            return;
    }
    EditorPlace at {rowRect, labelRect, QRect()};
    button.place(this, m_editors, at);
}

void CTreeOptionsCtrl::CommitEditorValue()
{
    // Only the editor of the value counts, not the spin control or "..." button beside it.
    if (GetItemRecord(m_editors.row) && m_editors.editor)
        m_editors.kind->commit(this, m_editors);
}

void CTreeOptionsCtrl::DestroyEditors()
{
    // Taken out first: the callback, and editors losing the focus, may call back in here.
    const setupmgr::OpenEditors open = std::exchange(m_editors, {});
    const std::pair<const OptionEditorKind *, QPointer<QWidget>> editors[]
        = {{open.kind, open.editor}, {open.buddyKind, open.buddy}};
    // Closed editors live on until their deferred deletion; the row may go before that.
    for (const auto &[kind, editor] : editors) {
        if (setupmgr::OptionEditorLink *link = editor ? kind->link(editor) : nullptr)
            link->setRow(nullptr);
    }
    // A focused editor that disappears would pass the focus on to whatever follows it in the
    // dialog; it comes back to the tree instead.
    const QWidget *focus = QApplication::focusWidget();
    for (const auto &[kind, editor] : editors) {
        if (!m_destroying && editor && setupmgr::isInside(focus, editor)) {
            setFocus(Qt::OtherFocusReason);
            break;
        }
    }
    for (const auto &[kind, editor] : editors) {
        if (editor)
            kind->close(this, open.row, editor);
    }
}

bool CTreeOptionsCtrl::isOpenEditor(const QWidget *editor) const
{
    if (!editor || !m_editors.row)
        return false;
    // A multi-line frame's edit rides inside it.
    const CMultiLineEditFrameWnd *frame = multiLineFrame();
    return editor == m_editors.editor || editor == m_editors.buddy
        || (frame && editor == frame->edit());
}

void CTreeOptionsCtrl::CommitAndCloseEditors()
{
    CommitEditorValue();
    DestroyEditors();
}

void CTreeOptionsCtrl::PostFocusEditor()
{
    QMetaObject::invokeMethod(this, &CTreeOptionsCtrl::focusEditor, Qt::QueuedConnection);
}

void CTreeOptionsCtrl::PostRefreshEditors()
{
    QMetaObject::invokeMethod(this, &CTreeOptionsCtrl::refreshEditors, Qt::QueuedConnection);
}

void CTreeOptionsCtrl::focusEditor()
{
    if (m_editors.editor && m_editors.kind->editsInPlace())
        m_editors.editor->setFocus(Qt::OtherFocusReason);
}

void CTreeOptionsCtrl::refreshEditors()
{
    QTreeWidgetItem *row = currentItem();
    CommitEditorValue();
    DestroyEditors();
    const OptionItemData *record = GetItemRecord(row);
    if (record && record->editorClass)
        CreateEditors(row);
}

bool CTreeOptionsCtrl::editsWithin(const QTreeWidgetItem *row) const
{
    for (const QTreeWidgetItem *edited = m_editors.row; edited; edited = edited->parent()) {
        if (edited == row)
            return true;
    }
    return false;
}

void CTreeOptionsCtrl::rowGoing(QTreeWidgetItem *row)
{
    // The editors of a row being deleted close after it has left the tree, so that nothing the
    // user does to the tree on hearing of it reaches the row a second time; meanwhile the
    // selection moving off the row opens no editor.
    const bool edited = editsWithin(row);
    {
        const QScopedValueRollback guard(m_deletingAll, m_deletingAll || edited);
        QTreeWidgetItem *parent = parentOrRoot(row);
        parent->takeChild(parent->indexOfChild(row));
    }
    if (edited)
        DestroyEditors();
}

void CTreeOptionsCtrl::rowsGoing(const QModelIndex &parent, int first, int last)
{
    if (m_deletingAll)
        return;
    for (QTreeWidgetItem *edited = m_editors.row; edited; edited = edited->parent()) {
        const QModelIndex index = indexFromItem(edited);
        if (index.parent() == parent && index.row() >= first && index.row() <= last) {
            // A row taken out of the tree lives on with the value being edited.
            CommitEditorValue();
            DestroyEditors();
            return;
        }
    }
}
