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

} // namespace

int main(int argc, char **argv)
{
    // The tour runs without a display too; the platform must be chosen before the application.
    bool tour = false;
    for (int i = 1; i < argc; ++i)
        tour = tour || std::strcmp(argv[i], "--tour") == 0;
    if (tour && !hasDisplay() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Ostrel"));
    QApplication::setApplicationName(QStringLiteral("ostrel-client"));
    QApplication::setApplicationDisplayName(QStringLiteral("Ostrel Client"));

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
        QStringLiteral("Drive every dialog through a scenario and save screenshots in OUTDIR."),
        QStringLiteral("OUTDIR"));
    parser.addOptions({installOption, moduleOption, tourOption});
    parser.process(app);
    const bool interactive = !parser.isSet(tourOption);

    // The tour works on a fresh copy of the embedded installation beside its screenshots, so
    // that the data files it leaves show what it did.
    QString installDir = parser.value(installOption);
    if (installDir.isEmpty()) {
        installDir = parser.isSet(tourOption)
            ? QDir(parser.value(tourOption)).absoluteFilePath(QStringLiteral("installation"))
            : Installation::defaultFolder();
        if (parser.isSet(tourOption))
            QDir(installDir).removeRecursively();
        QString error;
        if (!Installation::ensureDefault(installDir, &error))
            return fail(error, interactive);
    }
    installDir = QDir(installDir).absolutePath();
    QString error;
    if (!Installation::enter(installDir, &error))
        return fail(error, interactive);
    // The module logs into $OSTREL_LOG_DIR and never creates the folder: give it one.
    if (qEnvironmentVariableIsEmpty("OSTREL_LOG_DIR")) {
        QDir(installDir).mkpath(QStringLiteral("Log"));
        qputenv("OSTREL_LOG_DIR", QDir(installDir).filePath(QStringLiteral("Log")).toLocal8Bit());
    }

    ostrelhost::ReferenceHost host(installDir);
    host.loadAll();

    ModuleHandle module;
    if (!module.load(parser.value(moduleOption)))
        return fail(QStringLiteral("Cannot load the setup-manager module: %1").arg(module.error()),
                    interactive);
    for (IDataProvider *provider : host.providers())
        module.manager()->RegisterProvider(provider);

    int result = 0;
    {
        MainWindow window(module, host);
        window.show();
        if (parser.isSet(tourOption)) {
            auto *run = new Tour(window, parser.value(tourOption), &window);
            QObject::connect(run, &Tour::finished, &app, [&app](int failures) {
                std::printf("Tour finished with %d failed step(s)\n", failures);
                app.exit(failures ? 1 : 0);
            });
            run->start();
        }
        result = app.exec();
    }
    module.unload();
    return result;
}
