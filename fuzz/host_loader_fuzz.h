// The reference host's data-file loaders on arbitrary file contents, through the providers' own
// loadFile. Whatever a file holds, loading it must not crash; a store over it, as a dialog stores
// its working copy, keeps it first when it was not read whole; and what was loaded must survive a
// save: the saved file loads whole and saves to the same bytes again.
#pragma once

#include <ostrel/data_provider.h>
#include <ostrelhost/diagnostics.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace hostfuzz {

// A scratch folder for the run, in memory where the system has one.
inline const QTemporaryDir &scratch()
{
    static const QTemporaryDir dir(QDir(QDir(QStringLiteral("/dev/shm")).exists()
                                            ? QStringLiteral("/dev/shm")
                                            : QDir::tempPath())
                                       .filePath(QStringLiteral("ostrel-fuzz-XXXXXX")));
    return dir;
}

inline std::string scratchFile(const char *name)
{
    return QDir(scratch().path()).filePath(QString::fromLatin1(name)).toStdString();
}

inline QByteArray readAll(const std::string &path)
{
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeAll(const std::string &path, const std::uint8_t *data, std::size_t size)
{
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && file.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size))
        == static_cast<qint64>(size);
}

// Every problem of a damaged file is logged; thousands of lines a second only slow the run.
inline void quietLog()
{
    static const bool once = [] {
        QLoggingCategory::setFilterRules(QStringLiteral("ostrel.host.warning=false"));
        return true;
    }();
    (void)once;
}

// Loads the input with a provider from make(), hands it to inspect, then checks the round trip.
template <typename Make, typename Inspect>
int loadAndRoundTrip(const std::uint8_t *data, std::size_t size, Make make, Inspect inspect)
{
    quietLog();
    const std::string input = scratchFile("input.xml");
    const std::string saved = scratchFile("saved.xml");
    const std::string again = scratchFile("again.xml");
    if (!writeAll(input, data, size))
        return 0;

    auto provider = make();
    const bool whole = provider->loadFile(input.c_str());
    inspect(*provider);

    IDataProvider *copy = nullptr;
    if (!provider->createWorkingCopy(&copy) || !copy->saveFile(input.c_str()))
        __builtin_trap();
    copy->release(1);
    const QDir folder(scratch().path());
    const QStringList kept = folder.entryList({QStringLiteral("input.xml.damaged-*")});
    if (kept.size() != (whole ? 0 : 1))
        __builtin_trap(); // a file that was not read whole is kept, once
    for (const QString &name : kept) {
        if (readAll(folder.filePath(name).toStdString())
            != QByteArray::fromRawData(reinterpret_cast<const char *>(data),
                                       static_cast<qsizetype>(size)))
            __builtin_trap(); // as it was
        QFile::remove(folder.filePath(name));
    }
    if (!provider->saveFile(saved.c_str()))
        __builtin_trap(); // a folder that takes the input takes the saved file

    auto reader = make();
    if (!reader->loadFile(saved.c_str()))
        __builtin_trap(); // what the host writes, it reads whole
    if (!reader->saveFile(again.c_str()) || readAll(again) != readAll(saved))
        __builtin_trap(); // and writes back unchanged
    return 0;
}

} // namespace hostfuzz
