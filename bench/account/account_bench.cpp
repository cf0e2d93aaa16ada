// The account dialogs at the scale of a large site: 10,000 users and 2,000 groups of 50 members.
// Each benchmark times the dialog's work and, in the same iteration, a bare Qt list or tree
// filled with the same texts; the "ratio" counter is dialog time over bare time.
#include "account/account_manager_dlg.h"
#include "account/account_rules.h"
#include "account/account_user_dlg.h"
#include "account/choose_member_dlg.h"
#include "common/language.h"
#include "support/memory_providers.h"

#include <ostrelhost/file_account_provider.h>

#include <QApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QTreeView>
#include <QTreeWidget>

#include "support/bench_support.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>

namespace {

constexpr int kUsers = 10000;
constexpr int kGroups = 2000;
constexpr int kMembersPerGroup = 50;
constexpr int kChosen = 5000;

using benchsupport::seconds;
using benchsupport::settle;

// The site, held by the reference host's provider: the one a real client registers.
ostrelhost::FileAccountProvider &site()
{
    static ostrelhost::FileAccountProvider *accounts = [] {
        auto *provider = new ostrelhost::FileAccountProvider;
        UserRecord user {};
        for (int i = 0; i < kUsers; ++i) {
            std::snprintf(user.id, sizeof user.id, "user%05d", i);
            copyField(user.password, "pw");
            copyField(user.name, "User");
            user.number = -1;
            provider->addUser(&user);
        }
        std::vector<MemberRecord> blocks(kMembersPerGroup);
        for (int g = 0; g < kGroups; ++g) {
            GroupRecord group {};
            group.number = -1;
            std::snprintf(group.id, sizeof group.id, "group%04d", g);
            for (int m = 0; m < kMembersPerGroup; ++m) {
                blocks[m].kind = MemberUser;
                std::snprintf(blocks[m].id, sizeof blocks[m].id, "user%05d",
                              (g * kMembersPerGroup + m) % kUsers);
                seqAppend(group.members, &blocks[m]);
            }
            provider->addGroup(&group); // copies the member blocks
            seqClear(group.members);
        }
        return provider;
    }();
    return *accounts;
}

// The site as the dialog sees it, with the time its working copies take: the host's share of
// opening the account manager.
class TimedCopies final : public IAccountProvider
{
public:
    explicit TimedCopies(IAccountProvider &inner)
        : m_inner(inner)
    { }
    double copySeconds = 0;

