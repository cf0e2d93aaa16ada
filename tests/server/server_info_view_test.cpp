#include "server/server_info_view.h"

#include "common/info_view.h"
#include "common/language.h"
#include "common/text_field.h"
#include "support/memory_providers.h"
#include "support/temp_install.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

using testhost::DisplayTemplateData;

struct ViewDeleter
{
    void operator()(InfoView *view) const { setupmgr::freeInfoView(view); }
};
using ViewPtr = std::unique_ptr<InfoView, ViewDeleter>;

struct Row
{
    std::string name, label, value;
    bool operator==(const Row &) const = default;
};

std::vector<Row> rows(const InfoCategory &category)
{
    std::vector<Row> result;
    for (std::size_t i = 0; i < seqSize(category.items); ++i) {
        const InfoItem *item = seqAt(category.items, i);
        result.push_back({item->name, item->label, item->value});
    }
    return result;
}

// An installation whose yes and no texts are not the English defaults, a template with a
// recorder category, an additional-information category with an item of its own, a category
// the record does not touch, and a recorder with every field set.
class ServerInfoViewTest : public ::testing::Test
{
protected:
    ServerInfoViewTest()
    {
        install.write(QStringLiteral("Config/Path.ini"), "[PATH]\nxml_string=string.xml\n");
        install.write(QStringLiteral("Language/en/string.xml"),
                      "<string><common><item id='yes'>Online</item>"
                      "<item id='no'>Offline</item></common></string>");
        Common::releaseLanguage();

        InfoView *serverInfo = templates.data.addTemplate("serverInfo", "Recorder");
        InfoCategory *dvr = DisplayTemplateData::addCategory(serverInfo, "dvr", "DVR");
        for (const char *name : {"type", "name", "version", "connected", "cameraCount", "url",
                                 "port", "accountId", "note"})
            DisplayTemplateData::addItem(dvr, name, name, "template");
        InfoCategory *added = DisplayTemplateData::addCategory(serverInfo, "addInfo", "More");
        DisplayTemplateData::addItem(added, "site", "Site", "HQ");
        network = DisplayTemplateData::addCategory(serverInfo, "network", "Network");
        network->expanded = 0;
        InfoItem *protocol = DisplayTemplateData::addItem(network, "url", "Protocol", "TCP/IP");
        protocol->flags[4] = 1;
        setupmgr::setDisplayTemplateProvider(&templates);

        record = servers.addServer("Lobby");
        record->connected = 1;
        record->productCode = 0x100A02;
        const std::uint8_t version[4] = {1, 2, 0, 5};
        std::memcpy(record->version, version, 4);
        for (int i = 0; i < 3; ++i)
            ostrelhost::appendBlock(record->cameras)->channel = i + 1;
        copyField(record->address, "10.0.0.7");
        record->port = 7011;
        copyField(record->loginId, "vexil");
        for (const char *name : {"Manager", "Phone", "Fax"}) {
            AdditionalInfo *entry = ostrelhost::appendBlock(record->additionalInfo);
            copyField(entry->name, name);
            copyField(entry->value, (std::string(name) + " value").c_str());
        }
    }
    ~ServerInfoViewTest() override
    {
        setupmgr::setDisplayTemplateProvider(nullptr);
        Common::releaseLanguage();
    }

    ViewPtr build() const { return ViewPtr(BuildServerInfoView(*record)); }
    std::string recorderValue(const char *name) const
    {
        const ViewPtr view = build();
        for (const Row &row : rows(*seqAt(view->categories, 0))) {
            if (row.name == name)
                return row.value;
        }
        return "(missing)";
    }

    TempInstall install;
    testhost::DisplayTemplateProvider templates;
    testhost::ServerListData servers;
    InfoCategory *network = nullptr;
    ServerRecord *record = nullptr;
};

struct ItemCase
{
    const char *item;
    std::function<void(ServerRecord &)> change;
    std::string expected;
};

class RecorderItemTest : public ServerInfoViewTest, public ::testing::WithParamInterface<ItemCase>
{
};

