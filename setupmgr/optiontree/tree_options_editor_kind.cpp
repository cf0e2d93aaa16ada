#include "tree_options_editor_kind.h"

#include "common/check.h"
#include "controls/control_factory.h"
#include "tree_options_browse_button.h"
#include "tree_options_combo.h"
#include "tree_options_date_ctrl.h"
#include "tree_options_edit.h"
#include "tree_options_ip_address_ctrl.h"
#include "tree_options_multi_line_frame.h"
#include "tree_options_spin_ctrl.h"

#include <QPlainTextEdit>

namespace setupmgr {

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

QPoint editorTopLeft(const EditorPlace &at)
{
    return {at.label.left() + at.label.width() + kEditorGap, at.label.top()};
}

template <typename Editor>
Editor *editorOf(const QPointer<QWidget> &window)
{
    return qobject_cast<Editor *>(window.data());
}

// The entry of the editors of one family.
template <typename Editor>
class KindOf : public OptionEditorKind
{
protected:
    KindOf()
        : OptionEditorKind(Editor::staticMetaObject)
    { }
};

class ComboKind final : public KindOf<CTreeOptionsCombo>
{
public:
    QWidget *place(CTreeOptionsCtrl *tree, OpenEditors &open, EditorPlace &at) const override
    {
        const QPointer<CTreeOptionsCombo> combo = editorOf<CTreeOptionsCombo>(open.editor);
        const int height = qMax(at.label.height(), editorstyle::kMinEditorHeight);
        const QPoint topLeft = editorTopLeft(at);
        at.editor = QRect(topLeft, QPoint(rightEdge(open, at), topLeft.y() + height - 1));
        combo->SetStyle(combo->GetEditorStyle());
        // The drop-down height counts the closed box and its list.
        const int rows
            = (combo->GetDropDownHeight() - height) / qMax(1, tree->fontMetrics().height());
        combo->setMaxVisibleItems(qMax(1, rows));
        show(tree, combo, at.editor, kDropDownId, "optionEditor");
        // The user fills the list now, and may end the edit while at it.
        QTreeWidgetItem *row = open.row;
        notify(tree, EditorNotifyCode::EditorCreated, row, combo, nullptr);
        if (tree->editedRow() != row || !combo)
            return nullptr;
        // The tree's font over any the callback set.
        combo->setFont(tree->font());
        const auto kind = combo->editorStyle() & editorstyle::kComboKindMask;
        if (kind == editorstyle::kComboDropDownList || kind == 0) {
            combo->setCurrentIndex(-1);
            combo->SelectString(open.initialText);
        } else {
            combo->setEditText(open.initialText);
        }
        return combo;
    }

    void commit(CTreeOptionsCtrl *tree, const OpenEditors &open) const override
    {
        // The masked flag is not consulted: a drop-down shows its choice.
        tree->SetComboText(open.row, editorOf<CTreeOptionsCombo>(open.editor)->currentText());
    }

    void close(CTreeOptionsCtrl *tree, QTreeWidgetItem *row, QWidget *editor) const override
    {
        const QPointer<QWidget> combo = editor;
        notify(tree, EditorNotifyCode::EditorClosing, row, combo, nullptr);
        OptionEditorKind::close(tree, row, combo);
    }

protected:
    void take(CTreeOptionsCtrl *tree, QWidget *, OpenEditors &open) const override
    {
        open.initialText = tree->GetComboText(open.row);
    }
};

class EditKind final : public KindOf<CTreeOptionsEdit>
{
public:
    QWidget *place(CTreeOptionsCtrl *tree, OpenEditors &open, EditorPlace &at) const override
    {
        auto *edit = editorOf<CTreeOptionsEdit>(open.editor);
        const QPoint topLeft = editorTopLeft(at);
        at.editor = QRect(topLeft.x(), topLeft.y(), rightEdge(open, at) - topLeft.x() + 1,
                          edit->GetEditorHeight(at.label.height()));
        if (editorstyle::has(edit->GetEditorStyle(), editorstyle::kEditMultiLine))
            return placeInFrame(tree, edit, open.row, at.editor);
        const editorstyle::Style masked = edit->isMasked() ? editorstyle::kEditPassword : 0;
        edit->ModifyStyle(~editorstyle::Style(0), edit->GetEditorStyle() | masked);
        edit->setText(open.initialText);
        show(tree, edit, at.editor, kEditId, "optionEditor");
        return edit;
    }

