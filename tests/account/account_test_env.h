// A throw-away installation for the account tests: Config/Path.ini and English language files
// written by the test itself, with the process's working directory moved into it. Each test
// gets its own folder, and the fixture checks that no top-level widget outlives the test.
#pragma once

#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

class AccountTestEnv : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Where a Path.ini key's data file lies, as the dialogs commit it.
    QString dataPath(const char *key) const;
    QString folder() const { return m_folder->path(); }

private:
    std::unique_ptr<QTemporaryDir> m_folder;
    QString m_previousDirectory;
    int m_topLevelWidgets = 0;
};

// Deletes the widgets whose deletion was posted, so leaks and deferred deletions are told apart.
void flushDeferredDeletes();
