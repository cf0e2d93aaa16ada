// The recorder manager and its setup dialog over random recorders: looking at a recorder, or
// editing and cancelling, leaves every byte of every recorder as it was; deleting or adding
// one leaves the others, and the tree shows exactly the recorders of the working copy.
//
// Built twice: over the provider that keeps each record in a block of its own, and over one
// that keeps them by value in a vector, where adding a recorder moves them all, so that a
// pointer kept across that call is a use after free under ASan.
#include "property_env.h"
#include "server/server_info_view.h"
#include "server/server_list_dlg.h"
#include "server/server_setup_dlg.h"
#include "server/server_tree_ctrl.h"
#include "support/dialog_test_util.h"

#include <rapidcheck/gtest.h>

#include <QComboBox>

namespace {

using namespace rc;
using recordbytes::Records;

#ifdef OSTREL_SERVERS_BY_VALUE
using Provider = testhost::ServerValueListProvider;
#define RECORDER_PROP(name) RC_GTEST_PROP(RecorderByValueProperties, name, ())
#else
using Provider = testhost::ServerListProvider;
#define RECORDER_PROP(name) RC_GTEST_PROP(RecorderProperties, name, ())
#endif

// The information view reads the recorder's fields through the "dvr" category, and its
// additional information through "addInfo".
class Templates
{
public:
    Templates()
    {
        InfoView *view = provider.data.addTemplate("serverInfo", "Recorder");
        InfoCategory *dvr = testhost::DisplayTemplateData::addCategory(view, "dvr", "Recorder");
        for (const char *item :
             {"type", "name", "version", "connected", "cameraCount", "url", "port", "accountId"})
            testhost::DisplayTemplateData::addItem(dvr, item, item, "");
        testhost::DisplayTemplateData::addCategory(view, "addInfo", "More");
        setupmgr::setDisplayTemplateProvider(&provider);
    }
    ~Templates() { setupmgr::setDisplayTemplateProvider(nullptr); }

private:
    testhost::DisplayTemplateProvider provider;
};

struct Case
{
    Case()
    {
        const auto pool = *recordgen::genNamePool(sizeof(ServerRecord::name));
        const auto drawn = *recordgen::genServers(pool, 1);
        servers.data = decltype(servers.data)(drawn);
        count = int(drawn.servers.size());
        before = recordbytes::servers(servers.data);
    }

    Records copy() const
    {
        return recordbytes::servers(props::testProvider<Provider>(list->workingCopy()).data);
    }

    void open()
    {
        list = std::make_unique<CServerListDlg>();
        list->SetProvider(&servers);
        list->show();
        tree = named<CServerTreeCtrl>(list.get(), "serverTree");
    }

    // The records of the working copy, in its order, against those the tree's items point at.
    void requireTreeShowsTheCopy() const
    {
        IServerListProvider *copy = list->workingCopy();
        std::vector<std::uintptr_t> records;
        for (std::int32_t i = 0, n = copy->getServerCount(); i < n; ++i) {
            ServerRecord *record = nullptr;
            copy->getServer(i, &record);
            records.push_back(reinterpret_cast<std::uintptr_t>(record));
        }
        if (props::treeRecords(tree->rootItem()) != records)
            RC_FAIL("the tree's items do not point at the working copy's records");
    }

    void close()
    {
        list.reset();
        props::requireSame(before, recordbytes::servers(servers.data), "the client's recorders");
        RC_ASSERT(servers.log->count("createWorkingCopy") == servers.log->count("copy.release"));
    }

