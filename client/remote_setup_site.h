// The client's side of a remote setup: it names the recorder to the module and shows the
// plug-in's window; closing that window closes the remote setup.
#pragma once

#include <ostrel/remote_setup.h>

#include <QObject>
#include <QPointer>
#include <QWidget>

class ModuleHandle;

class RemoteSetupSite : public QObject, public IRemoteSetupSite
{
    Q_OBJECT

public:
    explicit RemoteSetupSite(ModuleHandle &module, QObject *parent = nullptr);

    // Opens the remote setup of that recorder; the plug-in's window, or null when the module
    // refused (no plug-in for the product, the parameters refused, ...).
    QWidget *open(std::int32_t serverId, std::int32_t productType);
    // Closes an open remote setup, as when its window is closed.
    void close();
    QWidget *window() const { return m_window; }

    const ServerIdentity *getServerIdentity() override;
    bool attachRemoteSetup(IRemoteSetup *setup) override;

signals:
    void closed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    ModuleHandle &m_module;
    ServerIdentity m_identity {};
    IRemoteSetup *m_attached = nullptr;
    QPointer<QWidget> m_window;
};
