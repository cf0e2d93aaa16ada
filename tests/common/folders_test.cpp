#include "common/folders.h"
#include "support/temp_install.h"

#include <gtest/gtest.h>

namespace {

// The shipped Path.ini's entries, backslashes and all, are resolved to existing files by the
// installation test.
TEST(FoldersTest, PathEntriesAndLanguage)
{
    TempInstall install;
    const QString root = QDir(install.path()).canonicalPath();
    // Every test of this program works in an installation of its own: the product-name tests
    // find a different oem.ini each time, the language tests a different Path.ini.
    EXPECT_EQ(Common::getFolderPath(FolderKind::Config, QStringLiteral("oem.ini")),
              root + QStringLiteral("/Config/oem.ini"));
    // Without Path.ini: the installation folder and a separator, and the default language.
    EXPECT_EQ(Common::getPathEntry("ini_ostrel", true), root + QStringLiteral("/"));
    EXPECT_EQ(Common::getLanguage(), QStringLiteral("en"));
    EXPECT_EQ(Common::getLanguageFile("xml_string"), QString());

    install.write(QStringLiteral("Config/Path.ini"),
                  "[PATH]\r\nini_ostrel=Config\\ostrel.ini\r\nxml_string=string.xml\r\n"
                  "xml_account=Data\\account.xml\r\n");
    install.write(QStringLiteral("Config/ostrel.ini"), "[LANGUAGE]\r\nUSE=ko\r\n");
    install.write(QStringLiteral("Language/ko/string.xml"), "<string/>");
    install.write(QStringLiteral("Language/de/string.xml"), "<string/>");

    EXPECT_EQ(Common::getPathEntry("xml_account", false), QStringLiteral("Data/account.xml"));
    EXPECT_EQ(Common::getLanguage(), QStringLiteral("ko"));
    EXPECT_EQ(Common::getLanguageFile("xml_string"),
              root + QStringLiteral("/Language/ko/string.xml"));
    EXPECT_EQ(Common::getLanguageFile("xml_string", QString()),
              Common::getLanguageFile("xml_string"));
    EXPECT_EQ(Common::getLanguageFile("xml_string", QStringLiteral("de")),
              root + QStringLiteral("/Language/de/string.xml"));
    EXPECT_EQ(Common::getLanguageFile("xml_string", QStringLiteral("jpn")), QString());
    EXPECT_EQ(Common::getDialogLanguageFile(QStringLiteral("dlg_x.xml")),
              root + QStringLiteral("/Language/ko/dlg_x.xml"));
}

} // namespace