    Templates templates;
    Provider servers;
    int count = 0;
    Records before;
    std::unique_ptr<CServerListDlg> list;
    CServerTreeCtrl *tree = nullptr;
};

// OK without a change, or edits (fields, product, rows added, the first row's name cleared)
// followed by Cancel. When the unchanged recorder is refused (its address and port are
// another's, its name is blank) the dialog is cancelled, and nothing may have changed either.
RECORDER_PROP(RecorderConfirmedUnchangedOrEditedAndCancelledKeepsEveryByte)
{
    Case c;
    const auto index = *gen::inRange(0, c.count);
    const bool cancel = *gen::arbitrary<bool>();
    const auto typed = *gen::container<std::vector<QString>>(6, props::genTyped());
    const auto product = *gen::inRange(0, 8);
    const auto newRows = *gen::inRange(0, 3);
    MessageBoxAnswerer answerer(QMessageBox::Yes);
    c.open();
    c.tree->setCurrentItem(c.tree->rootItem()->child(index));
    const bool ran = duringStep<CServerSetupDlg>(
        [&](CServerSetupDlg *setup) {
            if (!cancel) {
                press(setup, "okButton");
                return;
            }
            const char *edits[]
                = {"nameEdit", "addressEdit", "portEdit", "loginIdEdit", "passwordEdit"};
            for (int i = 0; i < 5; ++i)
                retype(named<QLineEdit>(setup, edits[i]), typed[std::size_t(i)]);
            auto *products = named<QComboBox>(setup, "productCombo");
            products->setCurrentIndex(product % products->count());
            for (int i = 0; i < newRows; ++i) {
                press(setup, "newButton");
                retype(named<QLineEdit>(setup, "cellEditor"), typed[5]);
            }
            auto *rows = named<QTreeWidget>(setup, "additionalInfoList");
            if (rows->topLevelItemCount() > 0)
                rows->topLevelItem(0)->setText(0, QString());
            press(setup, "cancelButton");
        },
        [&c] { c.list->OnModify(); });
    RC_TAG(cancel ? "cancelled" : c.list->isModified() ? "stored" : "refused");
    RC_ASSERT(ran);
    props::requireSame(c.before, c.copy(), "recorders after the dialog");
    RC_ASSERT(!(cancel && c.list->isModified()));
    if (cancel)
        c.list->reject();
    else
        c.list->accept();
    c.close();
}

// The provider removes the first recorder of a name; names repeat.
RECORDER_PROP(DeletingARecorderLeavesTheOthers)
{
    Case c;
    const auto index = *gen::inRange(0, c.count);
    MessageBoxAnswerer answerer(QMessageBox::Yes);
    c.open();
    c.tree->setCurrentItem(c.tree->rootItem()->child(index));
    ServerRecord *chosen = nullptr;
    RC_ASSERT(c.list->workingCopy()->getServer(index, &chosen));
    const std::string name(chosen->name, strnlen(chosen->name, sizeof chosen->name));
    c.list->OnDelete();
    RC_ASSERT(answerer.texts.size() == 1);
    props::requireOneRemoved(c.before, c.copy(), offsetof(ServerRecord, name),
                             sizeof(ServerRecord::name), name, "recorders after Delete");
    c.requireTreeShowsTheCopy();
    c.list->reject();
    c.close();
}

// A new recorder is added after the others, which stay as they were; every recorder of the
// tree can be selected afterwards and shows its own information.
RECORDER_PROP(AddingARecorderLeavesTheOthers)
{
    Case c;
    MessageBoxAnswerer answerer(QMessageBox::Yes);
    c.open();
    if (*gen::arbitrary<bool>())
        c.tree->setCurrentItem(c.tree->rootItem()->child(*gen::inRange(0, c.count)));
    const bool ran = duringStep<CServerSetupDlg>(
        [](CServerSetupDlg *setup) {
            // A generated recorder would hold these only through a long run of random bytes.
            retype(named<QLineEdit>(setup, "nameEdit"), QStringLiteral("new recorder"));
            retype(named<QLineEdit>(setup, "addressEdit"), QStringLiteral("host.new"));
            press(setup, "okButton");
        },
        [&c] { c.list->OnNew(); });
    RC_ASSERT(ran);
    Records after = c.copy();
    RC_ASSERT(after.size() == c.before.size() + 1);
    after.pop_back();
    props::requireSame(c.before, after, "recorders after New");
    c.requireTreeShowsTheCopy();
    for (int i = 0; i < c.tree->rootItem()->childCount(); ++i)
        c.tree->setCurrentItem(c.tree->rootItem()->child(i));
    c.list->reject();
    c.close();
}

// A host may fill a name to its last byte: the test providers look it up within the field, as
// the reference host does, or a property would test the provider rather than the dialogs.
TEST(RecorderProviders, FindAndRemoveAFullNameWithinItsField)
{
    Provider servers;
    ServerRecord *record = nullptr;
    ASSERT_TRUE(servers.getServer(servers.createServer("x"), &record));
    const std::string name(sizeof record->name, 'a');
    std::memcpy(record->name, name.data(), name.size());
    record->connected = 1; // the byte after the name
    ServerRecord *found = nullptr;
    EXPECT_TRUE(servers.findServer(name.c_str(), &found));
    EXPECT_EQ(found, record);
    EXPECT_TRUE(servers.removeServer(name.c_str()));
    EXPECT_EQ(servers.getServerCount(), 0);
}

} // namespace
