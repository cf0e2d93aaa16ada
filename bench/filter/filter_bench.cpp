// The find field on a large site: one keystroke's refilter, from the text changing until the
// tree is laid out and painted again, in the recorder manager over 5,000 recorders (matched by
// name, address and product name) and in the account manager over 10,000 users (id and name).
// Each iteration types the same keystrokes into a bare QSortFilterProxyModel over a
// QStandardItemModel holding the same texts in the same tree shape, shown in a QTreeView of the
// same size. Counter "ratio": the dialog's time over the bare proxy's; goal at most 1.5.
#include "account/account_manager_dlg.h"
#include "common/product_names.h"
#include "server/server_list_dlg.h"

#include <ostrelhost/file_account_provider.h>
#include <ostrelhost/file_server_list_provider.h>

#include <QApplication>
#include <QLineEdit>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTreeView>

#include "support/bench_support.h"
#include "support/recorder_site.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <iterator>
#include <memory>

namespace {

constexpr int kRecorders = 5000;
constexpr int kUsers = 10000;
// Typing a word and taking it back: narrowing and widening keystrokes alike.
const char *const kKeystrokes[] = {"1", "12", "123", "12", "1", ""};
constexpr int kWordsRole = Qt::UserRole + 1;

using benchsupport::seconds;
using benchsupport::settle;

// Product codes of the built-in table, so that recorders carry a handful of product names.
constexpr std::int32_t kProducts[] = {0x040204, 0x040210, 0x060108, 0x100803};

ostrelhost::FileServerListProvider &recorders()
{
    static auto *provider = [] {
        auto *servers = new ostrelhost::FileServerListProvider;
        benchsupport::addNumberedRecorders(*servers, kRecorders, [](ServerRecord &record, int i) {
            record.productCode = kProducts[i % 4];
        });
        return servers;
    }();
    return *provider;
}

ostrelhost::FileAccountProvider &users()
{
    static auto *provider = [] {
        auto *accounts = new ostrelhost::FileAccountProvider;
        UserRecord user {};
        for (int i = 0; i < kUsers; ++i) {
            std::snprintf(user.id, sizeof user.id, "user%05d", i);
            std::snprintf(user.name, sizeof user.name, "Operator %d", i * 7);
            user.number = -1;
            accounts->addUser(&user);
        }
        return accounts;
    }();
    return *provider;
}

// The bare side: a QTreeView over a recursive-filtering proxy; a row's words, one per line, in
// kWordsRole, as the dialog's rows have them.
struct BareTree
{
    QStandardItemModel model;
    QSortFilterProxyModel proxy;
    QTreeView view;

    BareTree()
    {
        proxy.setSourceModel(&model);
        proxy.setRecursiveFilteringEnabled(true);
        proxy.setFilterCaseSensitivity(Qt::CaseInsensitive);
        proxy.setFilterRole(kWordsRole);
        view.setHeaderHidden(true);
        view.setUniformRowHeights(true);
    }
    static QStandardItem *row(const QString &text, const QString &words)
    {
        auto *item = new QStandardItem(text);
        item->setData(words, kWordsRole);
        return item;
    }
    void show(QSize size)
    {
        view.setModel(&proxy);
        view.expandAll();
        view.resize(size);
        view.show();
        settle();
    }
};

// Types every keystroke into both sides; the dialog's field, the bare proxy's filter string.
void typeKeystrokes(benchmark::State &state, QLineEdit *field, BareTree &bare)
{
    double subject = 0;
    double bareTime = 0;
    for (auto _ : state) {
        for (const char *text : kKeystrokes) {
            const QString typed = QString::fromLatin1(text);
            subject += seconds([&] {
                field->setText(typed);
                settle();
            });
            bareTime += seconds([&] {
                bare.proxy.setFilterFixedString(typed);
                settle();
            });
        }
    }
    const double keystrokes = double(state.iterations()) * double(std::size(kKeystrokes));
    state.counters["ratio"] = subject / bareTime;
    state.counters["ms_per_keystroke"] = 1000.0 * subject / keystrokes;
    state.counters["bare_ms_per_keystroke"] = 1000.0 * bareTime / keystrokes;
}

void RecorderKeystroke(benchmark::State &state)
{
    CServerListDlg dialog;
    dialog.SetProvider(&recorders());
    dialog.show();
    settle();

    BareTree bare;
    auto *root = BareTree::row(QStringLiteral("DVR"), QString());
    IServerListProvider *copy = dialog.workingCopy();
    for (std::int32_t i = 0; i < copy->getServerCount(); ++i) {
        ServerRecord *record = nullptr;
        copy->getServer(i, &record);
        const QString name = QString::fromUtf8(record->name);
        root->appendRow(BareTree::row(name,
                                      name + QLatin1Char('\n') + QString::fromUtf8(record->address)
                                          + QLatin1Char('\n')
                                          + Common::getProductName(record->productCode)));
    }
    bare.model.appendRow(root);
    bare.show(dialog.findChild<QTreeView *>(QStringLiteral("serverTree"))->size());
    typeKeystrokes(state, dialog.findChild<QLineEdit *>(QStringLiteral("filterEdit")), bare);
}

void UserKeystroke(benchmark::State &state)
{
    CAccountManagerDlg dialog;
    dialog.SetProvider(&users());
    dialog.show();
    settle();

    BareTree bare;
    auto *root = BareTree::row(QStringLiteral("Accounts"), QString());
    auto *folder = BareTree::row(QStringLiteral("Users"), QString());
    IAccountProvider *copy = dialog.workingCopy();
    for (std::int32_t i = 0; i < copy->getUserCount(); ++i) {
        UserRecord *user = nullptr;
        copy->getUser(i, &user);
        const QString id = QString::fromUtf8(user->id);
        folder->appendRow(
            BareTree::row(id, id + QLatin1Char('\n') + QString::fromUtf8(user->name)));
    }
    root->appendRow(folder);
    root->appendRow(BareTree::row(QStringLiteral("Groups"), QString()));
    bare.model.appendRow(root);
    bare.show(dialog.findChild<QTreeView *>(QStringLiteral("accountTree"))->size());
    typeKeystrokes(state, dialog.findChild<QLineEdit *>(QStringLiteral("filterEdit")), bare);
}

} // namespace

BENCHMARK(RecorderKeystroke)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(UserKeystroke)->Unit(benchmark::kMillisecond)->Iterations(10);

int main(int argc, char **argv)
{
    // The dialogs read the installation's texts and product names.
    return benchsupport::runBenchmarks(argc, argv, OSTREL_INSTALL_DIR);
}
