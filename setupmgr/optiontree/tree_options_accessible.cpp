#include "tree_options_accessible.h"

#include "controls/accessible_row.h"
#include "tree_options_ctrl.h"
#include "tree_options_item.h"
#include "tree_options_spin_ctrl.h"

#include <QAccessibleActionInterface>
#include <QAccessibleWidget>
#include <QPointer>
#include <QWindow>

namespace setupmgr {

namespace {

QAccessibleInterface *rowInterface(CTreeOptionsCtrl *tree, QTreeWidgetItem *row);

// The direct child of parent (null for the root) that holds row.
QTreeWidgetItem *childHolding(QTreeWidgetItem *parent, QTreeWidgetItem *row)
{
    for (QTreeWidgetItem *item = row; item; item = item->parent()) {
        if (item->parent() == parent)
            return item;
    }
    return nullptr;
}

class OptionRowAccessible final : public setupmgr::AccessibleActionRow
{
public:
    OptionRowAccessible(CTreeOptionsCtrl *tree, OptionItem *row)
        : m_tree(tree)
        , m_row(row)
    { }

    // The row deletes this interface when it goes; a row taken out of the tree is not valid.
    bool isValid() const override { return m_tree && m_row->treeWidget() == m_tree; }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_tree ? m_tree->window()->windowHandle() : nullptr; }

    QAccessibleInterface *parent() const override
    {
        if (!isValid())
            return nullptr;
        if (QTreeWidgetItem *up = m_row->parent())
            return rowInterface(m_tree, up);
        return QAccessible::queryAccessibleInterface(m_tree.data());
    }
    QAccessibleInterface *child(int index) const override
    {
        if (!isValid() || index < 0 || index >= m_row->childCount())
            return nullptr;
        return rowInterface(m_tree, m_row->child(index));
    }
    int childCount() const override { return isValid() ? m_row->childCount() : 0; }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        const auto *row = dynamic_cast<const OptionRowAccessible *>(child);
        return row && row->m_row->parent() == m_row ? m_row->indexOfChild(row->m_row) : -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        if (!isValid())
            return nullptr;
        const QPoint point = m_tree->viewport()->mapFromGlobal(QPoint(x, y));
        QTreeWidgetItem *holder = childHolding(m_row, m_tree->itemAt(point));
        return holder && holder != m_row ? rowInterface(m_tree, holder) : nullptr;
    }

    QString text(QAccessible::Text t) const override
    {
        if (!isValid())
            return {};
        const QString text = m_row->text(0);
        const qsizetype separator = text.indexOf(m_tree->valueSeparator());
        switch (t) {
        case QAccessible::Name:
            return separator < 0 ? text : text.left(separator);
        case QAccessible::Value:
            // What the row shows: a masked value stays masked.
            return m_tree->GetEditText(m_row);
        default:
            return {};
        }
    }
    void setText(QAccessible::Text, const QString &) override { }

    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect area = m_tree->visualItemRect(m_row);
        return QRect(m_tree->viewport()->mapToGlobal(area.topLeft()), area.size());
    }

    QAccessible::Role role() const override
    {
        switch (kind()) {
        case OptionItemKind::CheckBox:
            return QAccessible::CheckBox;
        case OptionItemKind::RadioButton:
            return QAccessible::RadioButton;
        case OptionItemKind::Group:
            return QAccessible::Grouping;
        default:
            return QAccessible::TreeItem;
        }
    }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        const OptionItemData *record = m_row->record.get();
        state.selectable = true;
        state.selected = m_row->isSelected();
        state.focusable = true;
        state.focused = m_tree->hasFocus() && m_tree->currentItem() == m_row;
        state.disabled = !m_tree->isEnabled();
        if (m_row->childCount() > 0) {
            state.expandable = true;
            state.expanded = m_row->isExpanded();
            state.collapsed = !m_row->isExpanded();
        }
        for (QTreeWidgetItem *up = m_row->parent(); up; up = up->parent()) {
            if (!up->isExpanded())
                state.invisible = true;
        }
        if (record
            && (record->kind == OptionItemKind::CheckBox
                || record->kind == OptionItemKind::RadioButton)) {
            state.checkable = true;
            state.checked = record->checked;
            state.checkStateMixed = record->kind == OptionItemKind::CheckBox && record->semiChecked;
            state.disabled = state.disabled || !record->enabled;
        }
        return state;
    }

    QStringList actionNames() const override
    {
        QStringList names {setFocusAction()};
        if (kind() == OptionItemKind::CheckBox)
            names << toggleAction();
        else if (kind() == OptionItemKind::RadioButton)
            names << pressAction();
        return names;
    }
    void doAction(const QString &name) override
    {
        if (!isValid())
            return;
        if (name == setFocusAction())
            m_tree->setCurrentItem(m_row);
        else if (name == toggleAction() || name == pressAction())
            m_tree->userToggle(m_row);
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

    OptionItem *row() const { return m_row; }

private:
    OptionItemKind kind() const
    {
        return m_row->record ? m_row->record->kind : OptionItemKind::None;
    }

    QPointer<CTreeOptionsCtrl> m_tree;
    OptionItem *m_row;
};

// The tree: its top-level rows come first, then the editors open over its rows. The viewport,
// the scroll bars' containers and the header are the scroll area's inner parts: a screen reader
// would announce them as unnamed controls.
class TreeOptionsAccessible final : public QAccessibleWidget
{
public:
    explicit TreeOptionsAccessible(QWidget *tree)
        : QAccessibleWidget(tree, QAccessible::Tree)
    { }

