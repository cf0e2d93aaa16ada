// Product naming: the name shown for a recorder's product code, and the list of products offered
// when a recorder is registered. Both can be re-branded through the installation's Config/oem.ini.
// The path-taking functions are a library of their own (`ostrel_products`, Qt Core and the ini
// library only), so that the demo client names products exactly as the module does.
#pragma once

#include <QString>

#include <cstdint>
#include <span>
#include <vector>

namespace setupmgr {

// The product kind of a product-list entry and of a recorder record. The kind selects the
// defaults of a new recorder and, for Arvo and Neq, the remote-setup plug-in (its product
// type). An oem.ini may give an entry any other number; such a kind is kept as it is and treated
// as generic.
enum class ProductKind : std::int32_t {
    Unset = -1,  // an entry whose INDEX is missing
    Generic = 0, // the default entry
    Ostrel = 1,
    Arvo = 2,
    Neq = 3,
};

// The oem.ini sections that may rename a product code.
enum class ProductSection { Generic, Dravik, Tolve, Sarnet };

struct ProductNameRow
{
    std::int32_t code;
    ProductSection section;
    const char *key;         // model identifier, the key in the section
    const char *defaultName; // shown while oem.ini does not name the model
};

// The built-in rows, in ascending code order.
std::span<const ProductNameRow> productNameTable();
// "PRODUCT_NAME", "DRAVIK", "TOLVE" or "SARNET".
const char *sectionName(ProductSection section);

struct ProductEntry
{
    QString name;
    ProductKind kind;
};

// The products of the oem.ini at oemIni as the recorder setup dialog offers them, in the file's
// order: the PRODUCT_DEFAULT entry (kind Generic), then every numbered section with a non-zero
// INCLUDE, in ascending number. Never empty.
std::vector<ProductEntry> readProductList(const QString &oemIni);
// The name of a product code: the row's key in its section of the oem.ini at oemIni, else the
// row's built-in name; "Unknown DVR" for a code without a row.
QString productName(std::int32_t productCode, const QString &oemIni);

// The same two of the installation the module runs in (`ostrel_common`).
std::vector<ProductEntry> readProductList();

} // namespace setupmgr

namespace Common {

// productName() in the installation's oem.ini.
QString getProductName(std::int32_t productCode);

} // namespace Common
