// Data exchange between a dialog's variables and the rows of its option tree: Load puts the
// variable into the row, Save reads the row back into the variable.
#pragma once

#include "data_exchange.h"

#include <QString>

class CTreeOptionsCtrl;
class QTreeWidgetItem;

// A check-box row and a flag.
void DDX_TreeCheck(setupmgr::DataExchange direction, CTreeOptionsCtrl *tree, QTreeWidgetItem *row,
                   bool &value);
// The radio rows under parent and the position of the checked one; saving with nothing checked
// leaves index as it was.
void DDX_TreeRadio(setupmgr::DataExchange direction, CTreeOptionsCtrl *tree,
                   QTreeWidgetItem *parent, int &index);
// An edit row's value text (the real value of a masked row is not read back).
void DDX_TreeEdit(setupmgr::DataExchange direction, CTreeOptionsCtrl *tree, QTreeWidgetItem *row,
                  QString &value);
// A drop-down row's value text.
void DDX_TreeCombo(setupmgr::DataExchange direction, CTreeOptionsCtrl *tree, QTreeWidgetItem *row,
                   QString &value);
