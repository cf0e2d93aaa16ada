// The recorder manager on a central site's recorder list: 5,000 recorders of 5
// additional-information entries each, held by the reference host's provider.
//  - OpenServerManager: from construction (the working copy included) until the tree is filled
//    and shown, against a bare QTreeWidget with the same 5,000 names; counter "ratio", goal 2.
//  - ValidateNewServer: the setup dialog's OK checks of a new recorder against every record;
//    counter "ms_per_1000_records", goal under 1.
//  - NewAndDeleteAtTheEnd/N: New (the setup dialog accepted) and Delete (the question answered)
//    of a recorder at the end of an N-record tree; the time per pair at 2,500 and 5,000
//    records shows how it grows: twice the time for twice the records is linear, four times
//    would be quadratic.
#include "server/server_list_dlg.h"
#include "server/server_rules.h"
#include "server/server_setup_dlg.h"
#include "server/server_tree_ctrl.h"

#include <ostrelhost/file_server_list_provider.h>
#include <ostrelhost/owned_records.h>

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

#include "support/bench_support.h"
#include "support/recorder_site.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>

namespace {

constexpr int kRecorders = 5000;
constexpr int kInfoEntries = 5;

using benchsupport::seconds;
using benchsupport::settle;

// A site of count recorders, made once per size and loaded from its file, as a host loads its
// list at start: records handed out while building it would be copied whole by every working copy.
ostrelhost::FileServerListProvider &site(int count)
{
    static std::map<int, std::unique_ptr<ostrelhost::FileServerListProvider>> sites;
    auto &provider = sites[count];
    if (provider)
        return *provider;
    ostrelhost::FileServerListProvider built;
    benchsupport::addNumberedRecorders(built, count, [](ServerRecord &record, int) {
        copyField(record.loginId, "admin");
        for (int e = 0; e < kInfoEntries; ++e) {
            AdditionalInfo *info = ostrelhost::appendBlock(record.additionalInfo);
            info->tag = e;
            std::snprintf(info->name, sizeof info->name, "Entry %d", e);
            copyField(info->value, "+1 555 0100");
        }
    });
    const QTemporaryDir folder;
    const QByteArray file = folder.filePath(QStringLiteral("servers.xml")).toLocal8Bit();
    provider = std::make_unique<ostrelhost::FileServerListProvider>();
    if (!built.saveFile(file.constData()) || !provider->loadFile(file.constData()))
        std::abort();
    return *provider;
}

QStringList names(int count)
{
    QStringList texts;
    texts.reserve(count);
    for (int i = 0; i < count; ++i)
        texts << QStringLiteral("Recorder %1").arg(i, 5, 10, QLatin1Char('0'));
    return texts;
}

void OpenServerManager(benchmark::State &state)
{
    ostrelhost::FileServerListProvider &servers = site(kRecorders);
    const QStringList texts = names(kRecorders);
    double subject = 0;
    double bare = 0;
    for (auto _ : state) {
        std::unique_ptr<QTreeWidget> tree;
        bare += seconds([&] {
            tree = std::make_unique<QTreeWidget>();
            auto *root = new QTreeWidgetItem(QStringList {QStringLiteral("DVR")});
            QList<QTreeWidgetItem *> items;
            items.reserve(texts.size());
            for (const QString &text : texts)
                items << new QTreeWidgetItem(QStringList {text});
            root->addChildren(items);
            tree->addTopLevelItem(root);
            root->setExpanded(true);
            tree->show();
            settle();
        });
        tree.reset();
        std::unique_ptr<CServerListDlg> dialog;
        const double opened = seconds([&] {
            dialog = std::make_unique<CServerListDlg>();
            dialog->SetProvider(&servers);
            dialog->show();
            settle();
        });
        subject += opened;
        state.SetIterationTime(opened);
        dialog.reset();
    }
    state.counters["ratio"] = subject / bare;
    state.counters["bare_ms"] = 1000.0 * bare / double(state.iterations());
}

void ValidateNewServer(benchmark::State &state)
{
    ostrelhost::FileServerListProvider &servers = site(kRecorders);
    const QByteArray name = "Harbour Gate";
    const QByteArray address = "10.200.0.1";
    double total = 0;
    for (auto _ : state) {
        total += seconds([&] {
            const setupmgr::ServerRefusal refusal
                = setupmgr::checkNewServer(&servers, name, address, 7000);
            benchmark::DoNotOptimize(refusal);
        });
    }
    const double perCheck = total / double(state.iterations());
    state.counters["ms_per_1000_records"] = 1000.0 * perCheck / (kRecorders / 1000.0);
}

// Answers the next modal dialog: a setup dialog gets a new name and address and OK, a question
// gets Yes.
void answerNextDialog(int serial)
{
    QTimer::singleShot(0, [serial] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *setup = qobject_cast<CServerSetupDlg *>(modal)) {
            setup->findChild<QLineEdit *>(QStringLiteral("nameEdit"))
                ->setText(QStringLiteral("Added %1").arg(serial));
            setup->findChild<QLineEdit *>(QStringLiteral("addressEdit"))
                ->setText(QStringLiteral("192.168.%1.%2").arg(serial / 250).arg(serial % 250));
            setup->accept();
        } else if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            box->button(QMessageBox::Yes)->click();
        }
    });
}

void NewAndDeleteAtTheEnd(benchmark::State &state)
{
    CServerListDlg dialog;
    dialog.SetProvider(&site(int(state.range(0))));
    dialog.show();
    settle();
    int serial = 0;
    for (auto _ : state) {
        answerNextDialog(++serial);
        dialog.OnNew();
        answerNextDialog(serial);
        dialog.OnDelete();
    }
    state.counters["records"] = double(state.range(0));
}

} // namespace

BENCHMARK(OpenServerManager)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(ValidateNewServer)->Unit(benchmark::kMicrosecond);
BENCHMARK(NewAndDeleteAtTheEnd)
    ->Arg(kRecorders / 2)
    ->Arg(kRecorders)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(40);

int main(int argc, char **argv)
{
    // The setup dialog reads the product list and the texts of the installation.
    return benchsupport::runBenchmarks(argc, argv, OSTREL_INSTALL_DIR);
}
