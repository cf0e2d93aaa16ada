#include "installation.h"

#include <ostrelini/ini_file.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace Installation {

QString defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
        + QStringLiteral("/installation");
}

bool ensureDefault(const QString &folder, QString *error)
{
    const QString root = QStringLiteral(":/installation");
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = folder + source.mid(root.size());
        if (QFileInfo::exists(target))
            continue;
        if (!QDir().mkpath(QFileInfo(target).path()) || !QFile::copy(source, target)) {
            *error = QStringLiteral("Cannot create %1").arg(target);
            return false;
        }
        // Resource files are read-only; the copy is the user's to change.
        QFile::setPermissions(
            target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    return true;
}

bool enter(const QString &folder, QString *error)
{
    if (!QFileInfo::exists(folder + QStringLiteral("/Config/Path.ini"))) {
        *error = QStringLiteral("%1 is not an installation folder: Config/Path.ini is missing")
                     .arg(folder);
        return false;
    }
    if (!QDir::setCurrent(folder)) {
        *error = QStringLiteral("Cannot change to %1").arg(folder);
        return false;
    }
    return true;
}

QString mainIni(const QString &folder)
{
    return folder + QStringLiteral("/Config/ostrel.ini");
}

QString oemIni(const QString &folder)
{
    return folder + QStringLiteral("/Config/oem.ini");
}

QString language(const QString &folder)
{
    // Read as the module reads it, into a buffer of 49 bytes.
    return ostrelini::IniFile::readString(mainIni(folder), u"LANGUAGE", u"USE",
                                          QStringLiteral("en"), 49);
}

bool setLanguage(const QString &folder, const QString &code)
{
    return ostrelini::IniFile::writeString(mainIni(folder), u"LANGUAGE", u"USE", code);
}

} // namespace Installation
