// One cold start as a client makes it: load the module, register the reference host's providers
// over an installation and show the account manager until its first paint.
//   cold_start_module INSTALL_DIR MODULE
#include "first_paint.h"

#include <ostrel/setup_manager.h>
#include <ostrelhost/reference_host.h>

#include <QDialog>
#include <QDir>

#include <dlfcn.h>

int main(int argc, char **argv)
{
    const auto start = coldstart::Clock::now();
    if (argc < 3)
        return 2;
    QApplication app(argc, argv);
    const long residentAtStart = coldstart::residentKb();
    QDir::setCurrent(QString::fromLocal8Bit(argv[1]));

    void *module = dlopen(argv[2], RTLD_NOW | RTLD_LOCAL);
    if (!module)
        return 3;
    auto get = reinterpret_cast<ISetupManager *(*)()>(dlsym(module, kGetSetupManagerSymbol));
    auto release = reinterpret_cast<void (*)()>(dlsym(module, kReleaseSetupManagerSymbol));
    ISetupManager *manager = get ? get() : nullptr;
    if (!manager || !release)
        return 4;
    const double loaded = coldstart::msSince(start);

    ostrelhost::ReferenceHost host(QDir::currentPath());
    host.loadAll();
    for (IDataProvider *provider : host.providers())
        manager->RegisterProvider(provider);
    const double registered = coldstart::msSince(start);

    coldstart::FirstPaint watcher("CAccountManagerDlg", [&](QWidget *window) {
        const QByteArray phases = QStringLiteral("load=%1 register=%2")
                                      .arg(loaded, 0, 'f', 3)
                                      .arg(registered - loaded, 0, 'f', 3)
                                      .toLatin1();
        coldstart::report(phases.constData(), coldstart::msSince(start),
                          coldstart::residentKb() - residentAtStart);
        static_cast<QDialog *>(window)->reject();
    });
    manager->ShowAccountManager();
    release();
    dlclose(module);
    return 0;
}
