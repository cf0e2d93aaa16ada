#include <ostrelhost/provider_base.h>

#include "host_log.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace ostrelhost {

void warnForeignRelease(ProviderKind kind)
{
    qCWarning(lcHost) << "release() on the kind" << static_cast<int>(kind)
                      << "provider that the application owns was ignored";
}

bool FileOrigin::stampOf(const QString &path, Stamp *stamp)
{
    struct stat status = {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return false;
    // Not the change time: keeping the file under a second name changes it.
    *stamp
        = {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino),
           static_cast<std::int64_t>(status.st_size),
           static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec};
    return true;
}

// A content hash, not a time: two workstations may store within the file system's time
// resolution, and a copy of the same bytes is the same version.
QByteArray FileOrigin::versionOf(const QByteArray &content)
{
    return QCryptographicHash::hash(content, QCryptographicHash::Sha256);
}

void FileOrigin::loaded(const QString &path, const QByteArray *content, bool exists, bool whole)
{
    *this = FileOrigin();
    if (path.isEmpty() || (exists && !content))
        return;
    m_path = QFileInfo(path).absoluteFilePath();
    m_existed = exists;
    if (content)
        m_version = versionOf(*content);
    m_damaged = exists && !whole && stampOf(path, &m_damagedStamp);
}

void FileOrigin::stored(const QString &path, const QByteArray &content)
{
    *this = FileOrigin();
    m_path = QFileInfo(path).absoluteFilePath();
    m_existed = true;
    m_version = versionOf(content);
}

bool FileOrigin::changedSince(const QString &path) const
{
    if (m_path.isEmpty() || QFileInfo(path).absoluteFilePath() != m_path)
        return false;
    // A file that is gone holds nobody's work: storing over nothing erases nothing.
    QFile file(path);
    if (!file.exists())
        return false;
    if (!m_existed || !file.open(QIODevice::ReadOnly))
        return true;
    const QByteArray content = file.readAll();
    return file.error() != QFileDevice::NoError || versionOf(content) != m_version;
}

bool FileOrigin::damagedAt(const QString &path) const
{
    Stamp now;
    return m_damaged && QFileInfo(path).absoluteFilePath() == m_path && stampOf(path, &now)
        && now == m_damagedStamp;
}

} // namespace ostrelhost
