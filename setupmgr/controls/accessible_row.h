// The accessible side of a row that a control paints itself (an option row, an information
// category): an accessible object that also takes actions, such as toggling.
#pragma once

#include <QAccessibleActionInterface>
#include <QAccessibleInterface>

namespace setupmgr {

class AccessibleActionRow : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface
            ? static_cast<QAccessibleActionInterface *>(this)
            : nullptr;
    }
};

} // namespace setupmgr