    bool createWorkingCopy(IDataProvider **out) override
    {
        bool made = false;
        copySeconds += seconds([&] { made = m_inner.createWorkingCopy(out); });
        return made;
    }
    bool queryLink(LinkKind link, void **out) override { return m_inner.queryLink(link, out); }
    void release(int flag) override { m_inner.release(flag); }
    ProviderKind getKind() override { return m_inner.getKind(); }
    bool loadFile(const char *path) override { return m_inner.loadFile(path); }
    bool saveFile(const char *path) override { return m_inner.saveFile(path); }
    void clear() override { m_inner.clear(); }
    std::int32_t getUserCount() override { return m_inner.getUserCount(); }
    bool getUser(std::int32_t index, UserRecord **out) override
    {
        return m_inner.getUser(index, out);
    }
    bool addUser(const UserRecord *user) override { return m_inner.addUser(user); }
    bool deleteUser(const char *id) override { return m_inner.deleteUser(id); }
    std::int32_t getGroupCount() override { return m_inner.getGroupCount(); }
    bool getGroup(std::int32_t index, GroupRecord **out) override
    {
        return m_inner.getGroup(index, out);
    }
    bool addGroup(const GroupRecord *group) override { return m_inner.addGroup(group); }
    bool deleteGroup(const char *id) override { return m_inner.deleteGroup(id); }

private:
    IAccountProvider &m_inner;
};

QStringList userTexts(int first, int count)
{
    QStringList texts;
    texts.reserve(count);
    for (int i = first; i < first + count; ++i)
        texts << QStringLiteral("user%1").arg(i, 5, 10, QLatin1Char('0'));
    return texts;
}

QStringList groupTexts()
{
    QStringList texts;
    texts.reserve(kGroups);
    for (int g = 0; g < kGroups; ++g)
        texts << QStringLiteral("group%1").arg(g, 4, 10, QLatin1Char('0'));
    return texts;
}

// Two bare lists side by side, filled with the given texts and shown.
double bareLists(const QStringList &left, const QStringList &right)
{
    std::unique_ptr<QWidget> window;
    return seconds([&] {
        window = std::make_unique<QWidget>();
        auto *layout = new QHBoxLayout(window.get());
        for (const QStringList *texts : {&left, &right}) {
            auto *list = new QListWidget(window.get());
            list->addItems(*texts);
            layout->addWidget(list);
        }
        window->show();
        settle();
    });
}

void report(benchmark::State &state, double subject, double bare)
{
    state.counters["ratio"] = subject / bare;
    state.counters["bare_ms"] = 1000.0 * bare / static_cast<double>(state.iterations());
}

// A bare tree with the account manager's shape: a root, two folders, every id.
double bareAccountTree(const QStringList &users, const QStringList &groups)
{
    std::unique_ptr<QTreeWidget> tree;
    const double took = seconds([&] {
        tree = std::make_unique<QTreeWidget>();
        auto *root = new QTreeWidgetItem(QStringList {QStringLiteral("Accounts")});
        tree->addTopLevelItem(root);
        for (const QStringList *texts : {&users, &groups}) {
            auto *folder = new QTreeWidgetItem(QStringList {QStringLiteral("Folder")});
            QList<QTreeWidgetItem *> items;
            items.reserve(texts->size());
            for (const QString &text : *texts)
                items << new QTreeWidgetItem(QStringList {text});
            folder->addChildren(items);
            root->addChild(folder);
        }
        root->setExpanded(true);
        tree->show();
        settle();
    });
    return took;
}

// From construction until the tree is filled and shown. withCopy: the provider's working copy
// is made inside the clock, as ShowAccountManager does; otherwise before it.
void openAccountManager(benchmark::State &state, IAccountProvider &site, bool withCopy)
{
    TimedCopies accounts(site);
    const QStringList users = userTexts(0, kUsers);
    const QStringList groups = groupTexts();
    double subject = 0;
    double bare = 0;
    for (auto _ : state) {
        bare += bareAccountTree(users, groups);
        std::unique_ptr<CAccountManagerDlg> dialog;
        if (!withCopy) {
            dialog = std::make_unique<CAccountManagerDlg>();
            dialog->SetProvider(&accounts);
        }
        const double opened = seconds([&] {
            if (withCopy) {
                dialog = std::make_unique<CAccountManagerDlg>();
                dialog->SetProvider(&accounts);
            }
            dialog->show();
            settle();
        });
        subject += opened;
        state.SetIterationTime(opened);
        dialog.reset();
    }
    report(state, subject, bare);
    if (withCopy)
        state.counters["copy_ms"]
            = 1000.0 * accounts.copySeconds / static_cast<double>(state.iterations());
}

void OpenAccountManager(benchmark::State &state)
{
    openAccountManager(state, site(), true);
}

void FillAccountManager(benchmark::State &state)
{
    openAccountManager(state, site(), false);
}

// The dialog's fixed cost: opening it on a site without accounts.
void OpenEmptyAccountManager(benchmark::State &state)
{
    testhost::AccountProvider empty;
    for (auto _ : state) {
        std::unique_ptr<CAccountManagerDlg> dialog;
        state.SetIterationTime(seconds([&] {
            dialog = std::make_unique<CAccountManagerDlg>();
            dialog->SetProvider(&empty);
            dialog->show();
            settle();
        }));
    }
}

// The provider's share of opening: the host's deep copy of the site, 100,000 member blocks.
void WorkingCopyOnly(benchmark::State &state)
{
    ostrelhost::FileAccountProvider &accounts = site();
    for (auto _ : state) {
        IDataProvider *copy = nullptr;
        const double took = seconds([&] { accounts.createWorkingCopy(&copy); });
        state.SetIterationTime(took);
        copy->release(1);
    }
}

// A member list of the first 5,000 users.
struct Chosen
{
    PointerSeq<MemberRecord> list {};
    explicit Chosen(int count)
    {
        for (const QString &id : userTexts(0, count))
            seqAppend(list, setupmgr::newMember(MemberUser, id));
    }
    ~Chosen() { seqFreeBlocks(list); }
};

std::unique_ptr<CChooseMemberDlg> openChooser(PointerSeq<MemberRecord> *list)
{
    auto dialog = std::make_unique<CChooseMemberDlg>();
    dialog->SetSources(&site(), list);
    dialog->show();
    settle();
    return dialog;
}

void OpenChooser(benchmark::State &state)
{
    Chosen chosen(kChosen);
    const QStringList members = userTexts(0, kChosen);
    const QStringList candidates = userTexts(kChosen, kUsers - kChosen) + groupTexts();
    double subject = 0;
    double bare = 0;
    for (auto _ : state) {
        bare += bareLists(candidates, members);
        std::unique_ptr<CChooseMemberDlg> dialog;
        const double opened = seconds([&] { dialog = openChooser(&chosen.list); });
        subject += opened;
        state.SetIterationTime(opened);
    }
    report(state, subject, bare);
}

void ChooseAll(benchmark::State &state)
{
    Chosen chosen(kChosen);
    const QStringList all = userTexts(0, kUsers) + groupTexts();
    double subject = 0;
    double bare = 0;
    for (auto _ : state) {
        bare += bareLists({}, all);
        auto dialog = openChooser(&chosen.list);
        const double moved = seconds([&] {
            dialog->chooseAll();
            settle();
        });
        subject += moved;
        state.SetIterationTime(moved);
    }
    report(state, subject, bare);
}

void RemoveAll(benchmark::State &state)
{
    Chosen chosen(kChosen);
    const QStringList all = userTexts(0, kUsers) + groupTexts();
    double subject = 0;
    double bare = 0;
    for (auto _ : state) {
        bare += bareLists(all, {});
        auto dialog = openChooser(&chosen.list);
        const double moved = seconds([&] {
            dialog->removeAll();
            settle();
        });
        subject += moved;
        state.SetIterationTime(moved);
    }
    report(state, subject, bare);
}

// 5,000 scattered entries (every other one) move with ">".
void MoveSelected(benchmark::State &state)
{
    QStringList moved;
    QStringList kept;
    const QStringList users = userTexts(0, kUsers);
    for (int i = 0; i < kUsers; ++i)
        (i % 2 == 0 && moved.size() < kChosen ? moved : kept) << users.at(i);
    kept += groupTexts();
    double subject = 0;
    double bare = 0;
    for (auto _ : state) {
        bare += bareLists(kept, moved);
        auto dialog = openChooser(nullptr);
        auto *candidates = dialog->findChild<QTreeView *>(QStringLiteral("candidateList"));
        QItemSelection selection;
        for (int row = 0; row < 2 * kChosen; row += 2)
            selection.select(candidates->model()->index(row, 0),
                             candidates->model()->index(row, 0));
        candidates->selectionModel()->select(selection, QItemSelectionModel::Select);
        settle();
        const double took = seconds([&] {
            dialog->moveSelectedToMembers();
            settle();
        });
        subject += took;
        state.SetIterationTime(took);
    }
    report(state, subject, bare);
}

// The user dialog's OK with an id that only the last group has: every account is compared.
void UserOkValidation(benchmark::State &state)
{
    ostrelhost::FileAccountProvider &accounts = site();
    CAccountUserDlg dialog;
    dialog.SetProvider(&accounts, nullptr);
    dialog.show();
    settle();
    dialog.findChild<QLineEdit *>(QStringLiteral("idEdit"))->setText(QStringLiteral("GROUP1999"));
    const double accountCount = kUsers + kGroups;
    double total = 0;
    for (auto _ : state) {
        const double took = seconds([&] { dialog.accept(); });
        total += took;
        state.SetIterationTime(took);
    }
    if (!dialog.isVisible())
        state.SkipWithError("the dialog closed: the id was not refused");
    state.counters["ms_per_1000_accounts"]
        = 1000.0 * total / static_cast<double>(state.iterations()) / (accountCount / 1000.0);
}

} // namespace

BENCHMARK(OpenAccountManager)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(FillAccountManager)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(OpenEmptyAccountManager)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(300);
BENCHMARK(WorkingCopyOnly)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(OpenChooser)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(ChooseAll)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(RemoveAll)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(MoveSelected)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(UserOkValidation)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(200);

int main(int argc, char **argv)
{
    return benchsupport::runBenchmarks(argc, argv, OSTREL_INSTALL_DIR, [] {
        testhost::AccountProvider empty;
        CAccountManagerDlg dialog;
        dialog.SetProvider(&empty);
        dialog.show();
        bareAccountTree({QStringLiteral("a")}, {QStringLiteral("b")});
        bareLists({QStringLiteral("a")}, {QStringLiteral("b")});
        settle();
    });
}
