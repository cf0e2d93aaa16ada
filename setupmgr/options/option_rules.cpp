#include "option_rules.h"

#include "optiontree/tree_options_edit.h"

#include <ostrel/languages.h>

#include <iterator>

namespace setupmgr {

using ostrel::kDefaultLanguage;
using ostrel::kInstallationLanguages;

std::int16_t pollingTimeOf(const QString &typed, const OptionRecord &record)
{
    // Both bounds are 16-bit and every result is a bound or lies between them.
    return static_cast<std::int16_t>(heldInBounds(
        leadingNumber(typed), record.alarmServicePollingMin, record.alarmServicePollingMax));
}

int languageIndex(const QString &code)
{
    int fallback = 0;
    for (int i = 0; i < int(std::size(kInstallationLanguages)); ++i) {
        const QLatin1String listed(kInstallationLanguages[i].code);
        if (code == listed)
            return i;
        if (listed == QLatin1String(kDefaultLanguage))
            fallback = i;
    }
    return fallback;
}

QString languageCode(int index)
{
    const bool listed = index >= 0 && index < int(std::size(kInstallationLanguages));
    return QLatin1String(listed ? kInstallationLanguages[index].code : kDefaultLanguage);
}

int directXIndex(int version)
{
    return version == kDefaultDirectXVersion ? 0 : 1;
}

QString directXVersion(int index)
{
    return index == 0 ? QString::number(kDefaultDirectXVersion) : QStringLiteral("7");
}

void storeAutoConnect(OptionRecord &record, bool autoConnect)
{
    if (autoConnect != (record.alarmServiceAutoConnect != 0))
        record.alarmServiceAutoConnect = autoConnect ? 1 : 0;
}

} // namespace setupmgr
