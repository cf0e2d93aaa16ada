#include "server/server_rules.h"
#include "support/memory_providers.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using namespace setupmgr;
using Refusal = ServerRefusal;

class ServerRulesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        add("Lobby", "10.0.0.1", 7011);
        add("Gate", "10.0.0.2", 7000);
        add("Yard", "cam.example.com", 6100);
    }
    void add(const char *name, const char *address, std::uint16_t port)
    {
        ServerRecord *record = servers.data.addServer(name);
        copyField(record->address, address);
        record->port = port;
    }

    testhost::ServerListProvider servers;
};

// The checks run in their order: a missing name first, then the name, then address and port.
TEST_F(ServerRulesTest, NewRecorderChecksInTheirOrder)
{
    const std::tuple<const char *, const char *, std::uint16_t, Refusal> cases[] = {
        {"", "10.0.0.1", 7011, Refusal::EmptyName},
        {"Lobby", "10.0.0.9", 1, Refusal::SameName},
        {"Lobby", "10.0.0.1", 7011, Refusal::SameName},
        {"Hall", "10.0.0.1", 7011, Refusal::SameAddress},
        {"Hall", "10.0.0.1", 7012, Refusal::None},
        {"Hall", "CAM.example.com", 6100, Refusal::None}, // addresses compare exactly
        {"lobby", "10.0.0.5", 1, Refusal::None},          // so do names
    };
    for (const auto &[name, address, port, expected] : cases)
        EXPECT_EQ(
            checkNewServer(&servers, QString::fromUtf8(name), QString::fromUtf8(address), port),
            expected)
            << name << " " << address << ":" << port;
}

TEST_F(ServerRulesTest, EditedRecorderKeepsItsOwnNameAndAddress)
{
    const QString lobby = QStringLiteral("Lobby");
    EXPECT_EQ(checkEditedServer(&servers, lobby, lobby, QStringLiteral("10.0.0.1"), 7011),
              Refusal::None);
    EXPECT_EQ(checkEditedServer(&servers, lobby, QStringLiteral("Gate"), QStringLiteral("10.0.0.1"),
                                7011),
              Refusal::SameName);
    EXPECT_EQ(checkEditedServer(&servers, lobby, QStringLiteral("Lobby 2"),
                                QStringLiteral("10.0.0.2"), 7000),
              Refusal::SameAddress);
    EXPECT_EQ(checkEditedServer(&servers, lobby, QString(), QStringLiteral("x"), 1),
              Refusal::EmptyName);
}

TEST(ServerRules, ProductDefaultsByKind)
{
    const std::tuple<std::int32_t, std::uint16_t, const char *, bool> cases[] = {
        {1, 7000, "admin", false}, {2, 7011, "vexil", true},  {3, 6100, "ADMIN", false},
        {0, 7100, "admin", false}, {7, 7100, "admin", false},
    };
    for (const auto &[kind, port, login, passwordToo] : cases) {
        const ProductDefaults defaults = productDefaults(kind);
        EXPECT_EQ(defaults.port, port) << kind;
        EXPECT_STREQ(defaults.loginId, login) << kind;
        EXPECT_EQ(defaults.passwordToo, passwordToo) << kind;
    }
    EXPECT_EQ(storedProductKind(3), 3);
    EXPECT_EQ(storedProductKind(5), 0);
}

// Login texts keep to 49 bytes, other texts to their fields; rows without a name are dropped.
TEST(ServerRules, FillsTheRecordWithinItsFields)
{
    ServerRecord record {};
    ServerFields fields;
    fields.name = QString(60, QLatin1Char('n'));
    fields.loginId = QString(60, QLatin1Char('l'));
    fields.ddnsPassword = QString(30, QChar(0x00E9));
    fields.productKind = 6;
    fields.port = 8000;
    fillServerRecord(record, fields);
    EXPECT_EQ(std::strlen(record.name), 50u);
    EXPECT_EQ(std::strlen(record.loginId), 49u);
    EXPECT_EQ(QString::fromUtf8(record.ddnsPassword), QString(24, QChar(0x00E9)));
    EXPECT_EQ(record.productKind, 0);
    EXPECT_EQ(record.port, 8000);

    ASSERT_TRUE(replaceAdditionalInfo(record,
                                      {{3, QStringLiteral("Manager"), QStringLiteral("Jo")},
                                       {-1, QString(), QStringLiteral("dropped")},
                                       {-1, QStringLiteral("Phone"), QString()}}));
    ASSERT_EQ(seqSize(record.additionalInfo), 2u);
    EXPECT_EQ(seqAt(record.additionalInfo, 0)->tag, 3);
    EXPECT_STREQ(seqAt(record.additionalInfo, 1)->name, "Phone");
    seqFreeBlocks(record.additionalInfo);
}

} // namespace
