// The life of the option tree's in-place editors: opening them over a row, taking their value
// back into the row, and closing them.
#include "tree_options_ctrl.h"

#include "common/check.h"
#include "controls/control_factory.h"
#include "tree_options_browse_button.h"
#include "tree_options_combo.h"
#include "tree_options_date_ctrl.h"
#include "tree_options_edit.h"
#include "tree_options_focus.h"
#include "tree_options_ip_address_ctrl.h"
#include "tree_options_multi_line_frame.h"
#include "tree_options_spin_ctrl.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QScopedValueRollback>

#include <utility>

namespace {

// The editors' control ids.
constexpr int kDropDownId = 100;
constexpr int kEditId = 101;
constexpr int kSpinId = 102;
constexpr int kBrowseId = 103;
constexpr int kDateTimeId = 105;
constexpr int kAddressId = 106;
constexpr int kNoControlId = -1;

// Editors start this far right of the label.
constexpr int kEditorGap = 10;
constexpr int kMinEditorHeight = 20;

template <typename Editor>
bool isA(const QMetaObject *editorClass)
{
    return editorClass && editorClass->inherits(&Editor::staticMetaObject);
}

// An editor of the row's class, a hidden child of parent; null for a class of another family.
template <typename Editor>
Editor *newEditor(const QMetaObject *editorClass, QWidget *parent)
{
    if (!isA<Editor>(editorClass))
        return nullptr;
    QObject *object = editorClass->newInstance(Q_ARG(QWidget *, parent));
    const bool classHasInvokableConstructor = object != nullptr;
    OSTREL_CHECK(classHasInvokableConstructor, nullptr);
    return qobject_cast<Editor *>(object);
}

} // namespace

CTreeOptionsCombo *CTreeOptionsCtrl::comboEditor() const
{
    return m_combo;
}

CTreeOptionsEdit *CTreeOptionsCtrl::editEditor() const
{
    return m_edit;
}

CMultiLineEditFrameWnd *CTreeOptionsCtrl::multiLineFrame() const
{
    return m_frame;
}

CTreeOptionsSpinCtrl *CTreeOptionsCtrl::spinControl() const
{
    return m_spin;
}

CTreeOptionsBrowseButton *CTreeOptionsCtrl::browseButton() const
{
    return m_button;
}

CTreeOptionsDateCtrl *CTreeOptionsCtrl::dateTimeEditor() const
{
    return m_dateTime;
}

