// The General page's rules without a window.
#include "options/option_rules.h"

#include <ostrel/languages.h>

#include <gtest/gtest.h>

#include <iterator>

namespace {

struct PollingCase
{
    const char *typed;
    std::int16_t lower;
    std::int16_t upper;
    std::int16_t stored;
    friend void PrintTo(const PollingCase &c, std::ostream *out)
    {
        *out << '"' << c.typed << "\" in " << c.lower << ".." << c.upper;
    }
};

class PollingTime : public ::testing::TestWithParam<PollingCase>
{
};

// Held in the host's bounds without a message; bounds the wrong way round end on a bound too.
TEST_P(PollingTime, IsHeldInTheHostsBounds)
{
    const PollingCase &c = GetParam();
    OptionRecord record {};
    record.alarmServicePollingMin = c.lower;
    record.alarmServicePollingMax = c.upper;
    EXPECT_EQ(setupmgr::pollingTimeOf(QLatin1String(c.typed), record), c.stored);
}

INSTANTIATE_TEST_SUITE_P(
    Bounds, PollingTime,
    ::testing::Values(PollingCase {"3", 5, 60, 5}, PollingCase {"75", 5, 60, 60},
                      PollingCase {"42", 5, 60, 42}, PollingCase {"", 5, 60, 5},
                      PollingCase {"-3", -10, 60, -3}, PollingCase {"99999999999", 5, 60, 60},
                      PollingCase {"-99999999999", -32768, 32767, -32768},
                      PollingCase {"30", 60, 5, 60}, PollingCase {"75", 60, 5, 5},
                      PollingCase {"  -7x", -10, 10, -7}, PollingCase {"abc", 0, 100, 0}));

TEST(LanguageRows, UnlistedCodesSelectTheDefaultLanguage)
{
    const int english = setupmgr::languageIndex(QLatin1String(ostrel::kDefaultLanguage));
    EXPECT_EQ(setupmgr::languageCode(english), QLatin1String(ostrel::kDefaultLanguage));
    for (const char *code : {"fr", "", "KO", "de "})
        EXPECT_EQ(setupmgr::languageIndex(QLatin1String(code)), english) << code;
    for (int index : {-1, int(std::size(ostrel::kInstallationLanguages))})
        EXPECT_EQ(setupmgr::languageCode(index), QLatin1String("en")) << index;
    // Every row's code leads back to the row.
    for (int i = 0; i < int(std::size(ostrel::kInstallationLanguages)); ++i)
        EXPECT_EQ(setupmgr::languageIndex(setupmgr::languageCode(i)), i);
}

// Only version 9 is the default row; any other, a missing or zero one too, shows "DirectX 7".
// (The rows' write-back is the General page test's.)
TEST(DirectXRows, AnythingButNineIsSeven)
{
    EXPECT_EQ(setupmgr::directXIndex(9), 0);
    for (int version : {7, 0, -9})
        EXPECT_EQ(setupmgr::directXIndex(version), 1) << version;
}

// A host's own non-zero "on" survives a box left on.
TEST(AutoConnect, WrittenOnlyWhenTheBoxDiffers)
{
    const struct
    {
        std::int32_t held;
        bool box;
        std::int32_t stored;
    } cases[] = {{5, true, 5}, {5, false, 0}, {0, true, 1}, {0, false, 0}};
    for (const auto &c : cases) {
        OptionRecord record {};
        record.alarmServiceAutoConnect = c.held;
        setupmgr::storeAutoConnect(record, c.box);
        EXPECT_EQ(record.alarmServiceAutoConnect, c.stored) << c.held << ' ' << c.box;
    }
}

} // namespace