    void commit(CTreeOptionsCtrl *tree, const OpenEditors &open) const override
    {
        if (auto *frame = editorOf<CMultiLineEditFrameWnd>(open.editor)) {
            OptionItemData *record = tree->GetItemRecord(open.row);
            record->text = frame->text();
            const CTreeOptionsEdit *edit = frame->edit();
            tree->SetEditText(open.row, edit ? edit->FormatValue(record->text) : record->text);
            return;
        }
        QString text = editorOf<CTreeOptionsEdit>(open.editor)->text();
        if (const auto *spin = editorOf<CTreeOptionsSpinCtrl>(open.buddy)) {
            int lower = 0;
            int upper = 0;
            spin->GetRange(&lower, &upper);
            const qint64 value
                = heldInBounds(leadingNumber(text), qMin(lower, upper), qMax(lower, upper));
            text = QString::number(value);
        }
        tree->SetEditText(open.row, text);
    }

    void close(CTreeOptionsCtrl *tree, QTreeWidgetItem *row, QWidget *editor) const override
    {
        if (auto *frame = qobject_cast<CMultiLineEditFrameWnd *>(editor)) {
            // Its close takes the edit inside it along.
            frame->close();
            OptionEditorKind::close(tree, row, frame);
            return;
        }
        const QPointer<QWidget> edit = editor;
        notify(tree, EditorNotifyCode::EditorClosing, row, edit, nullptr);
        OptionEditorKind::close(tree, row, edit);
    }

    OptionEditorLink *link(QWidget *editor) const override
    {
        if (auto *frame = qobject_cast<CMultiLineEditFrameWnd *>(editor))
            return frame->edit();
        return OptionEditorKind::link(editor);
    }

protected:
    void take(CTreeOptionsCtrl *tree, QWidget *editor, OpenEditors &open) const override
    {
        const OptionItemData *record = tree->GetItemRecord(open.row);
        open.initialText = record->masked ? record->text : tree->GetEditText(open.row);
        static_cast<CTreeOptionsEdit *>(editor)->setMasked(record->masked);
    }

private:
    // The edit floats in a window of its own, which takes it over and stands for it.
    static QWidget *placeInFrame(CTreeOptionsCtrl *tree, CTreeOptionsEdit *edit,
                                 QTreeWidgetItem *row, const QRect &rect)
    {
        auto *frame = new CMultiLineEditFrameWnd(tree);
        markControl(frame, kNoControlId, "optionEditorFrame");
        frame->setGeometry(QRect(tree->viewport()->mapToGlobal(rect.topLeft()), rect.size()));
        frame->setEdit(edit, tree->GetItemRecord(row)->text);
        markControl(frame->textEdit(), kEditId, "optionEditor");
        frame->textEdit()->setAccessibleName(row->text(0));
        frame->textEdit()->setFont(tree->font());
        frame->show();
        edit->setMultiLineFrame(frame);
        return frame;
    }
};

class DateTimeKind final : public KindOf<CTreeOptionsDateCtrl>
{
public:
    QWidget *place(CTreeOptionsCtrl *tree, OpenEditors &open, EditorPlace &at) const override
    {
        auto *picker = editorOf<CTreeOptionsDateCtrl>(open.editor);
        at.editor = QRect(editorTopLeft(at), at.row.bottomRight());
        picker->SetStyle(picker->GetEditorStyle());
        picker->SetTime(tree->GetItemRecord(open.row)->dateTime);
        show(tree, picker, at.editor, kDateTimeId, "optionEditor");
        return picker;
    }

