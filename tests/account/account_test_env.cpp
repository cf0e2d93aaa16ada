#include "account_test_env.h"

#include "common/language.h"

#include <QApplication>

namespace {

// Deletes the widgets whose deletion was posted, so leaks and deferred deletions are told apart.
void flushDeferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

} // namespace

void AccountTestEnv::SetUp()
{
    flushDeferredDeletes();
    m_topLevelWidgets = QApplication::topLevelWidgets().size();
    m_install.emplace();
    m_install->copyFrom(QStringLiteral(OSTREL_INSTALL_DIR));
    Common::releaseLanguage();
}

void AccountTestEnv::TearDown()
{
    dialog.reset();
    m_install.reset();
    Common::releaseLanguage();
    flushDeferredDeletes();
    EXPECT_EQ(QApplication::topLevelWidgets().size(), m_topLevelWidgets)
        << "a top-level widget outlived the test";
    for (const testhost::CallLog *log : {accounts.log.get(), authority.log.get()})
        EXPECT_EQ(log->count("createWorkingCopy") + log->count("copy.createWorkingCopy"),
                  log->count("copy.release"))
            << "a working copy was not released";
}
