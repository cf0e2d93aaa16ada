#include <ostrelhost/notification_relay.h>

#include <QVariant>

namespace ostrelhost {

NotificationRelay::NotificationRelay(QObject *parent)
    : QObject(parent)
{ }

void NotificationRelay::notify(const char *name, NotifyMessage *message)
{
    const QString text = QString::fromUtf8(name ? name : "");
    const quint32 id = message ? message->id : 0;
    QVariantList arguments;
    if (message) {
        for (std::size_t i = 0, n = seqSize(message->arguments); i < n; ++i) {
            const QVariant *argument = message->arguments.first[i];
            arguments.append(argument ? *argument : QVariant());
        }
    }
    emit notified(text, id, arguments);
    if (text == QLatin1String("Save") && id == kSaveNotificationId)
        emit optionsSaved();
}

} // namespace ostrelhost