    int childCount() const override { return tree()->topLevelItemCount() + int(editors().size()); }
    QAccessibleInterface *child(int index) const override
    {
        const int rows = tree()->topLevelItemCount();
        if (index < 0)
            return nullptr;
        if (index < rows)
            return rowInterface(tree(), tree()->topLevelItem(index));
        const QWidgetList open = editors();
        return index - rows < open.size()
            ? QAccessible::queryAccessibleInterface(open[index - rows])
            : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (const auto *row = dynamic_cast<const OptionRowAccessible *>(child))
            return row->row()->parent() ? -1 : tree()->indexOfTopLevelItem(row->row());
        const auto *widget = child ? qobject_cast<QWidget *>(child->object()) : nullptr;
        const qsizetype index = widget ? editors().indexOf(widget) : -1;
        return index < 0 ? -1 : int(index) + tree()->topLevelItemCount();
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        const QPoint global(x, y);
        for (QWidget *editor : editors()) {
            if (editor->rect().contains(editor->mapFromGlobal(global)))
                return QAccessible::queryAccessibleInterface(editor);
        }
        const QPoint point = tree()->viewport()->mapFromGlobal(global);
        QTreeWidgetItem *holder = childHolding(nullptr, tree()->itemAt(point));
        return holder ? rowInterface(tree(), holder) : nullptr;
    }
    // The current row, or the open editor that has the focus.
    QAccessibleInterface *focusChild() const override
    {
        if (tree()->hasFocus()) {
            QTreeWidgetItem *current = tree()->currentItem();
            return current ? rowInterface(tree(), current) : nullptr;
        }
        return QAccessibleWidget::focusChild();
    }

private:
    CTreeOptionsCtrl *tree() const { return static_cast<CTreeOptionsCtrl *>(widget()); }
    // The editors are children of the viewport; one closed is hidden until it is deleted.
    QWidgetList editors() const
    {
        QWidgetList open;
        for (QObject *child : tree()->viewport()->children()) {
            auto *widget = qobject_cast<QWidget *>(child);
            if (widget && !widget->isWindow() && !widget->isHidden())
                open << widget;
        }
        return open;
    }
};

// The arrows beside an edit: a spin box whose value is the number within its range.
class SpinAccessible final : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit SpinAccessible(QWidget *spin)
        : QAccessibleWidget(spin, QAccessible::SpinBox)
    { }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? QString::number(spin()->GetPos())
                                       : QAccessibleWidget::text(t);
    }

    QVariant currentValue() const override { return spin()->GetPos(); }
    void setCurrentValue(const QVariant &value) override { spin()->SetPos(value.toInt()); }
    // The range may run downwards; tools want its ends in order.
    QVariant maximumValue() const override { return qMax(lower(), upper()); }
    QVariant minimumValue() const override { return qMin(lower(), upper()); }
    QVariant minimumStepSize() const override { return 1; }

private:
    CTreeOptionsSpinCtrl *spin() const { return static_cast<CTreeOptionsSpinCtrl *>(widget()); }
    int lower() const
    {
        int value = 0;
        spin()->GetRange(&value, nullptr);
        return value;
    }
    int upper() const
    {
        int value = 0;
        spin()->GetRange(nullptr, &value);
        return value;
    }
};

QAccessibleInterface *rowInterface(CTreeOptionsCtrl *tree, QTreeWidgetItem *item)
{
    OptionItem *row = optionItem(item);
    if (!row || !tree)
        return nullptr;
    if (row->accessibleId) {
        if (QAccessibleInterface *known = QAccessible::accessibleInterface(row->accessibleId))
            return known;
    }
    auto *made = new OptionRowAccessible(tree, row);
    row->accessibleId = QAccessible::registerAccessibleInterface(made);
    return made;
}

QAccessibleInterface *treeFactory(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    if (className == QLatin1String("CTreeOptionsCtrl"))
        return new TreeOptionsAccessible(static_cast<QWidget *>(object));
    if (className == QLatin1String("CTreeOptionsSpinCtrl"))
        return new SpinAccessible(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

void installTreeOptionsAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(treeFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

void notifyRowEvent(CTreeOptionsCtrl *tree, QTreeWidgetItem *row, QAccessible::Event type)
{
    if (!QAccessible::isActive() || !tree || !row)
        return;
    // A top-level row by its index among the tree's children; a row inside another by its own
    // interface, since a row's children are not counted by the tree.
    if (!row->parent()) {
        const int index = tree->indexOfTopLevelItem(row);
        if (index < 0)
            return;
        QAccessibleEvent event(tree, type);
        event.setChild(index);
        QAccessible::updateAccessibility(&event);
    } else if (QAccessibleInterface *iface = rowInterface(tree, row)) {
        QAccessibleEvent event(iface, type);
        QAccessible::updateAccessibility(&event);
    }
}

void notifyRowStateChanged(CTreeOptionsCtrl *tree, QTreeWidgetItem *row,
                           const QAccessible::State &changed)
{
    // Without an assistive tool listening there is no one to tell, and no interface to make.
    if (!QAccessible::isActive())
        return;
    if (QAccessibleInterface *iface = rowInterface(tree, row)) {
        QAccessibleStateChangeEvent event(iface, changed);
        QAccessible::updateAccessibility(&event);
    }
}

} // namespace setupmgr
