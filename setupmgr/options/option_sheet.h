// The option sheet: the General page over a working copy of the client's options. On OK the
// copy is stored to the option document and the client's provider reloads it before the sheet
// closes; then the client hears "Save".
#pragma once

#include <ostrel/data_provider.h>

#include <cstdint>

namespace setupmgr {

// The message of a notification, owning its arguments: the message's end deletes each of them
// and frees their array.
class NotificationMessage
{
public:
    NotificationMessage(std::uint32_t id, IDataProvider *sender);
    ~NotificationMessage();
    NotificationMessage(const NotificationMessage &) = delete;
    NotificationMessage &operator=(const NotificationMessage &) = delete;

    NotifyMessage *get() { return &m_message; }

private:
    NotifyMessage m_message;
};

// Runs the option sheet over a working copy of provider's options: kDialogOk when the user
// confirmed, the options were stored and the provider holds them again, kDialogCancel otherwise.
// When the provider makes no copy, nothing is shown: the client knows of its own failure.
std::int32_t showOptionSheet(IOptionProvider *provider);

} // namespace setupmgr