    void commit(CTreeOptionsCtrl *tree, const OpenEditors &open) const override
    {
        // A picker without a valid time keeps the last valid one.
        const auto *picker = editorOf<CTreeOptionsDateCtrl>(open.editor);
        QDateTime value;
        if (picker->GetTime(&value)) {
            tree->SetDateTime(open.row, value);
            tree->SetEditText(open.row, picker->GetDisplayText(value));
        }
    }
};

class AddressKind final : public KindOf<CTreeOptionsIPAddressCtrl>
{
public:
    QWidget *place(CTreeOptionsCtrl *tree, OpenEditors &open, EditorPlace &at) const override
    {
        auto *address = editorOf<CTreeOptionsIPAddressCtrl>(open.editor);
        at.editor = QRect(editorTopLeft(at), at.row.bottomRight());
        address->SetAddress(tree->GetItemRecord(open.row)->address);
        show(tree, address, at.editor, kAddressId, "optionEditor");
        return address;
    }

    void commit(CTreeOptionsCtrl *tree, const OpenEditors &open) const override
    {
        const auto *editor = editorOf<CTreeOptionsIPAddressCtrl>(open.editor);
        quint32 address = 0;
        // A blank field stores nothing; the row shows the address it had.
        if (editor->GetAddress(&address) == 4)
            tree->SetIPAddress(open.row, address);
        tree->SetEditText(open.row, editor->GetDisplayText(tree->GetIPAddress(open.row)));
    }
};

// Alone on a colour or font row, or beside an edit or a drop-down.
class ButtonKind final : public KindOf<CTreeOptionsBrowseButton>
{
public:
    bool editsInPlace() const override { return false; }

    QWidget *place(CTreeOptionsCtrl *tree, OpenEditors &open, EditorPlace &at) const override
    {
        CTreeOptionsBrowseButton *button = tree->browseButton();
        const int width = button->GetButtonWidth();
        const int left = at.row.right() + 1 - width;
        const QWidget *served = open.kind == this ? nullptr : open.editor.data();
        QRect rect(QPoint(left, at.label.top()), QPoint(at.row.right(), at.label.bottom()));
        if (qobject_cast<const CMultiLineEditFrameWnd *>(served))
            rect = QRect(left, at.row.top(), width, at.row.height());
        else if (served)
            rect = QRect(QPoint(left, at.row.top()),
                         QPoint(at.row.right(), served->geometry().bottom()));
        button->setText(button->GetCaption());
        show(tree, button, rect, kBrowseId, "optionBrowse");
        pair(open);
        return button;
    }

    void commit(CTreeOptionsCtrl *tree, const OpenEditors &open) const override
    {
        // A font row has its value already: the font chooser wrote it.
        const OptionItemData *record = tree->GetItemRecord(open.row);
        if (record->kind == OptionItemKind::Colour)
            tree->SetColor(open.row, editorOf<CTreeOptionsBrowseButton>(open.editor)->GetColor());
    }

protected:
    void take(CTreeOptionsCtrl *tree, QWidget *editor, OpenEditors &open) const override
    {
        auto *button = static_cast<CTreeOptionsBrowseButton *>(editor);
        const OptionItemData *record = tree->GetItemRecord(open.row);
        if (record->kind == OptionItemKind::Colour)
            button->SetColor(record->colour);
        else if (record->kind == OptionItemKind::Font)
            button->SetFontValue(record->font);
    }
};

class SpinKind final : public KindOf<CTreeOptionsSpinCtrl>
{
public:
    bool editsInPlace() const override { return false; }

    QWidget *place(CTreeOptionsCtrl *tree, OpenEditors &open, EditorPlace &at) const override
    {
        CTreeOptionsSpinCtrl *spin = tree->spinControl();
        spin->SetStyle(spin->GetEditorStyle());
        show(tree, spin,
             QRect(QPoint(at.editor.right() + 1, at.editor.top()),
                   QPoint(at.row.right(), at.editor.bottom())),
             kSpinId, "optionSpin");
        spin->SetBuddy(tree->editEditor());
        int lower = 0;
        int upper = 0;
        spin->GetDefaultRange(&lower, &upper);
        spin->SetRange(lower, upper);
        pair(open);
        return spin;
    }
};

} // namespace

