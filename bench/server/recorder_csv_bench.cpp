// Importing recorders in bulk: 5,000 rows of new recorders, each with a phone number, into a
// copy of N recorders.
//  - ImportIntoHostList/N: into the reference host's provider, whose createServer looks through
//    the whole list; counter "ms_per_import", goal under 1,000 at N = 5,000.
//  - ImportIntoMemoryList/N: into a list that appends in constant time, so that only the
//    import's own work grows with N. An import looks through the list once, to index its names
//    and addresses: counter "index_ms", the time of importing the header row alone. Each row
//    then costs the same at any N: counter "us_per_row", the rest of the time per row, flat
//    from N = 0 to N = 20,000.
#include "server/recorder_csv.h"

#include "support/bench_support.h"
#include "support/recorder_site.h"

#include <ostrelhost/file_server_list_provider.h>
#include <ostrelhost/owned_records.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <vector>

namespace {

constexpr int kRows = 5000;

// A list that appends in constant time and keeps no call log: what grows with it is the
// import's own work.
class AppendList final : public IServerListProvider
{
public:
    AppendList() = default;
    AppendList(const AppendList &other)
    {
        m_servers.reserve(other.m_servers.size());
        for (const auto &server : other.m_servers)
            m_servers.push_back(ostrelhost::cloneRecord(*server));
    }

    bool queryLink(LinkKind, void **out) override
    {
        *out = nullptr;
        return false;
    }
    void release(int) override { }
    ProviderKind getKind() override { return ProviderKind::ServerList; }
    bool loadFile(const char *) override { return false; }
    bool saveFile(const char *) override { return false; }
    void clear() override { m_servers.clear(); }
    bool createWorkingCopy(IDataProvider **) override { return false; }

    std::int32_t getServerCount() override { return std::int32_t(m_servers.size()); }
    std::int32_t createServer(const char *name) override
    {
        m_servers.push_back(ostrelhost::makeRecord<ServerRecord>());
        copyField(m_servers.back()->name, name);
        return getServerCount() - 1;
    }
    bool getServer(std::int32_t index, ServerRecord **out) override
    {
        if (index < 0 || index >= getServerCount())
            return false;
        *out = m_servers[std::size_t(index)].get();
        return true;
    }
    // The import never looks a recorder up by name, nor removes one unless cancelled.
    bool findServer(const char *, ServerRecord **) override { return false; }
    bool removeServer(const char *) override { return false; }

private:
    std::vector<ostrelhost::RecordPtr<ServerRecord>> m_servers;
};

template <typename List>
void fillSite(List &list, int count)
{
    benchsupport::addNumberedRecorders(list, count, [](ServerRecord &, int) {});
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

// Returns the mean time of importing csv into a fresh copy of the site of state.range(0).
template <typename List>
double importInto(benchmark::State &state, const QByteArray &csv, int expectedRows)
{
    static std::map<int, std::unique_ptr<List>> sites;
    auto &site = sites[int(state.range(0))];
    if (!site) {
        site = std::make_unique<List>();
        fillSite(*site, int(state.range(0)));
    }
    std::vector<double> times;
    for (int i = 0; i < 5; ++i) {
        List copy(*site);
        setupmgr::CsvImportResult result;
        times.push_back(
            benchsupport::seconds([&] { result = setupmgr::importRecordersCsv(&copy, csv); }));
        if (result.added != expectedRows)
            state.SkipWithError("rows were refused");
    }
    return benchsupport::median(times);
}

void ImportIntoHostList(benchmark::State &state)
{
    double time = 0;
    for (auto _ : state) {
        time = importInto<ostrelhost::FileServerListProvider>(state, rows(), kRows);
        state.SetIterationTime(time);
    }
    state.counters["ms_per_import"] = 1e3 * time;
    state.counters["records"] = double(state.range(0));
}

void ImportIntoMemoryList(benchmark::State &state)
{
    const QByteArray header = rows().left(rows().indexOf('\n') + 1);
    double whole = 0;
    double index = 0;
    for (auto _ : state) {
        whole = importInto<AppendList>(state, rows(), kRows);
        index = importInto<AppendList>(state, header, 0);
        state.SetIterationTime(whole);
    }
    state.counters["index_ms"] = 1e3 * index;
    state.counters["us_per_row"] = 1e6 * (whole - index) / kRows;
    state.counters["records"] = double(state.range(0));
}

} // namespace

BENCHMARK(ImportIntoHostList)
    ->Arg(0)
    ->Arg(5000)
    ->Arg(20000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(ImportIntoMemoryList)
    ->Arg(0)
    ->Arg(5000)
    ->Arg(20000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

int main(int argc, char **argv)
{
    return benchsupport::runBenchmarks(argc, argv, nullptr);
}
