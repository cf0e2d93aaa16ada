// The demo client's language switch, checked with the module's own reading of the language: the
// switch must change the one value that the module reads, whatever the file looked like.
#include "installation.h"

#include "common/folders.h"
#include "support/temp_install.h"

#include <gtest/gtest.h>

namespace {

const QByteArray kPathIni = "[PATH]\r\nini_ostrel=Config\\ostrel.ini\r\n";

struct SwitchCase
{
    const char *name;
    QByteArray before; // null: no ostrel.ini yet
    QByteArray after;
    friend void PrintTo(const SwitchCase &each, std::ostream *out) { *out << each.name; }
};

class LanguageSwitch : public testing::TestWithParam<SwitchCase>
{
};

TEST_P(LanguageSwitch, TheModuleReadsTheNewLanguageAndTheRestOfTheFileStays)
{
    TempInstall install;
    install.write(QStringLiteral("Config/Path.ini"), kPathIni);
    if (!GetParam().before.isNull())
        install.write(QStringLiteral("Config/ostrel.ini"), GetParam().before);

    ASSERT_TRUE(Installation::setLanguage(install.path(), QStringLiteral("ko")));
    EXPECT_EQ(Common::getLanguage().toStdString(), "ko");
    EXPECT_EQ(Installation::language(install.path()).toStdString(), "ko");
    QFile written(Installation::mainIni(install.path()));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Files, LanguageSwitch,
    testing::Values(
        // Written by a Windows editor: byte-order mark, CRLF, a comment, other letter case.
        SwitchCase {"BomAndCrlf",
                    "\xEF\xBB\xBF[Language]\r\n; what the module speaks\r\nUse = en\r\n\r\n"
                    "[DirectX]\r\nVersion=9\r\n",
                    "\xEF\xBB\xBF[Language]\r\n; what the module speaks\r\nUse =ko\r\n\r\n"
                    "[DirectX]\r\nVersion=9\r\n"},
        SwitchCase {"NoLanguageSection", "[DirectX]\nVersion=7\n",
                    "[DirectX]\nVersion=7\n\n[LANGUAGE]\nUSE=ko\n"},
        SwitchCase {"NoFile", QByteArray(), "[LANGUAGE]\nUSE=ko\n"}),
    [](const testing::TestParamInfo<SwitchCase> &info) { return std::string(info.param.name); });

} // namespace
