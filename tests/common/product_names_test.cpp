#include "common/product_names.h"
#include "support/temp_install.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <set>

namespace {

using setupmgr::ProductKind;
using setupmgr::ProductSection;

struct NameCase
{
    const char *what;
    QByteArray oem; // empty: no oem.ini
    std::int32_t code;
    const char *expected;
};

class ProductNameTest : public ::testing::TestWithParam<NameCase>
{
};

TEST_P(ProductNameTest, NameOfCode)
{
    const NameCase &c = GetParam();
    TempInstall install;
    if (!c.oem.isEmpty())
        install.write(QStringLiteral("Config/oem.ini"), c.oem);
    EXPECT_EQ(Common::getProductName(c.code), QString::fromUtf8(c.expected)) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ProductNameTest,
    ::testing::Values(NameCase {"generic key renamed", "[product_name]\nOSX_400 = Front Desk\n",
                                0x040204, "Front Desk"},
                      NameCase {"brand row shows its brand", "[TOLVE]\nTV_RX04=Tolve RX-4\n",
                                0x100A02, "Tolve"},
                      NameCase {"brand row named by oem.ini", "[TOLVE]\nTV_RX08=Tolve RX-8\n",
                                0x100A02, "Tolve RX-8"},
                      NameCase {"code without a row", "[PRODUCT_NAME]\n0x123456=Named\n", 0x123456,
                                "Unknown DVR"}));

// The names found are kept between calls, but not past a change of the file.
TEST(ProductName, ChangedFileIsReadAgain)
{
    TempInstall install;
    install.write(QStringLiteral("Config/oem.ini"), "[DRAVIK]\nDV_1600=A\n");
    EXPECT_EQ(Common::getProductName(0x100903), QStringLiteral("A"));
    install.write(QStringLiteral("Config/oem.ini"), "[DRAVIK]\nDV_1600=Bee\n");
    EXPECT_EQ(Common::getProductName(0x100903), QStringLiteral("Bee"));
    QFile::remove(install.path() + QStringLiteral("/Config/oem.ini"));
    EXPECT_EQ(Common::getProductName(0x100903), QStringLiteral("Dravik 1600"));
}

struct ListCase
{
    const char *what;
    QByteArray oem;
    std::vector<std::pair<QByteArray, ProductKind>> expected;
};

class ProductListTest : public ::testing::TestWithParam<ListCase>
{
};

TEST_P(ProductListTest, Entries)
{
    const ListCase &c = GetParam();
    TempInstall install;
    if (!c.oem.isEmpty())
        install.write(QStringLiteral("Config/oem.ini"), c.oem);
    const auto entries = setupmgr::readProductList();
    ASSERT_EQ(entries.size(), c.expected.size()) << c.what;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].name, QString::fromUtf8(c.expected[i].first)) << c.what << i;
        EXPECT_EQ(entries[i].kind, c.expected[i].second) << c.what << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Oem, ProductListTest,
    ::testing::Values(ListCase {"no oem.ini", "", {{"PC DVR", ProductKind::Generic}}},
                      // Left out: not included, included without INCLUDE=1, beyond COUNT.
                      ListCase {"included sections of COUNT, in file order, after the default",
                                "[PRODUCT]\nCOUNT=4\n[PRODUCT_DEFAULT]\nNAME=Any DVR\n"
                                "[PRODUCT_0]\nINCLUDE=1\nNAME=Zeta\nINDEX=2\n"
                                "[PRODUCT_1]\nINCLUDE=0\nNAME=Zero\nINDEX=1\n"
                                "[PRODUCT_2]\nNAME=Two\nINDEX=2\n"
                                "[PRODUCT_3]\nINCLUDE=1\nNAME=Alpha\nINDEX=1\n"
                                "[PRODUCT_4]\nINCLUDE=1\nNAME=Beyond\nINDEX=1\n",
                                {{"Any DVR", ProductKind::Generic},
                                 {"Zeta", ProductKind::Arvo},
                                 {"Alpha", ProductKind::Ostrel}}},
                      ListCase {
                          "included section without name or index",
                          "[PRODUCT]\nCOUNT=1\n[PRODUCT_0]\nINCLUDE=1\n",
                          {{"PC DVR", ProductKind::Generic}, {"PC DVR", ProductKind::Unset}}}));

// The shipped installation agrees with the table: every recorder of the sample data has a known
// product, and the product list offers the three kinds that have defaults of their own.
TEST(ShippedInstallation, ProductsAgree)
{
    TempInstall install;
    install.copyFrom(QStringLiteral(OSTREL_INSTALL_DIR));
    QFile recorders(QStringLiteral("Data/serverinfo.xml"));
    ASSERT_TRUE(recorders.open(QIODevice::ReadOnly));
    const QRegularExpression codeAttribute(QStringLiteral("productCode=\"0x([0-9A-Fa-f]+)\""));
    auto found = codeAttribute.globalMatch(QString::fromUtf8(recorders.readAll()));
    int seen = 0;
    while (found.hasNext()) {
        const std::int32_t code = found.next().captured(1).toInt(nullptr, 16);
        EXPECT_NE(Common::getProductName(code), QLatin1String("Unknown DVR")) << code;
        ++seen;
    }
    EXPECT_GT(seen, 0);

    std::set<ProductKind> kinds;
    for (const auto &entry : setupmgr::readProductList())
        kinds.insert(entry.kind);
    EXPECT_TRUE(kinds.count(ProductKind::Ostrel) && kinds.count(ProductKind::Arvo)
                && kinds.count(ProductKind::Neq));
}

} // namespace
