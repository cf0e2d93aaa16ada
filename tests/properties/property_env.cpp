#include "property_env.h"

#include "account/choose_member_dlg.h"
#include "common/language.h"
#include "controls/node_tree_ctrl.h"
#include "support/dialog_test_util.h"

#include <QApplication>
#include <QTreeView>

#include <gtest/gtest.h>

#include <cstring>
#include <optional>

namespace props {

namespace {

// The embedded installation, copied into a folder of the program's own.
class Installation : public ::testing::Environment
{
public:
    void SetUp() override
    {
        m_install.emplace();
        m_install->copyFrom(QStringLiteral(OSTREL_INSTALL_DIR));
        Common::releaseLanguage();
    }
    void TearDown() override
    {
        Common::releaseLanguage();
        m_install.reset();
    }

private:
    std::optional<TempInstall> m_install;
};

[[maybe_unused]] ::testing::Environment *const installation
    = ::testing::AddGlobalTestEnvironment(new Installation);

} // namespace

rc::Gen<QString> genTyped()
{
    return rc::gen::map(recordgen::genText(20),
                        [](const std::string &bytes) { return QString::fromUtf8(bytes); });
}

rc::Gen<MemberMoves> genMemberMoves()
{
    return rc::gen::container<MemberMoves>(
        rc::gen::pair(rc::gen::inRange(0, 4), rc::gen::inRange(0, 20)));
}

void moveMembers(CChooseMemberDlg *chooser, const MemberMoves &moves)
{
    enum { kCandidates = 21030, kMembers = 21031 };
    for (const auto &[move, row] : moves) {
        auto *view = control<QTreeView>(chooser, move == 2 ? kCandidates : kMembers);
        if (move == 0) {
            chooser->chooseAll();
        } else if (move == 1) {
            chooser->removeAll();
        } else if (const int rows = view->model()->rowCount(); rows > 0) {
            view->selectionModel()->select(view->model()->index(row % rows, 0),
                                           QItemSelectionModel::ClearAndSelect
                                               | QItemSelectionModel::Rows);
            if (move == 2)
                chooser->moveSelectedToMembers();
            else
                chooser->moveSelectedToCandidates();
        }
    }
}

std::vector<std::uintptr_t> treeRecords(const QTreeWidgetItem *parent)
{
    std::vector<std::uintptr_t> records;
    auto *tree = static_cast<CNodeTreeCtrl *>(parent->treeWidget());
    for (int i = 0; i < parent->childCount(); ++i) {
        TreeNode *node = nullptr;
        tree->FindNode(parent->child(i), &node);
        records.push_back(reinterpret_cast<std::uintptr_t>(node ? tree->recordOf(*node) : nullptr));
    }
    return records;
}

void requireSame(const recordbytes::Records &before, const recordbytes::Records &after,
                 const std::string &what)
{
    const std::string found = recordbytes::difference(before, after);
    if (!found.empty())
        RC_FAIL(what + ": " + found);
}

void requireOneRemoved(const recordbytes::Records &before, const recordbytes::Records &after,
                       std::size_t offset, std::size_t size, const std::string &name,
                       const std::string &what)
{
    if (after.size() + 1 != before.size())
        RC_FAIL(what + ": " + std::to_string(before.size()) + " records before, "
                + std::to_string(after.size()) + " after");
    for (std::size_t i = 0; i < before.size(); ++i) {
        const std::string &head = before[i].head;
        if (strnlen(head.data() + offset, size) != name.size()
            || std::memcmp(head.data() + offset, name.data(), name.size()) != 0)
            continue;
        recordbytes::Records rest = before;
        rest.erase(rest.begin() + std::ptrdiff_t(i));
        if (recordbytes::sameMultiset(rest, after))
            return;
    }
    RC_FAIL(what + ": the remaining records are not the others, unchanged");
}

} // namespace props