CTreeOptionsIPAddressCtrl *CTreeOptionsCtrl::addressEditor() const
{
    return m_address;
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
    m_editRow = row;
    const QMetaObject *editorClass = record->editorClass;
    QWidget *const host = viewport();
    QString initialText;

    const bool loneButton = isA<CTreeOptionsBrowseButton>(editorClass);
    if (isA<CTreeOptionsCombo>(editorClass)) {
        initialText = GetComboText(row);
        RemoveValueText(row);
        if ((m_combo = newEditor<CTreeOptionsCombo>(editorClass, host))) {
            m_combo->setTree(this);
            m_combo->setRow(row);
        }
    } else if (isA<CTreeOptionsEdit>(editorClass)) {
        initialText = record->masked ? record->text : GetEditText(row);
        RemoveValueText(row);
        if ((m_edit = newEditor<CTreeOptionsEdit>(editorClass, host))) {
            m_edit->setMasked(record->masked);
            m_edit->setTree(this);
            m_edit->setRow(row);
        }
    } else if (isA<CTreeOptionsDateCtrl>(editorClass)) {
        RemoveValueText(row);
        if ((m_dateTime = newEditor<CTreeOptionsDateCtrl>(editorClass, host))) {
            m_dateTime->setTree(this);
            m_dateTime->setRow(row);
        }
    } else if (isA<CTreeOptionsIPAddressCtrl>(editorClass)) {
        RemoveValueText(row);
        if ((m_address = newEditor<CTreeOptionsIPAddressCtrl>(editorClass, host))) {
            m_address->setTree(this);
            m_address->setRow(row);
        }
    } else if (loneButton) {
        // Colour and font rows keep their value text beside the button.
        if ((m_button = newEditor<CTreeOptionsBrowseButton>(editorClass, host))) {
            m_button->setTree(this);
            m_button->setRow(row);
            if (record->kind == OptionItemKind::Colour)
                m_button->SetColor(GetColor(row));
            else if (record->kind == OptionItemKind::Font)
                m_button->SetFontValue(record->font);
        }
    }

    const QMetaObject *buddyClass = record->buddyClass;
    if (isA<CTreeOptionsSpinCtrl>(buddyClass)) {
        if ((m_spin = newEditor<CTreeOptionsSpinCtrl>(buddyClass, host))) {
            m_spin->setTree(this);
            m_spin->setRow(row);
        }
    } else if (!m_button && isA<CTreeOptionsBrowseButton>(buddyClass)) {
        if ((m_button = newEditor<CTreeOptionsBrowseButton>(buddyClass, host))) {
            m_button->setTree(this);
            m_button->setRow(row);
        }
    }

    QRect label = labelRect(row);
    if (!label.isValid() || label.bottom() > viewport()->rect().bottom()) {
        scrollToItem(row);
        label = labelRect(row);
    }
    const QRect cell = visualItemRect(row);
    const QRect rowRect(0, cell.top(), viewport()->width(), cell.height());
    const int left = label.left() + label.width() + kEditorGap;
    const int top = label.top();
    const int right = rowRect.right() - (m_button && !loneButton ? m_button->GetButtonWidth() : 0);
    const QString name = row->text(0);
    QRect editorRect;
    QWidget *primary = nullptr;

    if (m_combo) {
        const int height = qMax(label.height(), kMinEditorHeight);
        editorRect = QRect(QPoint(left, top), QPoint(right, top + height - 1));
        m_combo->SetStyle(m_combo->GetEditorStyle());
        // The drop-down height counts the closed box and its list.
        const int rows = (m_combo->GetDropDownHeight() - height) / qMax(1, fontMetrics().height());
        m_combo->setMaxVisibleItems(qMax(1, rows));
        m_combo->setGeometry(editorRect);
        setupmgr::markControl(m_combo, kDropDownId, "optionEditor");
        m_combo->setAccessibleName(name);
        m_combo->show();
        notify(EditorNotifyCode::EditorCreated, row, m_combo, nullptr);
        if (m_editRow != row || !m_combo)
            return;
        m_combo->setFont(font());
        const auto kind = m_combo->editorStyle() & setupmgr::editorstyle::kComboKindMask;
        if (kind == setupmgr::editorstyle::kComboDropDownList || kind == 0) {
            m_combo->setCurrentIndex(-1);
            m_combo->SelectString(initialText);
        } else {
            m_combo->setEditText(initialText);
        }
        primary = m_combo;
    } else if (m_edit) {
        editorRect = QRect(left, top, right - left + 1, m_edit->GetEditorHeight(label.height()));
        if (setupmgr::editorstyle::has(m_edit->GetEditorStyle(),
                                       setupmgr::editorstyle::kEditMultiLine)) {
            // The edit floats in a window of its own, which takes it over.
            auto *frame = new CMultiLineEditFrameWnd(this);
            setupmgr::markControl(frame, kNoControlId, "optionEditorFrame");
            frame->setGeometry(QRect(host->mapToGlobal(editorRect.topLeft()), editorRect.size()));
            frame->setEdit(m_edit, record->text);
            setupmgr::markControl(frame->textEdit(), kEditId, "optionEditor");
            frame->textEdit()->setAccessibleName(name);
            frame->textEdit()->setFont(font());
            frame->show();
            m_edit->setMultiLineFrame(frame);
            m_frame = frame;
            m_edit = nullptr;
            primary = frame;
        } else {
            const setupmgr::editorstyle::Style masked
                = record->masked ? setupmgr::editorstyle::kEditPassword : 0;
            m_edit->ModifyStyle(~setupmgr::editorstyle::Style(0),
                                m_edit->GetEditorStyle() | masked);
            m_edit->setText(initialText);
            m_edit->setGeometry(editorRect);
            setupmgr::markControl(m_edit, kEditId, "optionEditor");
            m_edit->setAccessibleName(name);
            m_edit->setFont(font());
            m_edit->show();
            primary = m_edit;
        }
    } else if (m_dateTime) {
        editorRect = QRect(QPoint(left, top), QPoint(rowRect.right(), rowRect.bottom()));
        m_dateTime->SetStyle(m_dateTime->GetEditorStyle());
        m_dateTime->SetTime(record->dateTime);
        m_dateTime->setGeometry(editorRect);
        setupmgr::markControl(m_dateTime, kDateTimeId, "optionEditor");
        m_dateTime->setAccessibleName(name);
        m_dateTime->setFont(font());
        m_dateTime->show();
        primary = m_dateTime;
    } else if (m_address) {
        editorRect = QRect(QPoint(left, top), QPoint(rowRect.right(), rowRect.bottom()));
        m_address->SetAddress(record->address);
        m_address->setGeometry(editorRect);
        setupmgr::markControl(m_address, kAddressId, "optionEditor");
        m_address->setAccessibleName(name);
        m_address->setFont(font());
        m_address->show();
        primary = m_address;
    }
    if (primary && m_focusOnOpen)
        primary->setFocus(Qt::OtherFocusReason);

    if (m_spin) {
        CreateSpinCtrl(buddyClass, rowRect, label, editorRect);
        notify(EditorNotifyCode::EditorCreated, row, m_edit, m_spin);
    } else if (m_button && !loneButton) {
        CreateBrowseButton(buddyClass, rowRect, label);
        if (m_frame && m_frame->edit())
            m_frame->edit()->setBuddy(m_button);
        else if (m_edit)
            m_edit->setBuddy(m_button);
    } else if (loneButton) {
        CreateBrowseButton(editorClass, rowRect, label);
    }
}

