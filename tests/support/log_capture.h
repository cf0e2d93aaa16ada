// The module's log, made in a folder of the test's own for as long as the capture lives, so that
// a test can read what the code under test logged.
#pragma once

#include "common/module_log.h"

#include <QFile>
#include <QTemporaryDir>

#include <optional>

class LogCapture
{
public:
    LogCapture()
    {
        m_log.emplace(m_dir.path());
        m_headerSize = read().size();
    }

    // True when this capture is the log the module writes to (no other log was made first).
    bool active() const { return ModuleLog::instance() == &*m_log; }

    // The lines written since the capture began.
    QString text() const { return QString::fromUtf8(read().mid(m_headerSize)); }
    bool contains(const QString &part) const { return text().contains(part); }

private:
    QByteArray read() const
    {
        QFile file(m_log->path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    qsizetype m_headerSize = 0;
    QTemporaryDir m_dir;
    std::optional<ModuleLog> m_log;
};
