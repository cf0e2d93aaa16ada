// A throw-away installation for the account tests: Config/Path.ini and the English messages,
// with the working directory moved into it. After each test no top-level widget may outlive it,
// and every working copy made of the providers must have been released.
#pragma once

#include "support/memory_providers.h"

#include <QDialog>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

class AccountTestEnv : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    testhost::AccountProvider accounts;
    testhost::AuthorityProvider authority;
    std::unique_ptr<QDialog> dialog; // destroyed before TearDown's checks

private:
    QTemporaryDir m_folder;
    QString m_previousDirectory;
    qsizetype m_topLevelWidgets = 0;
};
