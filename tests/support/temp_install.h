// A throw-away installation folder that becomes the working directory for one test.
#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <filesystem>

class TempInstall
{
public:
    TempInstall()
        : m_previous(std::filesystem::current_path())
    {
        std::filesystem::current_path(m_dir.path().toStdString());
    }
    ~TempInstall() { std::filesystem::current_path(m_previous); }

    QString path() const { return m_dir.path(); }

    // Writes bytes to a file below the folder, creating its folders.
    void write(const QString &relative, const QByteArray &content) const
    {
        const QString file = m_dir.filePath(relative);
        QDir().mkpath(QFileInfo(file).path());
        QFile out(file);
        if (out.open(QIODevice::WriteOnly))
            out.write(content);
    }

    // Copies an installation folder (Config, Language, Data, ...) into this one.
    void copyFrom(const QString &installation) const
    {
        std::filesystem::copy(installation.toStdString(), m_dir.path().toStdString(),
                              std::filesystem::copy_options::recursive
                                  | std::filesystem::copy_options::overwrite_existing);
    }

private:
    QTemporaryDir m_dir;
    std::filesystem::path m_previous;
};
