// A copy of the embedded installation as the working directory for the account tests. After
// each test no top-level widget may outlive it, and every working copy made of the providers
// must have been released.
#pragma once

#include "support/memory_providers.h"
#include "support/temp_install.h"

#include <QDialog>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

class AccountTestEnv : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    testhost::AccountProvider accounts;
    testhost::AuthorityProvider authority;
    std::unique_ptr<QDialog> dialog; // destroyed before TearDown's checks

private:
    std::optional<TempInstall> m_install; // the working directory while a test runs
    qsizetype m_topLevelWidgets = 0;
};
