// The setup-manager module, loaded at run time and bound by its two exported names, as the real
// client does it.
#pragma once

#include <ostrel/setup_manager.h>

#include <QString>

class ModuleHandle
{
public:
    ModuleHandle() = default;
    ~ModuleHandle();
    ModuleHandle(const ModuleHandle &) = delete;
    ModuleHandle &operator=(const ModuleHandle &) = delete;

    // Loads the library and gets its setup manager; false with error() set on failure.
    bool load(const QString &path);
    // Releases the setup manager and unloads the library.
    void unload();
    // Releases the setup manager and gets a fresh one, as after a change of language: the module
    // reads its shared texts once per setup manager. Providers must be registered again.
    bool restart();

    ISetupManager *manager() const { return m_manager; }
    QString path() const { return m_path; }
    QString error() const { return m_error; }

    // The module beside the executable, else the plain name through the library search path.
    static QString defaultPath();

private:
    void *m_library = nullptr;
    ISetupManager *m_manager = nullptr;
    ISetupManager *(*m_get)() = nullptr;
    void (*m_release)() = nullptr;
    QString m_path;
    QString m_error;
};
