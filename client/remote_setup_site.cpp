#include "remote_setup_site.h"

#include "module_handle.h"

#include <QEvent>
#include <QTimer>

RemoteSetupSite::RemoteSetupSite(ModuleHandle &module, QObject *parent)
    : QObject(parent)
    , m_module(module)
{ }

const ServerIdentity *RemoteSetupSite::getServerIdentity()
{
    return &m_identity;
}

bool RemoteSetupSite::attachRemoteSetup(IRemoteSetup *setup)
{
    m_attached = setup;
    return true;
}

QWidget *RemoteSetupSite::open(std::int32_t serverId, std::int32_t productType)
{
    close();
    m_identity = ServerIdentity {serverId, productType};
    m_attached = nullptr;
    IRemoteSetup *setup = m_module.manager()->OpenRemoteSetup(this);
    if (!setup || setup != m_attached)
        return nullptr;
    m_window = static_cast<QWidget *>(setup->window());
    if (m_window) {
        m_window->installEventFilter(this);
        m_window->show();
        m_window->raise();
    }
    return m_window;
}

void RemoteSetupSite::close()
{
    if (m_window)
        m_window->removeEventFilter(this);
    m_window = nullptr;
    m_attached = nullptr;
    if (m_module.manager()->IsRemoteSetupOpen()) {
        m_module.manager()->CloseRemoteSetup();
        emit closed();
    }
}

bool RemoteSetupSite::eventFilter(QObject *watched, QEvent *event)
{
    // The plug-in destroys its window when it is released, so the release must not run inside
    // the window's own close event.
    if (watched == m_window && event->type() == QEvent::Close)
        QTimer::singleShot(0, this, &RemoteSetupSite::close);
    return QObject::eventFilter(watched, event);
}
