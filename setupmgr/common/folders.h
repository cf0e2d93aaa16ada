// The installation's folders and configuration files, found relative to the process's working
// directory, which the host keeps at its installation folder.
#pragma once

#include <QString>

enum class FolderKind : int {
    Config = 0,
    Resource = 1,
    Help = 2,
    Temp = 3,
    Language = 4,
    Save = 5
};

namespace Common {

// Buffer lengths of the values read from the installation's ini files.
inline constexpr int kPathBufferLength = 260;
inline constexpr int kLanguageBufferLength = 49;

// Reads the working directory into the installation-folder buffer; called when the setup
// manager is created and by every getFolderPath.
void recordInstallFolder();
QString installFolder();

// <installation>/<folder>[/<subName>]
QString getFolderPath(FolderKind kind, const QString &subName = QString());
// A value of section PATH of Config/Path.ini, with its backslashes made separators; under the
// installation folder when underInstallFolder is set.
QString getPathEntry(const char *key, bool underInstallFolder);
// The configured language code, "en" by default.
QString getLanguage();
// Language/<code>/<file of key> when it exists, else empty; the configured code when code is empty.
QString getLanguageFile(const char *key, const QString &code = QString());
// Language/<configured code>/<fileName>, without an existence check: the dialog string files.
QString getDialogLanguageFile(const QString &fileName);

} // namespace Common
