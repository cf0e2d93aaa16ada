#include "support/temp_install.h"
#include <ostrelini/ini_file.h>

#include <gtest/gtest.h>

using ostrelini::IniFile;

namespace {

// A file as written by Windows tools: byte-order mark, CRLF, comments, mixed letter case.
const QByteArray kWindowsFile = "\xEF\xBB\xBF; installation settings\r\n"
                                "[Path]\r\n"
                                "Xml_String = string.xml \r\n"
                                "quoted=\"  C:\\Program Files\\Ostrel  \"\r\n"
                                "single='x'\r\n"
                                "half=\"open\r\n"
                                "# another comment\r\n"
                                "XML_STRING=second.xml\r\n"
                                "noequals\r\n"
                                "\r\n"
                                "[LANGUAGE]\r\n"
                                "use=ko\r\n"
                                "inline=value ; stays\r\n"
                                "[path]\r\n"
                                "late=ignored\r\n";

TEST(IniFileTest, ReadsFilesWrittenOnWindows)
{
    const IniFile ini(kWindowsFile);
    EXPECT_EQ(ini.readString(u"PATH", u"xml_string", {}, 260), QStringLiteral("string.xml"));
    EXPECT_EQ(ini.readString(u"path", u"QUOTED", {}, 260),
              QStringLiteral("  C:\\Program Files\\Ostrel  "));
    EXPECT_EQ(ini.readString(u"PATH", u"single", {}, 260), QStringLiteral("x"));
    EXPECT_EQ(ini.readString(u"PATH", u"half", {}, 260), QStringLiteral("\"open"));
    EXPECT_EQ(ini.readString(u"language", u"USE", QStringLiteral("en"), 49), QStringLiteral("ko"));
    // Comments only at the start of a line; a value keeps what follows a semicolon.
    EXPECT_EQ(ini.readString(u"LANGUAGE", u"inline", {}, 260), QStringLiteral("value ; stays"));
    // Only the first section of a name is read.
    EXPECT_EQ(ini.readString(u"PATH", u"late", QStringLiteral("none"), 260),
              QStringLiteral("none"));
    EXPECT_EQ(ini.readString(u"PATH", u"noequals", QStringLiteral("d"), 260), QStringLiteral("d"));
    EXPECT_EQ(ini.readString(u"MISSING", u"use", QStringLiteral("d"), 260), QStringLiteral("d"));
}

TEST(IniFileTest, CutsValuesToTheBufferAtCharacterBoundaries)
{
    const IniFile ini(QByteArray("[s]\nlong=") + QByteArray(300, 'a') + "\nkorean=가나다\n");
    EXPECT_EQ(ini.readString(u"s", u"long", {}, 260).size(), 259);
    // Three bytes a character: a buffer of 6 holds 5 bytes, so one whole character.
    EXPECT_EQ(ini.readString(u"s", u"korean", {}, 6), QStringLiteral("가"));
    EXPECT_EQ(ini.readString(u"s", u"missing", QStringLiteral("defaultvalue"), 5),
              QStringLiteral("defa"));
}

TEST(IniFileTest, ReadsLeadingIntegers)
{
    const IniFile ini("[DirectX]\nVersion=7\nneg=-1\ntext=abc\nmixed=12abc\nhuge=99999999999\n");
    EXPECT_EQ(ini.readInt(u"directx", u"version", 9), 7);
    EXPECT_EQ(ini.readInt(u"DirectX", u"neg", 0), -1);
    EXPECT_EQ(ini.readInt(u"DirectX", u"text", 5), 0);
    EXPECT_EQ(ini.readInt(u"DirectX", u"mixed", 5), 12);
    EXPECT_EQ(ini.readInt(u"DirectX", u"huge", 5), std::numeric_limits<int>::max());
    EXPECT_EQ(ini.readInt(u"DirectX", u"missing", 9), 9);
}

TEST(IniFileTest, WriteChangesOneValueAndKeepsTheRest)
{
    TempInstall dir;
    const QString path = dir.path() + QStringLiteral("/ostrel.ini");
    dir.write(QStringLiteral("ostrel.ini"),
              "\xEF\xBB\xBF; comment\r\n[DirectX]\r\nVERSION = "
              "9\r\nOther=1\r\n\r\n[LANGUAGE]\r\nUSE=en\r\n");

    ASSERT_TRUE(IniFile::writeString(path, u"directx", u"Version", QStringLiteral("7")));
    ASSERT_TRUE(IniFile::writeString(path, u"DirectX", u"New", QStringLiteral("x")));
    ASSERT_TRUE(IniFile::writeString(path, u"Alarm", u"Auto", QStringLiteral("1")));

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(),
              QByteArray("\xEF\xBB\xBF; comment\r\n[DirectX]\r\nVERSION =7\r\nOther=1\r\n"
                         "New=x\r\n\r\n[LANGUAGE]\r\nUSE=en\r\n\r\n[Alarm]\r\nAuto=1\r\n"));
    EXPECT_EQ(IniFile::readInt(path, u"DirectX", u"Version", 9), 7);

    // A file that cannot be read says why and reads as empty; one that can clears the reason.
    QString error = QStringLiteral("stale");
    EXPECT_EQ(IniFile::fromFile(path, &error).readInt(u"DirectX", u"Version", 9), 7);
    EXPECT_TRUE(error.isEmpty());
    EXPECT_EQ(IniFile::fromFile(dir.path(), &error).readInt(u"DirectX", u"Version", 9), 9);
    EXPECT_FALSE(error.isEmpty());
    IniFile::fromFile(dir.path() + QStringLiteral("/missing.ini"), &error);
    EXPECT_EQ(error, QStringLiteral("the file does not exist"));

    // A missing file is created.
    const QString fresh = dir.path() + QStringLiteral("/fresh.ini");
    ASSERT_TRUE(IniFile::writeString(fresh, u"DirectX", u"Version", QStringLiteral("9")));
    EXPECT_EQ(IniFile::readString(fresh, u"DirectX", u"Version", {}, 260), QStringLiteral("9"));
}

// A file is read again whenever it changes, even in place and to the same size: the content of
// an unchanged file may be kept, a changed one never.
TEST(IniFileTest, ChangedFilesAreReadAgain)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ostrel.ini"));
    const auto overwrite = [&path](const QByteArray &content) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite)); // in place: the same file, the same size
        file.write(content);
    };
    overwrite("[LANGUAGE]\nUSE=ko\n");
    EXPECT_EQ(IniFile::readString(path, u"LANGUAGE", u"USE", {}, 49), QStringLiteral("ko"));
    overwrite("[LANGUAGE]\nUSE=de\n");
    EXPECT_EQ(IniFile::readString(path, u"LANGUAGE", u"USE", {}, 49), QStringLiteral("de"));
    QFile::remove(path);
    EXPECT_EQ(IniFile::readString(path, u"LANGUAGE", u"USE", QStringLiteral("en"), 49),
              QStringLiteral("en"));
}

} // namespace