TEST_P(RecorderItemTest, ValueFromRecord)
{
    GetParam().change(*record);
    EXPECT_EQ(recorderValue(GetParam().item), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, RecorderItemTest,
    ::testing::Values(
        ItemCase {"type", [](ServerRecord &) {}, "Tolve"},
        ItemCase {"name", [](ServerRecord &) {}, "Lobby"},
        ItemCase {"version", [](ServerRecord &) {}, "1.205"},
        ItemCase {"version", [](ServerRecord &r) { std::memset(r.version, 0, 4); }, "template"},
        ItemCase {"version",
                  [](ServerRecord &r) {
                      std::memset(r.version, 0, 4);
                      r.version[3] = 1;
                  },
                  "0.001"},
        ItemCase {"connected", [](ServerRecord &) {}, "Online"},
        ItemCase {"connected", [](ServerRecord &r) { r.connected = 0; }, "Offline"},
        ItemCase {"cameraCount", [](ServerRecord &) {}, "3"},
        ItemCase {"url", [](ServerRecord &) {}, "10.0.0.7"},
        ItemCase {"port", [](ServerRecord &r) { r.port = 65535; }, "65535"},
        ItemCase {"accountId", [](ServerRecord &) {}, "vexil"},
        ItemCase {"note", [](ServerRecord &) {}, "template"},
        // A host may fill a field to its last byte without a terminating zero: it shows whole.
        ItemCase {"name", [](ServerRecord &r) { std::memset(r.name, 'N', sizeof r.name); },
                  std::string(51, 'N')}));

TEST_F(ServerInfoViewTest, AdditionalEntriesFollowTheTemplateItems)
{
    const ViewPtr view = build();
    ASSERT_EQ(seqSize(view->categories), 3u);
    const std::vector<Row> expected = {{"site", "Site", "HQ"},
                                       {"", "Manager", "Manager value"},
                                       {"", "Phone", "Phone value"},
                                       {"", "Fax", "Fax value"}};
    EXPECT_EQ(rows(*seqAt(view->categories, 1)), expected);
}

// Another category is copied byte for byte, with its flags, even where its item names are
// those of the recorder category.
TEST_F(ServerInfoViewTest, OtherCategoriesUnchanged)
{
    const ViewPtr view = build();
    EXPECT_STREQ(view->title, "Recorder");
    const InfoCategory *copy = seqAt(view->categories, 2);
    EXPECT_STREQ(copy->label, "Network");
    EXPECT_EQ(copy->expanded, 0);
    ASSERT_EQ(seqSize(copy->items), 1u);
    EXPECT_NE(seqAt(copy->items, 0), seqAt(network->items, 0));
    EXPECT_EQ(std::memcmp(seqAt(copy->items, 0), seqAt(network->items, 0), sizeof(InfoItem)), 0);
}

TEST_F(ServerInfoViewTest, WithoutTemplateTheViewIsEmpty)
{
    setupmgr::setDisplayTemplateProvider(nullptr);
    ViewPtr view = build();
    ASSERT_TRUE(view);
    EXPECT_EQ(seqSize(view->categories), 0u);
    EXPECT_STREQ(view->title, "");

    setupmgr::setDisplayTemplateProvider(&templates);
    templates.data.templates.clear();
    view = build();
    ASSERT_TRUE(view);
    EXPECT_EQ(seqSize(view->categories), 0u);
}

// The login id and an additional entry's name show whole as well.
TEST_F(ServerInfoViewTest, FullFieldsShowWhole)
{
    std::memset(record->loginId, 'l', sizeof record->loginId);
    AdditionalInfo *entry = seqAt(record->additionalInfo, 0);
    std::memset(entry->name, 'e', sizeof entry->name);
    const ViewPtr view = build();
    std::map<std::string, QByteArray> values;
    for (std::size_t i = 0; i < seqSize(seqAt(view->categories, 0)->items); ++i) {
        const InfoItem *item = seqAt(seqAt(view->categories, 0)->items, i);
        values[setupmgr::fieldBytes(item->name).toStdString()] = setupmgr::fieldBytes(item->value);
    }
    EXPECT_EQ(values["accountId"], QByteArray(51, 'l'));
    const InfoItem *added = seqAt(seqAt(view->categories, 1)->items, 1);
    EXPECT_EQ(setupmgr::fieldBytes(added->label), QByteArray(51, 'e'));
}

} // namespace
