#include "tree_options_ddx.h"

#include "common/check.h"
#include "tree_options_ctrl.h"

using setupmgr::DataExchange;

void DDX_TreeCheck(DataExchange direction, CTreeOptionsCtrl *tree, QTreeWidgetItem *row,
                   bool &value)
{
    OSTREL_CHECK(tree);
    if (direction == DataExchange::Load)
        tree->SetCheckBox(row, value);
    else
        tree->GetCheckBox(row, &value);
}

void DDX_TreeRadio(DataExchange direction, CTreeOptionsCtrl *tree, QTreeWidgetItem *parent,
                   int &index)
{
    OSTREL_CHECK(tree);
    if (direction == DataExchange::Load) {
        tree->SetRadioButton(parent, index);
    } else {
        QTreeWidgetItem *checked = nullptr;
        tree->GetRadioButton(parent, &index, &checked);
    }
}

void DDX_TreeEdit(DataExchange direction, CTreeOptionsCtrl *tree, QTreeWidgetItem *row,
                  QString &value)
{
    OSTREL_CHECK(tree);
    if (direction == DataExchange::Load)
        tree->SetEditText(row, value);
    else
        value = tree->GetEditText(row);
}

void DDX_TreeCombo(DataExchange direction, CTreeOptionsCtrl *tree, QTreeWidgetItem *row,
                   QString &value)
{
    OSTREL_CHECK(tree);
    if (direction == DataExchange::Load)
        tree->SetComboText(row, value);
    else
        value = tree->GetComboText(row);
}
