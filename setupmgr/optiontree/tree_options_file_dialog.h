// The open-file dialog of the option tree's "..." button, with the language's OK text.
#pragma once

#include <QFileDialog>
#include <QPointer>

class CTreeOptionsFileDialog : public QFileDialog
{
    Q_OBJECT

public:
    // filter in the "description|pattern|...|" form, as edit classes give it.
    CTreeOptionsFileDialog(QWidget *parent, const QString &title, const QString &initialFile,
                           const QString &filter);

    // "All Files (*.*)|*.*||" as Qt's name filters; "*.*" matches names without a dot too.
    static QStringList nameFilters(const QString &filter);
};

namespace setupmgr {

// A chooser of the option tree, made on the heap as a child of the tree. A tree destroyed while
// the chooser runs takes the chooser with it (one on the caller's stack would be deleted twice);
// exec() then answers false, and the caller must touch nothing that went with the tree.
template <typename Dialog>
class TreeChooser
{
public:
    explicit TreeChooser(Dialog *dialog)
        : m_dialog(dialog)
    { }
    ~TreeChooser() { delete m_dialog.data(); }
    TreeChooser(const TreeChooser &) = delete;
    TreeChooser &operator=(const TreeChooser &) = delete;

    // True when the user accepted and the chooser is still there to be read.
    bool exec() { return m_dialog && m_dialog->exec() == QDialog::Accepted && m_dialog; }
    Dialog *operator->() const { return m_dialog.data(); }

private:
    QPointer<Dialog> m_dialog;
};

} // namespace setupmgr
