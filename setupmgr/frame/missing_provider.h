#pragma once

#include <ostrel/data_provider.h>

#include <QString>

namespace setupmgr {

// The message that tells the user which data the client has not registered.
QString missingProviderMessage(ProviderKind kind);
// Shows that message in a message box (when the host runs a QApplication, else as a warning on
// the console) and returns when the user closes it.
void reportMissingProvider(ProviderKind kind);

} // namespace setupmgr
