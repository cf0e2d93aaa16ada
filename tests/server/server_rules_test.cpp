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
        servers.data.addServer("Lobby", "10.0.0.1", 7011);
        servers.data.addServer("Gate", "10.0.0.2", 7000);
        servers.data.addServer("Yard", "cam.example.com", 6100);
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
        EXPECT_EQ(checkNewServer(&servers, name, address, port), expected)
            << name << " " << address << ":" << port;
}

// An edited recorder is checked on what the user changed, against the other records: its own
// name and address never count, and neither do duplicates the list already held.
TEST_F(ServerRulesTest, EditedRecorderIsCheckedOnWhatChanged)
{
    servers.data.addServer("Lobby", "10.0.0.2",
                           7000); // a second Lobby, at Gate's address, as a host may hold
    const auto change = [](QByteArray name, QByteArray address, std::uint16_t port,
                           bool nameChanged, bool addressChanged) {
        return ServerChange {0, "Lobby", name, address, port, nameChanged, addressChanged};
    };
    EXPECT_EQ(checkEditedServer(&servers, change("Lobby", "10.0.0.1", 7011, false, false)),
              Refusal::None);
    EXPECT_EQ(checkEditedServer(&servers, change("Gate", "10.0.0.1", 7011, true, false)),
              Refusal::SameName);
    EXPECT_EQ(checkEditedServer(&servers, change("Lobby 2", "10.0.0.2", 7000, true, true)),
              Refusal::SameAddress);
    EXPECT_EQ(checkEditedServer(&servers, change("", "x", 1, true, false)), Refusal::EmptyName);
    // The fourth record keeps its duplicate name and address as long as it does not change them.
    ServerChange fourth {3, "Lobby", "Lobby", "10.0.0.2", 7000, false, false};
    EXPECT_EQ(checkEditedServer(&servers, fourth), Refusal::None);
    fourth.port = 7000;
    fourth.addressChanged = true;
    EXPECT_EQ(checkEditedServer(&servers, fourth), Refusal::SameAddress);
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
                                      {{3, QStringLiteral("Manager"), QStringLiteral("Jo"), {}},
                                       {-1, QString(), QStringLiteral("dropped"), {}},
                                       {-1, QStringLiteral("Phone"), QString(), {}}}));
    ASSERT_EQ(seqSize(record.additionalInfo), 2u);
    EXPECT_EQ(seqAt(record.additionalInfo, 0)->tag, 3);
    EXPECT_STREQ(seqAt(record.additionalInfo, 1)->name, "Phone");

    // Fields left out keep their bytes, whatever they hold.
    std::memset(record.address, 0xB0, sizeof record.address);
    const ServerRecord before = record;
    fillServerRecord(record, ServerFields {});
    EXPECT_EQ(std::memcmp(&before, &record, sizeof record), 0);
    seqFreeBlocks(record.additionalInfo);
}

// Memory that runs out while the information is replaced leaves the record's entries as they
// were, and an unchanged entry comes back byte for byte, even without a name.
TEST(ServerRules, AdditionalInformationIsReplacedWhole)
{
    ServerRecord record {};
    AdditionalInfo kept {};
    kept.tag = 9;
    std::memset(kept.value, 0xFF, sizeof kept.value); // no name, a full value of stray bytes
    ASSERT_TRUE(replaceAdditionalInfo(record, {{9, QString(), QString(), kept}}));
    AdditionalInfo *const entry = seqAt(record.additionalInfo, 0);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(std::memcmp(entry, &kept, sizeof kept), 0);

    static int allowed;
    allowed = 1;
    const BlockAllocator failing = [](std::size_t count, std::size_t size) -> void * {
        return allowed-- > 0 ? std::calloc(count, size) : nullptr;
    };
    const std::vector<InfoRow> rows {{-1, QStringLiteral("A"), QString(), {}},
                                     {-1, QStringLiteral("B"), QString(), {}}};
    EXPECT_FALSE(replaceAdditionalInfo(record, rows, failing));
    ASSERT_EQ(seqSize(record.additionalInfo), 1u);
    EXPECT_EQ(seqAt(record.additionalInfo, 0), entry);
    seqFreeBlocks(record.additionalInfo);
}

} // namespace
