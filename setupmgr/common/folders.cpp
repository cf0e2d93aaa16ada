#include "folders.h"

#include <ostrelini/ini_file.h>

#include <QDir>

#include <filesystem>
#include <system_error>

namespace Common {

namespace {

QString g_installFolder;

const char *folderName(FolderKind kind)
{
    switch (kind) {
    case FolderKind::Config:
        return "Config";
    case FolderKind::Resource:
        return "Resource";
    case FolderKind::Help:
        return "Help";
    case FolderKind::Temp:
        return "Temp";
    case FolderKind::Language:
        return "Language";
    case FolderKind::Save:
        return "Save";
    }
    return "";
}

QString join(const QString &folder, const QString &name)
{
    if (folder.endsWith(QLatin1Char('/')))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}

} // namespace

void recordInstallFolder()
{
    std::error_code error;
    const std::filesystem::path cwd = std::filesystem::current_path(error);
    // A folder that no longer exists reads as empty, as a failed read of the working directory.
    g_installFolder = error ? QString() : QString::fromStdString(cwd.string());
}

QString installFolder()
{
    return g_installFolder;
}

QString getFolderPath(FolderKind kind, const QString &subName)
{
    recordInstallFolder();
    QString path = join(g_installFolder, QLatin1String(folderName(kind)));
    return subName.isEmpty() ? path : join(path, subName);
}

QString getPathEntry(const char *key, bool underInstallFolder)
{
    const QString pathIni = getFolderPath(FolderKind::Config, QStringLiteral("Path.ini"));
    QString value = ostrelini::IniFile::readString(pathIni, u"PATH", QString::fromLatin1(key),
                                                   QString(), kPathBufferLength);
    value.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!underInstallFolder)
        return value;
    return join(g_installFolder, value);
}

QString getLanguage()
{
    return ostrelini::IniFile::readString(getPathEntry("ini_ostrel", true), u"LANGUAGE", u"USE",
                                          QStringLiteral("en"), kLanguageBufferLength);
}

QString getLanguageFile(const char *key, const QString &code)
{
    const QString folder = getFolderPath(FolderKind::Language);
    const QString language = code.isEmpty() ? getLanguage() : code;
    const QString path = join(join(folder, language), getPathEntry(key, false));
    std::error_code error;
    return std::filesystem::exists(path.toStdString(), error) ? path : QString();
}

QString getDialogLanguageFile(const QString &fileName)
{
    return join(join(getFolderPath(FolderKind::Language), getLanguage()), fileName);
}

} // namespace Common
