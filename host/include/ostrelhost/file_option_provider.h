// The client's general options (kind 7), kept in an XML file. Its notification link tells the
// application when the module has saved the options.
#pragma once

#include <ostrelhost/notification_relay.h>
#include <ostrelhost/provider_base.h>

namespace ostrelhost {

class FileOptionProvider final
    : public ProviderBase<FileOptionProvider, IOptionProvider, ProviderKind::Option>
{
public:
    // Language "en", no automatic connection, polling every 10 within 5..60.
    static OptionRecord defaultOptions();

    explicit FileOptionProvider(std::shared_ptr<Diagnostics> diagnostics = {});
    // A copy shares the relay, so a notification reaches the application from either object.
    FileOptionProvider(const FileOptionProvider &other) = default;

    // LinkKind::Notification yields the relay as an INotificationTarget.
    bool queryLink(LinkKind link, void **out) override;
    bool loadFile(const char *path) override;
    bool saveFile(const char *path) override;
    // Restores the default options: an option record is never empty.
    void clear() override;

    bool getOptions(OptionRecord **out) override;

    NotificationRelay &notifications() const { return *m_relay; }

private:
    OptionRecord m_options;
    std::shared_ptr<NotificationRelay> m_relay;
};

} // namespace ostrelhost
