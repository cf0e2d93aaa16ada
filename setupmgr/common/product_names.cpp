#include "product_names.h"

#include <ostrelini/file_stamp.h>
#include <ostrelini/ini_file.h>

#include <QHash>

#include <algorithm>
#include <array>

namespace setupmgr {

namespace {

using enum ProductSection;

// Codes by family: the OSX desk recorders in two board revisions (a revision keeps the model's
// key, so one oem.ini line renames both), NX network recorders, capture cards, mobile and
// encoder units, the AVR line, the HDR hybrid family, and the OEM brands.
constexpr std::array<ProductNameRow, 52> kRows {{
    {0x040204, Generic, "OSX_400", "OSX 400"},
    {0x040208, Generic, "OSX_800", "OSX 800"},
    {0x040210, Generic, "OSX_1600", "OSX 1600"},
    {0x050301, Generic, "OSX_400", "OSX 400"},
    {0x050302, Generic, "OSX_800", "OSX 800"},
    {0x050304, Generic, "OSX_1600", "OSX 1600"},
    {0x060104, Generic, "NX4", "NX4"},
    {0x060108, Generic, "NX8", "NX8"},
    {0x060110, Generic, "NX16", "NX16"},
    {0x070201, Generic, "PCR_CARD_4", "PCR CARD 4"},
    {0x070202, Generic, "PCR_CARD_8", "PCR CARD 8"},
    {0x080501, Generic, "MDVR_4", "MDVR 4"},
    {0x090101, Generic, "ENC_1", "ENC 1"},
    {0x100601, Generic, "NVMS", "NVMS"},
    {0x100801, Generic, "AVR_404", "AVR 404"},
    {0x100802, Generic, "AVR_408", "AVR 408"},
    {0x100803, Generic, "AVR_816", "AVR 816"},
    {0x100804, Generic, "AVR_1632", "AVR 1632"},
    {0x10080B, Generic, "AVR_1632E", "AVR 1632E"},
    {0x10080C, Generic, "AVR_3264E", "AVR 3264E"},
    {0x100901, Dravik, "DV_0400", "Dravik 0400"},
    {0x100902, Dravik, "DV_0800", "Dravik 0800"},
    {0x100903, Dravik, "DV_1600", "Dravik 1600"},
    {0x100904, Dravik, "DV_0800H", "Dravik 0800H"},
    {0x100905, Dravik, "DV_1600H", "Dravik 1600H"},
    {0x100906, Dravik, "DV_3200H", "Dravik 3200H"},
    {0x100907, Dravik, "DV_0400N", "Dravik 0400N"},
    {0x100908, Dravik, "DV_0800N", "Dravik 0800N"},
    {0x100909, Dravik, "DV_1600N", "Dravik 1600N"},
    {0x10090A, Dravik, "DV_3200N", "Dravik 3200N"},
    {0x10090B, Dravik, "DV_6400N", "Dravik 6400N"},
    {0x10090C, Dravik, "DV_0800X", "Dravik 0800X"},
    {0x10090D, Dravik, "DV_1600X", "Dravik 1600X"},
    {0x10090E, Dravik, "DV_3200X", "Dravik 3200X"},
    {0x10090F, Dravik, "DV_6400X", "Dravik 6400X"},
    {0x100A01, Tolve, "TV_RX04", "Tolve"},
    {0x100A02, Tolve, "TV_RX08", "Tolve"},
    {0x100A03, Tolve, "TV_RX16", "Tolve"},
    {0x100A04, Tolve, "TV_RX32", "Tolve"},
    {0x100A05, Tolve, "TV_NX64", "Tolve"},
    {0x100B01, Sarnet, "SN_4004", "Sarnet"},
    {0x100B02, Sarnet, "SN_4008", "Sarnet"},
    {0x100B03, Sarnet, "SN_8008", "Sarnet"},
    {0x100B04, Sarnet, "SN_8016", "Sarnet"},
    {0x100B05, Sarnet, "SN_9016E", "Sarnet"},
    {0x100B06, Sarnet, "SN_9032E", "Sarnet"},
    {0x100B07, Sarnet, "SN_9064E", "Sarnet"},
    {0x100B08, Sarnet, "SN_9128E", "Sarnet"},
    // The hybrid family shares one name; oem.ini tells the models apart.
    {0x200806, Generic, "HDR_S04", "HDR Hybrid"},
    {0x200807, Generic, "HDR_S08", "HDR Hybrid"},
    {0x200808, Generic, "HDR_S16", "HDR Hybrid"},
    {0x200809, Generic, "HDR_S32", "HDR Hybrid"},
}};

constexpr bool ascending()
{
    for (std::size_t i = 1; i < kRows.size(); ++i) {
        if (kRows[i - 1].code >= kRows[i].code)
            return false;
    }
    return true;
}
static_assert(ascending(), "the lookup searches the rows by halves");

constexpr int kNameBufferLength = 260;
constexpr int kProductNameBufferLength = 100; // names of up to 99 characters
// A list longer than any drop-down shows comes from a broken file; reading it would stall.
constexpr int kMaxProductSections = 4096;

} // namespace

std::span<const ProductNameRow> productNameTable()
{
    return kRows;
}

const char *sectionName(ProductSection section)
{
    switch (section) {
    case Generic:
        return "PRODUCT_NAME";
    case Dravik:
        return "DRAVIK";
    case Tolve:
        return "TOLVE";
    case Sarnet:
        return "SARNET";
    }
    return "";
}

std::vector<ProductEntry> readProductList(const QString &oemIni)
{
    const auto oem = ostrelini::IniFile::fromFile(oemIni);
    const QString fallback = QStringLiteral("PC DVR");
    std::vector<ProductEntry> entries;
    entries.push_back(
        {oem.readString(u"PRODUCT_DEFAULT", u"NAME", fallback, kProductNameBufferLength),
         ProductKind::Generic});
    const int count = std::min(oem.readInt(u"PRODUCT", u"COUNT", 0), kMaxProductSections);
    for (int i = 0; i < count; ++i) {
        const QString section = QStringLiteral("PRODUCT_%1").arg(i);
        if (oem.readInt(section, u"INCLUDE", 0) == 0)
            continue;
        entries.push_back({oem.readString(section, u"NAME", fallback, kProductNameBufferLength),
                           static_cast<ProductKind>(oem.readInt(section, u"INDEX", -1))});
    }
    return entries;
}

QString productName(std::int32_t productCode, const QString &oemIni)
{
    const auto row = std::lower_bound(
        kRows.begin(), kRows.end(), productCode,
        [](const ProductNameRow &r, std::int32_t code) { return r.code < code; });
    if (row == kRows.end() || row->code != productCode)
        return QStringLiteral("Unknown DVR");

    // The recorder manager asks on every change of selection, so the names found in oem.ini
    // are kept while the file stays as it was; a file changed while the client runs is read
    // again, and a re-branded installation shows its new names at once.
    static QString cachedPath;
    static ostrelini::FileStamp cachedStamp;
    static QHash<std::int32_t, QString> names;
    const ostrelini::FileStamp stamp = ostrelini::FileStamp::of(oemIni);
    if (oemIni != cachedPath || stamp != cachedStamp) {
        cachedPath = oemIni;
        cachedStamp = stamp;
        names.clear();
    }
    if (const auto known = names.constFind(productCode); known != names.constEnd())
        return *known;
    const QString name = ostrelini::IniFile::readString(
        oemIni, QString::fromLatin1(sectionName(row->section)), QString::fromLatin1(row->key),
        QString::fromLatin1(row->defaultName), kNameBufferLength);
    names.insert(productCode, name);
    return name;
}

} // namespace setupmgr