void CTreeOptionsCtrl::CreateSpinCtrl(const QMetaObject *spinClass, const QRect &rowRect,
                                      const QRect &, const QRect &editorRect)
{
    if (!isA<CTreeOptionsSpinCtrl>(spinClass) || !m_editRow)
        return;
    if (!m_spin && !(m_spin = newEditor<CTreeOptionsSpinCtrl>(spinClass, viewport())))
        return;
    m_spin->setTree(this);
    m_spin->setRow(m_editRow);
    m_spin->setEdit(m_edit);
    m_spin->SetStyle(m_spin->GetEditorStyle());
    m_spin->setGeometry(QRect(QPoint(editorRect.right() + 1, editorRect.top()),
                              QPoint(rowRect.right(), editorRect.bottom())));
    setupmgr::markControl(m_spin, kSpinId, "optionSpin");
    m_spin->setAccessibleName(m_editRow->text(0));
    m_spin->SetBuddy(m_edit);
    int lower = 0;
    int upper = 0;
    m_spin->GetDefaultRange(&lower, &upper);
    m_spin->SetRange(lower, upper);
    m_spin->setFont(font());
    m_spin->show();
    if (m_edit)
        m_edit->setBuddy(m_spin);
}

void CTreeOptionsCtrl::CreateBrowseButton(const QMetaObject *buttonClass, const QRect &rowRect,
                                          const QRect &labelRect)
{
    if (!isA<CTreeOptionsBrowseButton>(buttonClass) || !m_editRow)
        return;
    if (!m_button && !(m_button = newEditor<CTreeOptionsBrowseButton>(buttonClass, viewport())))
        return;
    m_button->setTree(this);
    m_button->setRow(m_editRow);
    const int width = m_button->GetButtonWidth();
    const int left = rowRect.right() + 1 - width;
    QRect rect;
    if (m_frame) {
        rect = QRect(left, rowRect.top(), width, rowRect.height());
        m_button->setMultiLineFrame(m_frame);
        m_button->setEdit(m_frame->edit());
    } else if (m_edit || m_combo) {
        const QWidget *served = m_edit ? static_cast<QWidget *>(m_edit) : m_combo.data();
        rect = QRect(QPoint(left, rowRect.top()),
                     QPoint(rowRect.right(), served->geometry().bottom()));
        m_button->setEdit(m_edit);
        m_button->setCombo(m_combo);
    } else {
        rect = QRect(QPoint(left, labelRect.top()), QPoint(rowRect.right(), labelRect.bottom()));
    }
    m_button->setText(m_button->GetCaption());
    m_button->setGeometry(rect);
    setupmgr::markControl(m_button, kBrowseId, "optionBrowse");
    m_button->setAccessibleName(m_editRow->text(0));
    m_button->setFont(font());
    m_button->show();
}

void CTreeOptionsCtrl::CommitEditorValue()
{
    QTreeWidgetItem *row = m_editRow;
    OptionItemData *record = GetItemRecord(row);
    if (!record)
        return;
    if (m_combo) {
        SetComboText(row, m_combo->currentText());
    } else if (m_edit && !m_frame) {
        QString text = m_edit->text();
        if (m_spin) {
            int lower = 0;
            int upper = 0;
            m_spin->GetRange(&lower, &upper);
            const qint64 value = qBound(qint64(qMin(lower, upper)), setupmgr::leadingNumber(text),
                                        qint64(qMax(lower, upper)));
            text = QString::number(value);
        }
        SetEditText(row, text);
    } else if (m_frame) {
        record->text = m_frame->text();
        const CTreeOptionsEdit *edit = m_frame->edit();
        SetEditText(row, edit ? edit->FormatValue(record->text) : record->text);
    } else if (m_dateTime) {
        QDateTime value;
        if (m_dateTime->GetTime(&value)) {
            SetDateTime(row, value);
            SetEditText(row, m_dateTime->GetDisplayText(value));
        }
    } else if (m_address) {
        quint32 address = 0;
        // A blank field stores nothing; the row shows the address it had.
        if (m_address->GetAddress(&address) == 4)
            SetIPAddress(row, address);
        SetEditText(row, m_address->GetDisplayText(record->address));
    } else if (m_button && record->kind == OptionItemKind::Colour) {
        SetColor(row, m_button->GetColor());
    }
}

