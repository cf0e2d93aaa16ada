#include "missing_provider.h"

#include "common/language.h"
#include "controls/messages.h"

#include <QApplication>

namespace setupmgr {

namespace {

const char *kindName(ProviderKind kind)
{
    switch (kind) {
    case ProviderKind::Account:
        return "account";
    case ProviderKind::Authority:
        return "authority";
    case ProviderKind::ServerList:
        return "recorderList";
    case ProviderKind::RemoteSetupParameters:
        return "remoteSetup";
    case ProviderKind::Option:
        return "option";
    case ProviderKind::DisplayTemplate:
        return "displayTemplate";
    }
    return "";
}

// Used when the language file lacks the text, so the user still learns what is wrong.
QString builtInMessage(ProviderKind kind)
{
    return QStringLiteral("The client has not registered its %1 data (kind %2) with the setup "
                          "manager, so this window cannot open.")
        .arg(QLatin1String(kindName(kind)))
        .arg(static_cast<int>(kind));
}

} // namespace

QString missingProviderMessage(ProviderKind kind)
{
    const QString format = getStringOr("providerMissing", "setupManager", QString());
    const QString data = getStringOr(kindName(kind), "providerKind", QString());
    if (format.isEmpty() || data.isEmpty())
        return builtInMessage(kind);
    return Common::formatMessage(format, data);
}

void reportMissingProvider(ProviderKind kind)
{
    const QString message = missingProviderMessage(kind);
    if (!qobject_cast<QApplication *>(QCoreApplication::instance())) {
        qWarning("%s", qUtf8Printable(message));
        return;
    }
    showMessage(nullptr, message);
}

} // namespace setupmgr
