#include <ostrelhost/file_option_provider.h>

#include "xml_file.h"

namespace ostrelhost {

namespace {

constexpr char kRoot[] = "options";

} // namespace

OptionRecord FileOptionProvider::defaultOptions()
{
    OptionRecord options {};
    copyField(options.language, "en");
    options.alarmServiceAutoConnect = 0;
    options.alarmServicePollingTime = 10;
    options.alarmServicePollingMin = 5;
    options.alarmServicePollingMax = 60;
    return options;
}

FileOptionProvider::FileOptionProvider(std::shared_ptr<Diagnostics> diagnostics)
    : ProviderBase(std::move(diagnostics))
    , m_options(defaultOptions())
    , m_relay(std::make_shared<NotificationRelay>())
{ }

bool FileOptionProvider::queryLink(LinkKind link, void **out)
{
    if (!out)
        return false;
    *out = link == LinkKind::Notification ? static_cast<INotificationTarget *>(m_relay.get())
                                          : nullptr;
    return *out != nullptr;
}

bool FileOptionProvider::loadFile(const char *path)
{
    OptionRecord options = defaultOptions();
    const bool whole = xml::loadDocument(
        path, kRoot, diagnostics(), origin(),
        [&](const pugi::xml_node &root, xml::Content &content) {
            content.first(root, "language", [&](const pugi::xml_node &language) {
                xml::readField(options.language, language, "code");
            });
            // The alarm-service values go together: one malformed value leaves all at their
            // defaults. The bounds are the host's and the module clamps to them; the file keeps
            // what it is given.
            content.first(root, "alarmService", [&](const pugi::xml_node &alarm) {
                OptionRecord read = options;
                read.alarmServiceAutoConnect
                    = xml::boolean(alarm, "autoConnect", read.alarmServiceAutoConnect != 0) ? 1 : 0;
                read.alarmServicePollingTime = static_cast<std::int16_t>(xml::integer(
                    alarm, "pollingTime", INT16_MIN, INT16_MAX, read.alarmServicePollingTime));
                read.alarmServicePollingMin = static_cast<std::int16_t>(xml::integer(
                    alarm, "pollingMin", INT16_MIN, INT16_MAX, read.alarmServicePollingMin));
                read.alarmServicePollingMax = static_cast<std::int16_t>(xml::integer(
                    alarm, "pollingMax", INT16_MIN, INT16_MAX, read.alarmServicePollingMax));
                options = read;
            });
        });
    // What could be read is kept, the defaults stand in for the rest.
    m_options = options;
    return whole;
}

bool FileOptionProvider::saveFile(const char *path)
{
    return xml::saveDocument(path, kRoot, diagnostics(), origin(), [this](pugi::xml_node &root) {
        pugi::xml_node language = root.append_child("language");
        xml::setField(language, "code", m_options.language);
        pugi::xml_node alarm = root.append_child("alarmService");
        xml::setBoolean(alarm, "autoConnect", m_options.alarmServiceAutoConnect != 0);
        xml::setInteger(alarm, "pollingTime", m_options.alarmServicePollingTime);
        xml::setInteger(alarm, "pollingMin", m_options.alarmServicePollingMin);
        xml::setInteger(alarm, "pollingMax", m_options.alarmServicePollingMax);
    });
}

void FileOptionProvider::clear()
{
    m_options = defaultOptions();
}

bool FileOptionProvider::getOptions(OptionRecord **out)
{
    if (!out)
        return false;
    *out = &m_options;
    return true;
}

} // namespace ostrelhost
