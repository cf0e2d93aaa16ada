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

// An edited recorder is checked on what the user changed, against the other records: its own
// name and address never count, and neither do duplicates the list already held. A missing name
// comes first, for a new recorder too, then the name, then address and port; names and addresses
// compare exactly (the import's rows check the same order for new recorders).
TEST_F(ServerRulesTest, EditedRecorderIsCheckedOnWhatChanged)
{
    // A second Lobby, at Gate's address, as a host may hold.
    servers.data.addServer("Lobby", "10.0.0.2", 7000);
    const std::tuple<ServerChange, Refusal> cases[] = {
        {{0, "Lobby", "Lobby", "10.0.0.1", 7011, false, false}, Refusal::None},
        {{0, "Lobby", "Gate", "10.0.0.2", 7000, true, true}, Refusal::SameName},
        {{0, "Lobby", "Lobby 2", "10.0.0.2", 7000, true, true}, Refusal::SameAddress},
        {{0, "Lobby", "", "10.0.0.2", 7000, true, true}, Refusal::EmptyName},
        {{0, "Lobby", "gate", "CAM.example.com", 6100, true, true}, Refusal::None},
        // The fourth record keeps its duplicate name and address until it changes them.
        {{3, "Lobby", "Lobby", "10.0.0.2", 7000, false, false}, Refusal::None},
        {{3, "Lobby", "Lobby", "10.0.0.2", 7000, false, true}, Refusal::SameAddress},
    };
    for (const auto &[change, expected] : cases)
        EXPECT_EQ(checkEditedServer(&servers, change), expected)
            << change.edited << " " << change.name.constData();
    EXPECT_EQ(checkNewServer(&servers, "", "10.0.0.9", 1), Refusal::EmptyName);
}

// Login texts keep to 49 bytes, other texts to their fields; an unknown product kind is stored
// as 0.
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
    // A row keeps its tag; one without a name is dropped.
    ASSERT_TRUE(replaceAdditionalInfo(record,
                                      {{3, QStringLiteral("Manager"), QString(), {}},
                                       {-1, QString(), QStringLiteral("dropped"), {}}}));
    ASSERT_EQ(seqSize(record.additionalInfo), 1u);
    EXPECT_EQ(seqAt(record.additionalInfo, 0)->tag, 3);

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
