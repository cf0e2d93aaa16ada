// The open-file dialog of the option tree's "..." button, with the language's OK text.
#pragma once

#include <QFileDialog>

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
