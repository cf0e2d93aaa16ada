#include "common/language.h"
#include "common/string_table.h"
#include "support/log_capture.h"
#include "support/temp_install.h"

#include <QDir>
#include <QStringEncoder>
#include <QThread>

#include <gtest/gtest.h>

namespace {

const QByteArray kPathIni = "[PATH]\r\nini_ostrel=Config\\ostrel.ini\r\nxml_string=string.xml\r\n";

const QByteArray kStrings = R"(<?xml version="1.0" encoding="UTF-8"?>
<string>
  <common>
    <item id="ok">OK</item>
    <item id="yes">Yes</item>
    <item id="no">No</item>
    <item id="blank"> </item>
    <item id="mixed">Press <b>OK</b> now</item>
    <item id="ok">second match</item>
  </common>
  <message>
    <item id="deleteServer">Delete the recorder %s?</item>
  </message>
</string>
)";

// One installation with its own log, and the shared document released around each test.
class LanguageTest : public ::testing::Test
{
protected:
    LanguageTest()
    {
        install.write(QStringLiteral("Config/Path.ini"), kPathIni);
        Common::releaseLanguage();
    }
    ~LanguageTest() override { Common::releaseLanguage(); }

    QStringList logLines() const { return log.text().split(u'\n', Qt::SkipEmptyParts); }

    TempInstall install;
    LogCapture log;
};

TEST_F(LanguageTest, SharedLookups)
{
    // No language file is no XML failure: nothing is logged.
    EXPECT_EQ(Common::getString("ok"), QStringLiteral("Error"));
    EXPECT_EQ(Common::getYesNo(true), QStringLiteral("Error"));
    Common::releaseLanguage();
    install.write(QStringLiteral("Language/en/string.xml"), kStrings);
    EXPECT_EQ(Common::getString("ok"), QStringLiteral("OK"));
    EXPECT_EQ(Common::getString("deleteServer", "message"),
              QStringLiteral("Delete the recorder %s?"));
    EXPECT_EQ(Common::getString("missing"), QString());
    EXPECT_EQ(Common::getString("ok", "message"), QString());
    EXPECT_EQ(Common::getString("blank"), QStringLiteral(" "));
    EXPECT_EQ(Common::getString("mixed"), QStringLiteral("Press OK now"));
    EXPECT_EQ(Common::getYesNo(true), QStringLiteral("Yes"));
    EXPECT_EQ(Common::getYesNo(false), QStringLiteral("No"));

    // Parsed once: a changed file is not seen until the document is released.
    install.write(QStringLiteral("Language/en/string.xml"),
                  "<string><common><item id='ok'>Okay</item></common></string>");
    EXPECT_EQ(Common::getString("ok"), QStringLiteral("OK"));
    Common::releaseLanguage();
    EXPECT_EQ(Common::getString("ok"), QStringLiteral("Okay"));
    EXPECT_TRUE(logLines().isEmpty());
}

TEST_F(LanguageTest, MalformedFileIsLoggedOnceWithItsPosition)
{
    // The unclosed item on line 4 ends at the close of "common", column 5.
    install.write(QStringLiteral("Language/en/string.xml"),
                  "<string>\n  <common>\n    <item id=\"ok\">OK</item>\n    <item id=\"no\">No\n  "
                  "</common>\n</string>\n");
    EXPECT_EQ(Common::getString("ok"), QStringLiteral("Error"));
    EXPECT_EQ(Common::getString("no"), QStringLiteral("Error"));
    EXPECT_FALSE(Common::loadLanguage());

    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].contains("  XML Parsing Error(Common::loadLanguage) - 0xC00CE50"));
    EXPECT_TRUE(
        lines[0].contains(", Pos: 5 line(s) 5 column(s), Reason: Start-end tags mismatch\r"))
        << lines[0].toStdString();

    // Mended on disk: the next lookup parses it again.
    QThread::msleep(10);
    install.write(QStringLiteral("Language/en/string.xml"), kStrings);
    EXPECT_EQ(Common::getString("ok"), QStringLiteral("OK"));
}

TEST_F(LanguageTest, MalformedQueryIsLoggedAsComError)
{
    install.write(QStringLiteral("Language/en/string.xml"), kStrings);
    EXPECT_EQ(Common::getString("x'] | //item[@id='ok", "common"), QStringLiteral("OK"));
    EXPECT_EQ(Common::getString("'", "common"), QString());
    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].contains(
        "COM Error(Common::getString) - 0x80004005, Msg: Unspecified error, Src: pugixml, Desc: "))
        << lines[0].toStdString();
}

