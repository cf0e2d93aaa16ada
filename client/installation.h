// The installation folder the client works in: the module finds it as the working directory.
#pragma once

#include <QString>

namespace Installation {

// The user's own copy of the embedded default installation, made on the first run.
QString defaultFolder();
// Copies the embedded installation into folder, keeping files that are already there; false
// with a reason when it cannot.
bool ensureDefault(const QString &folder, QString *error);
// Makes folder the working directory; false with a reason when it is not an installation.
bool enter(const QString &folder, QString *error);

// The installation's main ini file, which holds the language the module speaks.
QString mainIni(const QString &folder);
// The installation's product list and product names.
QString oemIni(const QString &folder);
// The language code of the installation, "en" when none is set.
QString language(const QString &folder);
// Makes code the installation's language: one value of the main ini file changes, every other
// line stays as it is.
bool setLanguage(const QString &folder, const QString &code);

} // namespace Installation
