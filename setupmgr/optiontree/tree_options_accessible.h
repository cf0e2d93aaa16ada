// The option tree paints its check boxes and radio buttons itself, so it tells assistive tools
// about them itself: each row is an accessible check box, radio button, group or value row with
// its checked and enabled states and its value.
#pragma once

#include <QAccessible>

class CTreeOptionsCtrl;
class QTreeWidgetItem;

namespace setupmgr {

// Makes option trees answer with their rows, and their spin controls with their range; once per
// process, from the first tree or spin control.
void installTreeOptionsAccessibility();

// Tells assistive tools that the row took the focus or joined or left the selection, naming it
// the way the tree's accessible interface counts its children.
void notifyRowEvent(CTreeOptionsCtrl *tree, QTreeWidgetItem *row, QAccessible::Event type);

// Tells assistive tools that these states of the row changed (a toggle, a change of enabling).
void notifyRowStateChanged(CTreeOptionsCtrl *tree, QTreeWidgetItem *row,
                           const QAccessible::State &changed);

} // namespace setupmgr
