#pragma once

#include <ostrel/data_provider.h>

#include <QString>

// The message that tells the user which data the client has not registered.
QString missingProviderMessage(ProviderKind kind);
// Shows that message in a message box (when the host runs a QApplication) and returns at once
// when the user closes it.
void reportMissingProvider(ProviderKind kind);
