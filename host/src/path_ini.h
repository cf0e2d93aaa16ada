// The installation's Config/Path.ini, read the way the module reads it: section and keys
// without regard to case, the first match wins, values trimmed and unquoted.
#pragma once

#include <QHash>
#include <QString>

namespace ostrelhost::detail {

// The keys (folded to lower case) and values of section PATH; false with a reason when the file
// cannot be read.
bool readPathSection(const QString &iniPath, QHash<QString, QString> &entries, QString &reason);

// A value such as "Data\account.xml" as a path below the installation folder.
QString resolveDataPath(const QString &installDir, const QString &value);

} // namespace ostrelhost::detail
