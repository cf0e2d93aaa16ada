// The controls gallery. Without arguments it shows the sheet; with --screenshots DIR it saves
// screenshots of the empty page and of every editor kind, themed and classic, and exits.
#include "gallery.h"

#include "controls/theme_library.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

namespace {

// The editors read their texts (yes, no, OK) from an installation's language files: run in the
// source tree's installation unless started in one.
void enterInstallation()
{
    if (!QFileInfo::exists(QStringLiteral("Config/Path.ini")))
        QDir::setCurrent(QStringLiteral(OSTREL_INSTALL_DIR));
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Ostrel Controls Gallery"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("The option tree's editors and the tree "
                                                    "property sheet, themed and classic."));
    parser.addHelpOption();
    const QCommandLineOption screenshots(QStringLiteral("screenshots"),
                                         QStringLiteral("Save screenshots into <folder> and exit."),
                                         QStringLiteral("folder"));
    const QCommandLineOption classic(QStringLiteral("classic"),
                                     QStringLiteral("Start in the classic style."));
    parser.addOption(screenshots);
    parser.addOption(classic);
    parser.process(application);

    const QString folder
        = parser.isSet(screenshots) ? QDir(parser.value(screenshots)).absolutePath() : QString();
    enterInstallation();
    // The process-wide theme access, as the module makes it when it loads.
    ThemeLibrary themes;
    gallery::Gallery gallery;

    if (folder.isEmpty()) {
        if (parser.isSet(classic))
            QApplication::setStyle(QStringLiteral("windows"));
        gallery.sheet().show();
        return QApplication::exec();
    }

    if (!QDir().mkpath(folder)) {
        qWarning("Could not make %s", qUtf8Printable(folder));
        return 1;
    }
    bool saved = true;
    QApplication::setStyle(QStringLiteral("fusion"));
    saved &= gallery.saveScreenshots(folder, QStringLiteral("themed"));
    QApplication::setStyle(QStringLiteral("windows"));
    saved &= gallery.saveScreenshots(folder, QStringLiteral("classic"));
    return saved ? 0 : 1;
}
