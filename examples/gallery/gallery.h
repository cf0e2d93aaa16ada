// The controls gallery: what the module's option sheet, with its one page, does not show. A tree
// property sheet whose pages are placed by "::" captions, with a node that has no page, and a
// page whose option tree has a row of every other editor kind.
#pragma once

#include "optiontree/tree_options_ctrl.h"
#include "optiontree/tree_options_edit.h"
#include "sheet/property_page.h"
#include "sheet/tree_prop_sheet.h"

#include <QList>
#include <QString>

namespace gallery {

// An edit whose text spans lines: the option tree floats it in a window of its own.
class NotesEdit : public CTreeOptionsEdit
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit NotesEdit(QWidget *parent = nullptr);
    setupmgr::editorstyle::Style GetEditorStyle() const override;
    int GetEditorHeight(int labelHeight) const override;
};

// One option row of each editor kind.
class EditorPage : public CPropertyPage
{
    Q_OBJECT

public:
    struct Row
    {
        QString name; // names its screenshot
        QTreeWidgetItem *row;
    };

    explicit EditorPage(const QString &caption);
    CTreeOptionsCtrl *tree() const { return m_tree; }
    const QList<Row> &rows() const { return m_rows; }

private:
    static void editorNotify(EditorNotifyCode code, QTreeWidgetItem *row, QWidget *first,
                             QWidget *second, void *user);
    QTreeWidgetItem *group(const QString &label);
    QTreeWidgetItem *valueRow(const char *name, const QString &label, QTreeWidgetItem *group);

    CTreeOptionsCtrl *m_tree;
    QList<Row> m_rows;
    QTreeWidgetItem *m_listRow = nullptr;
};

// A page that only says what it stands for.
class TextPage : public CPropertyPage
{
    Q_OBJECT

public:
    TextPage(const QString &caption, const QString &text);
};

// The sheet and its pages. The pages are declared after the sheet, so they go first.
class Gallery
{
public:
    Gallery();

    CTreePropSheet &sheet() { return m_sheet; }
    // Saves a screenshot of the empty page and one of each editor open, in the current
    // application style, into folder with the suffix; false when one could not be written.
    bool saveScreenshots(const QString &folder, const QString &suffix);

private:
    bool save(const QString &folder, const QString &name, const QString &suffix);
    QTreeWidgetItem *pageTreeRow(const QString &text) const;

    CTreePropSheet m_sheet;
    EditorPage m_editors;
    TextPage m_cameras;
    TextPage m_recorders;
};

} // namespace gallery
