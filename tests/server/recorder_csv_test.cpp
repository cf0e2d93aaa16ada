// Recorders in bulk: the import's checks row by row, CSV quoting, the round trip through a file,
// and a cancelled import.
#include "common/text_field.h"
#include "server/recorder_csv.h"
#include "support/memory_providers.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <tuple>

namespace {

using namespace setupmgr;
using Reason = ImportRefusal;

ServerRecord *add(testhost::ServerListProvider &servers, const char *name, const char *address,
                  std::uint16_t port)
{
    ServerRecord *record = servers.data.addServer(name);
    copyField(record->address, address);
    record->port = port;
    return record;
}

ServerRecord *at(testhost::ServerListProvider &servers, std::int32_t index)
{
    ServerRecord *record = nullptr;
    return servers.getServer(index, &record) ? record : nullptr;
}

std::vector<std::pair<qsizetype, Reason>> refusals(const CsvImportResult &result)
{
    std::vector<std::pair<qsizetype, Reason>> found;
    for (const RefusedRow &row : result.refused)
        found.emplace_back(row.line, row.reason);
    return found;
}

// Each row is refused for its first fault, in the dialog's order for the list checks; earlier
// rows of the file count as the copy does, refused ones do not.
TEST(RecorderCsvTest, EachRowIsCheckedAsTheSetupDialogChecks)
{
    testhost::ServerListProvider servers;
    add(servers, "Lobby", "10.0.0.1", 7011);
    const QByteArray fifty(50, 'n');
    const QByteArray csv = "name,address,port,product_kind,use_ddns,login_id,info:Phone\n"
                           "Hall,10.0.0.2,7000,1,0,admin,\n"     // 2 added
                           "Gate,10.0.0.3\n"                     // 3 field count
                           "Gate,10.0.0.3,70000,1,0,admin,\n"    // 4 port range
                           "Gate,10.0.0.3,-1,1,0,admin,\n"       // 5 port range
                           "Gate,10.0.0.3,7000,two,0,admin,\n"   // 6 product kind
                           "Gate,10.0.0.3,7000,1,maybe,admin,\n" // 7 use_ddns
                           "Gate,10.0.0.3,7000,1,0,"
        + QByteArray(50, 'i')
        + ",\n" // 8 login too long
          "Gate,10.0.0.3,7000,1,0,admin,"
        + QByteArray(51, 'p')
        + "\n"                                      // 9 info too long
          "   ,10.0.0.3,7000,1,0,admin,\n"          // 10 empty name
          " Lobby ,10.0.0.1,7011,1,0,admin,\n"      // 11 name (and address) in the copy
          "Hall,10.0.0.3,7000,1,0,admin,\n"         // 12 name of row 2
          "Gate,10.0.0.1,7011,1,0,admin,\n"         // 13 address in the copy
          "Gate, 10.0.0.2 ,7000,1,0,admin,\n"       // 14 address of row 2
          "lobby,10.0.0.1,7012,1,0,admin,\n"        // 15 added: names compare exactly
        + fifty + ",10.0.0.4,,2,,,\n"               // 16 added, full name
        + fifty + "x,10.0.0.5,,,,,\n"               // 17 name too long
        + QByteArray("Ga\0te,10.0.0.6,,,,,\n", 20); // 18 a zero byte
    const CsvImportResult result = importRecordersCsv(&servers, csv);
    ASSERT_EQ(result.failure, ImportFailure::None);
    const std::vector<std::pair<qsizetype, Reason>> expected
        = {{3, Reason::FieldCount}, {4, Reason::PortRange},    {5, Reason::PortRange},
           {6, Reason::BadValue},   {7, Reason::BadValue},     {8, Reason::TooLong},
           {9, Reason::TooLong},    {10, Reason::EmptyName},   {11, Reason::SameName},
           {12, Reason::SameName},  {13, Reason::SameAddress}, {14, Reason::SameAddress},
           {17, Reason::TooLong},   {18, Reason::BadValue}};
    EXPECT_EQ(refusals(result), expected);
    EXPECT_EQ(result.refused[5].column, QStringLiteral("login_id"));
    EXPECT_EQ(result.refused[6].column, QStringLiteral("info:Phone"));
    ASSERT_EQ(result.added, 3);
    ASSERT_EQ(servers.getServerCount(), 4);
    // Left-out values take the product kind's defaults, as a new recorder in the dialog does.
    const ServerRecord *full = at(servers, 3);
    EXPECT_EQ(fieldBytes(full->name), fifty);
    EXPECT_EQ(full->productKind, 2);
    EXPECT_EQ(full->port, 7011);
    EXPECT_EQ(fieldBytes(full->loginId), "");       // the column is there, and empty
    EXPECT_EQ(fieldBytes(full->password), "vexil"); // no column: the kind's default
    EXPECT_EQ(seqSize(full->additionalInfo), 0u);   // an empty cell adds no entry
}

// The header decides: columns in any order, unknown ones named once, name and address required
// and never given twice; a file refused as a whole adds nothing.
TEST(RecorderCsvTest, TheHeaderNamesTheColumns)
{
    testhost::ServerListProvider servers;
    CsvImportResult result = importRecordersCsv(
        &servers, "colour,Address,info:Floor,name\nred,10.0.0.9,3,Dock\nblue,10.0.0.8,,Yard\n");
    EXPECT_EQ(result.unknownColumns, QStringList {QStringLiteral("colour")});
    ASSERT_EQ(result.added, 2);
    const ServerRecord *dock = at(servers, 0);
    EXPECT_EQ(fieldBytes(dock->address), "10.0.0.9");
    EXPECT_EQ(dock->port, 7100);
    EXPECT_EQ(fieldBytes(dock->loginId), "admin");
    ASSERT_EQ(seqSize(dock->additionalInfo), 1u);
    EXPECT_EQ(fieldBytes(dock->additionalInfo.first[0]->name), "Floor");

    const std::pair<QByteArray, ImportFailure> refused[] = {
        {"name,port\nGate,7000\n", ImportFailure::MissingColumn},
        {"", ImportFailure::MissingColumn},
        {"name,address,NAME\nGate,10.0.0.1,x\n", ImportFailure::DuplicateColumn},
        {"name,address,info:A,info:A\nGate,10.0.0.1,x,y\n", ImportFailure::DuplicateColumn},
        {"name,address\nGate,\"10.0.0.1\n", ImportFailure::NotCsv},
    };
    for (const auto &[csv, failure] : refused) {
        result = importRecordersCsv(&servers, csv);
        EXPECT_EQ(result.failure, failure) << csv.constData();
        EXPECT_EQ(result.added, 0);
    }
    EXPECT_EQ(result.failureLine, 2);
    EXPECT_EQ(servers.getServerCount(), 2);
}

// Quoted fields keep commas, quotes and line breaks; a refused row is reported at the line it
// starts on, after rows that span several lines and empty lines.
TEST(RecorderCsvTest, QuotedFieldsAndLineNumbers)
{
    testhost::ServerListProvider servers;
    const QByteArray csv = "\xEF\xBB\xBFname,address,info:Note\r\n"
                           "\"Hall, east\",10.0.0.1,\"say \"\"hi\"\"\r\nthen go\"\r\n"
                           "\r\n"
                           "\"Gate\",10.0.0.1,\"x\"\r\n"
                           "\"\nGate\",10.0.0.2,\r\n"
                           "Gate,10.0.0.2,\r\n";
    const CsvImportResult result = importRecordersCsv(&servers, csv);
    ASSERT_EQ(result.failure, ImportFailure::None);
    const std::vector<std::pair<qsizetype, Reason>> expected
        = {{5, Reason::SameAddress}, {8, Reason::SameName}};
    EXPECT_EQ(refusals(result), expected);
    ASSERT_EQ(servers.getServerCount(), 2);
    EXPECT_EQ(fieldBytes(at(servers, 0)->name), "Hall, east");
    EXPECT_EQ(fieldBytes(at(servers, 0)->additionalInfo.first[0]->value), "say \"hi\"\r\nthen go");
    EXPECT_EQ(fieldBytes(at(servers, 1)->name), "Gate"); // the line break was a blank to trim
}

// Exported and imported into an empty copy, the recorders come back with every value the file
// holds; without passwords their columns are left out and the defaults take their place.
TEST(RecorderCsvTest, ExportThenImportGivesTheSameRecorders)
{
    testhost::ServerListProvider source;
    ServerRecord *first = add(source, "서울 본사, \"A\"", "10.0.0.1", 7011);
    first->productKind = 2;
    copyField(first->loginId, "vexil");
    copyField(first->password, "p,w\"d\n2");
    first->useDdns = 1;
    copyField(first->ddnsAddress, "ddns.example.net");
    copyField(first->ddnsId, "seoul");
    copyField(first->ddnsPassword, " s3cret ");
    for (const auto &[name, value] : {std::pair {"Phone", "+82 2"}, {"Manager", "김"}}) {
        auto *info = static_cast<AdditionalInfo *>(std::calloc(1, sizeof(AdditionalInfo)));
        info->tag = -1;
        copyField(info->name, name);
        copyField(info->value, value);
        seqAppend(first->additionalInfo, info);
    }
    ServerRecord *second = add(source, "Legacy \xB0\xA1", "cam.example.com", 0);
    copyField(second->password, std::string(49, 'x').c_str());
    add(source, std::string(50, 'n').c_str(), "10.0.0.1", 7012);

    for (const bool passwords : {true, false}) {
        const QByteArray csv = exportRecordersCsv(&source, passwords);
        EXPECT_EQ(csv.contains("password"), passwords);
        testhost::ServerListProvider copy;
        const CsvImportResult result = importRecordersCsv(&copy, csv);
        ASSERT_TRUE(result.refused.empty()) << int(result.refused[0].reason);
        ASSERT_EQ(copy.getServerCount(), source.getServerCount());
        for (std::int32_t i = 0; i < source.getServerCount(); ++i) {
            const ServerRecord &was = *at(source, i);
            const ServerRecord &is = *at(copy, i);
            using Field = const char(ServerRecord::*)[51];
            for (const Field field :
                 {&ServerRecord::name, &ServerRecord::address, &ServerRecord::loginId,
                  &ServerRecord::ddnsAddress, &ServerRecord::ddnsId})
                EXPECT_EQ(fieldBytes(is.*field), fieldBytes(was.*field)) << i;
            EXPECT_EQ(std::tuple(is.port, is.productKind, is.useDdns),
                      std::tuple(was.port, was.productKind, was.useDdns));
            // Without the columns, the product kind's default password, and no DDNS one.
            const QByteArray password = i == 0 ? "vexil" : "";
            EXPECT_EQ(fieldBytes(is.password), passwords ? fieldBytes(was.password) : password);
            EXPECT_EQ(fieldBytes(is.ddnsPassword),
                      passwords ? fieldBytes(was.ddnsPassword) : QByteArray());
            ASSERT_EQ(seqSize(is.additionalInfo), seqSize(was.additionalInfo));
            for (std::size_t e = 0; e < seqSize(was.additionalInfo); ++e) {
                const AdditionalInfo &entry = *is.additionalInfo.first[e];
                EXPECT_EQ(fieldBytes(entry.name), fieldBytes(was.additionalInfo.first[e]->name));
                EXPECT_EQ(fieldBytes(entry.value), fieldBytes(was.additionalInfo.first[e]->value));
            }
        }
    }
}

// A cancelled import takes back every recorder it added.
TEST(RecorderCsvTest, ACancelledImportLeavesTheCopyAsItWas)
{
    testhost::ServerListProvider servers;
    add(servers, "Lobby", "10.0.0.1", 7011);
    const QByteArray before = exportRecordersCsv(&servers, true);
    QByteArray csv = "name,address\n";
    for (int i = 0; i < 10; ++i)
        csv += "Cam " + QByteArray::number(i) + ",10.1.0." + QByteArray::number(i) + "\n";
    qsizetype calls = 0;
    const CsvImportResult result
        = importRecordersCsv(&servers, csv, [&calls](qsizetype done, qsizetype total) {
              ++calls;
              EXPECT_EQ(total, 10);
              return done < 6;
          });
    EXPECT_EQ(result.failure, ImportFailure::Cancelled);
    EXPECT_EQ(calls, 7);
    EXPECT_EQ(result.added, 0);
    EXPECT_EQ(servers.getServerCount(), 1);
    EXPECT_EQ(exportRecordersCsv(&servers, true), before);
}

} // namespace