const OptionEditorKind *OptionEditorKind::editorFor(const QMetaObject *editorClass)
{
    static const ComboKind combo;
    static const EditKind edit;
    static const DateTimeKind dateTime;
    static const AddressKind address;
    static const OptionEditorKind *const kinds[] = {&combo, &edit, &dateTime, &address, &button()};
    for (const OptionEditorKind *kind : kinds) {
        if (kind->accepts(editorClass))
            return kind;
    }
    return nullptr;
}

const OptionEditorKind *OptionEditorKind::buddyFor(const QMetaObject *buddyClass)
{
    if (spin().accepts(buddyClass))
        return &spin();
    return button().accepts(buddyClass) ? &button() : nullptr;
}

const OptionEditorKind &OptionEditorKind::spin()
{
    static const SpinKind kind;
    return kind;
}

const OptionEditorKind &OptionEditorKind::button()
{
    static const ButtonKind kind;
    return kind;
}

bool OptionEditorKind::accepts(const QMetaObject *editorClass) const
{
    return editorClass && editorClass->inherits(&m_family);
}

QWidget *OptionEditorKind::create(CTreeOptionsCtrl *tree, const QMetaObject *editorClass,
                                  OpenEditors &open) const
{
    if (!accepts(editorClass))
        return nullptr;
    QObject *object = editorClass->newInstance(Q_ARG(QWidget *, tree->viewport()));
    const bool classHasInvokableConstructor = object != nullptr;
    OSTREL_CHECK(classHasInvokableConstructor, nullptr);
    auto *editor = static_cast<QWidget *>(object);
    OptionEditorLink *editorLink = link(editor);
    editorLink->setTree(tree);
    editorLink->setRow(open.row);
    take(tree, editor, open);
    // The editor shows the value now; a buddy finds the row showing its label alone already.
    if (editsInPlace())
        tree->RemoveValueText(open.row);
    return editor;
}

void OptionEditorKind::commit(CTreeOptionsCtrl *, const OpenEditors &) const { }

void OptionEditorKind::close(CTreeOptionsCtrl *, QTreeWidgetItem *, QWidget *editor) const
{
    // The callback that hears of the closing may have deleted the editor already.
    if (!editor)
        return;
    editor->hide();
    editor->setObjectName(QString());
    editor->deleteLater();
}

OptionEditorLink *OptionEditorKind::link(QWidget *editor) const
{
    return dynamic_cast<OptionEditorLink *>(editor);
}

void OptionEditorKind::take(CTreeOptionsCtrl *, QWidget *, OpenEditors &) const { }

int OptionEditorKind::rightEdge(const OpenEditors &open, const EditorPlace &at)
{
    const auto *button = editorOf<CTreeOptionsBrowseButton>(open.buddy);
    return at.row.right() - (button ? button->GetButtonWidth() : 0);
}

void OptionEditorKind::show(CTreeOptionsCtrl *tree, QWidget *editor, const QRect &rect,
                            int controlId, const char *objectName)
{
    editor->setGeometry(rect);
    markControl(editor, controlId, objectName);
    editor->setAccessibleName(tree->editedRow()->text(0));
    editor->setFont(tree->font());
    editor->show();
}

void OptionEditorKind::pair(const OpenEditors &open)
{
    OptionEditorLink *editorLink = open.kind ? open.kind->link(open.editor) : nullptr;
    OptionEditorLink *buddyLink = open.buddyKind ? open.buddyKind->link(open.buddy) : nullptr;
    if (!editorLink || !buddyLink)
        return;
    editorLink->setCompanion(open.buddy);
    buddyLink->setCompanion(open.editor);
}

void OptionEditorKind::notify(CTreeOptionsCtrl *tree, EditorNotifyCode code, QTreeWidgetItem *row,
                              QWidget *first, QWidget *second)
{
    tree->notify(code, row, first, second);
}

} // namespace setupmgr
