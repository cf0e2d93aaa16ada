// The look the module's dialogs share: white backgrounds, the red message line, the templates'
// font and their dialog units, the emphasised root of a filled tree.
#pragma once

#include <QColor>

class QDialog;
class QLabel;
class QTreeWidgetItem;
class QWidget;

namespace setupmgr {

inline QColor backgroundColor()
{
    return QColor(255, 255, 255);
}
inline QColor messageColor()
{
    return QColor(255, 0, 0);
}

// The widget and its labels on white; labels have no background of their own.
void paintWhite(QWidget *widget);
// The template's look: white, Tahoma 8 pt, and its size in dialog units.
void setUpDialog(QDialog *dialog, int widthUnits, int heightUnits);
// A line for refusals: red, wrapped, two lines high so the layout does not jump.
void makeMessageLine(QLabel *label);
// Dialog units of the templates in pixels (Tahoma 8 pt at 96 dpi).
int unitsX(int units);
int unitsY(int units);

// A filled tree's root, in bold and opened; nothing without one.
void emphasiseRoot(QTreeWidgetItem *root);

} // namespace setupmgr