TEST_F(LanguageTest, DialogTables)
{
    install.write(QStringLiteral("Language/en/dlg_test.xml"),
                  R"(<string><category id="caption"><item id="title">Accounts</item></category>
                     <category id="message"><item id="required_user_id">Enter a user id.</item></category></string>)");
    CStringTable table(QStringLiteral("dlg_test.xml"));
    EXPECT_EQ(table.getString("title", "caption"), QStringLiteral("Accounts"));
    EXPECT_EQ(table.getString("required_user_id", "message"), QStringLiteral("Enter a user id."));
    EXPECT_EQ(table.getString("missing", "caption"), QStringLiteral("undefined"));

    // Kept across openings, but an edited file is read again.
    QThread::msleep(10);
    install.write(
        QStringLiteral("Language/en/dlg_test.xml"),
        R"(<string><category id="caption"><item id="title">Users</item></category></string>)");
    EXPECT_EQ(CStringTable(QStringLiteral("dlg_test.xml")).getString("title", "caption"),
              QStringLiteral("Users"));

    // A file that cannot be opened or read is reported as the parser reports a failed load.
    CStringTable missing(QStringLiteral("dlg_absent.xml"));
    EXPECT_EQ(missing.getString("title", "caption"), QStringLiteral("undefined"));
    ASSERT_TRUE(QDir(install.path()).mkpath(QStringLiteral("Language/en/dlg_folder.xml")));
    EXPECT_EQ(CStringTable(QStringLiteral("dlg_folder.xml")).getString("title", "caption"),
              QStringLiteral("undefined"));
    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].contains("XML Parsing Error(CStringTable::load) - 0x800C0006, Pos: 0 "
                                  "line(s) 0 column(s), Reason: The system cannot locate the "
                                  "object specified."))
        << lines[0].toStdString();
    EXPECT_TRUE(lines[1].contains("XML Parsing Error(CStringTable::load) - 0x80070005, Pos: 0 "
                                  "line(s) 0 column(s), Reason: Access is denied."))
        << lines[1].toStdString();
}

// Files written on Windows declare their code page; they are read by it, not as UTF-8.
TEST_F(LanguageTest, LegacyEncodingsAreDecodedByTheirDeclaration)
{
    const QString korean = QStringLiteral("\ud655\uc778");  // 확인
    const QString chinese = QStringLiteral("\u786e\u5b9a"); // 确定
    QStringEncoder eucKr("EUC-KR"), gb2312("GB2312"),
        utf16(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
    const auto file = [](const char *encoding, QStringEncoder &encoder, const QString &text) {
        const QString xml = QStringLiteral("<?xml version=\"1.0\" encoding=\"%1\"?>\n<string>"
                                           "<category id=\"label\"><item id=\"ok\">%2</item>"
                                           "</category></string>\n")
                                .arg(QLatin1String(encoding), text);
        return QByteArray(encoder.encode(xml));
    };
    ASSERT_TRUE(eucKr.isValid() && gb2312.isValid());
    install.write(QStringLiteral("Language/en/dlg_ko.xml"), file("euc-kr", eucKr, korean));
    install.write(QStringLiteral("Language/en/dlg_zh.xml"), file("gb2312", gb2312, chinese));
    install.write(QStringLiteral("Language/en/dlg_16.xml"), file("utf-16", utf16, korean));
    EXPECT_EQ(CStringTable(QStringLiteral("dlg_ko.xml")).getString("ok", "label"), korean);
    EXPECT_EQ(CStringTable(QStringLiteral("dlg_zh.xml")).getString("ok", "label"), chinese);
    EXPECT_EQ(CStringTable(QStringLiteral("dlg_16.xml")).getString("ok", "label"), korean);
    EXPECT_TRUE(logLines().isEmpty());

    // An encoding nobody knows, and bytes that are not valid in the declared one, fail the load.
    install.write(QStringLiteral("Language/en/dlg_x.xml"),
                  "<?xml version=\"1.0\" encoding=\"x-nowhere\"?><string/>");
    install.write(QStringLiteral("Language/en/dlg_bad.xml"),
                  "<?xml version=\"1.0\" encoding=\"euc-kr\"?>\n<string>\xff\xff</string>");
    EXPECT_EQ(CStringTable(QStringLiteral("dlg_x.xml")).getString("ok", "label"),
              QStringLiteral("undefined"));
    EXPECT_EQ(CStringTable(QStringLiteral("dlg_bad.xml")).getString("ok", "label"),
              QStringLiteral("undefined"));
    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].contains("0xC00CE56E, Pos: 1 line(s) 31 column(s), Reason: System does "
                                  "not support the specified encoding."))
        << lines[0].toStdString();
    EXPECT_TRUE(lines[1].contains("0xC00CE508, Pos: 2 line(s) 9 column(s)"))
        << lines[1].toStdString();
}

TEST(ComErrorMessageTest, FallbackTexts)
{
    EXPECT_EQ(Common::comErrorMessage(0x80040205u), QStringLiteral("IDispatch error #5"));
    EXPECT_EQ(Common::comErrorMessage(0x80040105u), QStringLiteral("Unknown error 0x80040105"));
}

} // namespace
