// The demo client's language switch, checked with the module's own reading of the language: the
// switch must change the one value that the module reads, whatever the file looked like.
#include "installation.h"

#include "common/folders.h"
#include "support/temp_install.h"

#include <gtest/gtest.h>

namespace {

const QByteArray kPathIni = "[PATH]\r\nini_ostrel=Config\\ostrel.ini\r\n";

TEST(LanguageSwitch, TheModuleReadsTheNewLanguageAndTheRestOfTheFileStays)
{
    const struct
    {
        QByteArray before; // null: no ostrel.ini yet
        QByteArray after;
    } cases[]
        = {// Written by a Windows editor: byte-order mark, CRLF, a comment, other letter case.
           {"\xEF\xBB\xBF[Language]\r\n; what the module speaks\r\nUse = en\r\n\r\n"
            "[DirectX]\r\nVersion=9\r\n",
            "\xEF\xBB\xBF[Language]\r\n; what the module speaks\r\nUse =ko\r\n\r\n"
            "[DirectX]\r\nVersion=9\r\n"},
           {"[DirectX]\nVersion=7\n", "[DirectX]\nVersion=7\n\n[LANGUAGE]\nUSE=ko\n"},
           {QByteArray(), "[LANGUAGE]\nUSE=ko\n"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.before.data());
        TempInstall install;
        install.write(QStringLiteral("Config/Path.ini"), kPathIni);
        if (!c.before.isNull())
            install.write(QStringLiteral("Config/ostrel.ini"), c.before);
        ASSERT_TRUE(Installation::setLanguage(install.path(), QStringLiteral("ko")));
        EXPECT_EQ(Common::getLanguage().toStdString(), "ko");
        EXPECT_EQ(Installation::language(install.path()).toStdString(), "ko");
        QFile written(Installation::mainIni(install.path()));
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        EXPECT_EQ(written.readAll(), c.after);
    }
}

} // namespace
