#include "dialog_style.h"

#include <QDialog>
#include <QFont>
#include <QLabel>
#include <QPalette>
#include <QTreeWidgetItem>

namespace setupmgr {

void paintWhite(QWidget *widget)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, backgroundColor());
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void setUpDialog(QDialog *dialog, int widthUnits, int heightUnits)
{
    paintWhite(dialog);
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(8);
    dialog->setFont(font);
    dialog->resize(unitsX(widthUnits), unitsY(heightUnits));
}

void makeMessageLine(QLabel *label)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, messageColor());
    label->setPalette(palette);
    label->setWordWrap(true);
    label->setMinimumHeight(2 * label->fontMetrics().height());
}

int unitsX(int units)
{
    return units * 3 / 2;
}

int unitsY(int units)
{
    return units * 13 / 8;
}

void emphasiseRoot(QTreeWidgetItem *root)
{
    if (!root)
        return;
    QFont bold = root->font(0);
    bold.setBold(true);
    root->setFont(0, bold);
    root->setExpanded(true);
}

} // namespace setupmgr
