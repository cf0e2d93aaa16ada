// The object that the option provider links to (queryLink with LinkKind::Notification): it turns
// the module's notifications into Qt signals for the application.
#pragma once

#include <ostrel/data_provider.h>

#include <QObject>
#include <QString>
#include <QVariantList>

namespace ostrelhost {

class NotificationRelay : public QObject, public INotificationTarget
{
    Q_OBJECT

public:
    explicit NotificationRelay(QObject *parent = nullptr);

    // The message and its arguments stay the sender's; the signals carry copies.
    void notify(const char *name, NotifyMessage *message) override;

signals:
    void notified(const QString &name, quint32 id, const QVariantList &arguments);
    // "Save" with the save message id: the options were saved and the provider reloaded.
    void optionsSaved();
};

} // namespace ostrelhost
