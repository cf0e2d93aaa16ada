// Importing recorders in bulk: 5,000 rows of new recorders, each with a phone number, into a
// copy of N recorders.
//  - ImportIntoHostList/N: into the reference host's provider, whose createServer looks through
//    the whole list; counter "ms_per_import", goal under 1,000 at N = 5,000.
//  - ImportIntoMemoryList/N: into a list that appends in constant time, so that only the
//    import's own work grows with N; counter "us_per_row", flat from N = 0 to N = 20,000.
#include "server/recorder_csv.h"

#include "support/bench_support.h"
#include "support/memory_providers.h"

#include <ostrelhost/file_server_list_provider.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>

namespace {

constexpr int kRows = 5000;

template <typename List>
void fillSite(List &list, int count)
{
    char name[51];
    for (int i = 0; i < count; ++i) {
        std::snprintf(name, sizeof name, "Recorder %05d", i);
        ServerRecord *record = nullptr;
        list.getServer(list.createServer(name), &record);
        std::snprintf(record->address, sizeof record->address, "10.%d.%d.%d", i / 65536,
                      i / 256 % 256, i % 256);
        record->port = 7000;
    }
}

// Rows whose names and addresses the sites do not hold.
const QByteArray &rows()
{
    static const QByteArray csv = [] {
        QByteArray text = "name,address,port,product_kind,login_id,info:Phone\r\n";
        for (int i = 0; i < kRows; ++i)
            text += "Imported " + QByteArray::number(i) + ",172.16." + QByteArray::number(i / 256)
                + '.' + QByteArray::number(i % 256) + ",7011,2,vexil,\"+1 555 0100\"\r\n";
        return text;
    }();
    return csv;
}

template <typename List>
void import(benchmark::State &state, const char *counter, double scale)
{
    static std::map<int, std::unique_ptr<List>> sites;
    auto &site = sites[int(state.range(0))];
    if (!site) {
        site = std::make_unique<List>();
        fillSite(*site, int(state.range(0)));
    }
    double total = 0;
    for (auto _ : state) {
        List copy(*site);
        setupmgr::CsvImportResult result;
        const double time
            = benchsupport::seconds([&] { result = setupmgr::importRecordersCsv(&copy, rows()); });
        if (result.added != kRows)
            state.SkipWithError("rows were refused");
        state.SetIterationTime(time);
        total += time;
    }
    state.counters[counter] = scale * total / double(state.iterations());
    state.counters["records"] = double(state.range(0));
}

void ImportIntoHostList(benchmark::State &state)
{
    import <ostrelhost::FileServerListProvider>(state, "ms_per_import", 1e3);
}

void ImportIntoMemoryList(benchmark::State &state)
{
    import <testhost::ServerListProvider>(state, "us_per_row", 1e6 / kRows);
}

} // namespace

BENCHMARK(ImportIntoHostList)
    ->Arg(0)
    ->Arg(5000)
    ->Arg(20000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK(ImportIntoMemoryList)
    ->Arg(0)
    ->Arg(5000)
    ->Arg(20000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

int main(int argc, char **argv)
{
    return benchsupport::runBenchmarks(argc, argv, nullptr);
}
