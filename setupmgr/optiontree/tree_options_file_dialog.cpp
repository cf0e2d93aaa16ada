#include "tree_options_file_dialog.h"

#include "common/language.h"

CTreeOptionsFileDialog::CTreeOptionsFileDialog(QWidget *parent, const QString &title,
                                               const QString &initialFile, const QString &filter)
    : QFileDialog(parent, title)
{
    // Qt's own dialog, so that its OK button takes the language's text.
    setOption(QFileDialog::DontUseNativeDialog);
    setAcceptMode(QFileDialog::AcceptOpen);
    setFileMode(QFileDialog::AnyFile);
    setNameFilters(nameFilters(filter));
    if (!initialFile.isEmpty())
        selectFile(initialFile);
    setLabelText(QFileDialog::Accept, Common::getString("ok"));
}

QStringList CTreeOptionsFileDialog::nameFilters(const QString &filter)
{
    QStringList filters;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString &description = parts.at(i);
        if (description.isEmpty() || parts.at(i + 1).isEmpty())
            break;
        QStringList patterns = parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString &pattern : patterns) {
            if (pattern == QLatin1String("*.*"))
                pattern = QStringLiteral("*");
        }
        // The description's own pattern list gives way to Qt's form of it.
        QString shown = description;
        const qsizetype open = shown.lastIndexOf(QLatin1Char('('));
        if (open > 0 && shown.endsWith(QLatin1Char(')')))
            shown = shown.left(open).trimmed();
        filters << shown % QLatin1String(" (") % patterns.join(QLatin1Char(' ')) % QLatin1Char(')');
    }
    return filters;
}
