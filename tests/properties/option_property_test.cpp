// The option sheet over random option records: OK without a change stores the record exactly as
// the host gave it; changes followed by Cancel leave it as it was.
#include "optiontree/tree_options_ctrl.h"
#include "optiontree/tree_options_edit.h"
#include "property_env.h"
#include "sheet/tree_prop_sheet.h"
#include "support/dialog_test_util.h"

#include <ostrel/setup_manager.h>

#include <rapidcheck/gtest.h>

namespace {

using namespace rc;

enum Group { kAlarm = 0, kLanguage = 1, kDirectX = 2 };

// Runs the sheet through the setup manager, as the client does, with action on the open sheet.
std::int32_t showSheet(testhost::OptionProvider &provider,
                       const std::function<void(CTreePropSheet *)> &action)
{
    ISetupManager *manager = GetSetupManager();
    manager->RegisterProvider(&provider);
    std::int32_t result = 0;
    const bool ran
        = duringStep<CTreePropSheet>(action, [&] { result = manager->ShowOptionSheet(); });
    ReleaseSetupManager();
    RC_ASSERT(ran);
    RC_ASSERT(provider.log->count("createWorkingCopy") == provider.log->count("copy.release"));
    return result;
}

RC_GTEST_PROP(OptionProperties, ConfirmedWithoutChangeKeepsEveryByte, ())
{
    testhost::OptionProvider provider;
    provider.data.options = *recordgen::genOptions();
    const auto before = recordbytes::Records {recordbytes::flatten(provider.data.options)};
    const auto result
        = showSheet(provider, [](CTreePropSheet *sheet) { press(sheet, "okButton"); });
    RC_ASSERT(result == 1);
    props::requireSame(before, {recordbytes::flatten(provider.data.options)}, "options after OK");
}

// Rows toggled, the polling time typed, perhaps applied to the copy; then Cancel.
RC_GTEST_PROP(OptionProperties, ChangedAndCancelledKeepsEveryByte, ())
{
    testhost::OptionProvider provider;
    provider.data.options = *recordgen::genOptions();
    const auto before = recordbytes::Records {recordbytes::flatten(provider.data.options)};
    const auto toggles = *gen::container<std::vector<std::pair<int, int>>>(gen::pair(
        gen::elementOf(std::vector<int> {kAlarm, kLanguage, kDirectX}), gen::inRange(0, 7)));
    const auto polling = *gen::inRange(-40000, 40000);
    const bool apply = *gen::arbitrary<bool>();
    const auto result = showSheet(provider, [&](CTreePropSheet *sheet) {
        auto *tree = named<CTreeOptionsCtrl>(sheet, "optionTree");
        for (const auto &[group, row] : toggles) {
            QTreeWidgetItem *parent = tree->topLevelItem(group);
            // The alarm group's second row is the polling time, no check box.
            if (parent && parent->childCount() > 0
                && !(group == kAlarm && row % parent->childCount() == 1))
                tree->userToggle(parent->child(row % parent->childCount()));
        }
        tree->setCurrentItem(tree->topLevelItem(kAlarm)->child(1));
        if (CTreeOptionsEdit *edit = tree->editEditor()) {
            edit->setText(QString::number(polling));
            tree->CommitAndCloseEditors();
        }
        if (apply && named<QPushButton>(sheet, "applyButton")->isEnabled())
            press(sheet, "applyButton");
        press(sheet, "cancelButton");
    });
    RC_ASSERT(result == 2);
    props::requireSame(before, {recordbytes::flatten(provider.data.options)},
                       "options after Cancel");
    RC_ASSERT(provider.log->count("loadFile") == 0);
}

} // namespace
