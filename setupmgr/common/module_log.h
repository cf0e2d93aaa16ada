// The module's diagnostic log: one fixed file with two back-ups, a binary header with the start
// tick, and one line per event.
#pragma once

#include <QString>

#include <cstdint>
#include <ctime>
#include <mutex>
#include <string>

class ModuleLog
{
public:
    static constexpr const char *kFileName = "Ostrel_SetupMgr.log";
    static constexpr int kMaxMessageLength = 1024;

    // Rotates the back-ups, writes a new header and keeps the file open; the first log made in
    // the process becomes the one that Common::writeLog writes to. The folder is never created.
    explicit ModuleLog(const QString &folder = defaultFolder());
    ~ModuleLog();
    ModuleLog(const ModuleLog &) = delete;
    ModuleLog &operator=(const ModuleLog &) = delete;

    // $OSTREL_LOG_DIR when set, else the system's log folder for the client.
    static QString defaultFolder();
    static ModuleLog *instance();
    // Milliseconds since boot, wrapping like a 32-bit tick counter.
    static std::uint32_t tickCount();

    // "seconds.millis MM/DD/YYYY hh:mm:ss (thread)  " for a line written elapsedMs after the start.
    static std::string formatPrefix(std::uint32_t elapsedMs, const std::tm &local, int threadId);

    QString path() const { return m_path; }
    std::uint32_t startTick() const { return m_startTick; }

    // Appends one line: the prefix, the message (cut to kMaxMessageLength) and CR LF.
    void write(const char *message);

private:
    QString m_path;
    int m_fd = -1;
    std::uint32_t m_startTick = 0;
    std::mutex m_mutex;
};

namespace Common {

// printf-style; writes one line to the process's log, if there is one.
void writeLog(const char *format, ...) __attribute__((format(printf, 1, 2)));

} // namespace Common
