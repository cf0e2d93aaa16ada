#include "path_ini.h"

#include <QDir>
#include <QFile>

namespace ostrelhost::detail {

namespace {

QString unquoted(QString value)
{
    value = value.trimmed();
    if (value.size() >= 2
        && ((value.startsWith(u'"') && value.endsWith(u'"'))
            || (value.startsWith(u'\'') && value.endsWith(u'\''))))
        value = value.mid(1, value.size() - 2);
    return value;
}

} // namespace

bool readPathSection(const QString &iniPath, QHash<QString, QString> &entries, QString &reason)
{
    QFile file(iniPath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        reason = file.exists() ? file.errorString() : QStringLiteral("the file does not exist");
        return false;
    }
    QString text = QString::fromUtf8(file.readAll());
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    bool inPath = false;
    bool pathSeen = false;
    for (QStringView line : QStringView(text).split(u'\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[')) {
            const qsizetype close = line.indexOf(u']');
            const QStringView section = line.mid(1, close < 0 ? -1 : close - 1).trimmed();
            // Only the first PATH section counts, as with the first match of a key.
            inPath = !pathSeen && section.compare(u"PATH", Qt::CaseInsensitive) == 0;
            pathSeen = pathSeen || inPath;
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!inPath || equals <= 0)
            continue;
        const QString key = line.first(equals).trimmed().toString().toLower();
        if (!entries.contains(key))
            entries.insert(key, unquoted(line.sliced(equals + 1).toString()));
    }
    return true;
}

QString resolveDataPath(const QString &installDir, const QString &value)
{
    QString relative = value;
    relative.replace(u'\\', u'/');
    return QDir::cleanPath(QDir(installDir).filePath(relative));
}

} // namespace ostrelhost::detail
