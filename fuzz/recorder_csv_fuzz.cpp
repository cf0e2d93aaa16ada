// The recorder import on arbitrary file contents, against a small copy of the reference host's
// list. Besides not crashing: the copy grows by exactly the rows reported added, no two
// recorders share a name, and what was added exports and imports into an empty copy again
// without a refused row.
#include "common/text_field.h"
#include "server/recorder_csv.h"

#include <ostrelhost/file_server_list_provider.h>

#include <QByteArray>
#include <QSet>

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace {

void addSmallSite(ostrelhost::FileServerListProvider &servers)
{
    const char *const names[] = {"Lobby", "Gate", "Yard"};
    for (int i = 0; i < 3; ++i) {
        ServerRecord *record = nullptr;
        if (!servers.getServer(servers.createServer(names[i]), &record))
            __builtin_trap();
        std::snprintf(record->address, sizeof record->address, "10.0.0.%d", i + 1);
        record->port = 7000;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    ostrelhost::FileServerListProvider servers;
    addSmallSite(servers);
    const QByteArray csv(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const setupmgr::CsvImportResult result = setupmgr::importRecordersCsv(&servers, csv);
    if (servers.getServerCount() != 3 + result.added)
        __builtin_trap();
    QSet<QByteArray> names;
    for (std::int32_t i = 0; i < servers.getServerCount(); ++i) {
        ServerRecord *record = nullptr;
        if (!servers.getServer(i, &record) || names.contains(setupmgr::fieldBytes(record->name)))
            __builtin_trap();
        names.insert(setupmgr::fieldBytes(record->name));
    }
    ostrelhost::FileServerListProvider again;
    const setupmgr::CsvImportResult second
        = setupmgr::importRecordersCsv(&again, setupmgr::exportRecordersCsv(&servers, true));
    if (!second.refused.empty() || again.getServerCount() != servers.getServerCount())
        __builtin_trap();
    return 0;
}
