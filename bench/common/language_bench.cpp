// Lookups in the shared string file through the module, against the same lookups made directly
// with pugixml in the same run. The module's lookup may cost at most 1.3 times the direct one.
#include "common/language.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int kCategories = 10;
constexpr int kItemsPerCategory = 100; // 1,000 items in all

struct Key
{
    std::string category;
    std::string id;
};

std::vector<Key> g_keys;
std::string g_file;

void writeInstallation(const QString &root)
{
    QDir(root).mkpath(QStringLiteral("Config"));
    QDir(root).mkpath(QStringLiteral("Language/en"));
    QFile pathIni(root + QStringLiteral("/Config/Path.ini"));
    if (!pathIni.open(QIODevice::WriteOnly))
        std::abort();
    pathIni.write("[PATH]\r\nini_ostrel=Config\\ostrel.ini\r\nxml_string=string.xml\r\n");

    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<string>\n";
    for (int c = 0; c < kCategories; ++c) {
        const std::string category = "category" + std::to_string(c);
        xml += "  <" + category + ">\n";
        for (int i = 0; i < kItemsPerCategory; ++i) {
            const std::string id = "item" + std::to_string(i);
            xml += "    <item id=\"" + id + "\">Text of " + category + " " + id + "</item>\n";
            g_keys.push_back({category, id});
        }
        xml += "  </" + category + ">\n";
    }
    xml += "</string>\n";
    g_file = QString(root + QStringLiteral("/Language/en/string.xml")).toStdString();
    QFile strings(QString::fromStdString(g_file));
    if (!strings.open(QIODevice::WriteOnly))
        std::abort();
    strings.write(xml.data(), static_cast<qint64>(xml.size()));
}

void moduleLookup(benchmark::State &state)
{
    size_t next = 0;
    for (auto _ : state) {
        const Key &key = g_keys[next++ % g_keys.size()];
        benchmark::DoNotOptimize(Common::getString(key.id.c_str(), key.category.c_str()));
    }
    state.SetItemsProcessed(state.iterations());
}

void directLookup(benchmark::State &state)
{
    pugi::xml_document document;
    if (!document.load_file(g_file.c_str()))
        state.SkipWithError("cannot parse");
    size_t next = 0;
    for (auto _ : state) {
        const Key &key = g_keys[next++ % g_keys.size()];
        const std::string xpath = "string/" + key.category + "/item[@id='" + key.id + "']";
        benchmark::DoNotOptimize(
            std::string(document.select_node(xpath.c_str()).node().child_value()));
    }
    state.SetItemsProcessed(state.iterations());
}

// Keeps the rate of each benchmark for the comparison after the run.
class RateReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            const auto found = run.counters.find("items_per_second");
            if (found != run.counters.end())
                rates[run.run_name.function_name] = found->second;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> rates;
};

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir install;
    writeInstallation(install.path());
    std::filesystem::current_path(install.path().toStdString());
    if (!Common::loadLanguage())
        return 1;

    benchmark::RegisterBenchmark("Common::getString", moduleLookup)->MinTime(1.0);
    benchmark::RegisterBenchmark("pugixml select_node", directLookup)->MinTime(1.0);
    benchmark::Initialize(&argc, argv);
    RateReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    const double module = reporter.rates["Common::getString"];
    const double direct = reporter.rates["pugixml select_node"];
    if (module <= 0 || direct <= 0)
        return 1;
    const double ratio = direct / module;
    std::printf("\nCommon::getString: %.0f lookups/s; pugixml directly: %.0f lookups/s\n", module,
                direct);
    std::printf("cost of the module's lookup: %.2fx the direct one (goal: at most 1.30x) -> %s\n",
                ratio, ratio <= 1.3 ? "met" : "NOT met");
    Common::releaseLanguage();
    return 0;
}
