#include "module_log.h"

#include <QByteArray>

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace {

std::atomic<ModuleLog *> g_instance {nullptr};

// The header's texts are written with their terminating zero byte, as the file layout requires.
constexpr char kBanner[] = "< Log for DisplayManager >";
constexpr char kColumns[] = "TickCount   DATE       TIME    ThreadID  Message";
static_assert(sizeof(kBanner) == 27 && sizeof(kColumns) == 49);

void copyOver(const std::filesystem::path &from, const std::filesystem::path &to)
{
    std::error_code ignored;
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing,
                               ignored);
}

bool writeAll(int fd, const char *data, size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written <= 0)
            return false;
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

} // namespace

ModuleLog::ModuleLog(const QString &folder)
    : m_path(folder + QLatin1Char('/') + QLatin1String(kFileName))
{
    const std::filesystem::path log = m_path.toStdString();
    const std::filesystem::path backup1 = log.string() + "~";
    const std::filesystem::path backup2 = log.string() + "~~";
    copyOver(backup1, backup2);
    copyOver(log, backup1);

    const int created = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (created >= 0) {
        const std::uint32_t tick = tickCount();
        const unsigned char tickBytes[4]
            = {static_cast<unsigned char>(tick), static_cast<unsigned char>(tick >> 8),
               static_cast<unsigned char>(tick >> 16), static_cast<unsigned char>(tick >> 24)};
        QByteArray header(reinterpret_cast<const char *>(tickBytes), 4);
        header += "\r\n";
        header.append(kBanner, sizeof(kBanner));
        header += "\r\n\r\n";
        header.append(kColumns, sizeof(kColumns));
        header += "\r\n";
        writeAll(created, header.constData(), static_cast<size_t>(header.size()));
        ::close(created);
    }

    m_fd = ::open(log.c_str(), O_RDWR | O_CLOEXEC);
    if (m_fd >= 0) {
        unsigned char tickBytes[4] = {};
        if (::pread(m_fd, tickBytes, 4, 0) == 4)
            m_startTick = tickBytes[0] | tickBytes[1] << 8 | tickBytes[2] << 16
                | static_cast<std::uint32_t>(tickBytes[3]) << 24;
    }

    ModuleLog *none = nullptr;
    g_instance.compare_exchange_strong(none, this);
}

ModuleLog::~ModuleLog()
{
    ModuleLog *self = this;
    g_instance.compare_exchange_strong(self, nullptr);
    if (m_fd >= 0)
        ::close(m_fd);
}

QString ModuleLog::defaultFolder()
{
    const QByteArray folder = qgetenv("OSTREL_LOG_DIR");
    return folder.isEmpty() ? QStringLiteral("/var/log/ostrel") : QString::fromLocal8Bit(folder);
}

ModuleLog *ModuleLog::instance()
{
    return g_instance.load();
}

std::uint32_t ModuleLog::tickCount()
{
    timespec now {};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const std::uint64_t ms = static_cast<std::uint64_t>(now.tv_sec) * 1000u
        + static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<std::uint32_t>(ms);
}

std::string ModuleLog::formatPrefix(std::uint32_t elapsedMs, const std::tm &local, int threadId)
{
    char prefix[96];
    const int length = std::snprintf(
        prefix, sizeof prefix, "%d.%03d %02d/%02d/%02d %02d:%02d:%02d (%5d)  ",
        static_cast<int>(elapsedMs / 1000), static_cast<int>(elapsedMs % 1000), local.tm_mon + 1,
        local.tm_mday, local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec, threadId);
    return std::string(prefix, static_cast<size_t>(std::max(length, 0)));
}

void ModuleLog::write(const char *message)
{
    std::lock_guard lock(m_mutex);
    if (m_fd < 0)
        return;
    const std::time_t now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    const std::string prefix = formatPrefix(tickCount() - m_startTick, local, gettid());
    size_t messageLength = 0;
    while (messageLength < kMaxMessageLength && message[messageLength])
        ++messageLength;
    // Three writes, as one line; the mutex keeps them together within the process.
    ::lseek(m_fd, 0, SEEK_END);
    writeAll(m_fd, prefix.data(), prefix.size());
    writeAll(m_fd, message, messageLength);
    writeAll(m_fd, "\r\n", 2);
}

namespace Common {

void writeLog(const char *format, ...)
{
    ModuleLog *log = ModuleLog::instance();
    if (!log)
        return;
    char message[ModuleLog::kMaxMessageLength + 1];
    va_list args;
    va_start(args, format);
    std::vsnprintf(message, sizeof message, format, args);
    va_end(args);
    log->write(message);
}

} // namespace Common
