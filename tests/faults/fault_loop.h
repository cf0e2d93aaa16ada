// Drives one dialog path with the Nth provider call failing, for N = 1, 2, ... until the path
// completes without meeting its failure, and collects what each run left behind.
#pragma once

#include "common/language.h"
#include "common/working_copy.h"
#include "server/server_info_view.h"
#include "support/dialog_test_util.h"
#include "support/log_capture.h"
#include "support/memory_providers.h"
#include "support/temp_install.h"

#include <QTreeWidgetItem>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace faults {

// What one run left: enough to judge it afterwards.
struct Outcome
{
    int failAt = 0;
    std::string failedCall;            // empty for the run that met no failure
    bool changeConfirmed = false;      // the user finished making the change in the dialog
    bool closed = false;               // the dialog closed after OK
    bool keptInDialog = false;         // still open, and still showing the change
    std::vector<std::string> messages; // message boxes shown after the change was confirmed
    std::string log;                   // what the module logged
    // The ids the store holds afterwards, when it was written.
    std::optional<std::set<std::string>> stored;

    std::string describe() const
    {
        std::string text = "call " + std::to_string(failAt) + " (" + failedCall + ") failed";
        if (stored) {
            text += "; stored:";
            for (const std::string &entry : *stored)
                text += " " + entry;
        }
        return text;
    }
};

// Clicks the button when the dialog offers it; a failure may well have disabled or hidden it.
inline bool clickIfEnabled(QAbstractButton *button)
{
    if (!button || !button->isEnabled() || !button->isVisible())
        return false;
    QTest::mouseClick(button, Qt::LeftButton);
    return true;
}

inline bool treeShows(const QTreeWidgetItem *parent, const QString &text)
{
    for (int i = 0; parent && i < parent->childCount(); ++i) {
        if (parent->child(i)->text(0) == text)
            return true;
    }
    return false;
}

// What a run told the user and logged, read once its dialog is gone, and what the store of
// Provider's kind holds under the path key, as collect names it.
template <typename Provider, typename Collect>
void finish(Outcome &outcome, const MessageBoxAnswerer &answerer, const LogCapture &log,
            const char *pathKey, Collect collect)
{
    for (const QString &text : answerer.texts)
        outcome.messages.push_back(text.toStdString());
    outcome.log = log.text().toStdString();
    const auto &files = Provider::files();
    const auto file = files.find(setupmgr::workingCopyPath(pathKey).toStdString());
    if (file != files.end())
        outcome.stored = collect(file->second);
}

// Runs run for N = 1, 2, ... up to limit; stops after the first run whose failure never hit.
inline std::vector<Outcome>
forEachFailure(const std::function<Outcome(const std::shared_ptr<testhost::FaultPlan> &)> &run,
               int limit = 1000)
{
    std::vector<Outcome> outcomes;
    for (int n = 1; n <= limit; ++n) {
        auto plan = std::make_shared<testhost::FaultPlan>(n);
        Outcome outcome = run(plan);
        outcome.failAt = n;
        outcome.failedCall = plan->failedCall;
        outcomes.push_back(outcome);
        if (!plan->hit())
            return outcomes;
    }
    ADD_FAILURE() << "the path did not complete within " << limit << " calls";
    return outcomes;
}

// One path's runs: the last met no failure, closed, stored the change and logged nothing (so
// that a logged line means something in the other runs). Every other run stores all or nothing
// (before or after), loses no confirmed change (stored, or kept in the open dialog with a message
// that says why) and logs its failure. A clear that did nothing reports nothing, so no caller can
// know of it; a findServer that finds nothing is an answer (the name is free), which a failure
// cannot be told from.
inline void expectSafe(const std::vector<Outcome> &outcomes, const std::string &change,
                       const std::set<std::string> &before, const std::set<std::string> &after)
{
    ASSERT_GT(outcomes.size(), 1u) << "no provider call failed";
    const Outcome &last = outcomes.back();
    EXPECT_TRUE(last.failedCall.empty());
    EXPECT_TRUE(last.closed);
    EXPECT_TRUE(last.stored && last.stored->count(change));
    EXPECT_EQ(last.log, "");
    const auto endsWith = [](const std::string &call, const std::string &operation) {
        return call.size() >= operation.size()
            && call.compare(call.size() - operation.size(), operation.size(), operation) == 0;
    };
    for (const Outcome &outcome : outcomes) {
        if (outcome.stored) {
            EXPECT_TRUE(*outcome.stored == before || *outcome.stored == after)
                << outcome.describe();
        }
        const bool stored = outcome.stored && outcome.stored->count(change);
        const bool kept = outcome.keptInDialog && !outcome.messages.empty();
        EXPECT_TRUE(!outcome.changeConfirmed || stored || kept)
            << outcome.describe() << ": closed " << outcome.closed << ", kept "
            << outcome.keptInDialog << ", messages " << outcome.messages.size();
        const std::string &call = outcome.failedCall;
        const bool silent = endsWith(call, "clear") || endsWith(call, "findServer");
        if (!call.empty() && !silent) {
            EXPECT_FALSE(outcome.log.empty()) << outcome.describe();
        }
    }
}

// The whole embedded installation as the working directory, so that every text is found and the
// log holds only what the failures caused, and the client's providers of every kind. No top-level
// widget outlives a test, and every working copy a provider handed out was released.
class FaultTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_install.copyFrom(QStringLiteral(OSTREL_INSTALL_DIR));
        Common::releaseLanguage();
    }
    void TearDown() override
    {
        setupmgr::setDisplayTemplateProvider(nullptr);
        Common::releaseLanguage();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(QApplication::topLevelWidgets().size(), 0);
        for (const auto *log :
             {accounts.log.get(), authority.log.get(), servers.log.get(), options.log.get()}) {
            EXPECT_EQ(log->count("createWorkingCopy") + log->count("copy.createWorkingCopy"),
                      log->count("copy.release"));
        }
    }

    testhost::AccountProvider accounts;
    testhost::AuthorityProvider authority;
    testhost::ServerListProvider servers;
    testhost::DisplayTemplateProvider templates;
    testhost::OptionProvider options;

private:
    TempInstall m_install;
};

} // namespace faults
