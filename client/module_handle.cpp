#include "module_handle.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <dlfcn.h>

ModuleHandle::~ModuleHandle()
{
    unload();
}

QString ModuleHandle::defaultPath()
{
    const QString beside
        = QCoreApplication::applicationDirPath() + QStringLiteral("/libOstrelSetupMgr.so");
    return QFileInfo::exists(beside) ? beside : QStringLiteral("libOstrelSetupMgr.so");
}

bool ModuleHandle::load(const QString &path)
{
    unload();
    m_path = path;
    m_library = dlopen(path.toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL);
    if (!m_library) {
        m_error = QString::fromLocal8Bit(dlerror());
        return false;
    }
    m_get = reinterpret_cast<ISetupManager *(*)()>(dlsym(m_library, kGetSetupManagerSymbol));
    m_release = reinterpret_cast<void (*)()>(dlsym(m_library, kReleaseSetupManagerSymbol));
    m_manager = m_get ? m_get() : nullptr;
    if (!m_manager || !m_release) {
        m_error = QStringLiteral("%1 does not export the setup manager").arg(path);
        unload();
        return false;
    }
    return true;
}

bool ModuleHandle::restart()
{
    if (!m_manager)
        return false;
    m_release();
    m_manager = m_get();
    return m_manager != nullptr;
}

void ModuleHandle::unload()
{
    if (m_manager && m_release)
        m_release();
    m_manager = nullptr;
    m_get = nullptr;
    m_release = nullptr;
    if (m_library)
        dlclose(m_library);
    m_library = nullptr;
}
