#include "common/product_names.h"
#include "support/temp_install.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <set>

namespace {

using setupmgr::ProductKind;
using setupmgr::ProductSection;

// oem.ini renames a generic key or a brand's model; a brand row without one shows its brand, a
// code without a row is unknown whatever oem.ini says.
TEST(ProductName, NameOfCode)
{
    const struct
    {
        QByteArray oem;
        std::int32_t code;
        const char *expected;
    } cases[] = {{"[product_name]\nOSX_400 = Front Desk\n", 0x040204, "Front Desk"},
                 {"[TOLVE]\nTV_RX04=Tolve RX-4\n", 0x100A02, "Tolve"},
                 {"[TOLVE]\nTV_RX08=Tolve RX-8\n", 0x100A02, "Tolve RX-8"},
                 {"[PRODUCT_NAME]\n0x123456=Named\n", 0x123456, "Unknown DVR"}};
    for (const auto &c : cases) {
        TempInstall install;
        install.write(QStringLiteral("Config/oem.ini"), c.oem);
        EXPECT_EQ(Common::getProductName(c.code), QString::fromUtf8(c.expected)) << c.oem.data();
    }
}

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

using ProductRows = std::vector<std::pair<QString, ProductKind>>;

ProductRows productList(const QByteArray &oem)
{
    TempInstall install;
    if (!oem.isEmpty())
        install.write(QStringLiteral("Config/oem.ini"), oem);
    ProductRows rows;
    for (const auto &entry : setupmgr::readProductList())
        rows.emplace_back(entry.name, entry.kind);
    return rows;
}

TEST(ProductList, EntriesOfOemIni)
{
    EXPECT_EQ(productList({}), (ProductRows {{"PC DVR", ProductKind::Generic}}));
    // Left out: not included, included without INCLUDE=1, beyond COUNT. The rest in file order,
    // after the default.
    EXPECT_EQ(productList("[PRODUCT]\nCOUNT=4\n[PRODUCT_DEFAULT]\nNAME=Any DVR\n"
                          "[PRODUCT_0]\nINCLUDE=1\nNAME=Zeta\nINDEX=2\n"
                          "[PRODUCT_1]\nINCLUDE=0\nNAME=Zero\nINDEX=1\n"
                          "[PRODUCT_2]\nNAME=Two\nINDEX=2\n"
                          "[PRODUCT_3]\nINCLUDE=1\nNAME=Alpha\nINDEX=1\n"
                          "[PRODUCT_4]\nINCLUDE=1\nNAME=Beyond\nINDEX=1\n"),
              (ProductRows {{"Any DVR", ProductKind::Generic},
                            {"Zeta", ProductKind::Arvo},
                            {"Alpha", ProductKind::Ostrel}}));
    // An included section without name or index.
    EXPECT_EQ(productList("[PRODUCT]\nCOUNT=1\n[PRODUCT_0]\nINCLUDE=1\n"),
              (ProductRows {{"PC DVR", ProductKind::Generic}, {"PC DVR", ProductKind::Unset}}));
}

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
