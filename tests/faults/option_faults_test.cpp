// The option sheet driven through OK after a change, with every call of the option provider and
// of its working copy failing in turn.
#include "fault_loop.h"
#include "options/option_page_general.h"
#include "options/option_sheet.h"
#include "sheet/tree_prop_sheet.h"

#include <ostrel/setup_manager.h>

namespace {

using faults::Outcome;
using testhost::FaultPlan;

enum { kLanguageGroup = 1, kGerman = 6 };

class OptionFaults : public faults::FaultTest
{
protected:
    struct Run
    {
        Outcome outcome;
        int result = 0;
        bool announced = false;       // "Save" was sent
        std::string providerLanguage; // what the client's provider holds afterwards
    };

    // German chosen on the General page and OK pressed, with the plan's call failing.
    Run chooseGerman(const std::shared_ptr<FaultPlan> &plan)
    {
        options.data = testhost::OptionData();
        copyField(options.data.options.language, "ko");
        options.data.options.alarmServicePollingTime = 10;
        options.data.options.alarmServicePollingMin = 5;
        options.data.options.alarmServicePollingMax = 60;
        testhost::OptionProvider::files().clear();
        testhost::NotificationRecorder notifications;
        options.linkTarget = static_cast<INotificationTarget *>(&notifications);
        options.faults = plan;
        LogCapture log;
        MessageBoxAnswerer answerer;
        Run run;
        Outcome &outcome = run.outcome;

        duringStep<CTreePropSheet>(
            [&outcome](CTreePropSheet *sheet) {
                auto *tree = named<CTreeOptionsCtrl>(sheet, "optionTree");
                QTreeWidgetItem *group = tree->topLevelItem(kLanguageGroup);
                outcome.changeConfirmed = group && tree->userToggle(group->child(kGerman));
                QTest::mouseClick(named<QPushButton>(sheet, "okButton"), Qt::LeftButton);
                outcome.closed = !sheet->isVisible();
                if (outcome.closed)
                    return;
                int chosen = -1;
                QTreeWidgetItem *checked = nullptr;
                tree->GetRadioButton(group, &chosen, &checked);
                outcome.keptInDialog = chosen == kGerman;
            },
            [&] { run.result = setupmgr::showOptionSheet(&options); });
        run.announced = !notifications.received.empty();
        run.providerLanguage = options.data.options.language;
        options.linkTarget = nullptr;
        faults::finish<testhost::OptionProvider>(
            outcome, answerer, log, "xml_option", [](const testhost::OptionData &stored) {
                return std::set<std::string> {stored.options.language};
            });
        return run;
    }
};

// One run per failing call: the store is all or nothing and no work is lost; OK is reported,
// and "Save" sent, only for values the client's provider holds.
TEST_F(OptionFaults, ChangingAnOptionIsSafeAgainstEveryFailure)
{
    std::vector<Run> runs;
    const auto all = faults::forEachFailure([this, &runs](auto plan) {
        runs.push_back(chooseGerman(plan));
        return runs.back().outcome;
    });
    faults::expectSafe(all, "de", {"ko"}, {"de"});
    EXPECT_EQ(runs.back().result, kDialogOk);
    for (std::size_t i = 0; i < runs.size(); ++i) {
        if (runs[i].announced || runs[i].result == kDialogOk) {
            EXPECT_EQ(runs[i].providerLanguage, "de") << all[i].describe();
        }
        if (runs[i].result == kDialogOk) {
            EXPECT_TRUE(all[i].stored && all[i].stored->count("de")) << all[i].describe();
        }
    }
}

} // namespace
