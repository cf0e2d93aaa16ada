#include "common/module_log.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray expectedHeader(std::uint32_t tick)
{
    QByteArray header;
    for (int shift = 0; shift < 32; shift += 8)
        header.append(static_cast<char>((tick >> shift) & 0xFF));
    header += "\r\n";
    header.append("< Log for DisplayManager >", 27);
    header += "\r\n\r\n";
    header.append("TickCount   DATE       TIME    ThreadID  Message", 49);
    header += "\r\n";
    return header;
}

TEST(ModuleLogTest, PrefixLayout)
{
    std::tm when {};
    when.tm_year = 2009 - 1900;
    when.tm_mon = 2;
    when.tm_mday = 5;
    when.tm_hour = 14;
    when.tm_min = 7;
    when.tm_sec = 9;
    EXPECT_EQ(ModuleLog::formatPrefix(1234, when, 5120), "1.234 03/05/2009 14:07:09 ( 5120)  ");
    EXPECT_EQ(ModuleLog::formatPrefix(61007, when, 1234567),
              "61.007 03/05/2009 14:07:09 (1234567)  ");
}

TEST(ModuleLogTest, HeaderLinesAndLongMessages)
{
    QTemporaryDir dir;
    const std::uint32_t before = ModuleLog::tickCount();
    std::uint32_t start = 0;
    {
        ModuleLog log(dir.path());
        start = log.startTick();
        EXPECT_GE(start - before, 0u);
        EXPECT_LE(start - before, 5000u);
        // The test main made no log, so this one is the process's.
        ASSERT_EQ(ModuleLog::instance(), &log);
        Common::writeLog("value %d and %s", 42, "text");
        Common::writeLog("%s", std::string(3000, 'x').c_str());
    }
    EXPECT_EQ(ModuleLog::instance(), nullptr);
    Common::writeLog("no log now"); // must not crash

    const QByteArray content = readAll(dir.filePath(QStringLiteral("Ostrel_SetupMgr.log")));
    const QByteArray header = expectedHeader(start);
    ASSERT_TRUE(content.startsWith(header));
    const QList<QByteArray> lines = content.mid(header.size()).split('\n');
    ASSERT_EQ(lines.size(), 3); // two lines and the empty rest after the last CR LF
    EXPECT_TRUE(lines[0].endsWith("  value 42 and text\r"));
    const QByteArray cut = QByteArray("  ") + QByteArray(1024, 'x') + QByteArray("\r");
    EXPECT_TRUE(lines[1].endsWith(cut));
    EXPECT_EQ(content.mid(header.size()).count('\0'), 0); // zero bytes only in the header
}

TEST(ModuleLogTest, MissingFolderIsNotCreated)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("absent"));
    ModuleLog log(missing);
    EXPECT_EQ(log.startTick(), 0u);
    Common::writeLog("dropped");
    EXPECT_FALSE(QFileInfo::exists(missing));
}

} // namespace
