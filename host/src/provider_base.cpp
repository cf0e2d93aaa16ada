#include <ostrelhost/provider_base.h>

#include "host_log.h"

#include <QFile>

#include <sys/stat.h>

namespace ostrelhost {

void warnForeignRelease(ProviderKind kind)
{
    qCWarning(lcHost) << "release() on the kind" << static_cast<int>(kind)
                      << "provider that the application owns was ignored";
}

bool DamagedFile::stampOf(const QString &path, Stamp *stamp)
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

void DamagedFile::remember(const QString &path)
{
    m_path = stampOf(path, &m_stamp) ? path : QString();
}

bool DamagedFile::matches(const QString &path) const
{
    Stamp now;
    return !m_path.isEmpty() && stampOf(path, &now) && now == m_stamp;
}

} // namespace ostrelhost
