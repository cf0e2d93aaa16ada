// "Changing the selection" of the recorder manager: the information list is cleared, the new
// recorder's view is built from its record and the display template, the list is filled and
// painted. The same iteration clears, fills and paints a bare QListWidget with the same rows;
// the "ratio" counter is the list's median time over the bare list's. Goal: at most 2.
#include "controls/font_cache.h"
#include "controls/info_list_box.h"
#include "server/server_info_view.h"
#include "support/memory_providers.h"

#include <QApplication>
#include <QDir>
#include <QListWidget>

#include "support/bench_support.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <numeric>
#include <vector>

namespace {

using benchsupport::mean;
using benchsupport::median;
using benchsupport::seconds;
using testhost::DisplayTemplateData;

constexpr QSize kListSize(320, 600); // every row in sight, as in the dialog

// Four categories and twenty items, the recorder's own among them.
void fillTemplate(testhost::DisplayTemplateProvider &templates)
{
    InfoView *view = templates.data.addTemplate("serverInfo", "Recorder information");
    InfoCategory *dvr = DisplayTemplateData::addCategory(view, "dvr", "Recorder");
    for (const char *name :
         {"type", "name", "version", "connected", "cameraCount", "url", "port", "accountId"})
        DisplayTemplateData::addItem(dvr, name, name, "");
    InfoCategory *added = DisplayTemplateData::addCategory(view, "addInfo", "Additional");
    DisplayTemplateData::addItem(added, "site", "Site", "Head office");
    DisplayTemplateData::addItem(added, "contact", "Contact", "Front desk");
    char label[32];
    for (const char *category : {"network", "support"}) {
        InfoCategory *other = DisplayTemplateData::addCategory(view, category, category);
        for (int i = 0; i < 5; ++i) {
            std::snprintf(label, sizeof label, "%s item %d", category, i + 1);
            DisplayTemplateData::addItem(other, label, label, "A value of some length");
        }
    }
}

// A recorder with five additional-information entries.
ServerRecord *makeRecorder(testhost::ServerListData &servers)
{
    ServerRecord *record = servers.addServer("Warehouse North");
    record->connected = 1;
    record->productCode = 0x100903;
    record->version[0] = 3;
    record->version[2] = 2;
    copyField(record->address, "10.20.4.21");
    record->port = 6100;
    copyField(record->loginId, "ADMIN");
    for (int i = 0; i < 12; ++i)
        ostrelhost::appendBlock(record->cameras)->channel = i + 1;
    for (const char *name : {"Location", "Manager", "Phone", "Fax", "Fire Dept"}) {
        AdditionalInfo *entry = ostrelhost::appendBlock(record->additionalInfo);
        copyField(entry->name, name);
        copyField(entry->value, "Industriestrasse 12, Hall 3");
    }
    return record;
}

// The rows as a bare list shows them: captions, and label and value of each item.
QStringList rowTexts(const InfoView &view)
{
    QStringList texts;
    for (std::size_t c = 0; c < seqSize(view.categories); ++c) {
        const InfoCategory *category = seqAt(view.categories, c);
        texts << QString::fromUtf8(category->label);
        for (std::size_t i = 0; i < seqSize(category->items); ++i) {
            const InfoItem *item = seqAt(category->items, i);
            texts << QString::fromUtf8(item->label) + QLatin1Char('\t')
                    + QString::fromUtf8(item->value);
        }
    }
    return texts;
}

void ChangeSelection(benchmark::State &state)
{
    testhost::DisplayTemplateProvider templates;
    fillTemplate(templates);
    setupmgr::setDisplayTemplateProvider(&templates);
    testhost::ServerListData servers;
    const ServerRecord &record = *makeRecorder(servers);

    CInfoListBox list;
    list.SetColors(QColor(0, 0, 0), QColor(220, 217, 200), QColor(50, 50, 50),
                   QColor(100, 100, 100), QColor(0, 0, 0), QColor(0, 0, 0));
    list.resize(kListSize);
    list.SetView(BuildServerInfoView(record));
    list.show();
    QListWidget bare;
    bare.resize(kListSize);
    const QStringList texts = rowTexts(*list.view());
    bare.addItems(texts);
    bare.show();
    QCoreApplication::processEvents();

    std::vector<double> subject;
    std::vector<double> reference;
    for (auto _ : state) {
        // Both sides lay their rows out before they paint, so that both paint every row: a
        // list left to lay out later paints none.
        reference.push_back(seconds([&] {
            bare.clear();
            bare.addItems(texts);
            bare.doItemsLayout();
            bare.viewport()->repaint();
        }));
        subject.push_back(seconds([&] {
            list.ClearView();
            list.SetView(BuildServerInfoView(record));
            list.viewport()->repaint();
        }));
        state.SetIterationTime(subject.back());
    }
    state.counters["rows"] = list.count();
    state.counters["ratio"] = median(subject) / median(reference);
    state.counters["mean_ratio"] = mean(subject) / mean(reference);
    state.counters["list_us"] = 1e6 * median(subject);
    state.counters["bare_us"] = 1e6 * median(reference);
    setupmgr::setDisplayTemplateProvider(nullptr);
}

} // namespace

BENCHMARK(ChangeSelection)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(2000);

int main(int argc, char **argv)
{
    // The view reads oem.ini and the language file of the installation.
    return benchsupport::runBenchmarks(argc, argv, OSTREL_INSTALL_DIR);
}