void CTreeOptionsCtrl::DestroyEditors()
{
    // Taken out first: the callback, and editors losing the focus, may call back in here.
    QTreeWidgetItem *row = std::exchange(m_editRow, nullptr);
    const QPointer<CMultiLineEditFrameWnd> frame = std::exchange(m_frame, nullptr);
    const QPointer<CTreeOptionsCombo> combo = std::exchange(m_combo, nullptr);
    const QPointer<CTreeOptionsEdit> edit = std::exchange(m_edit, nullptr);
    const QPointer<CTreeOptionsSpinCtrl> spin = std::exchange(m_spin, nullptr);
    const QPointer<CTreeOptionsBrowseButton> button = std::exchange(m_button, nullptr);
    const QPointer<CTreeOptionsDateCtrl> dateTime = std::exchange(m_dateTime, nullptr);
    const QPointer<CTreeOptionsIPAddressCtrl> address = std::exchange(m_address, nullptr);
    QWidget *const editors[] = {frame, combo, edit, spin, button, dateTime, address};
    // Closed editors live on until their deferred deletion; the row may go before that.
    setupmgr::OptionEditorLink *const links[]
        = {frame ? frame->edit() : nullptr, combo, edit, spin, button, dateTime, address};
    for (setupmgr::OptionEditorLink *link : links) {
        if (link)
            link->setRow(nullptr);
    }

    // A focused editor that disappears would pass the focus on to whatever follows it in the
    // dialog; it comes back to the tree instead.
    if (!m_destroying) {
        const QWidget *focus = QApplication::focusWidget();
        for (const QWidget *editor : editors) {
            if (editor && setupmgr::isInside(focus, editor)) {
                setFocus(Qt::OtherFocusReason);
                break;
            }
        }
    }
    if (frame) {
        frame->close();
        disposeEditor(frame);
    }
    if (combo) {
        notify(EditorNotifyCode::EditorClosing, row, combo, nullptr);
        disposeEditor(combo);
    }
    if (edit) {
        notify(EditorNotifyCode::EditorClosing, row, edit, nullptr);
        disposeEditor(edit);
    }
    for (QWidget *editor : {static_cast<QWidget *>(spin), static_cast<QWidget *>(button),
                            static_cast<QWidget *>(dateTime), static_cast<QWidget *>(address)}) {
        if (editor)
            disposeEditor(editor);
    }
}

void CTreeOptionsCtrl::disposeEditor(QWidget *editor)
{
    // The callback that hears of the closing may have deleted the editor already.
    if (!editor)
        return;
    editor->hide();
    editor->setObjectName(QString());
    editor->deleteLater();
}

bool CTreeOptionsCtrl::isOpenEditor(const QWidget *editor) const
{
    if (!editor || !m_editRow)
        return false;
    if (m_frame && (editor == m_frame || editor == m_frame->edit()))
        return true;
    const QWidget *editors[] = {m_combo.data(),  m_edit.data(),     m_spin.data(),
                                m_button.data(), m_dateTime.data(), m_address.data()};
    for (const QWidget *open : editors) {
        if (open == editor)
            return true;
    }
    return false;
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
    QWidget *const candidates[] = {m_combo, m_frame, m_edit, m_dateTime, m_address};
    for (QWidget *editor : candidates) {
        if (editor) {
            editor->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
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
    for (const QTreeWidgetItem *edited = m_editRow; edited; edited = edited->parent()) {
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
    for (QTreeWidgetItem *edited = m_editRow; edited; edited = edited->parent()) {
        const QModelIndex index = indexFromItem(edited);
        if (index.parent() == parent && index.row() >= first && index.row() <= last) {
            // A row taken out of the tree lives on with the value being edited.
            CommitEditorValue();
            DestroyEditors();
            return;
        }
    }
}
