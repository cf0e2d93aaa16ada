// ostrel-client: the demo client of the setup-manager module.
//   ostrel-client [--install-dir DIR] [--module PATH] [--tour OUTDIR]
#include "installation.h"
#include "main_window.h"
#include "module_handle.h"
#include "tour.h"

#include <ostrelhost/reference_host.h>

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>

#include <cstdio>
#include <cstring>

namespace {

bool hasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY")
        || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

int fail(const QString &message, bool interactive)
{
    std::fprintf(stderr, "ostrel-client: %s\n", qUtf8Printable(message));
    if (interactive)
        QMessageBox::critical(nullptr, QApplication::applicationDisplayName(), message);
    return 1;
}

struct Options
{
    QString installDir;
    QString module;
    // Empty without --tour.
    QString tourDir;
};

// The tour runs without a display too; the platform must be chosen before the application.
void chooseTourPlatform(int argc, char **argv)
{
    bool tour = false;
    for (int i = 1; i < argc; ++i)
        tour = tour || std::strcmp(argv[i], "--tour") == 0;
    if (tour && !hasDisplay() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

Options parseOptions(const QApplication &app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Demo client of the Ostrel setup-manager module."));
    parser.addHelpOption();
    const QCommandLineOption installOption(
        QStringLiteral("install-dir"),
        QStringLiteral("Installation folder to work in (default: your copy of the embedded one)."),
        QStringLiteral("DIR"));
    const QCommandLineOption moduleOption(QStringLiteral("module"),
                                          QStringLiteral("The module library to load."),
                                          QStringLiteral("PATH"), ModuleHandle::defaultPath());
    const QCommandLineOption tourOption(
        QStringLiteral("tour"),
        QStringLiteral("Walk every dialog through a scenario and save screenshots in OUTDIR."),
        QStringLiteral("OUTDIR"));
    parser.addOptions({installOption, moduleOption, tourOption});
    parser.process(app);
    return {parser.value(installOption), parser.value(moduleOption), parser.value(tourOption)};
}

// The installation folder to work in, entered, with a folder for the module's log. The tour works
// on a fresh copy of the embedded installation beside its screenshots, so that the data files it
// leaves show what it did.
bool prepareInstallation(const Options &options, QString *installDir, QString *error)
{
    const bool tour = !options.tourDir.isEmpty();
    QString dir = options.installDir;
    if (dir.isEmpty()) {
        dir = tour ? QDir(options.tourDir).absoluteFilePath(QStringLiteral("installation"))
                   : Installation::defaultFolder();
        if (tour)
            QDir(dir).removeRecursively();
        if (!Installation::ensureDefault(dir, error))
            return false;
    } else if (!QFileInfo::exists(dir)) {
        // A folder named for the first time gets its copy as the default location does; an
        // existing folder is used as it is, so that a wrong path is reported, not filled.
        if (!Installation::ensureDefault(dir, error))
            return false;
    }
    *installDir = QDir(dir).absolutePath();
    if (!Installation::enter(*installDir, error))
        return false;
    // The module logs into $OSTREL_LOG_DIR and never creates the folder: give it one.
    if (qEnvironmentVariableIsEmpty("OSTREL_LOG_DIR")) {
        QDir(*installDir).mkpath(QStringLiteral("Log"));
        qputenv("OSTREL_LOG_DIR", QDir(*installDir).filePath(QStringLiteral("Log")).toLocal8Bit());
    }
    return true;
}

int run(QApplication &app, ModuleHandle &module, ostrelhost::ReferenceHost &host,
        const QString &tourDir)
{
    MainWindow window(module, host);
    window.show();
    if (!tourDir.isEmpty()) {
        auto *tour = new Tour(window, tourDir, &window);
        QObject::connect(tour, &Tour::finished, &app, [&app](int skipped) {
            std::printf("Tour finished, %d step(s) skipped\n", skipped);
            app.exit(0);
        });
        tour->start();
    }
    return app.exec();
}

} // namespace

int main(int argc, char **argv)
{
    chooseTourPlatform(argc, argv);
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Ostrel"));
    QApplication::setApplicationName(QStringLiteral("ostrel-client"));
    QApplication::setApplicationDisplayName(QStringLiteral("Ostrel Client"));
    const Options options = parseOptions(app);
    const bool interactive = options.tourDir.isEmpty();

    QString installDir;
    QString error;
    if (!prepareInstallation(options, &installDir, &error))
        return fail(error, interactive);
    ostrelhost::ReferenceHost host(installDir);
    host.loadAll();

    ModuleHandle module;
    if (!module.load(options.module))
        return fail(QStringLiteral("Cannot load the setup-manager module: %1").arg(module.error()),
                    interactive);
    for (IDataProvider *provider : host.providers())
        module.manager()->RegisterProvider(provider);
    const int result = run(app, module, host, options.tourDir);
    module.unload();
    return result;
}
