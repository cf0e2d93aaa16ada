#include "server/server_info_view.h"

#include "common/info_view.h"
#include "common/text_field.h"
#include "support/memory_providers.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

namespace {

using testhost::DisplayTemplateData;

struct ViewDeleter
{
    void operator()(InfoView *view) const { setupmgr::freeInfoView(view); }
};
using ViewPtr = std::unique_ptr<InfoView, ViewDeleter>;

// A category's items, one "name|label|value" each.
QStringList rows(const InfoCategory &category)
{
    QStringList result;
    for (std::size_t i = 0; i < seqSize(category.items); ++i) {
        const InfoItem *item = seqAt(category.items, i);
        result << QString::fromUtf8(item->name) + u'|' + QString::fromUtf8(item->label) + u'|'
                + QString::fromUtf8(item->value);
    }
    return result;
}

// A template with a recorder category, an additional-information category with an item of its
// own and a category the record does not touch, and a recorder with its fields set.
class ServerInfoViewTest : public ::testing::Test
{
protected:
    ServerInfoViewTest()
    {
        InfoView *serverInfo = templates.data.addTemplate("serverInfo", "Recorder");
        InfoCategory *dvr = DisplayTemplateData::addCategory(serverInfo, "dvr", "DVR");
        for (const char *name : {"name", "version", "accountId", "note"})
            DisplayTemplateData::addItem(dvr, name, name, "template");
        InfoCategory *added = DisplayTemplateData::addCategory(serverInfo, "addInfo", "More");
        DisplayTemplateData::addItem(added, "site", "Site", "HQ");
        network = DisplayTemplateData::addCategory(serverInfo, "network", "Network");
        network->expanded = 0;
        InfoItem *protocol = DisplayTemplateData::addItem(network, "url", "Protocol", "TCP/IP");
        protocol->flags[4] = 1;
        setupmgr::setDisplayTemplateProvider(&templates);

        record = servers.addServer("Lobby");
        const std::uint8_t version[4] = {1, 2, 0, 5};
        std::memcpy(record->version, version, 4);
        copyField(record->loginId, "vexil");
        for (const char *name : {"Manager", "Phone", "Fax"}) {
            AdditionalInfo *entry = ostrelhost::appendBlock(record->additionalInfo);
            copyField(entry->name, name);
            copyField(entry->value, (std::string(name) + " value").c_str());
        }
    }
    ~ServerInfoViewTest() override { setupmgr::setDisplayTemplateProvider(nullptr); }

    ViewPtr build() const { return ViewPtr(BuildServerInfoView(*record)); }
    // The recorder category's values by item name, as stored bytes.
    std::map<std::string, QByteArray> recorderValues() const
    {
        const ViewPtr view = build();
        std::map<std::string, QByteArray> values;
        const InfoCategory &dvr = *seqAt(view->categories, 0);
        for (std::size_t i = 0; i < seqSize(dvr.items); ++i) {
            const InfoItem *item = seqAt(dvr.items, i);
            values[setupmgr::fieldBytes(item->name).toStdString()]
                = setupmgr::fieldBytes(item->value);
        }
        return values;
    }

    testhost::DisplayTemplateProvider templates;
    testhost::ServerListData servers;
    InfoCategory *network = nullptr;
    ServerRecord *record = nullptr;
};

// The version as major.minor digits; an all-zero version keeps the template's text, as does an
// item the record has no value for, while 0.0.0.1 is a version. A host may fill a field to its
// last byte without a terminating zero: it shows whole.
TEST_F(ServerInfoViewTest, VersionAndFullFields)
{
    EXPECT_EQ(recorderValues()["version"], "1.205");
    EXPECT_EQ(recorderValues()["note"], "template");
    std::memset(record->version, 0, 4);
    EXPECT_EQ(recorderValues()["version"], "template");
    record->version[3] = 1;
    EXPECT_EQ(recorderValues()["version"], "0.001");

    std::memset(record->name, 'N', sizeof record->name);
    std::memset(record->loginId, 'l', sizeof record->loginId);
    AdditionalInfo *entry = seqAt(record->additionalInfo, 0);
    std::memset(entry->name, 'e', sizeof entry->name);
    EXPECT_EQ(recorderValues()["name"], QByteArray(51, 'N'));
    EXPECT_EQ(recorderValues()["accountId"], QByteArray(51, 'l'));
    const ViewPtr view = build();
    const InfoItem *added = seqAt(seqAt(view->categories, 1)->items, 1);
    EXPECT_EQ(setupmgr::fieldBytes(added->label), QByteArray(51, 'e'));
}

// The additional entries follow the template's own items; another category is copied byte for
// byte, with its flags, even where its item names are those of the recorder category.
TEST_F(ServerInfoViewTest, OtherCategoriesKeepTheTemplate)
{
    const ViewPtr view = build();
    ASSERT_EQ(seqSize(view->categories), 3u);
    EXPECT_STREQ(view->title, "Recorder");
    EXPECT_EQ(rows(*seqAt(view->categories, 1)),
              QStringList({"site|Site|HQ", "|Manager|Manager value", "|Phone|Phone value",
                           "|Fax|Fax value"}));
    const InfoCategory *copy = seqAt(view->categories, 2);
    EXPECT_STREQ(copy->label, "Network");
    EXPECT_EQ(copy->expanded, 0);
    ASSERT_EQ(seqSize(copy->items), 1u);
    EXPECT_NE(seqAt(copy->items, 0), seqAt(network->items, 0));
    EXPECT_EQ(std::memcmp(seqAt(copy->items, 0), seqAt(network->items, 0), sizeof(InfoItem)), 0);
}

// Without a template provider, and then without the recorder's template, the view is empty.
TEST_F(ServerInfoViewTest, WithoutTemplateTheViewIsEmpty)
{
    setupmgr::setDisplayTemplateProvider(nullptr);
    for (int pass = 0; pass < 2; ++pass) {
        const ViewPtr view = build();
        ASSERT_TRUE(view);
        EXPECT_EQ(seqSize(view->categories), 0u) << pass;
        EXPECT_STREQ(view->title, "") << pass;
        setupmgr::setDisplayTemplateProvider(&templates);
        templates.data.templates.clear();
    }
}

} // namespace
